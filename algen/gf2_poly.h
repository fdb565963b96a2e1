// Polynomials over GF(2) as algen keeps them: bits packed into 64-bit words
// (bit i is the coefficient of X^i). The arithmetic modulo the minimal
// polynomial, the irreducibility test and the text form are the field
// library's; this wraps them for values of any degree up to the field limit.
#pragma once

#include <string>
#include <vector>

#include "reduction.h"

namespace algen {

class Gf2Poly {
public:
  Gf2Poly() = default;
  static Gf2Poly monomial(unsigned e);
  static Gf2Poly fromExponents(const std::vector<unsigned> &exps);
  // The polynomial of the first n words at p.
  static Gf2Poly fromWords(const word_t *p, int n);

  // Degree, or -1 for the zero polynomial.
  int degree() const;
  bool bit(unsigned i) const { return i / 64 < w_.size() && ((w_[i / 64] >> (i % 64)) & 1); }
  void flip(unsigned i);
  // Exponents of the nonzero terms, highest first.
  std::vector<unsigned> exponents() const;
  // The words, padded with zeros to at least n.
  std::vector<word_t> words(size_t n) const;
  bool operator==(const Gf2Poly &o) const { return w_ == o.w_; }

  // Text form, highest term first, no blanks ("X^8+X^4+X^3+X+1"); "0" for zero.
  std::string toString() const;

private:
  void trim();
  std::vector<word_t> w_; // no trailing zero words
};

// Arithmetic modulo m, 2 <= deg m <= kMaxFieldDegree, on reduced operands.
class ModArithmetic {
public:
  explicit ModArithmetic(const Gf2Poly &m);
  Gf2Poly mul(const Gf2Poly &a, const Gf2Poly &b) const;
  Gf2Poly timesX(const Gf2Poly &a) const;
  // Whether m is irreducible, so that the arithmetic is a field.
  bool irreducible() const;

private:
  Modulus mod_;
};

// f of degree 2 .. kMaxFieldDegree is irreducible over GF(2).
bool isIrreducible(const Gf2Poly &f);

} // namespace algen
