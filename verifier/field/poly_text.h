// The text form of field elements: reading the terms of texts such as
// "X3+X+1" (blanks and carets already removed) and writing vectors back in
// the canonical form "X^3+X+1".
#pragma once

#include <string>
#include <vector>

#include "field_state.h"

// Exponents of the terms of text, left to right, one per non-empty term:
// "X" gives 1, "1" gives 0, a longer term the number after its first
// character (an optional sign, then decimal digits up to the first other
// character; no digit gives 0). Empty terms (a leading, trailing or doubled
// "+") contribute nothing. A one-character term other than X or 1, a negative
// exponent and one beyond the unsigned long range throw a FatalError
// (fatal_error.h) that prints
//   ERROR PARSING POLY: '<text>'
//   Got '<term>'
// on standard output, status 1.
std::vector<unsigned long> readTermExponents(const std::string &text);

// Canonical text of the single term x^e: "X^e", "X" or "1".
std::string termText(unsigned long e);

// Terms of the set bits of v at positions top down to 0, highest first,
// joined by "+" without blanks; the empty text when none is set.
std::string vectorText(const word_t *v, int top);

// Exponents of a polynomial as a user writes it on a command line: terms
// "X^e", "X" and "1" joined by "+", blanks anywhere ("X^8 + X^4+X^3+X+1"),
// left to right. The numbers are read by readTermExponents. Any other text
// throws a FatalError whose text names the polynomial and the bad term; an
// exponent beyond the unsigned long range throws readTermExponents' error.
std::vector<unsigned long> readPolynomialText(const std::string &text);
