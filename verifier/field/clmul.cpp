// Carry-less multiplication: run-time choice between PCLMULQDQ and a
// portable routine.
#include "clmul.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define PV_HAVE_PCLMUL_PATH 1
#endif

namespace {

bool forcePortable = false;

bool cpuHasPclmul() {
#ifdef PV_HAVE_PCLMUL_PATH
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") != 0;
  }();
  return has;
#else
  return false;
#endif
}

// 64 x 64 -> 128-bit carry-less product, four bits of b at a time: the
// multiples of a by every 4-bit polynomial are tabulated once (as 128-bit
// values), then the nibbles of b are folded in from the top, Horner style.
void clmul64(word_t a, word_t b, word_t &lo, word_t &hi) {
  word_t tl[16], th[16];
  tl[0] = th[0] = 0;
  tl[1] = a;
  th[1] = 0;
  for (int w = 2; w < 16; ++w) {
    if (w % 2 == 0) {
      tl[w] = tl[w / 2] << 1;
      th[w] = (th[w / 2] << 1) | (tl[w / 2] >> 63);
    } else {
      tl[w] = tl[w - 1] ^ a;
      th[w] = th[w - 1];
    }
  }
  lo = hi = 0;
  for (int shift = 60; shift >= 0; shift -= 4) {
    hi = (hi << 4) | (lo >> 60);
    lo <<= 4;
    const unsigned w = (b >> shift) & 15;
    lo ^= tl[w];
    hi ^= th[w];
  }
}

// Both routines work column by column: all word products that land on output
// word k are summed in a register, and their high halves carry into k + 1.
void clmulWordsPortable(const word_t *a, int na, const word_t *b, int nb, word_t *out) {
  word_t carry = 0;
  for (int k = 0; k < na + nb - 1; ++k) {
    word_t lo = 0, hi = 0;
    const int first = k - nb + 1 > 0 ? k - nb + 1 : 0;
    const int last = k < na - 1 ? k : na - 1;
    for (int i = first; i <= last; ++i) {
      word_t pl, ph;
      clmul64(a[i], b[k - i], pl, ph);
      lo ^= pl;
      hi ^= ph;
    }
    out[k] = lo ^ carry;
    carry = hi;
  }
  out[na + nb - 1] = carry;
}

#ifdef PV_HAVE_PCLMUL_PATH
__attribute__((target("pclmul,sse2"))) void clmulWordsPclmul(const word_t *a, int na,
                                                             const word_t *b, int nb, word_t *out) {
  word_t carry = 0;
  for (int k = 0; k < na + nb - 1; ++k) {
    __m128i acc = _mm_setzero_si128();
    const int first = k - nb + 1 > 0 ? k - nb + 1 : 0;
    const int last = k < na - 1 ? k : na - 1;
    for (int i = first; i <= last; ++i) {
      const __m128i x = _mm_cvtsi64_si128(static_cast<long long>(a[i]));
      const __m128i y = _mm_cvtsi64_si128(static_cast<long long>(b[k - i]));
      acc = _mm_xor_si128(acc, _mm_clmulepi64_si128(x, y, 0x00));
    }
    out[k] = static_cast<word_t>(_mm_cvtsi128_si64(acc)) ^ carry;
    carry = static_cast<word_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(acc, acc)));
  }
  out[na + nb - 1] = carry;
}
#endif

// Spreads the 32 bits of x to the even positions of a word.
word_t spread32(word_t x) {
  x &= 0xFFFFFFFFu;
  x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
  x = (x | (x << 8)) & 0x00FF00FF00FF00FFull;
  x = (x | (x << 4)) & 0x0F0F0F0F0F0F0F0Full;
  x = (x | (x << 2)) & 0x3333333333333333ull;
  x = (x | (x << 1)) & 0x5555555555555555ull;
  return x;
}

} // namespace

void clmulWords(const word_t *a, int na, const word_t *b, int nb, word_t *out) {
#ifdef PV_HAVE_PCLMUL_PATH
  if (!forcePortable && cpuHasPclmul()) {
    clmulWordsPclmul(a, na, b, nb, out);
    return;
  }
#endif
  clmulWordsPortable(a, na, b, nb, out);
}

void clsquareWords(const word_t *a, int n, word_t *out) {
  // Backwards, so that out may start at a (out[2i] is written after a[i] is read).
  for (int i = n - 1; i >= 0; --i) {
    const word_t w = a[i];
    out[2 * i + 1] = spread32(w >> 32);
    out[2 * i] = spread32(w);
  }
}

void forcePortableClmul(bool force) { forcePortable = force; }

bool usingPclmul() { return !forcePortable && cpuHasPclmul(); }
