// Suspect gates by flipping one gate at a time; see suspects.h.
//
// A flip changes only the gate's fan-out, usually a few dozen gates of the
// hundreds of thousands of a large multiplier, so the bits are simulated
// event by event in dependency order, and the words (whose definitions are
// long sums) and the specification change by the terms that read a changed
// variable only.
#include "suspects.h"

#include <algorithm>
#include <functional>
#include <queue>

#include "coeff_vector.h"
#include "poly_words.h"

namespace witness {

namespace {

class FlipTester {
public:
  explicit FlipTester(const Circuit &c)
      : c_(c), n_(c.words()), stamp_(c.endVar(), 0), queued_(c.endVar(), 0),
        newBit_(c.endVar(), 0), newWord_(std::size_t(c.wordCount()) * n_),
        dirty_(c.wordCount() + 1), termStamp_(0), delta_(n_), before_(n_), after_(n_) {
    // Occurrences of every variable in the word definitions and the
    // specification: (poly slot, term). The specification's slot is wordCount.
    occStart_.assign(c.endVar() + 1, 0);
    auto each = [&](auto visit) {
      for (Var w : c.wordOrder())
        forTerms(c.definition(w), c.wordSlot(w), visit);
      forTerms(c.spec(), c.wordCount(), visit);
    };
    std::uint32_t maxTerm = 0;
    each([&](Var v, std::uint32_t, std::uint32_t t) {
      ++occStart_[v + 1];
      maxTerm = std::max(maxTerm, t + 1);
    });
    for (Var v = 0; v < c.endVar(); ++v)
      occStart_[v + 1] += occStart_[v];
    occ_.resize(occStart_[c.endVar()]);
    std::vector<std::uint32_t> fill(occStart_.begin(), occStart_.end() - 1);
    each([&](Var v, std::uint32_t slot, std::uint32_t t) { occ_[fill[v]++] = {slot, t}; });
    termStamp_.assign(maxTerm, 0);
  }

  // Does flipping bit g under val (whose specification value is spec) make
  // the specification zero?
  bool explains(Var g, const Valuation &val, const word_t *spec) {
    ++now_;
    changed_.clear();
    setBit(g, val.bit[g] ^ 1);
    schedule(g);
    auto bitOf = [&](Var v) -> std::uint8_t { return stamp_[v] == now_ ? newBit_[v] : val.bit[v]; };
    while (!queue_.empty()) {
      const Var r = queue_.top().second;
      queue_.pop();
      const Circuit::Poly &def = c_.definition(r);
      std::uint8_t value = 0;
      for (std::uint32_t k = 0; k < def.numTerms; ++k) {
        const Circuit::Term &t = c_.term(def.firstTerm + k);
        std::uint8_t product = 1;
        for (std::uint32_t j = 0; j < t.numVars; ++j)
          product &= bitOf(c_.vars(t)[j]);
        value ^= product;
      }
      if (value != val.bit[r]) {
        setBit(r, value);
        schedule(r);
      }
    }
    // Word definitions in dependency order, then the specification.
    for (std::size_t i = 0; i < changed_.size(); ++i)
      markTerms(changed_[i]);
    auto wordOf = [&](Var v, bool updated) -> const word_t * {
      return updated && stamp_[v] == now_ ? newWord_.data() + std::size_t(c_.wordSlot(v)) * n_
                                          : val.wordValue(c_, v);
    };
    bool specZero = true;
    for (std::uint32_t slot = 0; slot <= c_.wordCount(); ++slot) {
      const bool isSpec = slot == c_.wordCount();
      const Var w = isSpec ? 0 : c_.wordOrder()[slot];
      const std::uint32_t s = isSpec ? slot : c_.wordSlot(w);
      if (dirty_[s].empty()) {
        if (isSpec)
          specZero = allZero(spec, n_);
        continue;
      }
      std::fill(delta_.begin(), delta_.end(), word_t{0});
      for (std::uint32_t t : dirty_[s]) {
        termValue(c_.term(t), val, false, wordOf, before_.data());
        termValue(c_.term(t), val, true, wordOf, after_.data());
        for (int k = 0; k < n_; ++k)
          delta_[k] ^= before_[k] ^ after_[k];
      }
      dirty_[s].clear();
      if (isSpec) {
        for (int k = 0; k < n_; ++k)
          delta_[k] ^= spec[k];
        specZero = allZero(delta_.data(), n_);
      } else if (!allZero(delta_.data(), n_)) {
        word_t *updated = newWord_.data() + std::size_t(s) * n_;
        const word_t *old = val.wordValue(c_, w);
        for (int k = 0; k < n_; ++k)
          updated[k] = old[k] ^ delta_[k];
        stamp_[w] = now_;
        markTerms(w);
      }
    }
    return specZero;
  }

  // Do word definitions or the specification read v?
  bool readBySpecOrWords(Var v) const { return occStart_[v] != occStart_[v + 1]; }

  // Does flipping bit g under val change bit r, which reads it?
  bool flipsReader(Var g, Var r, const Valuation &val) const {
    const Circuit::Poly &def = c_.definition(r);
    std::uint8_t value = 0;
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c_.term(def.firstTerm + k);
      std::uint8_t product = 1;
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        const Var u = c_.vars(t)[j];
        product &= u == g ? val.bit[u] ^ 1 : val.bit[u];
      }
      value ^= product;
    }
    return value != val.bit[r];
  }

private:
  template <class Visit> void forTerms(const Circuit::Poly &p, std::uint32_t slot, Visit visit) {
    for (std::uint32_t k = 0; k < p.numTerms; ++k) {
      const Circuit::Term &t = c_.term(p.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        visit(c_.vars(t)[j], slot, p.firstTerm + k);
    }
  }

  void setBit(Var v, std::uint8_t value) {
    stamp_[v] = now_;
    newBit_[v] = value;
    changed_.push_back(v);
  }

  // Queues the bit readers of v; word readers follow through markTerms.
  void schedule(Var v) {
    for (const Var *r = c_.readersBegin(v); r != c_.readersEnd(v); ++r)
      if (!c_.isWord(*r) && queued_[*r] != now_) {
        queued_[*r] = now_;
        queue_.push({c_.position(*r), *r});
      }
  }

  void markTerms(Var v) {
    for (std::uint32_t i = occStart_[v]; i < occStart_[v + 1]; ++i)
      if (termStamp_[occ_[i].term] != now_) {
        termStamp_[occ_[i].term] = now_;
        dirty_[occ_[i].slot].push_back(occ_[i].term);
      }
  }

  // out := the term's value, with the flipped values when updated.
  template <class WordOf>
  void termValue(const Circuit::Term &t, const Valuation &val, bool updated, WordOf wordOf,
                 word_t *out) {
    std::fill(out, out + n_, word_t{0});
    for (std::uint32_t j = 0; j < t.numVars; ++j) {
      const Var v = c_.vars(t)[j];
      if (!c_.isWord(v) && (updated && stamp_[v] == now_ ? newBit_[v] : val.bit[v]) == 0)
        return;
    }
    const word_t *coef = c_.coef(t);
    if (coef == nullptr)
      out[0] = 1;
    else
      std::copy(coef, coef + n_, out);
    for (std::uint32_t j = 0; j < t.numVars; ++j)
      if (c_.isWord(c_.vars(t)[j]))
        multExp(out, wordOf(c_.vars(t)[j], updated));
  }

  struct Occurrence {
    std::uint32_t slot, term;
  };
  const Circuit &c_;
  const int n_;
  std::uint32_t now_ = 0;
  std::vector<std::uint32_t> stamp_, queued_;
  std::vector<std::uint8_t> newBit_;
  std::vector<word_t> newWord_;
  std::vector<std::vector<std::uint32_t>> dirty_;
  std::vector<std::uint32_t> termStamp_;
  std::vector<word_t> delta_, before_, after_;
  std::vector<std::uint32_t> occStart_;
  std::vector<Occurrence> occ_;
  std::vector<Var> changed_;
  using Entry = std::pair<std::uint32_t, Var>; // position, variable
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue_;
};

// The bits whose fan-in cone holds every target (all: true) or some
// target (all: false), the targets included. Reach sets are bit vectors
// over the targets (at most kMaxTargets of them; a bit reaching those
// reaches a superset of the true answer, and the flips decide), computed
// readers first.
constexpr std::size_t kMaxTargets = 256;

std::vector<Var> cone(const Circuit &c, std::vector<Var> targets, bool all) {
  if (targets.size() > kMaxTargets)
    targets.resize(kMaxTargets);
  const std::size_t w = all ? (targets.size() + 63) / 64 : 1;
  std::vector<std::uint64_t> reach(std::size_t(c.endVar()) * w, 0);
  for (std::size_t i = 0; i < targets.size(); ++i)
    reach[std::size_t(targets[i]) * w + (all ? i / 64 : 0)] |= std::uint64_t{1}
                                                               << (all ? i % 64 : 0);
  std::vector<std::uint64_t> full(w, ~std::uint64_t{0});
  if (all && targets.size() % 64 != 0)
    full[w - 1] = (std::uint64_t{1} << (targets.size() % 64)) - 1;
  if (!all)
    full[0] = 1;
  std::vector<Var> bits;
  for (auto it = c.order().rbegin(); it != c.order().rend(); ++it) {
    const Var v = *it;
    const std::uint64_t *rv = reach.data() + std::size_t(v) * w;
    if (std::equal(rv, rv + w, full.begin()) && !c.isWord(v))
      bits.push_back(v);
    const Circuit::Poly &def = c.definition(v);
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c.term(def.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        std::uint64_t *ru = reach.data() + std::size_t(c.vars(t)[j]) * w;
        for (std::size_t i = 0; i < w; ++i)
          ru[i] |= rv[i];
      }
    }
  }
  return bits; // readers before the gates they read
}

// Chains together: each suspect is keyed by the last suspect reached by
// following only readers, while a gate has exactly one.
void orderByChains(const Circuit &c, std::vector<Var> &suspects) {
  std::vector<std::uint8_t> in(c.endVar(), 0);
  for (Var v : suspects)
    in[v] = 1;
  std::vector<std::pair<std::pair<std::uint32_t, std::uint32_t>, Var>> keyed;
  for (Var v : suspects) {
    Var end = v;
    for (;;) {
      if (c.readersEnd(end) - c.readersBegin(end) != 1)
        break;
      const Var next = *c.readersBegin(end);
      if (!in[next])
        break;
      end = next;
    }
    keyed.push_back({{c.position(end), c.position(v)}, v});
  }
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < keyed.size(); ++i)
    suspects[i] = keyed[i].second;
}

} // namespace

std::vector<Var> findSuspects(const Circuit &c, const std::vector<Valuation> &failing,
                              const std::vector<Var> &targets, bool reachAll) {
  std::vector<Var> suspects = cone(c, targets, reachAll);
  FlipTester tester(c);
  std::vector<word_t> spec(c.words());
  // Per gate, for the current witness: 0 unknown, 1 explains, 2 does not.
  std::vector<std::uint8_t> result(c.endVar(), 0);
  for (const Valuation &val : failing) {
    evaluate(c, c.spec(), val, spec.data());
    std::vector<Var> kept;
    // Readers come first, so a gate whose only reader is a bit that was
    // tested already needs no simulation: if flipping the gate flips that
    // reader, the flip has the reader's effect; otherwise it has none.
    for (Var g : suspects) {
      bool explains;
      const Var *r = c.readersBegin(g);
      if (c.readersEnd(g) - r == 1 && !c.isWord(*r) && result[*r] != 0 &&
          !tester.readBySpecOrWords(g))
        explains = tester.flipsReader(g, *r, val) && result[*r] == 1;
      else
        explains = tester.explains(g, val, spec.data());
      result[g] = explains ? 1 : 2;
      if (explains)
        kept.push_back(g);
    }
    for (Var g : suspects)
      result[g] = 0;
    suspects.swap(kept);
    if (suspects.empty())
      break;
  }
  orderByChains(c, suspects);
  return suspects;
}

} // namespace witness
