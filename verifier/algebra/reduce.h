// Reduction of the specification polynomial modulo the circuit generators,
// and the result line.
#pragma once

#include <functional>
#include <string>

#include "monomial.h"

// Divides spec by the generators in one forward pass (see reduce.cpp),
// leaves the remainder in spec (descending) and prints "FINAL RESULT: " and
// the remainder. The generators are put in order if they are not; their
// terms are not changed.
void reduce(Polynomial &spec, Ideal &generators);

// Where reduce() puts each remainder. Without a sink (the default) it prints
// "FINAL RESULT: " and the remainder on standard output, as polyverify does;
// a program that verifies in process (gfverify) installs one and reads the
// remainder itself, while the problem's names are still valid.
using ResultSink = std::function<void(const Polynomial &remainder)>;
void setResultSink(ResultSink sink);

// The text of one term as printmonomial writes it, without a line end.
std::string termText(const PolyTerm &m);

// With `on` (polyverify --summary), every remainder of more than 1,000
// terms is followed by one line on standard error: its numbers of terms and
// variables, the powers of X in its coefficients, its five most frequent
// variables.
void setRemainderSummary(bool on);

// Puts the generators in non-increasing order of their leading terms,
// equal ones keeping their read order (a stable sort).
void sortGenerators(Ideal &generators);

// Writes one term: "(coef)*" unless the coefficient is one, then the
// variable names joined by "*"; a constant writes its coefficient text and
// ends the line.
void printmonomial(const PolyTerm &m);
