// A problem's circuit as something to simulate. Each circuit polynomial that
// can be solved for one of its variables defines that variable from the
// others; the variables that no polynomial defines are the inputs, and they
// take the values 0 and 1. A defined variable whose definition has only
// coefficients 0 and 1 and reads only such variables is a bit; any other is
// a word, a field element of GF(2^K) (Z, A and B of a multiplier).
//
// Simulation follows the definitions in dependency order, either for one
// assignment (bits as bytes, words as field elements) or for 64 assignments
// at once (bits as the lanes of a 64-bit word, words lane by lane).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "blocks.h"
#include "field_state.h"
#include "problem_hook.h"

namespace witness {

using Var = VarId;

class Circuit {
public:
  // One term: a coefficient (kOne, or an index into the coefficient store)
  // and the variables termVars[firstVar .. firstVar + numVars). Stored as
  // two numbers per term (where its variables start, its coefficient): the
  // variables of term t end where those of term t + 1 start.
  struct Term {
    std::uint32_t firstVar, numVars, coef;
  };
  // Terms terms[firstTerm .. firstTerm + numTerms).
  struct Poly {
    std::uint32_t firstTerm, numTerms;
  };
  static constexpr std::uint32_t kOne = 0;
  static constexpr std::int32_t kInput = -1;

  // Reads the specification, the circuit and the names of p. The field must
  // be the one p was read in.
  explicit Circuit(const SolvedProblem &p);

  int words() const { return words_; }
  Var endVar() const { return endVar_; }
  std::string name(Var v) const;
  bool isInput(Var v) const { return def_[v] == kInput; }
  // Does v belong to the circuit: is it defined, or the first variable of
  // some circuit polynomial's leading term?
  bool isCircuitVariable(Var v) const { return def_[v] != kInput || (flags_[v] & kLeads) != 0; }
  bool isWord(Var v) const { return (flags_[v] & kWord) != 0; }
  // Is v read by the specification or by a circuit polynomial?
  bool isUsed(Var v) const { return (flags_[v] & kUsed) != 0; }
  // The polynomial that defines v (not an input): v equals its value.
  const Poly &definition(Var v) const { return polys_[def_[v]]; }
  const Poly &spec() const { return polys_[spec_]; }
  // Polynomials that define nothing: a simulated assignment must make each
  // zero. A constraint that was a definition before a cycle was broken has
  // lost its variable's term: constraintVar gives that variable (now an
  // input), 0 for none, and the constraint is variable + polynomial = 0.
  const Array<std::uint32_t> &constraints() const { return constraints_; }
  Var constraintVar(std::size_t i) const { return constraintVars_[i]; }
  const Poly &poly(std::uint32_t i) const { return polys_[i]; }
  // Defined variables, each after every variable its definition reads.
  const Array<Var> &order() const { return order_; }
  std::uint32_t position(Var v) const { return position_[v]; }
  Term term(std::uint32_t t) const {
    return {termStart_[t], termStart_[t + 1] - termStart_[t], termCoef_[t]};
  }
  const Var *vars(const Term &t) const { return termVars_.data() + t.firstVar; }
  // The coefficient's words; nullptr for one.
  const word_t *coef(const Term &t) const {
    return t.coef == kOne ? nullptr : coefStore_.data() + std::size_t(t.coef) * words_;
  }
  // The variables whose definitions read v (bits and words).
  const Var *readersBegin(Var v) const { return readers_.data() + readerStart_[v]; }
  const Var *readersEnd(Var v) const { return readers_.data() + readerStart_[v + 1]; }
  // Slot of a word variable's value in a valuation.
  std::uint32_t wordSlot(Var v) const;
  std::uint32_t wordCount() const { return wordCount_; }
  // Word variables in dependency order.
  const Array<Var> &wordOrder() const { return wordOrder_; }

private:
  // Per variable: flags_ holds kUsed (isUsed), kWord (isWord), kInSpec
  // (read by the specification) and how many circuit polynomials have a
  // leading term that starts with it (kLeadsOne, kLeadsMany for two or more).
  enum : std::uint8_t {
    kUsed = 1,
    kWord = 2,
    kInSpec = 4,
    kLeadsOne = 8,
    kLeadsMany = 16,
    kLeads = kLeadsOne | kLeadsMany
  };
  static constexpr std::uint32_t kMany = ~0U; // several polynomials
  unsigned leads(Var v) const {
    return (flags_[v] & kLeadsMany) != 0 ? 2 : (flags_[v] & kLeadsOne) != 0 ? 1 : 0;
  }

  std::uint32_t addPoly(const PolyTerm *begin, const PolyTerm *end);
  bool copyCircuit(const Ideal &circuit, std::size_t circuitTerms, Array<std::uint32_t> &coefTerms);
  void readersOfLeads();
  void markCircuit(RawArray<std::uint32_t> &genOf);
  std::uint32_t polyOfTerm(std::uint32_t k) const;
  bool lone(std::uint32_t poly, Var v) const;
  bool specSolvesLeads(const RawArray<std::uint32_t> &genOf, const Array<Var> &specVars) const;
  void classifyWords(const Array<std::uint32_t> &coefTerms);
  void chooseDefinitions(const RawArray<std::uint32_t> &genOf, const Array<Var> &specVars);
  bool solveFor(std::uint32_t poly, Var v);
  void sortDefinitions();
  bool sortedByReadOrder();
  void classify();
  void buildReaders();
  // The variable polynomial g defines, 0 for none.
  Var definedBy(std::uint32_t g) const;

  int words_;
  Var endVar_;
  std::string_view (*name_)(VarId);
  RawArray<Var> termVars_;
  RawArray<std::uint32_t> termStart_; // per term, and one more: the end of the last
  RawArray<std::uint32_t> termCoef_;  // per term
  Array<Var> scratchVars_;            // for solveFor
  Array<std::uint32_t> scratchCoef_, scratchStart_;
  RawArray<Poly> polys_;
  Array<word_t> coefStore_;
  std::uint32_t spec_ = 0;
  Array<std::int32_t> def_;
  Array<std::uint8_t> flags_;
  Array<std::uint32_t> constraints_;
  Array<Var> constraintVars_; // per constraint, see constraintVar
  Array<Var> order_, wordOrder_;
  Array<std::uint32_t> position_;
  std::vector<std::pair<Var, std::uint32_t>> wordSlots_; // words and their slots, by variable
  std::uint32_t wordCount_ = 0;
  Array<std::uint32_t> readerStart_;
  Array<Var> readers_;
};

// The specification as c*W + S, where W is a word that no other term reads:
// the circuit's output word. W is 0 when there is none.
struct OutputForm {
  Var word = 0;
  std::uint32_t term = 0; // the term c*W: spec().firstTerm + term
  Array<word_t> inverse;  // c^-1
  Array<Var> bitOf;       // bit i of W: the variable whose coefficient is X^i, or 0
};

OutputForm outputForm(const Circuit &c);

// One bit per variable, 64 to a word: a valuation's bits take an eighth of
// the memory of a byte each (eight witnesses of a 654,000-variable circuit:
// 650 KB instead of 5 MB), and the flip simulations read them from cache.
class BitArray {
public:
  void assign(std::size_t n) { words_.assign((n + 63) / 64, 0); }
  std::uint8_t operator[](std::size_t i) const {
    return static_cast<std::uint8_t>((words_[i / 64] >> (i % 64)) & 1);
  }
  std::uint64_t *words() { return words_.data(); }

private:
  Array<std::uint64_t> words_;
};

// Values of every variable for one assignment of the inputs.
struct Valuation {
  BitArray bit;            // per variable: 0 or 1 (bits only)
  Array<word_t> word;      // per word slot: the element's words
  const word_t *wordValue(const Circuit &c, Var v) const {
    return word.data() + std::size_t(c.wordSlot(v)) * c.words();
  }
};

// out := value of poly under val (words of the field).
void evaluate(const Circuit &c, const Circuit::Poly &poly, const Valuation &val, word_t *out);

// 64 assignments at once: lane l of bits[v] is the value of bit v in
// assignment l; words are computed lane by lane.
struct LaneValuation {
  Array<std::uint64_t> bits; // per variable
  Array<word_t> words;       // lane l, slot s at (l * wordCount + s) * words
  std::uint64_t failing = 0; // lanes where the specification is not zero and
                             // every constraint holds
};

// Simulates the 64 assignments whose input bits are preset in out.bits
// (other variables' entries are overwritten).
void simulateLanes(const Circuit &c, LaneValuation &out);
// The same for two sets of 64 assignments in one pass.
void simulateLanes(const Circuit &c, LaneValuation &a, LaneValuation &b);

// The valuations of the lanes which.
std::vector<Valuation> laneValuations(const Circuit &c, const LaneValuation &lanes,
                                      const std::vector<unsigned> &which);

} // namespace witness
