// Building one problem of the verifier step by step, in the order of a .alg
// problem: the variables (the first declared is the highest in the term
// order), the field, the specification polynomial, the circuit polynomials,
// each polynomial term by term; then the problem is reduced.
//
// The parser's statement actions build every problem they read through these
// steps. A program that holds a problem in memory (gfverify's translated
// netlist) calls the same steps directly and gets the very problem its .alg
// text would give (same identifiers, polynomials and names), without
// writing and scanning the text; it names a term's variables by the
// identifiers that declare() returned, so no name is looked up.
//
// The problem lives in the verifier's problem state (one per process):
// start from the empty state (a finished problem leaves it empty) and take
// the steps in the order above.
#pragma once

#include <string>

#include "term.h"

namespace builder {

// The next variable; returns its identifier (2, 3, ... in declaration
// order). A name declared again takes the new identifier for later
// lookups by name.
VarId declare(const char *name);

// Defines the field by its minimal polynomial in canonical text
// ("X^8+X^4+X^3+X+1") and starts the specification.
void defineField(const std::string &minpoly);

// Factors of the term under construction, which starts as the coefficient
// one: a declared variable by its identifier; a factor as the language
// writes it, name^exponent ("X" is alpha^exponent, "1" nothing, any other
// name a declared variable: an undeclared one throws a FatalError
// "<name> undefined"); alpha^exponent; a coefficient in canonical text
// ("X^7+X^2").
void variable(VarId id);
void factor(const char *name, unsigned long exponent);
void alphaPower(unsigned long exponent);
void coefficient(const std::string &text);

// Adds the term under construction to the polynomial under construction.
void endTerm();
// The polynomial under construction is the specification (the first after
// the field), or the next circuit polynomial.
void endSpecification();
void endCircuitPolynomial();

// Reduces the specification modulo the circuit, reports the result (the
// result sink or standard output, then the problem hook) and empties the
// problem state for the next problem.
void endProblem();

} // namespace builder
