// Helpers of the field tests: a plain reference arithmetic on GF(2)[x]
// (bit-by-bit shift and add, no tables, no carry-less instructions) and small
// conveniences around AlphaPoly.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "alpha_poly.h"
#include "field_state.h"

namespace ref {

// A polynomial over GF(2), bit i of word i/64 is the coefficient of x^i.
using Poly = std::vector<std::uint64_t>;

inline bool bit(const Poly &p, int i) {
  return i / 64 < static_cast<int>(p.size()) && ((p[i / 64] >> (i % 64)) & 1);
}
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
// p ^= q * x^s: q shifted word by word.
inline void addShifted(Poly &p, const Poly &q, int s) {
  const int dq = degree(q);
  if (dq < 0)
    return;
  const int need = (dq + s) / 64 + 1;
  if (static_cast<int>(p.size()) < need)
    p.resize(need, 0);
  const int ws = s / 64, bs = s % 64;
  for (int i = 0; i <= dq / 64; ++i) {
    p[i + ws] ^= q[i] << bs;
    if (bs != 0 && i + ws + 1 < need)
      p[i + ws + 1] ^= q[i] >> (64 - bs);
  }
}
inline Poly mul(const Poly &a, const Poly &b) {
  Poly p;
  for (int i = 0; i <= degree(b); ++i)
    if (bit(b, i))
      addShifted(p, a, i);
  return p;
}
inline Poly mod(Poly a, const Poly &m) {
  const int dm = degree(m);
  for (int d = degree(a); d >= dm; d = degree(a))
    addShifted(a, m, d - dm);
  return a;
}
inline bool equal(const Poly &a, const Poly &b) {
  const int d = degree(a);
  if (d != degree(b))
    return false;
  for (int i = 0; i <= d; ++i)
    if (bit(a, i) != bit(b, i))
      return false;
  return true;
}
inline Poly gcd(Poly a, Poly b) {
  while (degree(b) >= 0) {
    a = mod(a, b);
    std::swap(a, b);
  }
  return a;
}
// Rabin's test, written out on the reference arithmetic.
inline bool irreducible(const Poly &m) {
  const int k = degree(m);
  Poly x{2}, h{2};
  std::vector<int> checks;
  for (int p = 2, n = k; n > 1; ++p)
    if (n % p == 0) {
      checks.push_back(k / p);
      while (n % p == 0)
        n /= p;
    }
  for (int i = 1; i <= k; ++i) {
    h = mod(mul(h, h), m);
    for (int c : checks)
      if (c == i) {
        Poly d = h;
        addShifted(d, x, 0);
        if (degree(gcd(m, d)) != 0)
          return false;
      }
  }
  return equal(h, mod(x, m));
}
// The polynomial of a field text such as "X^8+X^4+X^3+X+1".
inline Poly fromText(const std::string &text) {
  Poly p;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = std::min(text.find('+', i), text.size());
    const std::string term = text.substr(i, end - i);
    flip(p, term == "1" ? 0 : term == "X" ? 1 : std::stoi(term.substr(2)));
    i = end + 1;
  }
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
