// Arithmetic on the coefficient vectors of the current field: NumWords words,
// every set bit below K (see field_state.h). Internal to the field code; the
// unit tests call these directly.
#pragma once

#include <string>

#include "field_state.h"

// a := a * b mod m; b is unchanged. a and b may be the same vector (squaring).
void multExp(word_t *a, const word_t *b);

// Text form of v: "X^7+X^3+X^2+1", "X", "1"; zero gives "".
std::string stringFromChar(const word_t *v);

// out := alpha^n, for every n. Up to 2K a bit or a power-table copy, above
// that square and multiply from the table: about log2(n) squarings.
void alphaPower(unsigned long n, word_t *out);

// out := a^-1 by the extended Euclidean algorithm against m. Zero and one give
// one. When a is a zero divisor (m reducible, gcd(a, m) = g not 1) the result
// is m / g, the non-zero element whose product with a is zero.
void invertVector(const word_t *a, word_t *out);
