// Word-level helpers for polynomials over GF(2): degree and shifted XOR.
#include "poly_words.h"

int polyDegree(const word_t *v, int n) {
  for (int i = n - 1; i >= 0; --i)
    if (v[i] != 0)
      return 64 * i + 63 - __builtin_clzll(v[i]);
  return -1;
}

void xorShifted(word_t *dst, int dn, const word_t *src, int sn, int shift) {
  const int ws = shift / 64;
  const int bs = shift % 64;
  if (bs == 0) {
    for (int i = 0; i < sn && i + ws < dn; ++i)
      dst[i + ws] ^= src[i];
    return;
  }
  for (int i = 0; i < sn && i + ws < dn; ++i) {
    dst[i + ws] ^= src[i] << bs;
    if (i + ws + 1 < dn)
      dst[i + ws + 1] ^= src[i] >> (64 - bs);
  }
}

bool allZero(const word_t *v, int n) {
  word_t any = 0;
  for (int i = 0; i < n; ++i)
    any |= v[i];
  return any == 0;
}
