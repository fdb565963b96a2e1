// Multiplication, powers, inverse and text of coefficient vectors
// over the current field.
#include "coeff_vector.h"

#include <algorithm>

#include "alpha_poly.h"
#include "clmul.h"
#include "poly_text.h"
#include "poly_words.h"
#include "reduction.h"

namespace {

// Number of words of v up to its highest non-zero one.
int usedWords(const word_t *v, int n) {
  while (n > 0 && v[n - 1] == 0)
    --n;
  return n;
}

void setBit(word_t *v, unsigned long e) { v[e / 64] |= word_t{1} << (e % 64); }

// out := alpha^e for e <= 2K: one bit or one copy from the power table.
void smallPower(unsigned long e, word_t *out) {
  std::fill(out, out + NumWords, 0);
  if (e < static_cast<unsigned long>(K))
    setBit(out, e);
  else
    std::copy(exponents[e - K]->bits, exponents[e - K]->bits + NumWords, out);
}

} // namespace

void multExp(word_t *a, const word_t *b) {
  const int n = NumWords;
  if (n < 1)
    return;
  word_t prod[kMaxProductWords];
  int pw;
  if (a == b) {
    const int na = usedWords(a, n);
    clsquareWords(a, na, prod);
    pw = 2 * na;
  } else {
    const int na = usedWords(a, n);
    const int nb = usedWords(b, n);
    if (na == 0 || nb == 0) {
      std::fill(a, a + n, 0);
      return;
    }
    clmulWords(a, na, b, nb, prod);
    pw = na + nb;
  }
  fieldModulus.reduce(prod, pw);
  const int keep = std::min(pw, n);
  std::copy(prod, prod + keep, a);
  std::fill(a + keep, a + n, 0);
}

std::string stringFromChar(const word_t *v) {
  if (NumWords < 1)
    return "";
  return vectorText(v, K - 1);
}

void alphaPower(unsigned long n, word_t *out) {
  if (NumWords < 1)
    return;
  const unsigned long twoK = 2 * static_cast<unsigned long>(K);
  if (n <= twoK) {
    smallPower(n, out);
    return;
  }
  // Start from the longest leading bit string of n that is at most 2K, then
  // square for every further bit and multiply by alpha where it is set.
  int shift = 64 - __builtin_clzl(n);
  while (shift > 0 && (n >> (shift - 1)) <= twoK)
    --shift;
  smallPower(n >> shift, out);
  for (int b = shift - 1; b >= 0; --b) {
    multExp(out, out);
    if ((n >> b) & 1)
      fieldModulus.mulX(out);
  }
}

void invertVector(const word_t *a, word_t *out) {
  // Extended Euclid on K+1 bits: r0 = m, r1 = a, s0 = 0, s1 = 1, keeping
  // s_i * a = r_i (mod m). Each round divides r0 by r1 in place (r0 becomes
  // the remainder, s0 gains quotient * s1 term by term), then swaps the pairs.
  // It stops when r1 is one (s1 is the inverse) or zero (s1 = m / gcd).
  const int n = NumWords;
  if (n < 1)
    return;
  const int wn = wordsForBit(K);
  word_t buf[4][kMaxWords];
  word_t *r0 = buf[0];
  word_t *r1 = buf[1];
  word_t *s0 = buf[2];
  word_t *s1 = buf[3];
  std::copy(fieldModulus.poly(), fieldModulus.poly() + wn, r0);
  std::fill(r1, r1 + wn, 0);
  std::copy(a, a + n, r1);
  std::fill(s0, s0 + wn, 0);
  std::fill(s1, s1 + wn, 0);
  s1[0] = 1;

  int d0 = K;
  int d1 = polyDegree(r1, wn);
  while (d1 > 0) {
    const int sw = usedWords(s1, wn);
    while (d0 >= d1) {
      const int j = d0 - d1;
      xorShifted(r0, wn, r1, wordsForBit(d1), j);
      xorShifted(s0, wn, s1, sw, j);
      d0 = polyDegree(r0, wordsForBit(d0));
    }
    std::swap(r0, r1);
    std::swap(s0, s1);
    std::swap(d0, d1);
  }
  std::copy(s1, s1 + n, out);
}
