// Elements of GF(2^K) for net2alg's own computations (Frobenius coefficients
// of word powers, the simulation check), on the verifier's field library:
// carry-less products and the reduction modulo the minimal polynomial.
#pragma once

#include <string>
#include <vector>

#include "reduction.h"
#include "word_options.h"

namespace net2alg {

class GfField {
public:
  using Element = std::vector<word_t>; // words() words, bit i = alpha^i

  explicit GfField(const FieldPolynomial &poly);

  int words() const { return modulus_.words(); }
  Element zero() const { return Element(static_cast<std::size_t>(words()), 0); }
  Element one() const;
  // alpha^e, for any e.
  Element alphaPower(unsigned long e) const;
  // The sum of alpha^i over the set bits i of the text "X^7+X^2+1" (terms X^e,
  // X and 1; exponents may be K or more).
  Element fromText(const std::string &text) const;

  Element mul(const Element &a, const Element &b) const;
  Element square(const Element &a) const;
  Element power(const Element &a, unsigned long e) const;

  // Whether the minimal polynomial is irreducible (Rabin's test).
  bool irreducible() const;

  // "X^7+X^2+1", "1"; zero gives "0".
  std::string text(const Element &a) const;

private:
  Modulus modulus_;
};

} // namespace net2alg
