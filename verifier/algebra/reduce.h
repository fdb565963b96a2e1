// Reduction of the specification polynomial modulo the circuit generators,
// and the result line.
#pragma once

#include "monomial.h"

// Divides spec by the generators in one forward pass (see
// reduce.cpp), leaves the remainder in spec and prints
// "FINAL RESULT: " and the remainder. The generators are not changed.
void reduce(Polynomial& spec, Ideal& generators);

// Writes one term: "(coef)*" unless the coefficient is one, then the
// variable names joined by "*"; a constant writes its coefficient text and
// ends the line.
void printmonomial(const monomial_& m);
