// Helpers of the field tests: a plain reference arithmetic on GF(2)[x]
// (bit-by-bit shift and add, no tables, no carry-less instructions) and small
// conveniences around AlphaPoly.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "alpha_poly.h"
#include "field_state.h"
#include "poly_text.h"

namespace ref {

// A polynomial over GF(2), bit i of word i/64 is the coefficient of x^i.
using Poly = std::vector<std::uint64_t>;

inline void flip(Poly &p, int i) {
  if (i / 64 >= static_cast<int>(p.size()))
    p.resize(i / 64 + 1, 0);
  p[i / 64] ^= std::uint64_t{1} << (i % 64);
}
inline int degree(const Poly &p) {
  for (int w = static_cast<int>(p.size()) - 1; w >= 0; --w)
    if (p[w] != 0)
      return 64 * w + 63 - __builtin_clzll(p[w]);
  return -1;
}
// p ^= q * x^s, bit by bit.
inline void addShifted(Poly &p, const Poly &q, int s) {
  for (int i = 0; i <= degree(q); ++i)
    if ((q[i / 64] >> (i % 64)) & 1)
      flip(p, i + s);
}
inline Poly mul(const Poly &a, const Poly &b) {
  Poly p;
  for (int i = 0; i <= degree(b); ++i)
    if ((b[i / 64] >> (i % 64)) & 1)
      addShifted(p, a, i);
  return p;
}
inline Poly mod(Poly a, const Poly &m) {
  for (int d = degree(a); d >= degree(m); d = degree(a))
    addShifted(a, m, d - degree(m));
  return a;
}
inline bool equal(Poly a, Poly b) {
  a.resize(std::max(a.size(), b.size()), 0);
  b.resize(a.size(), 0);
  return a == b;
}
// The polynomial of a field text such as "X^8+X^4+X^3+X+1".
inline Poly fromText(std::string text) {
  AlphaPoly::removeChars(&text, " ^");
  Poly p;
  for (unsigned long e : readTermExponents(text))
    flip(p, static_cast<int>(e));
  return p;
}

} // namespace ref

using Elem = std::unique_ptr<AlphaPoly>;

inline Elem text(const std::string &t) { return std::make_unique<AlphaPoly>(t); }
inline Elem power(unsigned long n) { return std::make_unique<AlphaPoly>(n); }
inline Elem copyOf(const AlphaPoly &a) { return std::make_unique<AlphaPoly>(&a); }

inline Elem product(const AlphaPoly &a, const AlphaPoly &b) {
  Elem p = copyOf(a);
  p->mult(&b);
  return p;
}
inline Elem sum(const AlphaPoly &a, const AlphaPoly &b) {
  Elem p = copyOf(a);
  p->add(&b);
  return p;
}

// A uniformly random element of the current field.
inline Elem randomElement(std::mt19937_64 &rng) {
  Elem e = power(0);
  for (int i = 0; i < NumWords; ++i)
    e->bits[i] = rng();
  if (K % 64 != 0)
    e->bits[NumWords - 1] &= (std::uint64_t{1} << (K % 64)) - 1;
  return e;
}

inline ref::Poly toRef(const AlphaPoly &a) { return ref::Poly(a.bits, a.bits + NumWords); }
