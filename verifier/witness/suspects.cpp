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

// The bits in the fan-in cone of the targets (the targets included).
std::vector<Var> cone(const Circuit &c, const std::vector<Var> &targets) {
  std::vector<std::uint8_t> seen(c.endVar(), 0);
  std::vector<Var> stack, bits;
  for (Var t : targets)
    if (!c.isInput(t) && !seen[t]) {
      seen[t] = 1;
      stack.push_back(t);
    }
  while (!stack.empty()) {
    const Var v = stack.back();
    stack.pop_back();
    if (!c.isWord(v))
      bits.push_back(v);
    const Circuit::Poly &def = c.definition(v);
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c.term(def.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        const Var u = c.vars(t)[j];
        if (!c.isInput(u) && !seen[u]) {
          seen[u] = 1;
          stack.push_back(u);
        }
      }
    }
  }
  return bits;
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
                              const std::vector<Var> &targets) {
  std::vector<Var> suspects = cone(c, targets);
  FlipTester tester(c);
  std::vector<word_t> spec(c.words());
  for (const Valuation &val : failing) {
    evaluate(c, c.spec(), val, spec.data());
    std::vector<Var> kept;
    for (Var g : suspects)
      if (tester.explains(g, val, spec.data()))
        kept.push_back(g);
    suspects.swap(kept);
    if (suspects.empty())
      break;
  }
  orderByChains(c, suspects);
  return suspects;
}

} // namespace witness
