// The repair filter for suspects; see repair.h.
//
// The vectors are simulated 64 at a time (one lane each). A gate's flip is
// simulated in all lanes of a word at once: its fan-out event by event in
// dependency order, then the word definitions and the specification by the
// terms that read a changed variable, lane by lane where they change.
#include "repair.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "coeff_vector.h"
#include "poly_words.h"

namespace witness {

namespace {

constexpr std::uint64_t kAll = ~std::uint64_t{0};

// out := the value of term t in one lane, where bit(v) is bit v (0 or 1) and
// word(v) the words of word v.
template <class Bit, class Word>
void termValue(const Circuit &c, const Circuit::Term &t, Bit bit, Word word, word_t *out) {
  const int n = c.words();
  const Var *vars = c.vars(t);
  std::fill(out, out + n, word_t{0});
  for (std::uint32_t j = 0; j < t.numVars; ++j)
    if (!c.isWord(vars[j]) && bit(vars[j]) == 0)
      return;
  const word_t *coef = c.coef(t);
  if (coef == nullptr)
    out[0] = 1;
  else
    std::copy(coef, coef + n, out);
  for (std::uint32_t j = 0; j < t.numVars; ++j)
    if (c.isWord(vars[j]))
      multExp(out, word(vars[j]));
}

// The 64 lanes of a bit's definition, where lanes(v) gives those of v.
template <class Lanes> std::uint64_t evalBits(const Circuit &c, Var v, Lanes lanes) {
  const Circuit::Poly &def = c.definition(v);
  std::uint64_t sum = 0;
  for (std::uint32_t k = 0; k < def.numTerms; ++k) {
    const Circuit::Term &t = c.term(def.firstTerm + k);
    std::uint64_t product = kAll;
    for (std::uint32_t j = 0; j < t.numVars; ++j)
      product &= lanes(c.vars(t)[j]);
    sum ^= product;
  }
  return sum;
}

// The simulated vectors: words of 64 lanes, and per lane the value of the
// specification.
struct Vectors {
  std::vector<LaneValuation> lanes;
  Array<word_t> spec;        // word w, lane l: at (64 * w + l) * words
  Array<std::uint64_t> zero; // per word: the lanes where the specification is zero
  int n;

  Vectors(const Circuit &c, const std::vector<Valuation> &failing, const RepairLimits &limits) {
    Array<Var> inputs;
    for (Var v = 0; v < c.endVar(); ++v)
      if (c.isInput(v) && c.isUsed(v))
        inputs.push_back(v);
    std::mt19937_64 rng(limits.seed);
    const std::size_t count = limits.randomWords + (failing.size() + 63) / 64;
    n = c.words();
    lanes.resize(count);
    spec.assign(count * 64 * n, 0);
    zero.assign(count, 0);
    Array<word_t> value(n);
    for (std::size_t w = 0; w < count; ++w) {
      LaneValuation &lv = lanes[w];
      lv.bits.assign(c.endVar(), 0);
      for (Var v : inputs)
        lv.bits[v] = rng();
      // The failing assignments take the first lanes of the last words.
      for (unsigned l = 0; l < 64 && w >= limits.randomWords; ++l) {
        const std::size_t i = 64 * (w - limits.randomWords) + l;
        if (i >= failing.size())
          break;
        for (Var v : inputs)
          lv.bits[v] = (lv.bits[v] & ~(std::uint64_t{1} << l)) |
                       (std::uint64_t{failing[i].bit[v] & 1U} << l);
      }
      simulateLanes(c, lv);
      for (unsigned l = 0; l < 64; ++l) {
        word_t *out = spec.data() + (64 * w + l) * n;
        const word_t *words = lv.words.data() + std::size_t(l) * c.wordCount() * n;
        const Circuit::Poly &p = c.spec();
        for (std::uint32_t k = 0; k < p.numTerms; ++k) {
          termValue(
              c, c.term(p.firstTerm + k), [&](Var v) { return (lv.bits[v] >> l) & 1; },
              [&](Var v) { return words + std::size_t(c.wordSlot(v)) * n; }, value.data());
          for (int i = 0; i < n; ++i)
            out[i] ^= value[i];
        }
        if (allZero(out, n))
          zero[w] |= std::uint64_t{1} << l;
      }
    }
  }
  const word_t *specOf(std::size_t w) const { return spec.data() + 64 * w * n; }
};

// Flips one bit in all 64 lanes of a simulated word and says in which lanes
// the specification is then zero.
class LaneFlip {
public:
  explicit LaneFlip(const Circuit &c)
      : c_(c), n_(c.words()), stamp_(c.endVar(), 0), diff_(c.endVar(), 0),
        pending_(c.order().size() / 64 + 1, 0), dirty_(c.wordCount() + 1),
        newWord_(std::size_t(64) * c.wordCount() * n_), delta_(std::size_t(64) * n_),
        before_(n_), after_(n_) {
    // Occurrences of every variable in the word definitions and the
    // specification: (slot, term); the specification's slot is wordCount.
    occStart_.assign(c.endVar() + 1, 0);
    auto each = [&](auto visit) {
      auto terms = [&](const Circuit::Poly &p, std::uint32_t slot) {
        for (std::uint32_t k = 0; k < p.numTerms; ++k) {
          const Circuit::Term &t = c.term(p.firstTerm + k);
          for (std::uint32_t j = 0; j < t.numVars; ++j)
            visit(c.vars(t)[j], slot, p.firstTerm + k);
        }
      };
      for (Var w : c.wordOrder())
        terms(c.definition(w), c.wordSlot(w));
      terms(c.spec(), c.wordCount());
    };
    std::uint32_t maxTerm = 0;
    each([&](Var v, std::uint32_t, std::uint32_t t) {
      ++occStart_[v + 1];
      maxTerm = std::max(maxTerm, t + 1);
    });
    for (Var v = 0; v < c.endVar(); ++v)
      occStart_[v + 1] += occStart_[v];
    occ_.resize(occStart_[c.endVar()]);
    Array<std::uint32_t> fill(occStart_.begin(), occStart_.end() - 1);
    each([&](Var v, std::uint32_t slot, std::uint32_t t) { occ_[fill[v]++] = {slot, t}; });
    termStamp_.assign(maxTerm, 0);
  }

  // Lanes of lv where the specification is zero once bit g is flipped;
  // spec holds the specification's value per lane, zeroNow the lanes where
  // it is zero unflipped.
  std::uint64_t zeroWithFlip(Var g, const LaneValuation &lv, const word_t *spec,
                             std::uint64_t zeroNow) {
    ++now_;
    changed_.clear();
    stamp_[g] = now_;
    diff_[g] = kAll;
    changed_.push_back(g);
    schedule(g);
    auto lanes = [&](Var v) { return lv.bits[v] ^ (stamp_[v] == now_ ? diff_[v] : 0); };
    for (std::size_t w = low_; w <= high_; ++w)
      while (pending_[w] != 0) {
        const unsigned bit = static_cast<unsigned>(__builtin_ctzll(pending_[w]));
        pending_[w] &= pending_[w] - 1;
        const Var r = c_.order()[w * 64 + bit];
        ++work_;
        const std::uint64_t d = evalBits(c_, r, lanes) ^ lv.bits[r];
        if (d != 0) {
          stamp_[r] = now_;
          diff_[r] = d;
          changed_.push_back(r);
          schedule(r);
        }
      }
    low_ = pending_.size();
    high_ = 0;

    for (Var v : changed_)
      markTerms(v);
    std::uint64_t zero = zeroNow;
    for (std::uint32_t slot = 0; slot <= c_.wordCount(); ++slot) {
      if (dirty_[slot].empty())
        continue;
      std::fill(delta_.begin(), delta_.end(), word_t{0});
      std::uint64_t touched = 0;
      for (std::uint32_t t : dirty_[slot])
        touched |= addDelta(c_.term(t), lv);
      work_ += dirty_[slot].size();
      dirty_[slot].clear();
      if (slot == c_.wordCount()) {
        for (unsigned l = 0; l < 64; ++l)
          if ((touched >> l) & 1) {
            word_t *d = delta_.data() + std::size_t(l) * n_;
            const word_t *s = spec + std::size_t(l) * n_;
            bool isZero = true;
            for (int k = 0; k < n_; ++k)
              isZero = isZero && d[k] == s[k];
            zero = isZero ? zero | std::uint64_t{1} << l : zero & ~(std::uint64_t{1} << l);
          }
        break;
      }
      const Var w = c_.wordOrder()[slot];
      std::uint64_t changedLanes = 0;
      for (unsigned l = 0; l < 64; ++l) {
        const word_t *d = delta_.data() + std::size_t(l) * n_;
        if (((touched >> l) & 1) == 0 || allZero(d, n_))
          continue;
        const std::size_t at = (std::size_t(l) * c_.wordCount() + slot) * n_;
        for (int k = 0; k < n_; ++k)
          newWord_[at + k] = lv.words[at + k] ^ d[k];
        changedLanes |= std::uint64_t{1} << l;
      }
      if (changedLanes != 0) {
        stamp_[w] = now_;
        diff_[w] = changedLanes;
        markTerms(w);
      }
    }
    return zero;
  }

  std::uint64_t work() const { return work_; }

private:
  void schedule(Var v) {
    for (const Var *r = c_.readersBegin(v); r != c_.readersEnd(v); ++r)
      if (!c_.isWord(*r)) {
        const std::size_t pos = c_.position(*r);
        pending_[pos / 64] |= std::uint64_t{1} << (pos % 64);
        low_ = std::min(low_, pos / 64);
        high_ = std::max(high_, pos / 64);
      }
  }

  void markTerms(Var v) {
    for (std::uint32_t i = occStart_[v]; i < occStart_[v + 1]; ++i)
      if (termStamp_[occ_[i].term] != now_) {
        termStamp_[occ_[i].term] = now_;
        dirty_[occ_[i].slot].push_back(occ_[i].term);
      }
  }

  // Adds the change of t's value to the delta of every lane where it
  // changes; returns the lanes where one of its variables changed.
  std::uint64_t addDelta(const Circuit::Term &t, const LaneValuation &lv) {
    const Var *vars = c_.vars(t);
    bool hasWord = false;
    std::uint64_t before = kAll, after = kAll, lanesChanged = 0;
    for (std::uint32_t j = 0; j < t.numVars; ++j) {
      const Var v = vars[j];
      const std::uint64_t d = stamp_[v] == now_ ? diff_[v] : 0;
      lanesChanged |= d;
      if (c_.isWord(v)) {
        hasWord = true;
      } else {
        before &= lv.bits[v];
        after &= lv.bits[v] ^ d;
      }
    }
    if (!hasWord) {
      // A product of bits: the term changes by its coefficient.
      const std::uint64_t flips = before ^ after;
      const word_t *coef = c_.coef(t);
      for (std::uint64_t m = flips; m != 0; m &= m - 1) {
        word_t *d = delta_.data() + std::size_t(__builtin_ctzll(m)) * n_;
        if (coef == nullptr)
          d[0] ^= 1;
        else
          for (int k = 0; k < n_; ++k)
            d[k] ^= coef[k];
      }
      return lanesChanged;
    }
    for (std::uint64_t m = lanesChanged; m != 0; m &= m - 1) {
      const unsigned l = static_cast<unsigned>(__builtin_ctzll(m));
      const std::size_t base = std::size_t(l) * c_.wordCount() * n_;
      auto bit = [&](Var v) { return (lv.bits[v] >> l) & 1; };
      auto word = [&](Var v) { return lv.words.data() + base + std::size_t(c_.wordSlot(v)) * n_; };
      termValue(c_, t, bit, word, before_.data());
      termValue(
          c_, t, [&](Var v) { return ((lv.bits[v] ^ (stamp_[v] == now_ ? diff_[v] : 0)) >> l) & 1; },
          [&](Var v) {
            const bool moved = stamp_[v] == now_ && ((diff_[v] >> l) & 1) != 0;
            return (moved ? newWord_.data() : lv.words.data()) + base +
                   std::size_t(c_.wordSlot(v)) * n_;
          },
          after_.data());
      word_t *d = delta_.data() + std::size_t(l) * n_;
      for (int k = 0; k < n_; ++k)
        d[k] ^= before_[k] ^ after_[k];
    }
    return lanesChanged;
  }

  struct Occurrence {
    std::uint32_t slot, term;
  };
  const Circuit &c_;
  const int n_;
  std::uint32_t now_ = 0;
  std::uint64_t work_ = 0;
  Array<std::uint32_t> stamp_;
  Array<std::uint64_t> diff_; // per variable, valid when stamped now: the lanes that changed
  Array<std::uint64_t> pending_;
  std::size_t low_ = ~std::size_t{0}, high_ = 0;
  std::vector<Array<std::uint32_t>> dirty_;
  Array<std::uint32_t> termStamp_;
  Array<word_t> newWord_, delta_, before_, after_;
  Array<std::uint32_t> occStart_;
  Array<Occurrence> occ_;
  Array<Var> changed_;
};

// Finds an existing signal (an input or a bit) with given values on the
// determined lanes of every word: by a hash of its 64 lanes when a word is
// determined on all of them, otherwise by a scan.
class SignalFinder {
public:
  SignalFinder(const Circuit &c, const Vectors &vec, std::uint64_t scanWork)
      : c_(c), vec_(vec), budget_(scanWork), indexes_(vec.lanes.size()),
        seen_(c.endVar(), 0) {
    for (Var v = 0; v < c.endVar(); ++v)
      if (c.isInput(v) ? c.isUsed(v) : !c.isWord(v))
        signals_.push_back(v);
  }

  // Is there a signal s outside g's fan-out with (s ^ value[w]) & need[w]
  // zero on every word w? Also true when the scan's budget is spent.
  bool find(Var g, const Array<std::uint64_t> &need, const Array<std::uint64_t> &value) {
    std::size_t full = need.size(), most = 0;
    for (std::size_t w = 0; w < need.size(); ++w) {
      if (need[w] == kAll && full == need.size())
        full = w;
      if (__builtin_popcountll(need[w]) > __builtin_popcountll(need[most]))
        most = w;
    }
    if (need[most] == 0)
      return true;
    auto fits = [&](Var s) {
      for (std::size_t w = 0; w < need.size(); ++w)
        if (((vec_.lanes[w].bits[s] ^ value[w]) & need[w]) != 0)
          return false;
      return outsideFanOut(g, s);
    };
    if (full != need.size()) {
      const Index &index = indexOf(full);
      const std::uint64_t sig = value[full];
      for (std::uint32_t i = index.head[hash(sig, index.shift)]; i != kNone; i = index.next[i]) {
        ++used_;
        if (vec_.lanes[full].bits[signals_[i]] == sig && fits(signals_[i]))
          return true;
      }
      return used_ > budget_;
    }
    if (used_ + signals_.size() > budget_)
      return true;
    used_ += signals_.size();
    const Array<std::uint64_t> &bits = vec_.lanes[most].bits;
    for (Var s : signals_)
      if (((bits[s] ^ value[most]) & need[most]) == 0 && fits(s))
        return true;
    return false;
  }

  std::uint64_t used() const { return used_; }
private:
  static constexpr std::uint32_t kNone = ~0U;
  struct Index {
    unsigned shift = 0;
    Array<std::uint32_t> head, next;
  };
  static std::size_t hash(std::uint64_t sig, unsigned shift) {
    return static_cast<std::size_t>((sig * 0x9e3779b97f4a7c15ULL) >> shift);
  }

  const Index &indexOf(std::size_t w) {
    Index &index = indexes_[w];
    if (!index.head.empty())
      return index;
    unsigned log = 4;
    while ((std::size_t{1} << log) < 2 * signals_.size())
      ++log;
    index.shift = 64 - log;
    index.head.assign(std::size_t{1} << log, kNone);
    index.next.resize(signals_.size());
    const Array<std::uint64_t> &bits = vec_.lanes[w].bits;
    for (std::uint32_t i = 0; i < signals_.size(); ++i) {
      std::uint32_t &head = index.head[hash(bits[signals_[i]], index.shift)];
      index.next[i] = head;
      head = i;
    }
    return index;
  }

  // Is s outside g's fan-out (so that g may read it)? Signals before g in
  // the dependency order are; for a later one, its fan-in above g's
  // position is searched, within a bound (beyond it: yes, which keeps g).
  bool outsideFanOut(Var g, Var s) {
    if (s == g)
      return false;
    if (c_.isInput(s) || c_.position(s) < c_.position(g))
      return true;
    ++now_;
    stack_.assign(1, s);
    std::size_t visited = 0;
    while (!stack_.empty()) {
      const Var v = stack_.back();
      stack_.pop_back();
      if (++visited > kMaxVisits)
        return true;
      const Circuit::Poly &def = c_.definition(v);
      for (std::uint32_t k = 0; k < def.numTerms; ++k) {
        const Circuit::Term &t = c_.term(def.firstTerm + k);
        for (std::uint32_t j = 0; j < t.numVars; ++j) {
          const Var u = c_.vars(t)[j];
          if (u == g)
            return false;
          if (!c_.isInput(u) && seen_[u] != now_ && c_.position(u) > c_.position(g)) {
            seen_[u] = now_;
            stack_.push_back(u);
          }
        }
      }
    }
    return true;
  }

  static constexpr std::size_t kMaxVisits = 1 << 16;
  const Circuit &c_;
  const Vectors &vec_;
  const std::uint64_t budget_;
  std::uint64_t used_ = 0;
  Array<Var> signals_;
  std::vector<Index> indexes_;
  Array<std::uint32_t> seen_;
  std::uint32_t now_ = 0;
  Array<Var> stack_;
};

// The distinct variables of g's definition.
Array<Var> inputsOf(const Circuit &c, Var g) {
  Array<Var> in;
  const Circuit::Poly &def = c.definition(g);
  for (std::uint32_t k = 0; k < def.numTerms; ++k) {
    const Circuit::Term &t = c.term(def.firstTerm + k);
    in.insert(in.end(), c.vars(t), c.vars(t) + t.numVars);
  }
  std::sort(in.begin(), in.end());
  in.erase(std::unique(in.begin(), in.end()), in.end());
  return in;
}

// Another function of the same inputs: no two vectors with equal inputs
// need different values.
bool sameInputsExplain(const Vectors &vec, const Array<Var> &in, const Array<std::uint64_t> &need,
                       const Array<std::uint64_t> &value) {
  std::uint64_t seen0 = 0, seen1 = 0; // per input combination
  for (std::size_t w = 0; w < need.size(); ++w)
    for (std::uint32_t combo = 0; combo < (1U << in.size()); ++combo) {
      std::uint64_t lanes = need[w];
      for (std::size_t i = 0; i < in.size() && lanes != 0; ++i) {
        const std::uint64_t x = vec.lanes[w].bits[in[i]];
        lanes &= ((combo >> i) & 1) ? x : ~x;
      }
      if ((lanes & value[w]) != 0)
        seen1 |= std::uint64_t{1} << combo;
      if ((lanes & ~value[w]) != 0)
        seen0 |= std::uint64_t{1} << combo;
    }
  return (seen0 & seen1) == 0;
}

// One input u rewired: g = u*A + B (A, B without u) must give the needed
// values with u replaced by an existing signal s. Where A is 1, s must be
// value + B; where A is 0, B must be the value already.
bool rewiringExplains(const Circuit &c, const Vectors &vec, SignalFinder &finder, Var g,
                      const Array<Var> &in, const Array<std::uint64_t> &need,
                      const Array<std::uint64_t> &value) {
  const std::size_t words = need.size();
  Array<std::uint64_t> sNeed(words), sValue(words);
  for (Var u : in) {
    bool possible = true;
    for (std::size_t w = 0; w < words && possible; ++w) {
      const Array<std::uint64_t> &bits = vec.lanes[w].bits;
      const std::uint64_t b = evalBits(c, g, [&](Var v) { return v == u ? 0 : bits[v]; });
      const std::uint64_t a = b ^ evalBits(c, g, [&](Var v) { return v == u ? kAll : bits[v]; });
      possible = (need[w] & ~a & (value[w] ^ b)) == 0;
      sNeed[w] = need[w] & a;
      sValue[w] = value[w] ^ b;
    }
    if (possible && finder.find(g, sNeed, sValue))
      return true;
  }
  return false;
}

} // namespace

void keepRepairable(const Circuit &c, const std::vector<Valuation> &failing, Array<Var> &suspects,
                    const RepairLimits &limits) {
  if (suspects.empty() || !c.constraints().empty())
    return;
  std::clock_t t0 = std::clock();
  auto lap = [&](const char *what) {
    if (std::getenv("PV_REPAIR_TIME"))
      std::fprintf(stderr, "  %s %.1f ms\n", what, 1000.0 * double(std::clock() - t0) / CLOCKS_PER_SEC);
    t0 = std::clock();
  };
  {
    Array<std::uint64_t> probe(std::size_t(2) << 20, 0);
    lap("probe 16MB huge");
    std::vector<std::uint64_t> probe2(std::size_t(2) << 20, 0);
    lap("probe 16MB malloc");
    LaneValuation lv;
    lv.bits.assign(c.endVar(), 0);
    lap("lv");
    simulateLanes(c, lv);
    lap("sim1");
    simulateLanes(c, lv);
    lap("sim2");
  }
  const Vectors vec(c, failing, limits);
  lap("vectors");
  LaneFlip flip(c);
  lap("flip");
  if (std::getenv("PV_REPAIR_TIME"))
    std::fprintf(stderr, "  endVar %u order %zu words %u\n", c.endVar(), c.order().size(), c.wordCount());
  SignalFinder finder(c, vec, limits.scanWork);
  lap("finder");
  const std::size_t words = vec.lanes.size();
  Array<std::uint64_t> need(words), value(words);
  Array<Var> kept;
  for (Var g : suspects) {
    const Array<Var> in = inputsOf(c, g);
    if (in.size() > limits.maxArity || flip.work() > limits.flipWork) {
      kept.push_back(g);
      continue;
    }
    // Per word: the lanes where exactly one of g's values makes the
    // specification zero, and that value.
    bool possible = true;
    for (std::size_t w = 0; w < words && possible; ++w) {
      const std::uint64_t now = vec.zero[w];
      const std::uint64_t flipped = flip.zeroWithFlip(g, vec.lanes[w], vec.specOf(w), now);
      possible = (now | flipped) == kAll;
      need[w] = now ^ flipped;
      value[w] = vec.lanes[w].bits[g] ^ (flipped & ~now);
    }
    if (possible && (sameInputsExplain(vec, in, need, value) ||
                     rewiringExplains(c, vec, finder, g, in, need, value)))
      kept.push_back(g);
  }
  lap("loop");
  if (std::getenv("PV_REPAIR_TIME"))
    std::fprintf(stderr, "  flipwork %llu scan %llu\n", (unsigned long long)flip.work(), (unsigned long long)finder.used());
  suspects.swap(kept);
}

} // namespace witness
