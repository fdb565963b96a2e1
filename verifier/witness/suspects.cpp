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
#include <random>

#include "coeff_vector.h"
#include "pending.h"
#include "poly_words.h"
#include "repair.h"

namespace witness {

namespace {

// Flips judged without simulation, for the usual form of the specification:
// c*W + S, where W is the sum of X^j * z_j over distinct bits j (and terms
// of inputs only) and S reads inputs and words of inputs only. There a flip
// makes the specification zero exactly when it changes the output bits z_j
// whose bit j is set in spec/c (the wrong bits) and no other. When every
// gate downstream of a gate g is affine in the gates it reads (each term
// reads at most one gate, the rest inputs), the changes a flip of g makes
// add up along the paths: z_j changes when an odd number of the paths from
// g to z_j pass, at every gate, a term whose inputs are 1. One pass against
// the order then gives every such gate a fingerprint of the set of output
// bits its flip changes: the XOR of random 28-bit keys of the bits. A
// fingerprint other than that of the wrong bits proves the flip does not
// explain the witness; an equal one is left to the simulation (so a
// collision costs a simulation, never a suspect). A long fan-out (a
// Montgomery multiplier's reduction carries a flip through most of the
// circuit) costs the simulation a sweep of it per 64 gates; the pass costs
// one sweep of the circuit for all of them. Which bits are linear (all
// downstream affine) is found in the same pass, readers first: a reader
// that is not affine, or not linear, or a word other than W, marks what it
// reads not linear. The flags and the fingerprint share one 32-bit word per
// variable, which also tells inputs and words, so that a term's variables
// cost one access each.
class LinearScreen {
public:
  explicit LinearScreen(const Circuit &c) : c_(c) {
    const OutputForm form = outputForm(c);
    if (!simpleForm(form))
      return;
    inverse_ = form.inverse;
    std::mt19937_64 rng(0x2545f4914f6cdd1dULL);
    key_.resize(form.bitOf.size());
    for (std::uint32_t &k : key_)
      k = static_cast<std::uint32_t>(rng()) & ~kFlags;
    for (std::size_t j = 0; j < form.bitOf.size(); ++j)
      if (form.bitOf[j] != 0 && !c.isInput(form.bitOf[j]))
        outputs_.push_back({form.bitOf[j], key_[j]});
    word_ = form.word;
    active_ = true;
  }

  bool active() const { return active_; }
  // Is everything downstream of bit g affine, so that its fingerprint is
  // exact? (The flags are made readers first, down to g's position, when
  // the pass has not made them yet.)
  bool linear(Var g) {
    if (!active_)
      return false;
    startFlags();
    for (const std::uint32_t pos = c_.position(g); flagsFrom_ > pos;)
      makeFlags(c_.order()[--flagsFrom_], 0, nullptr);
    return (state_[g] & kNonLinear) == 0;
  }

  // Are the flags made for every position from on?
  bool hasFlags(std::uint32_t from) const { return !state_.empty() && flagsFrom_ <= from; }

  // Fingerprints under val (whose specification value is spec) of the
  // gates at positions from on in the order.
  void run(const Valuation &val, const word_t *spec, std::uint32_t from) {
    const int n = c_.words();
    Array<word_t> wrong(spec, spec + n);
    multExp(wrong.data(), inverse_.data());
    wrongKey_ = 0;
    for (int b = 0; b < 64 * n; ++b)
      if ((wrong[b / 64] >> (b % 64)) & 1)
        wrongKey_ ^= key_[b];
    startFlags();
    if (ran_)
      for (std::uint32_t &s : state_)
        s &= kFlags; // the last run's fingerprints go
    ran_ = true;
    for (const auto &out : outputs_)
      state_[out.first] = (state_[out.first] & kFlags) | out.second;
    // The flags not made yet are made in the same pass: a bit's flags need
    // only its readers', which come before it.
    for (std::size_t p = c_.order().size(); p-- > from;) {
      const Var r = c_.order()[p];
      const std::uint32_t s = state_[r];
      if (p < flagsFrom_) {
        makeFlags(r, s & ~kFlags, &val);
        flagsFrom_ = static_cast<std::uint32_t>(p);
      } else if ((s & kFlags) == kAffine && (s & ~kFlags) != 0) {
        pass(c_.definition(r), s & ~kFlags, val);
      }
    }
  }

  // After run: does flipping the linear gate g certainly not explain?
  bool rejects(Var g) const { return (state_[g] & ~kFlags) != wrongKey_; }

  // Is bit v linear and affine in the gates it reads, its flags made? A
  // flip then changes it, in a lane, by the XOR over its terms of the
  // changes of their gate where their inputs are 1.
  bool affine(Var v) const { return !state_.empty() && (state_[v] & kAffine) != 0; }
  // Once the flags are made for some bit: is v an input?
  bool input(Var v) const { return (state_[v] & kInput) != 0; }

private:
  // Per variable, in the low bits of its state: kInput, kWord; kNonLinear,
  // something downstream is not affine (or a word other than the output
  // word reads it); kAffine, a bit whose flags are made and whose
  // definition is affine in the gates it reads. The other bits hold the
  // fingerprint.
  static constexpr std::uint32_t kAffine = 1, kNonLinear = 2, kInput = 4, kWord = 8, kFlags = 15;

  void startFlags() {
    if (!state_.empty())
      return;
    state_.resize(c_.endVar());
    for (Var v = 0; v < c_.endVar(); ++v)
      state_[v] = c_.isInput(v) ? kInput : c_.isWord(v) ? kWord : 0;
    flagsFrom_ = static_cast<std::uint32_t>(c_.order().size());
  }

  // Passes h on to the gates that an affine definition reads in a term
  // whose inputs are all 1 under val.
  void pass(const Circuit::Poly &def, std::uint32_t h, const Valuation &val) {
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c_.term(def.firstTerm + k);
      const Var *vars = c_.vars(t);
      Var gate = 0;
      bool one = true;
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        if ((state_[vars[j]] & kInput) == 0)
          gate = vars[j];
        else
          one = one && val.bit[vars[j]] != 0;
      if (gate != 0 && one)
        state_[gate] ^= h;
    }
  }

  // Makes the flags of r, whose readers' are made: passes kNonLinear on to
  // what it reads unless r is the output word or a linear bit that is
  // affine. Such a bit passes its fingerprint h on under val (when given)
  // in the same walk over its terms.
  void makeFlags(Var r, std::uint32_t h, const Valuation *val) {
    const Circuit::Poly &def = c_.definition(r);
    const std::uint32_t s = state_[r];
    if ((s & kWord) != 0 ? r == word_ : (s & kNonLinear) == 0 && passAffine(r, def, h, val))
      return;
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c_.term(def.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        state_[c_.vars(t)[j]] |= kNonLinear;
    }
  }

  // Is the definition of bit r affine? If so, marks r and passes h on as
  // pass() does. (A term that reads two gates may come after h went to
  // some: those gates are not linear then, and their fingerprints are not
  // asked for.)
  bool passAffine(Var r, const Circuit::Poly &def, std::uint32_t h, const Valuation *val) {
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c_.term(def.firstTerm + k);
      const Var *vars = c_.vars(t);
      Var gate = 0;
      bool one = h != 0 && val != nullptr;
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        if ((state_[vars[j]] & kInput) != 0)
          one = one && val->bit[vars[j]] != 0;
        else if (gate != 0)
          return false;
        else
          gate = vars[j];
      if (gate != 0 && one)
        state_[gate] ^= h;
    }
    state_[r] |= kAffine;
    return true;
  }

  static bool singleBit(const word_t *coef, int words, int &bit) {
    int set = 0;
    for (int w = 0; w < words; ++w)
      for (int b = 0; b < 64; ++b)
        if (coef == nullptr ? (w == 0 && b == 0) : ((coef[w] >> b) & 1) != 0) {
          bit = 64 * w + b;
          ++set;
        }
    return set == 1;
  }

  bool onlyInputs(const Circuit::Term &t) const {
    for (std::uint32_t j = 0; j < t.numVars; ++j)
      if (!c_.isInput(c_.vars(t)[j]))
        return false;
    return true;
  }

  bool simpleForm(const OutputForm &form) const {
    if (form.word == 0)
      return false;
    const Circuit::Poly &def = c_.definition(form.word);
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c_.term(def.firstTerm + k);
      if (onlyInputs(t))
        continue;
      int bit = 0;
      if (t.numVars != 1 || c_.isWord(c_.vars(t)[0]) || !singleBit(c_.coef(t), c_.words(), bit) ||
          form.bitOf[bit] != c_.vars(t)[0])
        return false;
    }
    const Circuit::Poly &spec = c_.spec();
    for (std::uint32_t k = 0; k < spec.numTerms; ++k) {
      if (k == form.term)
        continue;
      const Circuit::Term &t = c_.term(spec.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        const Var u = c_.vars(t)[j];
        if (c_.isInput(u))
          continue;
        if (!c_.isWord(u) || u == form.word)
          return false;
        const Circuit::Poly &word = c_.definition(u);
        for (std::uint32_t i = 0; i < word.numTerms; ++i)
          if (!onlyInputs(c_.term(word.firstTerm + i)))
            return false;
      }
    }
    return true;
  }

  const Circuit &c_;
  bool active_ = false;
  Var word_ = 0; // the output word
  Array<word_t> inverse_;
  Array<std::uint32_t> key_;
  std::vector<std::pair<Var, std::uint32_t>> outputs_; // output bits and their keys
  std::uint32_t wrongKey_ = 0;
  Array<std::uint32_t> state_;  // per variable: flags and fingerprint
  std::uint32_t flagsFrom_ = 0; // flags made for the positions from here on
  bool ran_ = false;            // fingerprints were made
};

// Flips up to 64 gates at once, one per lane, each lane under one of a
// group of witnesses: lane l of a variable's difference word says whether
// flipping gate l under its lane's witness changes it.
class FlipTester {
public:
  explicit FlipTester(const Circuit &c)
      : c_(c), n_(c.words()), dirty_(c.wordCount() + 1),
        newWord_(std::size_t(64) * c.wordCount() * n_), delta_(std::size_t(64) * n_), before_(n_),
        after_(n_) {
    // Occurrences of every variable in the word definitions and the
    // specification: (poly slot, term, the term's number among theirs). The
    // specification's slot is wordCount.
    // They are few (the bits and words of a multiplier's words), so they
    // are a list sorted by variable, with a flag per variable.
    std::uint32_t terms = 0;
    for (Var w : c.wordOrder())
      forTerms(c.definition(w), c.wordSlot(w), terms, occ_);
    forTerms(c.spec(), c.wordCount(), terms, occ_);
    std::stable_sort(occ_.begin(), occ_.end(),
                     [](const Occurrence &a, const Occurrence &b) { return a.var < b.var; });
    readBy_.assign(c.endVar(), 0);
    for (const Occurrence &o : occ_)
      readBy_[o.var] = 1;
    termStamp_.assign(terms, 0);
  }

  // The screen whose flags tell the affine bits, which are swept by the
  // changes of the gates they read only.
  void setScreen(const LinearScreen *screen) { screen_ = screen; }

  // The witnesses of the next batches: vals[k], whose specification value
  // is spec + k * words (at most 64 of them).
  void setWitnesses(const Valuation *vals, const word_t *spec, std::size_t count) {
    vals_ = vals;
    spec_ = spec;
    count_ = count;
  }

  // zero: lane l set when flipping bit gates[l] under witness[l] makes the
  // specification zero; at most 64 lanes. False when the sweep stops after
  // limit gates: resume() goes on with it, abandon() drops it.
  bool explains(const Array<Var> &gates, const std::uint8_t *witness, std::size_t limit,
                std::uint64_t &zero) {
    if (stamp_.empty()) {
      // The arrays per variable, on the first simulation only: with
      // several faults there is often nothing to flip.
      // A difference word and a flip index are read only once stamped
      // now, so they need no clearing.
      stamp_.assign(c_.endVar(), 0);
      pending_.reset(c_.order().size());
      diff_.resize(c_.endVar());
      flipIndex_.resize(c_.endVar());
    }
    ++now_;
    // Lanes per witness; the lanes left over follow the first, so that
    // every lane is a consistent simulation.
    std::uint64_t used = 0;
    for (std::size_t k = 0; k < count_; ++k)
      masks_[k] = 0;
    for (std::size_t l = 0; l < gates.size(); ++l) {
      laneWitness_[l] = witness[l];
      masks_[witness[l]] |= std::uint64_t{1} << l;
      used |= std::uint64_t{1} << l;
    }
    masks_[0] |= ~used;
    for (std::size_t l = gates.size(); l < 64; ++l)
      laneWitness_[l] = 0;
    changed_.clear();
    for (std::size_t l = 0; l < gates.size(); ++l) {
      const Var g = gates[l];
      if (stamp_[g] != now_) {
        stamp_[g] = now_;
        diff_[g] = 0;
        changed_.push_back(g);
        flips_.push_back(0);
        flipIndex_[g] = static_cast<std::uint8_t>(flips_.size());
      }
      diff_[g] |= std::uint64_t{1} << l;
      flips_[flipIndex_[g] - 1] |= std::uint64_t{1} << l;
    }
    for (std::size_t i = 0, end = changed_.size(); i < end; ++i)
      schedule(changed_[i]);
    // Bits in dependency order (a sweep over the pending positions, which
    // only ever grow past the current one); a flipped gate keeps its flip
    // in its lane.
    return resume(limit, zero);
  }

  // Goes on with a sweep that stopped; as explains().
  bool resume(std::size_t limit, std::uint64_t &zero) {
    while (!pending_.empty()) {
      if (limit-- == 0)
        return false;
      const Var r = c_.order()[pending_.take()];
      if (count_ == 1)
        sweep<true>(r);
      else
        sweep<false>(r);
      ++sweeps_;
    }
    endSweep();
    // Word definitions in dependency order, then the specification, lane by
    // lane for the terms that read a changed variable.
    for (Var v : changed_)
      markTerms(v);
    zero = 0;
    for (std::uint32_t slot = 0; slot <= c_.wordCount(); ++slot) {
      const bool isSpec = slot == c_.wordCount();
      const Var w = isSpec ? 0 : c_.wordOrder()[slot];
      std::fill(delta_.begin(), delta_.end(), word_t{0});
      std::uint64_t touched = 0;
      for (std::uint32_t t : dirty_[slot])
        touched |= addDelta(c_.term(t));
      dirty_[slot].clear();
      std::uint64_t changedLanes = 0;
      for (unsigned l = 0; l < 64; ++l) {
        if (((touched >> l) & 1) == 0)
          continue;
        word_t *d = delta_.data() + std::size_t(l) * n_;
        if (isSpec) {
          const word_t *spec = spec_ + std::size_t(laneWitness_[l]) * n_;
          for (int k = 0; k < n_; ++k)
            d[k] ^= spec[k];
          if (allZero(d, n_))
            zero |= std::uint64_t{1} << l;
        } else if (!allZero(d, n_)) {
          word_t *updated = newWord_.data() + (std::size_t(l) * c_.wordCount() + slot) * n_;
          const word_t *old = vals_[laneWitness_[l]].wordValue(c_, w);
          for (int k = 0; k < n_; ++k)
            updated[k] = old[k] ^ d[k];
          changedLanes |= std::uint64_t{1} << l;
        }
      }
      if (changedLanes != 0) {
        stamp_[w] = now_;
        diff_[w] = changedLanes;
        markTerms(w);
      }
    }
    return true;
  }

  // Gates simulated so far.
  std::size_t sweeps() const { return sweeps_; }

  // Drops a sweep that stopped.
  void abandon() {
    pending_.clear();
    endSweep();
  }

private:
  void endSweep() {
    for (std::size_t i = 0; i < flips_.size(); ++i)
      flipIndex_[changed_[i]] = 0; // the flipped gates lead changed_
    flips_.clear();
  }

public:
  // Do word definitions or the specification read v?
  bool readBySpecOrWords(Var v) const { return readBy_[v] != 0; }

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
  static std::uint64_t broadcast(std::uint8_t bit) { return bit ? ~std::uint64_t{0} : 0; }

  // The 64 lane values of bit v before any flip.
  template <bool kOneWitness> std::uint64_t base(Var v) const {
    if (kOneWitness)
      return broadcast(vals_[0].bit[v]);
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < count_; ++k)
      value |= masks_[k] & broadcast(vals_[k].bit[v]);
    return value;
  }

  // The 64 lane values of bit v.
  template <bool kOneWitness> std::uint64_t lanes(Var v) const {
    return base<kOneWitness>(v) ^ (stamp_[v] == now_ ? diff_[v] : 0);
  }

  struct Occurrence {
    Var var;
    std::uint32_t slot, term, number;
  };

  void forTerms(const Circuit::Poly &p, std::uint32_t slot, std::uint32_t &number,
                Array<Occurrence> &out) {
    for (std::uint32_t k = 0; k < p.numTerms; ++k, ++number) {
      const Circuit::Term &t = c_.term(p.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        out.push_back({c_.vars(t)[j], slot, p.firstTerm + k, number});
    }
  }

  // Recomputes bit r (all its changed inputs are final) and schedules its
  // readers when its difference word changes.
  template <bool kOneWitness> void sweep(Var r) {
    const Circuit::Poly &def = c_.definition(r);
    std::uint64_t change = 0;
    if (screen_ != nullptr && screen_->affine(r)) {
      for (std::uint32_t k = 0; k < def.numTerms; ++k) {
        const Circuit::Term &t = c_.term(def.firstTerm + k);
        const Var *vars = c_.vars(t);
        Var gate = 0;
        for (std::uint32_t j = 0; j < t.numVars; ++j)
          if (!screen_->input(vars[j]))
            gate = vars[j];
        if (gate == 0 || stamp_[gate] != now_)
          continue;
        std::uint64_t on = diff_[gate];
        for (std::uint32_t j = 0; j < t.numVars; ++j)
          if (vars[j] != gate)
            on &= base<kOneWitness>(vars[j]);
        change ^= on;
      }
    } else {
      std::uint64_t value = 0;
      for (std::uint32_t k = 0; k < def.numTerms; ++k) {
        const Circuit::Term &t = c_.term(def.firstTerm + k);
        std::uint64_t product = ~std::uint64_t{0};
        for (std::uint32_t j = 0; j < t.numVars; ++j)
          product &= lanes<kOneWitness>(c_.vars(t)[j]);
        value ^= product;
      }
      change = value ^ base<kOneWitness>(r);
    }
    // Only a flipped gate is stamped before its sweep.
    const bool flipped = stamp_[r] == now_;
    const std::uint64_t d = change | (flipped ? flips_[flipIndex_[r] - 1] : 0);
    if (d == (flipped ? diff_[r] : 0))
      return;
    if (!flipped) {
      stamp_[r] = now_;
      changed_.push_back(r);
    }
    diff_[r] = d;
    schedule(r);
  }

  // Marks the bit readers of v pending; word readers follow through
  // markTerms.
  void schedule(Var v) {
    for (const Var *r = c_.readersBegin(v); r != c_.readersEnd(v); ++r)
      if (!c_.isWord(*r))
        pending_.add(c_.position(*r));
  }

  void markTerms(Var v) {
    if (!readBy_[v])
      return;
    auto at = std::lower_bound(occ_.begin(), occ_.end(), v,
                               [](const Occurrence &o, Var u) { return o.var < u; });
    for (; at != occ_.end() && at->var == v; ++at)
      if (termStamp_[at->number] != now_) {
        termStamp_[at->number] = now_;
        dirty_[at->slot].push_back(at->term);
      }
  }

  // Adds, in every lane where a variable of t changed, the change of t's
  // value to that lane's delta; returns those lanes.
  std::uint64_t addDelta(const Circuit::Term &t) {
    std::uint64_t lanesChanged = 0;
    for (std::uint32_t j = 0; j < t.numVars; ++j) {
      const Var v = c_.vars(t)[j];
      if (stamp_[v] == now_)
        lanesChanged |= diff_[v];
    }
    for (unsigned l = 0; l < 64; ++l)
      if ((lanesChanged >> l) & 1) {
        termValue(t, l, false, before_.data());
        termValue(t, l, true, after_.data());
        word_t *d = delta_.data() + std::size_t(l) * n_;
        for (int k = 0; k < n_; ++k)
          d[k] ^= before_[k] ^ after_[k];
      }
    return lanesChanged;
  }

  // out := the term's value in lane, with the lane's changes (flipped) or
  // without.
  void termValue(const Circuit::Term &t, unsigned lane, bool flipped, word_t *out) {
    const Valuation &val = vals_[laneWitness_[lane]];
    auto changedIn = [&](Var v) {
      return flipped && stamp_[v] == now_ && ((diff_[v] >> lane) & 1) != 0;
    };
    std::fill(out, out + n_, word_t{0});
    for (std::uint32_t j = 0; j < t.numVars; ++j) {
      const Var v = c_.vars(t)[j];
      if (!c_.isWord(v) && (val.bit[v] ^ (changedIn(v) ? 1 : 0)) == 0)
        return;
    }
    const word_t *coef = c_.coef(t);
    if (coef == nullptr)
      out[0] = 1;
    else
      std::copy(coef, coef + n_, out);
    for (std::uint32_t j = 0; j < t.numVars; ++j) {
      const Var v = c_.vars(t)[j];
      if (c_.isWord(v))
        multExp(out, changedIn(v) ? newWord_.data() +
                                        (std::size_t(lane) * c_.wordCount() + c_.wordSlot(v)) * n_
                                  : val.wordValue(c_, v));
    }
  }

  const Circuit &c_;
  const int n_;
  const LinearScreen *screen_ = nullptr;
  const Valuation *vals_ = nullptr; // the witnesses of the lanes
  const word_t *spec_ = nullptr;    // their specification values
  std::size_t count_ = 0;
  std::uint64_t masks_[64] = {};      // lanes per witness
  std::uint8_t laneWitness_[64] = {}; // witness per lane
  std::uint32_t now_ = 0;
  std::size_t sweeps_ = 0;
  Array<std::uint32_t> stamp_;
  PendingPositions pending_; // positions in the order to recompute
  RawArray<std::uint64_t> diff_;                 // per variable, valid when stamped now
  RawArray<std::uint8_t> flipIndex_; // per variable, for flipped gates: 1 + index in flips_
  Array<std::uint64_t> flips_;       // lanes of each flipped gate
  std::vector<Array<std::uint32_t>> dirty_;
  Array<std::uint32_t> termStamp_;
  Array<word_t> newWord_, delta_, before_, after_;
  Array<Occurrence> occ_;      // by variable
  Array<std::uint8_t> readBy_; // per variable: read by a word definition or the specification
  Array<Var> changed_;
};

// The bits whose fan-in cone holds every target (all: true) or some
// target (all: false), the targets included. Reach sets are bit sets over
// the targets (at most kMaxTargets of them; a bit reaching those reaches a
// superset of the true answer, and the flips decide), computed readers
// first. A bit per variable says whether its reach set was written yet, so
// the sets are never cleared, and a variable that no target reaches costs
// a bit test.
constexpr std::size_t kMaxTargets = 64;

Array<Var> cone(const Circuit &c, Array<Var> targets, bool all) {
  if (targets.size() > kMaxTargets)
    targets.resize(kMaxTargets);
  RawArray<std::uint64_t> reach(c.endVar());
  Array<std::uint64_t> reached(c.endVar() / 64 + 1, 0);
  auto pass = [&](Var u, std::uint64_t set) {
    const std::uint64_t bit = std::uint64_t{1} << (u % 64);
    if ((reached[u / 64] & bit) == 0) {
      reached[u / 64] |= bit;
      reach[u] = set;
    } else {
      reach[u] |= set;
    }
  };
  std::uint32_t top = 0; // above the highest position of a target
  for (std::size_t i = 0; i < targets.size(); ++i) {
    pass(targets[i], std::uint64_t{1} << (all ? i : 0));
    if (!c.isInput(targets[i]))
      top = std::max(top, c.position(targets[i]) + 1);
  }
  const std::uint64_t full = !all                   ? 1
                             : targets.size() == 64 ? ~std::uint64_t{0}
                                                    : (std::uint64_t{1} << targets.size()) - 1;
  Array<Var> bits;
  for (std::size_t p = top; p-- > 0;) {
    const Var v = c.order()[p];
    if (((reached[v / 64] >> (v % 64)) & 1) == 0)
      continue; // reaches no target
    const std::uint64_t set = reach[v];
    if (set == full && !c.isWord(v))
      bits.push_back(v);
    const Circuit::Poly &def = c.definition(v);
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c.term(def.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        pass(c.vars(t)[j], set);
    }
  }
  return bits; // readers before the gates they read
}

// Chains together: each suspect is keyed by the last suspect reached by
// following only readers, while a gate has exactly one.
void orderByChains(const Circuit &c, Array<Var> &suspects) {
  Array<std::uint8_t> in(c.endVar(), 0);
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

// A gate's result while a group of witnesses is judged.
enum : std::uint8_t { kUnknown, kExplains, kFails, kPending };

// Lanes of one batch; witnesses judged together.
constexpr std::size_t kLanes = 64;
// The later witnesses are judged together, a lane per gate and witness,
// when the gates to simulate take at most this many lanes.
constexpr std::size_t kJointLanes = 4 * kLanes;

// The suspects (bits of the cone, readers first) whose flip explains every
// witness, in the same order. The flip simulation's arrays are gone when it
// returns, so that the repair filter's arrays take their blocks.
//
// The first witness is judged alone, with the screen. The others leave
// most suspects as they are, and the gates left often share one long
// fan-out (the reduction of a Montgomery multiplier): judged one witness
// at a time, each would sweep it again; judged together, with a lane per
// gate and witness, one sweep serves them all.
Array<Var> explainingFlips(const Circuit &c, const std::vector<Valuation> &failing,
                           Array<Var> suspects) {
  FlipTester tester(c);
  LinearScreen screen(c);
  tester.setScreen(&screen);
  const int n = c.words();
  Array<word_t> spec(failing.size() * n);
  Array<std::uint8_t> result(c.endVar(), kUnknown);
  // Per suspect: the lowest position of a suspect from it on, and of a
  // linear one (made when first needed for a witness).
  Array<std::uint32_t> lowest, lowestLinear, toSimulate;
  auto suffixMin = [&](Array<std::uint32_t> &out, auto keep) {
    out.assign(suspects.size() + 1, ~0U);
    for (std::size_t i = suspects.size(); i-- > 0;)
      out[i] = std::min(out[i + 1], keep(suspects[i]) ? c.position(suspects[i]) : ~0U);
  };
  // A gate whose only reader is a bit, and that no word or the
  // specification reads, needs no simulation once that reader is judged:
  // if flipping the gate flips the reader, the flip has the reader's
  // effect; otherwise it has none.
  auto oneBitReader = [&](Var g) {
    const Var *r = c.readersBegin(g);
    return c.readersEnd(g) - r == 1 && !c.isWord(*r) && !tester.readBySpecOrWords(g);
  };
  Array<Var> batch, deferred, lanes;
  Array<std::uint8_t> laneWitness;
  for (std::size_t first = 0; first < failing.size() && !suspects.empty();) {
    std::size_t count = 1;
    if (first > 0) {
      // The gates that take a simulation: those that do not follow a
      // suspect reader.
      for (Var g : suspects)
        result[g] = kPending;
      std::size_t roots = 0;
      for (Var g : suspects)
        roots += oneBitReader(g) && result[*c.readersBegin(g)] == kPending ? 0 : 1;
      for (Var g : suspects)
        result[g] = kUnknown;
      count = std::min(failing.size() - first, kLanes);
      if (roots * count > kJointLanes)
        count = 1;
    }
    for (std::size_t k = first; k < first + count; ++k)
      evaluate(c, c.spec(), failing[k], spec.data() + k * n);
    tester.setWitnesses(&failing[first], spec.data() + first * n, count);
    const bool screenable = count == 1 && screen.active();
    bool screened = false;
    // Gates swept for this witness, in batches, for gates flipped.
    std::size_t swept = 0, batches = 0, flipped = 0;
    if (screenable) {
      suffixMin(lowest, [](Var) { return true; });
      // Per suspect: how many from it on take a simulation unless screened
      // (all but those whose one reader is a suspect).
      for (Var g : suspects)
        result[g] = kPending;
      toSimulate.assign(suspects.size() + 1, 0);
      for (std::size_t i = suspects.size(); i-- > 0;) {
        const Var g = suspects[i];
        const bool follows = oneBitReader(g) && result[*c.readersBegin(g)] == kPending;
        toSimulate[i] = toSimulate[i + 1] + (follows ? 0 : 1);
      }
      for (Var g : suspects)
        result[g] = kUnknown;
    }
    lowestLinear.clear();
    // The pass would cover the order from the lowest position of a linear
    // gate left (next: the index of the first suspect not yet looked at,
    // then the batch), or of any gate left while the flags are not made,
    // to the end. The screen runs once the batches left (as many per gate
    // to simulate as so far: the gates waiting for their reader fill the
    // batches), at the cost of those simulated so far, would cost more than
    // a quarter of that (a gate of the pass costs about a quarter of a
    // swept one).
    auto worthScreening = [&](std::size_t next, std::uint32_t &from, bool linearOnly) {
      from = (linearOnly ? lowestLinear : lowest)[next];
      for (Var g : batch)
        if (!linearOnly || screen.linear(g))
          from = std::min(from, c.position(g));
      if (from == ~0U || batches == 0)
        return false;
      const std::size_t left =
          ((toSimulate[next] + batch.size()) * batches + flipped - 1) / flipped;
      return 4 * (swept + swept / batches * left) >= c.order().size() - from;
    };
    auto byReader = [&](Var g) {
      const Var r = *c.readersBegin(g);
      if (result[r] != kExplains)
        return kFails;
      for (std::size_t k = first; k < first + count; ++k)
        if (!tester.flipsReader(g, r, failing[k]))
          return kFails;
      return kExplains;
    };
    // The gates waiting for their reader, in order: a chain is judged
    // from its reader end.
    auto settle = [&] {
      std::size_t waiting = 0;
      for (Var g : deferred)
        if (result[*c.readersBegin(g)] == kPending)
          deferred[waiting++] = g;
        else
          result[g] = byReader(g);
      deferred.resize(waiting);
    };
    auto screenBatch = [&](std::uint32_t from) {
      screen.run(failing[first], spec.data() + first * n, from);
      screened = true;
      std::size_t left = 0;
      for (Var g : batch)
        if (screen.linear(g) && screen.rejects(g))
          result[g] = kFails;
        else
          batch[left++] = g;
      batch.resize(left);
      settle();
    };
    auto flush = [&](std::size_t next) {
      std::uint32_t from = 0;
      bool run = false;
      if (screenable && !screened && worthScreening(next, from, false)) {
        if (!screen.hasFlags(from)) {
          // The flags not made yet come with the pass, from the lowest
          // suspect left: one sweep of the order instead of two.
          run = true;
        } else {
          if (lowestLinear.empty())
            suffixMin(lowestLinear, [&](Var g) { return screen.linear(g); });
          run = worthScreening(next, from, true);
        }
      }
      if (run) {
        screenBatch(from);
        if (batch.size() + deferred.size() < kLanes && next < suspects.size())
          return;
      }
      if (!batch.empty()) {
        lanes.clear();
        laneWitness.clear();
        for (Var g : batch)
          for (std::size_t k = 0; k < count; ++k) {
            lanes.push_back(g);
            laneWitness.push_back(static_cast<std::uint8_t>(k));
          }
        // Before the screen, with many gates left, a batch stops once its
        // sweep alone makes the screen the cheaper way (a gate of the pass
        // costs about a quarter of a swept one, and the batches left would
        // sweep as much again each). The screen runs then, and the sweep
        // goes on unless it rejects every gate of the batch.
        std::size_t limit = ~std::size_t{0};
        if (screenable && !screened && toSimulate[next] >= kLanes)
          limit = (c.order().size() - lowest[next]) / 32;
        const std::size_t before = tester.sweeps();
        std::uint64_t ok = 0;
        if (!tester.explains(lanes, laneWitness.data(), limit, ok)) {
          const Array<Var> stopped = batch;
          worthScreening(next, from, false); // from: the lowest gate left
          screenBatch(from);
          if (batch.empty()) {
            tester.abandon();
          } else {
            tester.resume(~std::size_t{0}, ok);
            batch = stopped; // the lanes' gates
          }
        }
        swept += tester.sweeps() - before;
        ++batches;
        flipped += batch.size();
        for (std::size_t b = 0, l = 0; b < batch.size(); ++b) {
          bool all = true;
          for (std::size_t k = 0; k < count; ++k, ++l)
            all = all && ((ok >> l) & 1) != 0;
          result[batch[b]] = all ? kExplains : kFails;
        }
        batch.clear();
      }
      settle();
    };
    // Readers come first, so a gate with one bit reader finds it judged, or
    // waiting in the batch. The others are simulated, 64 lanes at a time,
    // or judged by the screen. With one witness, the gates waiting count
    // towards a batch, so that the batches (and the screen's estimate) come
    // early.
    for (std::size_t i = 0; i < suspects.size(); ++i) {
      const Var g = suspects[i];
      if (oneBitReader(g)) {
        const std::uint8_t reader = result[*c.readersBegin(g)];
        if (reader == kPending) {
          result[g] = kPending;
          deferred.push_back(g);
          if (count == 1 && batch.size() + deferred.size() >= kLanes)
            flush(i + 1);
          continue;
        }
        if (reader != kUnknown) {
          result[g] = byReader(g);
          continue;
        }
      }
      // While the screen may run, the first batch holds one gate (and the
      // gates waiting for it): its sweep tells what a batch costs, at the
      // cost of one fan-out.
      if (screenable && batches == 0 && !batch.empty())
        flush(i);
      if (screened && screen.linear(g) && screen.rejects(g)) {
        result[g] = kFails;
        continue;
      }
      result[g] = kPending;
      batch.push_back(g);
      if (count == 1 ? batch.size() + deferred.size() >= kLanes
                     : (batch.size() + 1) * count > kLanes)
        flush(i + 1);
    }
    flush(suspects.size());
    std::size_t kept = 0;
    for (Var g : suspects) {
      if (result[g] == kExplains)
        suspects[kept++] = g;
      result[g] = kUnknown;
    }
    suspects.resize(kept);
    first += count;
  }
  return suspects;
}

} // namespace

Array<Var> findSuspects(const Circuit &c, const std::vector<Valuation> &failing,
                        const Array<Var> &targets, bool reachAll) {
  Array<Var> suspects = explainingFlips(c, failing, cone(c, targets, reachAll));
  keepRepairable(c, failing, suspects);
  orderByChains(c, suspects);
  return suspects;
}

} // namespace witness
