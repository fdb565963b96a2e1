// The repair filter for suspects; see repair.h.
//
// The vectors are simulated 64 at a time (one lane each). A gate's flip is
// simulated in all 64 lanes of a word at once: its fan-out event by event in
// dependency order (a sweep over a bit per position), then the word definitions and the
// specification by the terms that read a changed variable. A change of a word is kept as a short
// list of (coefficient, lanes) pairs: flipping a product of bits changes a
// term by its coefficient in the lanes where the product flips, so the
// usual change of an output word is one pair.
//
// The rewiring sources are searched for all gates together at the end: one
// pass over the signals answers every query whose word is determined in all
// 64 lanes (by a hash of the query values), one pass per batch the others.
#include "repair.h"

#include <algorithm>
#include <cassert>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "coeff_vector.h"
#include "pending.h"
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

bool isSignal(const Circuit &c, Var v) { return c.isInput(v) ? c.isUsed(v) : !c.isWord(v); }

// The simulated vectors: words of 64 lanes, and per lane the value of the
// specification.
struct Vectors {
  int n;
  std::size_t inputs = 0;    // the used inputs
  std::vector<LaneValuation> lanes;
  Array<word_t> spec;        // word w, lane l: at (64 * w + l) * n
  Array<std::uint64_t> zero; // per word: the lanes where the specification is zero

  Vectors(const Circuit &c, const std::vector<Valuation> &failing, const RepairLimits &limits)
      : n(c.words()) {
    Array<Var> used;
    for (Var v = 0; v < c.endVar(); ++v)
      if (c.isInput(v) && c.isUsed(v))
        used.push_back(v);
    inputs = used.size();
    std::mt19937_64 rng(limits.seed);
    const std::size_t count = limits.randomWords + (failing.size() + 63) / 64;
    lanes.resize(count);
    spec.assign(count * 64 * n, 0);
    zero.assign(count, 0);
    Array<word_t> value(n);
    for (std::size_t w = 0; w < count; ++w) {
      LaneValuation &lv = lanes[w];
      lv.bits.resize(c.endVar());
      for (Var v : used)
        lv.bits[v] = rng();
      // The failing assignments take the first lanes of the last words.
      for (unsigned l = 0; l < 64 && w >= limits.randomWords; ++l) {
        const std::size_t i = 64 * (w - limits.randomWords) + l;
        if (i >= failing.size())
          break;
        for (Var v : used)
          lv.bits[v] = (lv.bits[v] & ~(std::uint64_t{1} << l)) |
                       (std::uint64_t{failing[i].bit[v] & 1U} << l);
      }
    }
    // Two words per pass over the circuit.
    for (std::size_t w = 0; w < count; w += 2)
      if (w + 1 < count)
        simulateLanes(c, lanes[w], lanes[w + 1]);
      else
        simulateLanes(c, lanes[w]);
    for (std::size_t w = 0; w < count; ++w) {
      const LaneValuation &lv = lanes[w];
      const Circuit::Poly &p = c.spec();
      for (unsigned l = 0; l < 64; ++l) {
        word_t *out = spec.data() + (64 * w + l) * n;
        const word_t *words = lv.words.data() + std::size_t(l) * c.wordCount() * n;
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
  std::size_t words() const { return lanes.size(); }
  const word_t *specOf(std::size_t w, unsigned lane) const {
    return spec.data() + (64 * w + lane) * n;
  }
};

// Flips one bit in all 64 lanes of a simulated word and says in which lanes
// the specification is then zero.
//
// A flip that reaches too many bits is judged through a cut: a bit d that
// was, at some point of the event-driven simulation, the only one left to
// recompute, while no changed bit so far is read by a word definition or
// the specification. Every change of the flip then reaches the rest of the
// circuit through d alone, so in the lanes where d changes the flip has the
// effect of flipping d, and in the others none. The flip of d is simulated
// once per word, whole: the early gates of Montgomery's reduction chain all
// reach the circuit through the chain's next quotient bit. Every result is
// kept, and a flip stops at the first cut whose result is known: the gates
// of a chain, taken readers first, each stop at the next one.
class LaneFlip {
public:
  LaneFlip(const Circuit &c, std::uint64_t cutWork)
      : c_(c), n_(c.words()), lists_(c.wordCount() + 1),
        scratch_(3 * std::size_t(n_)), cutWork_(cutWork) {
    // Where the word definitions and the specification read each variable:
    // (variable, slot, term), by variable; the specification's slot is
    // wordCount.
    auto add = [&](const Circuit::Poly &p, std::uint32_t slot) {
      for (std::uint32_t k = 0; k < p.numTerms; ++k) {
        const Circuit::Term &t = c.term(p.firstTerm + k);
        for (std::uint32_t j = 0; j < t.numVars; ++j)
          occ_.push_back({c.vars(t)[j], slot, p.firstTerm + k});
      }
    };
    for (Var w : c.wordOrder())
      add(c.definition(w), c.wordSlot(w));
    add(c.spec(), c.wordCount());
    std::sort(occ_.begin(), occ_.end(),
              [](const Occurrence &a, const Occurrence &b) { return a.var < b.var; });
    index_.assign(c.endVar(), 0);
    pending_.reset(c.order().size());
  }

  // zero := the lanes of word w where the specification is zero once bit g
  // is flipped. When the flip reaches more than maxGates bits, it is judged
  // through its last cut (g itself when there is none); false (zero unset)
  // when that cut's flip does not fit in what is left of cutWork. Every
  // result is kept: a later flip that reaches g as a cut stops there.
  bool zeroWithFlip(Var g, const Vectors &vec, std::size_t w, std::uint64_t maxGates,
                    std::uint64_t &zero) {
    const Known *known = findKnown(g, w);
    if (known == nullptr) {
      LastCut cut{g, kAll, nullptr};
      std::uint64_t gates = 0;
      const Stop stop = flipBits(g, vec, w, maxGates, gates, &cut);
      work_ += gates;
      Known result{true, 0};
      if (stop == Stop::Done) {
        result.zero = specZero(vec, w);
      } else {
        const Known &through = stop == Stop::KnownCut ? *cut.known : flipCut(cut.gate, vec, w);
        result.fits = through.fits;
        result.zero = (vec.zero[w] & ~cut.lanes) | (through.zero & cut.lanes);
      }
      known = &(known_[key(g, w)] = result);
    }
    zero = known->zero;
    return known->fits;
  }

  std::uint64_t work() const { return work_; }

private:
  // The flip of a bit in all 64 lanes of one word: the lanes where the
  // specification is then zero, unless its cut's flip did not fit in the
  // budget.
  struct Known {
    bool fits;
    std::uint64_t zero;
  };

  static std::uint64_t key(Var g, std::size_t w) { return std::uint64_t{g} << 32 | w; }
  const Known *findKnown(Var g, std::size_t w) const {
    const auto it = known_.find(key(g, w));
    return it == known_.end() ? nullptr : &it->second;
  }

  // The last cut of a flip so far, the lanes where it changes, and its
  // flip when that is known.
  struct LastCut {
    Var gate;
    std::uint64_t lanes;
    const Known *known;
  };
  enum class Stop { Done, KnownCut, TooMany };

  // Simulates the bits that flipping g in all 64 lanes of word w changes,
  // event by event in dependency order: at most maxGates of them (gates:
  // how many). With cut, the last cut is kept there, and the simulation
  // stops at a cut whose flip is known.
  Stop flipBits(Var g, const Vectors &vec, std::size_t w, std::uint64_t maxGates,
                std::uint64_t &gates, LastCut *cut) {
    const LaneValuation &lv = vec.lanes[w];
    clear();
    setDiff(g, kAll);
    schedule(g);
    // Does a changed bit before the next cut reach a word?
    bool escaped = cut != nullptr && readByWords(g);
    auto lanes = [&](Var v) { return lv.bits[v] ^ diff(v); };
    gates = 0;
    // Readers come after the bits they read: one sweep over the pending
    // positions, which only grow past the current one.
    while (!pending_.empty()) {
      if (gates == maxGates) {
        pending_.clear();
        return Stop::TooMany;
      }
      ++gates;
      const Var r = c_.order()[pending_.take()];
      const std::uint64_t d = evalBits(c_, r, lanes) ^ lv.bits[r];
      if (cut != nullptr && pending_.empty() && !escaped) {
        // r is a cut: the changes so far go on through r only.
        *cut = {r, d, findKnown(r, w)};
        if (cut->known != nullptr)
          return Stop::KnownCut; // nothing else pending
      }
      if (d != 0) {
        setDiff(r, d);
        schedule(r);
        escaped = escaped || (cut != nullptr && readByWords(r));
      }
    }
    return Stop::Done;
  }

  // Flips d in all 64 lanes of word w with its whole fan-out (within what
  // is left of cutWork_), and keeps the result.
  const Known &flipCut(Var d, const Vectors &vec, std::size_t w) {
    if (const Known *known = findKnown(d, w))
      return *known;
    std::uint64_t gates = 0;
    const bool fits = flipBits(d, vec, w, cutWork_, gates, nullptr) == Stop::Done;
    cutWork_ -= gates;
    return known_[key(d, w)] = {fits, fits ? specZero(vec, w) : 0};
  }

  // Do word definitions or the specification read v?
  bool readByWords(Var v) const {
    auto it = std::lower_bound(occ_.begin(), occ_.end(), v,
                               [](const Occurrence &o, Var x) { return o.var < x; });
    return it != occ_.end() && it->var == v;
  }

  // After the bits of a flip: the words that read a changed bit, in
  // dependency order, then the specification. The lanes of word w where
  // the specification is then zero.
  std::uint64_t specZero(const Vectors &vec, std::size_t w) {
    for (std::size_t i = 0; i < changed_.size(); ++i)
      markTerms(changed_[i]);
    for (std::uint32_t slot = 0; slot < c_.wordCount(); ++slot) {
      if (dirty_.empty() || dirty_.front().slot != slot)
        continue;
      List &list = lists_[slot];
      changes(slot, vec, w, list);
      if (!list.empty()) {
        std::uint64_t lanesOf = 0;
        for (const Entry &e : list)
          lanesOf |= e.lanes;
        const Var word = c_.wordOrder()[slot];
        setDiff(word, lanesOf);
        markTerms(word);
      }
    }
    const std::uint32_t specSlot = c_.wordCount();
    std::uint64_t zero = vec.zero[w];
    if (dirty_.empty())
      return zero;
    List &list = lists_[specSlot];
    changes(specSlot, vec, w, list);
    std::uint64_t touched = 0;
    for (const Entry &e : list)
      touched |= e.lanes;
    zero &= ~touched;
    word_t *sum = scratch_.data();
    for (std::uint64_t m = touched; m != 0; m &= m - 1) {
      const unsigned l = static_cast<unsigned>(__builtin_ctzll(m));
      const word_t *s = vec.specOf(w, l);
      bool isZero;
      if (list.size() == 1) {
        const word_t *d = pool_.data() + list[0].at;
        isZero = std::equal(s, s + n_, d);
      } else {
        std::copy(s, s + n_, sum);
        for (const Entry &e : list)
          if ((e.lanes >> l) & 1)
            for (int k = 0; k < n_; ++k)
              sum[k] ^= pool_[e.at + k];
        isZero = allZero(sum, n_);
      }
      if (isZero)
        zero |= std::uint64_t{1} << l;
    }
    return zero;
  }

  struct Occurrence {
    Var var;
    std::uint32_t slot, term;
  };
  struct Dirty {
    std::uint32_t slot, term;
    bool operator<(const Dirty &o) const { return slot != o.slot ? slot < o.slot : term < o.term; }
  };
  // A change of a word: its value changes by the coefficient pool_[at ..
  // at + n) in the given lanes.
  struct Entry {
    std::size_t at;
    std::uint64_t lanes;
  };
  using List = std::vector<Entry>;

  // The changed variables and their lanes: values_ parallel to changed_,
  // and per variable 1 + its place there (0: unchanged), reset after each
  // flip for the variables it changed only. (A hash table of the fan-out
  // cost a probe per read; a flip of a cut reads hundreds of thousands.)
  std::uint64_t diff(Var v) const {
    const std::uint32_t i = index_[v];
    return i == 0 ? 0 : values_[i - 1];
  }
  void setDiff(Var v, std::uint64_t d) {
    std::uint32_t &i = index_[v];
    if (i != 0) {
      values_[i - 1] = d;
      return;
    }
    changed_.push_back(v);
    values_.push_back(d);
    i = static_cast<std::uint32_t>(changed_.size());
  }
  void clear() {
    for (Var v : changed_)
      index_[v] = 0;
    changed_.clear();
    values_.clear();
    dirty_.clear();
    pool_.clear();
    for (List &l : lists_)
      l.clear();
  }

  // Marks the bit readers of v pending; word readers follow through
  // markTerms.
  void schedule(Var v) {
    for (const Var *r = c_.readersBegin(v); r != c_.readersEnd(v); ++r)
      if (!c_.isWord(*r))
        pending_.add(c_.position(*r));
  }

  // Puts the terms that read v on the dirty list, kept sorted by slot.
  void markTerms(Var v) {
    auto it = std::lower_bound(occ_.begin(), occ_.end(), v,
                               [](const Occurrence &o, Var x) { return o.var < x; });
    for (; it != occ_.end() && it->var == v; ++it) {
      const Dirty d{it->slot, it->term};
      const auto at = std::lower_bound(dirty_.begin(), dirty_.end(), d);
      if (at == dirty_.end() || at->slot != d.slot || at->term != d.term)
        dirty_.insert(at, d);
    }
  }

  std::size_t newCoef() {
    pool_.resize(pool_.size() + n_, 0);
    return pool_.size() - n_;
  }
  void addEntry(List &list, std::size_t at, std::uint64_t lanes) {
    if (allZero(pool_.data() + at, n_) || lanes == 0)
      return;
    for (Entry &e : list)
      if (e.lanes == lanes) {
        for (int k = 0; k < n_; ++k)
          pool_[e.at + k] ^= pool_[at + k];
        return;
      }
    list.push_back({at, lanes});
  }

  // The change of the polynomial in slot: the dirty terms of that slot,
  // taken off the front of the dirty list.
  void changes(std::uint32_t slot, const Vectors &vec, std::size_t w, List &list) {
    const LaneValuation &lv = vec.lanes[w];
    std::size_t end = 0;
    while (end < dirty_.size() && dirty_[end].slot == slot)
      ++end;
    for (std::size_t i = 0; i < end; ++i) {
      const Circuit::Term &t = c_.term(dirty_[i].term);
      const Var *vars = c_.vars(t);
      std::uint32_t wordsIn = 0;
      Var word = 0;
      std::uint64_t before = kAll, after = kAll, lanesChanged = 0;
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        const std::uint64_t d = diff(vars[j]);
        lanesChanged |= d;
        if (c_.isWord(vars[j])) {
          ++wordsIn;
          word = vars[j];
        } else {
          before &= lv.bits[vars[j]];
          after &= lv.bits[vars[j]] ^ d;
        }
      }
      const word_t *coef = c_.coef(t);
      if (wordsIn == 0) {
        // A product of bits: the term changes by its coefficient.
        const std::size_t at = newCoef();
        if (coef == nullptr)
          pool_[at] = 1;
        else
          std::copy(coef, coef + n_, pool_.begin() + at);
        addEntry(list, at, before ^ after);
        work_ += n_;
        continue;
      }
      if (wordsIn == 1 && t.numVars == 1) {
        // coef * W: coef times each change of W.
        for (const Entry &e : lists_[c_.wordSlot(word)]) {
          const std::size_t at = newCoef();
          std::copy(pool_.begin() + e.at, pool_.begin() + e.at + n_, pool_.begin() + at);
          if (coef != nullptr)
            multExp(pool_.data() + at, coef);
          addEntry(list, at, e.lanes);
        }
        work_ += n_;
        continue;
      }
      // Any other term, lane by lane.
      for (std::uint64_t m = lanesChanged; m != 0; m &= m - 1) {
        const unsigned l = static_cast<unsigned>(__builtin_ctzll(m));
        const std::size_t base = std::size_t(l) * c_.wordCount() * n_;
        word_t *was = scratch_.data(), *is = was + n_, *moved = is + n_;
        auto old = [&](Var v) { return lv.words.data() + base + std::size_t(c_.wordSlot(v)) * n_; };
        termValue(
            c_, t, [&](Var v) { return (lv.bits[v] >> l) & 1; }, old, was);
        termValue(
            c_, t, [&](Var v) { return ((lv.bits[v] ^ diff(v)) >> l) & 1; },
            [&](Var v) -> const word_t * {
              std::copy(old(v), old(v) + n_, moved);
              for (const Entry &e : lists_[c_.wordSlot(v)])
                if ((e.lanes >> l) & 1)
                  for (int k = 0; k < n_; ++k)
                    moved[k] ^= pool_[e.at + k];
              return moved;
            },
            is);
        const std::size_t at = newCoef();
        for (int k = 0; k < n_; ++k)
          pool_[at + k] = was[k] ^ is[k];
        addEntry(list, at, std::uint64_t{1} << l);
        work_ += 4 * n_;
      }
    }
    dirty_.erase(dirty_.begin(), dirty_.begin() + static_cast<std::ptrdiff_t>(end));
  }

  const Circuit &c_;
  const int n_;
  std::uint64_t work_ = 0;
  PendingPositions pending_;
  Array<std::uint32_t> index_; // per variable, see diff()
  Array<std::uint64_t> values_;
  Array<Var> changed_;
  std::vector<Occurrence> occ_;
  std::vector<Dirty> dirty_;
  std::vector<List> lists_; // per slot: the change of that word
  Array<word_t> pool_, scratch_;
  std::uint64_t cutWork_;                          // bits the flips of cuts may still re-simulate
  std::unordered_map<std::uint64_t, Known> known_; // by key(bit, word)
};

// Rewiring sources: for each query (a gate g and, per word, the lanes and
// values a signal must have), is there a signal outside g's fan-out that
// has them?
class Rewiring {
public:
  Rewiring(const Circuit &c, const Vectors &vec, std::uint64_t scanWork)
      : c_(c), vec_(vec), budget_(scanWork) {}

  void add(Var g, const Array<std::uint64_t> &need, const Array<std::uint64_t> &value) {
    gates_.push_back(g);
    need_.insert(need_.end(), need.begin(), need.end());
    value_.insert(value_.end(), value.begin(), value.end());
  }
  // Per query: 1 when a signal fits, or when the scan's budget ran out
  // before the query was tried.
  std::vector<std::uint8_t> solve() {
    const std::size_t words = vec_.words();
    std::vector<std::uint8_t> found(gates_.size(), 0);
    // Queries with a word determined in all lanes, by that word; the rest.
    std::vector<std::vector<std::pair<std::uint64_t, std::uint32_t>>> keyed(words);
    std::vector<std::uint32_t> masked;
    for (std::uint32_t q = 0; q < gates_.size(); ++q) {
      std::size_t full = words;
      for (std::size_t w = 0; w < words && full == words; ++w)
        if (need(q)[w] == kAll)
          full = w;
      if (full < words)
        keyed[full].push_back({value(q)[full], q});
      else
        masked.push_back(q);
    }
    for (std::size_t w = 0; w < words; ++w) {
      auto &keys = keyed[w];
      if (keys.empty())
        continue;
      std::sort(keys.begin(), keys.end());
      // A bit per hash of the keys rules most signals out at once.
      std::vector<std::uint64_t> filter(std::size_t{1} << 10, 0);
      auto hash = [](std::uint64_t k) { return (k * 0x9e3779b97f4a7c15ULL) >> 48; };
      for (const auto &k : keys)
        filter[hash(k.first) / 64] |= std::uint64_t{1} << (hash(k.first) % 64);
      const Array<std::uint64_t> &bits = vec_.lanes[w].bits;
      for (Var s = 0; s < c_.endVar(); ++s) {
        const std::uint64_t sig = bits[s];
        if (((filter[hash(sig) / 64] >> (hash(sig) % 64)) & 1) == 0 || !isSignal(c_, s))
          continue;
        auto it = std::lower_bound(keys.begin(), keys.end(), std::make_pair(sig, std::uint32_t{0}));
        for (; it != keys.end() && it->first == sig; ++it)
          if (!found[it->second] && fits(it->second, s))
            found[it->second] = 1;
      }
    }
    // The others by a scan over the signals, a batch at a time, within the
    // budget.
    // The signals are the used inputs and the bits (the defined variables
    // that are not words).
    const std::size_t signals = vec_.inputs + c_.order().size() - c_.wordCount();
#ifndef NDEBUG
    std::size_t counted = 0;
    for (Var s = 0; s < c_.endVar(); ++s)
      counted += isSignal(c_, s) ? 1 : 0;
    assert(counted == signals);
#endif
    constexpr std::size_t kBatch = 64;
    for (std::size_t from = 0; from < masked.size(); from += kBatch) {
      const std::size_t to = std::min(masked.size(), from + kBatch);
      if (used_ + signals * (to - from) > budget_) {
        for (std::size_t i = from; i < masked.size(); ++i)
          found[masked[i]] = 1;
        break;
      }
      used_ += signals * (to - from);
      // Each query is tried first on its word with the most determined lanes.
      std::vector<std::size_t> best(to - from, 0);
      for (std::size_t i = from; i < to; ++i)
        for (std::size_t w = 1; w < words; ++w)
          if (__builtin_popcountll(need(masked[i])[w]) >
              __builtin_popcountll(need(masked[i])[best[i - from]]))
            best[i - from] = w;
      // The lanes first: they rule out nearly every variable.
      for (Var s = 0; s < c_.endVar(); ++s)
        for (std::size_t i = from; i < to; ++i) {
          const std::uint32_t q = masked[i];
          const std::size_t w = best[i - from];
          if (((vec_.lanes[w].bits[s] ^ value(q)[w]) & need(q)[w]) == 0 && !found[q] &&
              isSignal(c_, s) && fits(q, s))
            found[q] = 1;
        }
    }
    return found;
  }

private:
  const std::uint64_t *need(std::uint32_t q) const { return need_.data() + q * vec_.words(); }
  const std::uint64_t *value(std::uint32_t q) const { return value_.data() + q * vec_.words(); }

  bool fits(std::uint32_t q, Var s) {
    for (std::size_t w = 0; w < vec_.words(); ++w)
      if (((vec_.lanes[w].bits[s] ^ value(q)[w]) & need(q)[w]) != 0)
        return false;
    return outsideFanOut(gates_[q], s);
  }

  // Is s outside g's fan-out (so that g may read it)? Signals before g in
  // the dependency order are; for a later one, its fan-in above g's
  // position is searched, within a bound (beyond it: yes, which keeps g).
  bool outsideFanOut(Var g, Var s) const {
    if (s == g)
      return false;
    if (c_.isInput(s) || c_.position(s) < c_.position(g))
      return true;
    std::unordered_set<Var> seen{s};
    std::vector<Var> stack{s};
    while (!stack.empty()) {
      const Var v = stack.back();
      stack.pop_back();
      if (seen.size() > kMaxVisits)
        return true;
      const Circuit::Poly &def = c_.definition(v);
      for (std::uint32_t k = 0; k < def.numTerms; ++k) {
        const Circuit::Term &t = c_.term(def.firstTerm + k);
        for (std::uint32_t j = 0; j < t.numVars; ++j) {
          const Var u = c_.vars(t)[j];
          if (u == g)
            return false;
          if (!c_.isInput(u) && c_.position(u) > c_.position(g) && seen.insert(u).second)
            stack.push_back(u);
        }
      }
    }
    return true;
  }

  static constexpr std::size_t kMaxVisits = 1 << 14;
  const Circuit &c_;
  const Vectors &vec_;
  const std::uint64_t budget_;
  std::uint64_t used_ = 0;
  Array<Var> gates_;
  Array<std::uint64_t> need_, value_;
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

} // namespace

void keepRepairable(const Circuit &c, const std::vector<Valuation> &failing, Array<Var> &suspects,
                    const RepairLimits &limits) {
  if (suspects.empty() || !c.constraints().empty())
    return;
  const Vectors vec(c, failing, limits);
  LaneFlip flip(c, limits.cutWork);
  Rewiring rewiring(c, vec, limits.scanWork);
  const std::size_t words = vec.words();
  Array<std::uint64_t> need(words), value(words), sNeed(words), sValue(words);
  std::vector<std::uint8_t> keep(suspects.size(), 0);
  std::vector<std::uint32_t> owner; // per rewiring query: its suspect
  for (std::uint32_t i = 0; i < suspects.size(); ++i) {
    const Var g = suspects[i];
    const Array<Var> in = inputsOf(c, g);
    if (in.size() > limits.maxArity || flip.work() > limits.flipWork) {
      keep[i] = 1;
      continue;
    }
    // Per word: the lanes where exactly one of g's values makes the
    // specification zero, and that value. Where neither does, another
    // fault shows, and the lane says nothing about g.
    bool judged = true;
    for (std::size_t w = 0; w < words && judged; ++w) {
      const std::uint64_t now = vec.zero[w];
      std::uint64_t flipped = 0;
      judged = flip.zeroWithFlip(g, vec, w, limits.fanOut, flipped);
      need[w] = now ^ flipped;
      value[w] = vec.lanes[w].bits[g] ^ (flipped & ~now);
    }
    if (!judged) {
      keep[i] = 1;
      continue;
    }
    if (sameInputsExplain(vec, in, need, value)) {
      keep[i] = 1;
      continue;
    }
    // Rewiring input u: g = u*A + B. Where A is 1 the new source must be
    // value + B; where A is 0, B must be the value already.
    for (Var u : in) {
      if (keep[i])
        break;
      bool fits = true, any = false;
      for (std::size_t w = 0; w < words && fits; ++w) {
        const Array<std::uint64_t> &bits = vec.lanes[w].bits;
        const std::uint64_t b = evalBits(c, g, [&](Var v) { return v == u ? 0 : bits[v]; });
        const std::uint64_t a = b ^ evalBits(c, g, [&](Var v) { return v == u ? kAll : bits[v]; });
        fits = (need[w] & ~a & (value[w] ^ b)) == 0;
        sNeed[w] = need[w] & a;
        sValue[w] = value[w] ^ b;
        any = any || sNeed[w] != 0;
      }
      if (fits && !any)
        keep[i] = 1;
      else if (fits) {
        rewiring.add(g, sNeed, sValue);
        owner.push_back(i);
      }
    }
  }
  const std::vector<std::uint8_t> found = rewiring.solve();
  for (std::size_t q = 0; q < found.size(); ++q)
    keep[owner[q]] |= found[q];
  Array<Var> kept;
  for (std::size_t i = 0; i < suspects.size(); ++i)
    if (keep[i])
      kept.push_back(suspects[i]);
  if (!kept.empty())
    suspects.swap(kept);
}

} // namespace witness
