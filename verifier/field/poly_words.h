// Polynomials over GF(2) held as arrays of 64-bit words (bit j of word i is
// the coefficient of x^(64i + j)): degree, shifted XOR and the size limits.
// These know nothing of the current field; the field code builds on them.
#pragma once

#include "field_state.h"

// Largest field degree K that setMinpoly accepts. The power table then holds
// 16385 elements of 256 words (32 MiB), and every work area below fits on
// the stack.
constexpr int kMaxFieldDegree = 16384;
// Words of a vector of K + 1 bits at the largest K (the modulus itself).
constexpr int kMaxWords = kMaxFieldDegree / 64 + 1;
// Words of an unreduced product of two elements.
constexpr int kMaxProductWords = 2 * kMaxWords;

// Words needed for the bits 0 .. bit.
inline int wordsForBit(int bit) { return bit / 64 + 1; }

// Degree of v (n words), -1 when v is zero.
int polyDegree(const word_t *v, int n);

// dst ^= src * x^shift; bits that would land at word dn or above are dropped.
void xorShifted(word_t *dst, int dn, const word_t *src, int sn, int shift);

// True when all n words are zero.
bool allZero(const word_t *v, int n);
