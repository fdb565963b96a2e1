// The steps of gfverify after the netlist is read: the field's polynomial
// recovered by simulation, the verification in process, and the
// confirmation of a failure by simulation (a witness and suspect gates).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gf_field.h"
#include "translation.h"

namespace gfverify {

// P from a multiplier's netlist: with the operands x^(K-1) and x, a correct
// multiplier modulo P gives x^K mod P, which is P without its leading term.
// Needs exactly two operand words and a result word of one width K >= 2.
// Returns the text of P ("X^8+X^4+X^3+X+1"), or empty with `why` set. The
// caller verifies with it: a wrong P never gives a proof.
std::string recoverPolynomial(const net2alg::Translation &t, std::string &why);

// What the reduction left.
struct Remainder {
  bool zero = false;
  std::size_t terms = 0;
  std::string text;                           // the first terms, "... (N terms)" when cut
  std::vector<std::vector<std::string>> vars; // the variables of the first terms
  // When not zero: the suspect gates by their names in the problem (the
  // witness library's: gates whose flip mends its failing assignments), the
  // first 50, and how many there are in all.
  std::vector<std::string> suspects;
  std::size_t suspectsInAll = 0;
};

// Builds the translated problem in the verifier's problem state (through the
// problem builder of its language layer), as the .alg text that
// net2alg::writeAlg writes under the same order would be read: the same
// variables with the same identifiers and names, the same specification and
// circuit polynomials, without the text. Leaves it for builder::endProblem.
void buildProblem(const net2alg::Translation &t, const std::vector<int> &order);

// Verifies the translated problem in process (the verifier's libraries;
// nothing is printed) and, for a remainder that is not zero, runs the
// witness library's analysis for the suspect gates.
Remainder verifyTranslation(const net2alg::Translation &t, const std::vector<int> &order);

// The same for a .alg text (as --keep-alg writes it). A parse error is an
// InputError.
Remainder verifyAlg(const std::string &alg);

// A confirmed failure: input values under which the circuit and the
// specification disagree.
struct Witness {
  bool found = false;
  std::vector<std::uint64_t> values; // per variable of the translation, 64 vectors
  unsigned lane = 0;                 // the failing vector among them
  std::uint64_t failingLanes = 0;
  unsigned tried = 0; // vectors simulated
};

// Random vectors (and vectors that set the variables of the remainder's
// first terms to 1) until one fails, at most `rounds` rounds of 64.
Witness findWitness(const net2alg::Translation &t, const Remainder &r, unsigned rounds);

// 64 random input vectors with their gates simulated (seeded).
std::vector<std::uint64_t> randomVectors(const net2alg::Translation &t, std::uint64_t seed);

// True when the specification is Z + (terms without Z): then the value the
// design should give is the rest evaluated with Z = 0.
bool resultIsExplicit(const net2alg::Translation &t);

// The words' values on one vector, and the value Z should have (when
// resultIsExplicit).
std::vector<net2alg::GfField::Element> wordValues(const net2alg::Translation &t,
                                                  const net2alg::GfField &field,
                                                  const std::vector<std::uint64_t> &values,
                                                  unsigned lane);
net2alg::GfField::Element expectedResult(const net2alg::Translation &t,
                                         const net2alg::GfField &field,
                                         std::vector<net2alg::GfField::Element> words);

} // namespace gfverify
