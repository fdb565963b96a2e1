// From a netlist and the word-level options to the variables and
// polynomials of a .alg problem, the signal graph for toporder, and the
// variable order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "id_list.h"
#include "netlist.h"
#include "order_graph.h"
#include "word_options.h"
#include "word_powers.h"

namespace net2alg {

// An operand word: its name in the specification and its bit list.
struct NamedWord {
  std::string name, bits;
};

struct WordOptions {
  std::string a, b, z;          // bit lists; b may be empty (no word B)
  std::vector<NamedWord> words; // more operand words (--word NAME=BITS), after A and B
  std::string poly;             // the field's minimal polynomial
  std::string spec = "Z + A*B"; // the specification over Z, A, B
  bool simplify = false;        // clean the netlist up first (simplify.h)
  unsigned maxPowerFactors = kDefaultMaxPowerFactors;
  std::vector<std::string> ties; // PORT=VALUE: primary inputs held at constants
  bool transparentFlops = false; // registers become wires (after the checks of registers.h)
};

// One term of a polynomial: alpha^alpha times the product of `vars`; or,
// when `coef` is not negative, the coefficient Translation::coefs[coef]
// ("X^9+X^2+1") times them. (32 bytes: a gate's terms are most of a
// translation's memory.)
struct AlgTerm {
  unsigned alpha;
  int coef;    // -1: none
  IdList vars; // rarely more than four: kept in place
};

struct AlgVariable {
  enum Kind { kWord, kGate, kInput };
  Kind kind;
  std::string name;
  // For words and gates: the polynomial is the variable itself plus these
  // terms. Inputs have no polynomial.
  std::vector<AlgTerm> tail;
  IdList deps;  // the variables of the tail, in order of first use
  int net = -1; // for inputs and gates: the net's id in the netlist
};

// The operand words in their order: A (--a), B (--b), then `words`.
std::vector<NamedWord> operandWords(const WordOptions &options);

struct Translation {
  std::string source, model;
  // The words (wordNames) first, the Frobenius words of the specification
  // last; vertex k of the graph is vars[k].
  std::vector<AlgVariable> vars;
  std::vector<std::string> wordNames; // "Z", then the operand words: vars[0], vars[1], ...
  std::vector<std::string> coefs;     // the coefficients that terms refer to (AlgTerm::coef)
  FieldPolynomial field;
  std::string spec;                // as written into the problem: word powers made exact
  std::vector<SpecTerm> specTerms; // as given, for the simulation check
  OrderGraph graph;
  int latency = -1;          // registers on every operand-to-result path; -1: no registers
  bool aigerSymbols = false; // the input names came from an AIGER symbol table
};

// The nets of a bit list (--a, --b, --z, --tie; `option` prefixes the
// messages): a net name, the sanitized name of one net, or a bus NAME[0],
// NAME[1], ...; with `inputsOnly` each must be a primary input.
std::vector<int> resolveBits(const Netlist &nl, const std::string &text, const std::string &option,
                             bool inputsOnly);

// Applies the ties, resolves the words, checks the registers (registers.h)
// when the netlist has any: loops first, then their controls and the
// latency; checks the netlist (cycles, undriven nets), keeps the
// logic that the bits of Z depend on, names every variable and builds the
// signal graph. The graph chains the inputs, B and A ahead of all gates, so
// that the order of its stack-driven sort, reversed, has Z and the gates
// first, then A and B, then the bits of A, of B and any other inputs.
Translation translate(const Netlist &netlist, const WordOptions &options);
// Writes the signal graph in toporder's file format (order_graph.h), its
// vertices named after the variables.
void writeGraph(const Translation &t, std::ostream &out);

// The variable order of the problem, highest first: the reverse of the order
// in which toporder sorts the graph.
std::vector<int> computedOrder(const Translation &t);

// The same from an order that toporder wrote (names in its output order).
// Every variable must occur exactly once.
std::vector<int> orderFromNames(const Translation &t, const std::vector<std::string> &names);

// Problems of an order (highest first) that keep the single-pass reduction
// from finishing: a polynomial whose leading term is not its own variable,
// or a primary input above a variable that has a polynomial.
std::vector<std::string> orderWarnings(const Translation &t, const std::vector<int> &order);

} // namespace net2alg
