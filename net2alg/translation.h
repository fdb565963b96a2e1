// From a netlist and the word-level options to the variables and
// polynomials of a .alg problem, the signal graph for toporder, and the
// variable order.
#pragma once

#include <string>
#include <vector>

#include "netlist.h"
#include "order_graph.h"
#include "word_options.h"

namespace net2alg {

struct WordOptions {
  std::string a, b, z;          // bit lists; b may be empty (no word B)
  std::string poly;             // the field's minimal polynomial
  std::string spec = "Z + A*B"; // the specification over Z, A, B
  bool simplify = false;        // clean the netlist up first (simplify.h)
};

// One term of a polynomial: alpha^alpha times the product of `vars`.
struct AlgTerm {
  unsigned alpha;
  std::vector<int> vars;
};

struct AlgVariable {
  enum Kind { kWord, kGate, kInput };
  Kind kind;
  std::string name;
  // For words and gates: the polynomial is the variable itself plus these
  // terms. Inputs have no polynomial.
  std::vector<AlgTerm> tail;
  std::vector<int> deps; // the variables of the tail, in order of first use
};

struct Translation {
  std::string source, model;
  std::vector<AlgVariable> vars; // Z, A, B first; vertex k of the graph is vars[k]
  FieldPolynomial field;
  std::string spec;
  OrderGraph graph;
};

// Resolves the words, checks the netlist (cycles, undriven nets), keeps the
// logic that the bits of Z depend on, names every variable and builds the
// signal graph. The graph chains the inputs, B and A ahead of all gates, so
// that the order of its stack-driven sort, reversed, has Z and the gates
// first, then A and B, then the bits of A, of B and any other inputs.
Translation translate(const Netlist &netlist, const WordOptions &options);

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
