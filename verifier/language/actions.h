// Statement actions of the .alg grammar, one per rule. They hold the copy of
// the name of the factor being read and the texts of field literals, and
// leave everything algebraic to the problem builder (problem_builder.h).
#pragma once

#include <string>

extern std::string minpolyString; // canonical text of the latest field's minimal polynomial
extern std::string tmpMinpoly;    // canonical text of the coefficient being read

// A factor as the grammar passes it on: its name (valid until the next
// nameFactor) and its exponent, 1 when none was written; of several
// exponents on one factor the last counts.
struct Factor {
  const char *name;
  unsigned long exponent;
  unsigned long serial; // which nameFactor made it: asserts check that its name is still valid
};

// problem_list: a problem is complete; reduce it, print its result and
// reset the problem state.
void endProblem();

// aux_list: auxiliary names are read and discarded.
void auxName(Factor factor);

// var_list: declares a variable.
void declareName(Factor factor);

// field_poly / field_terms: the minimal polynomial, gathered term by term;
// at its end the field is defined.
void firstFieldTerm(Factor factor);
void nextFieldTerm(Factor factor);
void endField();

// spec_poly, circuit_list, poly: completed polynomials and terms.
void endSpec();
void endCircuitPoly();
void endTerm();

// term: one factor of the term under construction.
void termFactor(Factor factor);

// coef / coef_terms: a parenthesised coefficient, gathered term by term and
// multiplied in at the closing parenthesis.
void firstCoefTerm(Factor factor);
void nextCoefTerm(Factor factor);
void endCoef();

// factor: copies the token text (valid only until the next token is
// scanned); the copy stays valid until the next nameFactor. The grammar
// consumes every factor before it shifts the next name, so one copy at a
// time suffices and nothing is left to free when a parse is abandoned.
Factor nameFactor(const char *text);
