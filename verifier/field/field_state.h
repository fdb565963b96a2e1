// The current field GF(2^K): how many coefficient bits an element has, how
// they are packed, and the power table. One object owns it; the short names
// the arithmetic uses (K, NumWords, ...) refer into it. AlphaPoly::setMinpoly
// defines a field, reset() goes back to no field (all widths zero, which
// every operation on elements treats as "nothing to do").
#pragma once

#include <cstdint>

class AlphaPoly;

// Coefficient vectors are arrays of 64-bit words; bit j of word i is the
// coefficient of alpha^(64i + j). On a little-endian machine this is the
// same bit layout as bytes where bit j of byte i is alpha^(8i + j).
using word_t = std::uint64_t;

struct FieldState {
  int k = 0;                       // degree of the minimal polynomial
  int numWords = 0;                // 64-bit words per element: (K - 1) / 64 + 1
  AlphaPoly **exponents = nullptr; // exponents[i] = alpha^(K + i) reduced, i = 0..K

  // Back to no field: frees the power table, zeroes the widths and the
  // modulus (reduction.h).
  void reset();
  bool defined() const { return numWords > 0; }
};

extern FieldState fieldState;

inline int &K = fieldState.k;
inline int &NumWords = fieldState.numWords;
inline AlphaPoly **&exponents = fieldState.exponents;
