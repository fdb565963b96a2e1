// Statement actions of the .alg grammar, one per rule. They own the names
// handed over by the parser (each is a heap copy, released here), keep the
// exponent of the latest factor and the texts of field literals, and leave
// everything algebraic to the problem handlers.
#pragma once

// problem_list: a problem is complete; reduce it, print its result and
// reset the problem state.
void endProblem();

// aux_list: auxiliary names are read and discarded.
void auxName(char* name);

// var_list: declares a variable.
void declareName(char* name);

// field_poly / field_terms: the minimal polynomial, gathered term by term;
// at its end the field is defined.
void firstFieldTerm(char* name);
void nextFieldTerm(char* name);
void endField();

// spec_poly, circuit_list, poly: completed polynomials and terms.
void endSpec();
void endCircuitPoly();
void endTerm();

// term: one factor of the term under construction.
void termFactor(char* name);

// coef / coef_terms: a parenthesised coefficient, gathered term by term and
// multiplied in at the closing parenthesis.
void firstCoefTerm(char* name);
void nextCoefTerm(char* name);
void endCoef();

// factor: takes a heap copy of the token text (valid only until the next
// token is scanned); a factor without exponent has exponent 1, and the last
// exponent written on a factor counts.
char* nameFactor(const char* text);
char* powerFactor(char* name, unsigned long exponent);
