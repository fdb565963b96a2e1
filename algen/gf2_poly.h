// Dense polynomials over GF(2) packed into 64-bit words (bit i of the vector
// is the coefficient of X^i), with the few operations that choosing and
// using a minimal polynomial needs: products and remainders, gcd, the
// irreducibility test and the text form "X^8+X^4+X^3+X+1".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace algen {

class Gf2Poly {
public:
  Gf2Poly() = default;
  static Gf2Poly monomial(unsigned e);
  static Gf2Poly fromExponents(const std::vector<unsigned> &exps);

  // Degree, or -1 for the zero polynomial.
  int degree() const;
  bool isZero() const { return degree() < 0; }
  bool isOne() const { return degree() == 0; }
  bool bit(unsigned i) const { return i / 64 < w_.size() && ((w_[i / 64] >> (i % 64)) & 1); }
  void flip(unsigned i);
  // Exponents of the nonzero terms, highest first.
  std::vector<unsigned> exponents() const;

  Gf2Poly &operator+=(const Gf2Poly &o);
  friend Gf2Poly operator+(Gf2Poly a, const Gf2Poly &b) { return a += b; }
  bool operator==(const Gf2Poly &o) const;
  bool operator!=(const Gf2Poly &o) const { return !(*this == o); }

  // this := this mod m (m nonzero).
  void reduce(const Gf2Poly &m);
  // Product and square, reduced modulo m.
  static Gf2Poly mulMod(const Gf2Poly &a, const Gf2Poly &b, const Gf2Poly &m);
  static Gf2Poly sqrMod(const Gf2Poly &a, const Gf2Poly &m);
  static Gf2Poly gcd(Gf2Poly a, Gf2Poly b);

  // Text form, highest term first, no blanks; "0" for zero.
  std::string toString() const;

private:
  void trim();
  std::vector<uint64_t> w_; // no trailing zero words
};

// Ben-Or: f of degree n is irreducible iff gcd(X^(2^i) - X, f) = 1 for
// i = 1 .. n/2. Most reducible candidates have a small factor and leave early.
bool isIrreducible(const Gf2Poly &f);

} // namespace algen
