// Width state of the current field GF(2^K): how many coefficient bits an
// element has and how they are packed. Only AlphaPoly::setMinpoly writes it
// (and getInverse, which widens it by one bit for the length of one call).
#pragma once

#include <cstdint>

class AlphaPoly;

// Coefficient vectors are arrays of 64-bit words; bit j of word i is the
// coefficient of alpha^(64i + j). On a little-endian machine this is the
// same bit layout as bytes where bit j of byte i is alpha^(8i + j).
using word_t = std::uint64_t;

extern int K;                // degree of the minimal polynomial
extern int NumChars;         // bytes per element: (K - 1) / 8 + 1
extern int lastCharBuffer;   // spare high bits of the last byte: 8 * NumChars - K
extern int NumWords;         // 64-bit words per element: (K - 1) / 64 + 1
extern AlphaPoly** exponents; // exponents[i] = alpha^(K + i) reduced, i = 0..K
