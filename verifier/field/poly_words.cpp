// Word-level helpers for polynomials over GF(2): degree and shifted XOR.
#include "poly_words.h"

#include <algorithm>

int polyDegree(const word_t *v, int n) {
  for (int i = n - 1; i >= 0; --i)
    if (v[i] != 0)
      return 64 * i + 63 - __builtin_clzll(v[i]);
  return -1;
}

void xorShifted(word_t *dst, int dn, const word_t *src, int sn, int shift) {
  const int ws = shift / 64;
  const int bs = shift % 64;
  const int n = std::min(sn, dn - ws);
  if (n <= 0)
    return;
  word_t *d = dst + ws;
  if (bs == 0) {
    for (int i = 0; i < n; ++i)
      d[i] ^= src[i];
    return;
  }
  // Word i of the result takes the low bits of src[i] and the high bits of src[i-1].
  word_t prev = 0;
  for (int i = 0; i < n; ++i) {
    d[i] ^= (src[i] << bs) | (prev >> (64 - bs));
    prev = src[i];
  }
  if (ws + n < dn)
    d[n] ^= prev >> (64 - bs);
}

bool allZero(const word_t *v, int n) {
  word_t any = 0;
  for (int i = 0; i < n; ++i)
    any |= v[i];
  return any == 0;
}
