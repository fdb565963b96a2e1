// Reduction modulo the minimal polynomial: the sparse shift-and-XOR fold and
// the table of multiples of m.
#include "reduction.h"

#include <algorithm>
#include <cassert>

#include "clmul.h"
#include "poly_words.h"

namespace {

bool forceTable = false;

// A sparse modulus has at most this many terms below the leading one.
constexpr std::size_t kMaxSparseTerms = 8;

// Bits c .. c+63 of p (pw words), zero beyond its end and below bit 0.
word_t bits64(const word_t *p, int pw, int c) {
  if (c <= -64)
    return 0;
  if (c < 0)
    return p[0] << -c;
  const int w = c / 64;
  const int b = c % 64;
  if (w >= pw)
    return 0;
  word_t v = p[w] >> b;
  if (b != 0 && w + 1 < pw)
    v |= p[w + 1] << (64 - b);
  return v;
}

} // namespace

void forceTableReduction(bool force) { forceTable = force; }

void Modulus::build(const word_t *m, int degree) {
  assert(degree >= 1 && degree <= kMaxFieldDegree);
  degree_ = degree;
  words_ = wordsForBit(degree - 1);
  poly_.assign(m, m + wordsForBit(degree));
  low_.assign(poly_.begin(), poly_.begin() + words_);
  if (degree % 64 != 0)
    low_[words_ - 1] &= (word_t{1} << (degree % 64)) - 1;
  lowTerms_.clear();
  for (int e = degree - 1; e >= 0; --e)
    if ((poly_[e / 64] >> (e % 64)) & 1)
      lowTerms_.push_back(e);

  // With the highest lower term t at most (K+1)/2, the high part of a product
  // (degree <= K-2) folds to degree <= K-2+t, whose new high part has degree
  // <= t-2 and folds below K: two passes.
  sparse_ = !forceTable && lowTerms_.size() <= kMaxSparseTerms &&
            (lowTerms_.empty() || 2 * lowTerms_[0] <= degree + 1);
  quotientByte_.clear();
  window_.clear();
  if (sparse_)
    return;

  // q*m for every q of degree below 8. Its bits K .. K+7 are a one-to-one
  // function of q (the leading term of m makes the map triangular), so every
  // byte value is reached exactly once.
  quotientByte_.assign(256, 0);
  window_.assign(256, 0);
  const int pw = wordsForBit(degree + 7);
  std::vector<word_t> prod(pw);
  for (unsigned q = 0; q < 256; ++q) {
    std::fill(prod.begin(), prod.end(), 0);
    for (int k = 0; k < 8; ++k)
      if ((q >> k) & 1)
        xorShifted(prod.data(), pw, poly_.data(), wordsForBit(degree), k);
    const word_t window = bits64(prod.data(), pw, degree - 56);
    const unsigned v = static_cast<unsigned>(window >> 56);
    quotientByte_[v] = static_cast<unsigned char>(q);
    window_[v] = window;
  }
}

void Modulus::reduce(word_t *p, int pw) const {
  if (sparse_)
    reduceSparse(p, pw);
  else
    reduceTable(p, pw);
}

void Modulus::reduceSparse(word_t *p, int pw) const {
  word_t high[kMaxProductWords];
  const int ws = degree_ / 64;
  const int bs = degree_ % 64;
  for (;;) {
    const int d = polyDegree(p, pw);
    if (d < degree_)
      return;
    // high := p >> K, then p := p mod x^K, then p += high * (m - x^K).
    const int hw = wordsForBit(d - degree_);
    for (int i = 0; i < hw; ++i) {
      word_t v = p[i + ws] >> bs;
      if (bs != 0 && i + ws + 1 < pw)
        v |= p[i + ws + 1] << (64 - bs);
      high[i] = v;
    }
    p[ws] &= bs != 0 ? (word_t{1} << bs) - 1 : 0;
    for (int i = ws + 1; i <= d / 64; ++i)
      p[i] = 0;
    for (int t : lowTerms_)
      xorShifted(p, pw, high, hw, t);
  }
}

void Modulus::reduceTable(word_t *p, int pw) const {
  const int d = polyDegree(p, pw);
  if (d < degree_)
    return;
  const int mw = wordsForBit(degree_);
  word_t row[kMaxWords + 1];
  // Top down, 64 bits at a time; the chunks are aligned on K so that the last
  // one starts exactly at bit K.
  for (int c = degree_ + 64 * ((d - degree_) / 64); c >= degree_; c -= 64) {
    // The quotient digit Q with Q*m equal to the chunk in its bits K .. K+63,
    // one byte at a time from the top: each byte of Q clears its byte of the
    // chunk and changes the lower ones through the window of its product.
    word_t t = bits64(p, pw, c);
    word_t quotient = 0;
    for (int j = 7; j >= 0; --j) {
      const unsigned v = static_cast<unsigned>(t >> (8 * j)) & 0xFF;
      if (v == 0)
        continue;
      quotient |= static_cast<word_t>(quotientByte_[v]) << (8 * j);
      t ^= window_[v] >> (56 - 8 * j);
    }
    if (quotient == 0)
      continue;
    // p -= Q * m * x^(c-K): clears bits c .. c+63, changes only bits below.
    clmulWords(&quotient, 1, poly_.data(), mw, row);
    xorShifted(p, pw, row, mw + 1, c - degree_);
  }
}

void Modulus::mulX(word_t *v) const {
  word_t carry = 0;
  for (int i = 0; i < words_; ++i) {
    const word_t next = v[i] >> 63;
    v[i] = (v[i] << 1) | carry;
    carry = next;
  }
  word_t top;
  if (degree_ % 64 == 0) {
    top = carry;
  } else {
    word_t &w = v[degree_ / 64];
    top = (w >> (degree_ % 64)) & 1;
    w &= ~(word_t{1} << (degree_ % 64));
  }
  if (top != 0)
    for (int i = 0; i < words_; ++i)
      v[i] ^= low_[i];
}
