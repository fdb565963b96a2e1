// Builders of the multiplier netlists: Mastrovito (AND array, XOR trees for
// the product and its reduction), Karatsuba (recursive product, the same
// reduction) and bit-serial Montgomery unrolled (A*B*X^-K).
#pragma once

#include "gf2_poly.h"
#include "netlist.h"

#include <string>

namespace algen {

enum class Kind { Mastrovito, Montgomery, Karatsuba };

const char *kindName(Kind k);
bool parseKind(const std::string &s, Kind &out);

// The circuit Z = A*B (Montgomery: Z = A*B*R^-1, R = X^K) over GF(2)[X]/(m),
// K = deg m >= 2. Every output is a distinct gate.
Netlist buildMultiplier(Kind kind, const Gf2Poly &m);

// R^-1 mod m for R = X^K, K = deg m: the factor in the specification of the
// Montgomery multiplier.
Gf2Poly montgomeryFactor(const Gf2Poly &m);

} // namespace algen
