// Statement actions of the .alg grammar, one per rule. They hold the copy of
// the name of the factor being read, keep the exponent of the latest factor and the texts of field literals, and leave
// everything algebraic to the problem handlers.
#pragma once

// problem_list: a problem is complete; reduce it, print its result and
// reset the problem state.
void endProblem();

// aux_list: auxiliary names are read and discarded.
void auxName(const char* name);

// var_list: declares a variable.
void declareName(const char* name);

// field_poly / field_terms: the minimal polynomial, gathered term by term;
// at its end the field is defined.
void firstFieldTerm(const char* name);
void nextFieldTerm(const char* name);
void endField();

// spec_poly, circuit_list, poly: completed polynomials and terms.
void endSpec();
void endCircuitPoly();
void endTerm();

// term: one factor of the term under construction.
void termFactor(const char* name);

// coef / coef_terms: a parenthesised coefficient, gathered term by term and
// multiplied in at the closing parenthesis.
void firstCoefTerm(const char* name);
void nextCoefTerm(const char* name);
void endCoef();

// factor: copies the token text (valid only until the next token is
// scanned) and returns the copy, valid until the next nameFactor. The
// grammar consumes every factor before it shifts the next name, so one copy
// at a time suffices and nothing is left to free when a parse is abandoned.
// A factor without exponent has exponent 1, and the last exponent written
// on a factor counts.
const char* nameFactor(const char* text);
const char* powerFactor(const char* name, unsigned long exponent);
