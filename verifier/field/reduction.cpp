// Reduction modulo the minimal polynomial: the sparse shift-and-XOR fold and
// the table of multiples of m.
#include "reduction.h"

#include <algorithm>
#include <cassert>

#include "poly_words.h"

namespace {

bool forceTable = false;

// A sparse modulus has at most this many terms below the leading one.
constexpr std::size_t kMaxSparseTerms = 8;

// Bits c .. c+7 of p (pw words), zero beyond its end.
unsigned bits8(const word_t *p, int pw, int c) {
  const int w = c / 64;
  const int b = c % 64;
  word_t v = p[w] >> b;
  if (b > 56 && w + 1 < pw)
    v |= p[w + 1] << (64 - b);
  return static_cast<unsigned>(v & 0xFF);
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
  table_.clear();
  entryWords_ = 0;
  if (sparse_)
    return;

  // q*m for every q of degree below 8; its bits K .. K+7 are a one-to-one
  // function of q (the leading term of m makes the map triangular), so each
  // index is filled exactly once.
  entryWords_ = wordsForBit(degree + 7);
  table_.assign(static_cast<std::size_t>(256) * entryWords_, 0);
  std::vector<word_t> prod(entryWords_);
  for (unsigned q = 0; q < 256; ++q) {
    std::fill(prod.begin(), prod.end(), 0);
    for (int k = 0; k < 8; ++k)
      if ((q >> k) & 1)
        xorShifted(prod.data(), entryWords_, poly_.data(), wordsForBit(degree), k);
    const unsigned index = bits8(prod.data(), entryWords_, degree);
    std::copy(prod.begin(), prod.end(), table_.begin() + index * entryWords_);
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
  // Top down, eight bits at a time; the chunks are aligned on K so that the
  // last one starts exactly at bit K. Each entry clears its chunk and only
  // changes bits below it.
  for (int c = degree_ + 8 * ((d - degree_) / 8); c >= degree_; c -= 8) {
    const unsigned v = bits8(p, pw, c);
    if (v != 0)
      xorShifted(p, pw, &table_[static_cast<std::size_t>(v) * entryWords_], entryWords_,
                 c - degree_);
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
