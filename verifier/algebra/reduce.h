// Reduction of the specification polynomial modulo the circuit generators,
// and the result line.
#pragma once

#include "monomial.h"

// Divides spec by the generators in one forward pass (see reduce.cpp),
// leaves the remainder in spec (descending) and prints "FINAL RESULT: " and
// the remainder. The generators are put in order if they are not; their
// terms are not changed.
void reduce(Polynomial &spec, Ideal &generators);

// Puts the generators in non-increasing order of their leading terms,
// equal ones keeping their read order (a stable sort).
void sortGenerators(Ideal &generators);

// Writes one term: "(coef)*" unless the coefficient is one, then the
// variable names joined by "*"; a constant writes its coefficient text and
// ends the line.
void printmonomial(const PolyTerm &m);
