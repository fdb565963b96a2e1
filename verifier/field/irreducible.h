// Irreducibility of a minimal polynomial over GF(2) (Rabin's test): the
// arithmetic modulo m is a field exactly when m is irreducible.
#pragma once

#include "reduction.h"

// True when the modulus m (degree K >= 1) is irreducible over GF(2).
// Costs K modular squarings and one polynomial gcd per prime factor of K.
bool isIrreducible(const Modulus &m);
