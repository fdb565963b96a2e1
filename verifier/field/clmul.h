// Carry-less products of word vectors (multiplication in GF(2)[x]), the hot
// loop of the field arithmetic. PCLMULQDQ is used when the processor has it,
// a portable 4-bit-window routine otherwise; both give the same bits.
#pragma once

#include "field_state.h"

// out[0 .. na+nb) := a * b. out must not overlap a or b; na and nb >= 1.
void clmulWords(const word_t *a, int na, const word_t *b, int nb, word_t *out);

// out[0 .. 2n) := a * a. Squaring over GF(2) only spreads the bits apart.
// out may be a itself (with room for 2n words) but must not overlap it otherwise.
void clsquareWords(const word_t *a, int n, word_t *out);

// true: use the portable routine even where PCLMULQDQ exists; false: back
// to the choice made from the processor. For tests and measurements.
void forcePortableClmul(bool force);

// True when products currently go through PCLMULQDQ.
bool usingPclmul();
