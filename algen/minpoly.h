// The minimal polynomial of the field: the standard ones for the usual
// curve sizes, a searched lowest-weight irreducible one for any other K, or
// one given by the user as text.
#pragma once

#include "gf2_poly.h"

#include <string>

namespace algen {

// Largest field degree that algen accepts; a Mastrovito circuit at this size
// already has about 8 million gates.
constexpr unsigned kMaxDegree = 2048;

// The standard pentanomial or trinomial for K in {163, 233, 283, 409, 571}
// and the pairing field's trinomial for K = 1223;
// otherwise the irreducible trinomial X^K+X^k+1 with the smallest k, else the
// irreducible pentanomial X^K+X^a+X^b+X^c+1 with the smallest (a, b, c) in
// lexicographic order. K >= 2. Returns the zero polynomial if none exists
// (never observed for K >= 2).
Gf2Poly defaultMinpoly(unsigned k);

// Reads "X^8+X^4+X^3+X+1" with the field library's reader (blanks allowed,
// terms X^e, X and 1 in any order), each exponent at most once and at most
// kMaxDegree. On failure returns false and sets err to a short reason.
bool parsePolyText(const std::string &text, Gf2Poly &out, std::string &err);

} // namespace algen
