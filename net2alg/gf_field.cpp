// GF(2^K) arithmetic for net2alg on the verifier's field library.
#include "gf_field.h"

#include "clmul.h"
#include "error.h"
#include "irreducible.h"
#include "poly_text.h"
#include "poly_words.h"

namespace net2alg {

GfField::GfField(const FieldPolynomial &poly) {
  if (poly.degree > static_cast<unsigned>(kMaxFieldDegree))
    fail("--poly: degree " + std::to_string(poly.degree) + " is above the limit of " +
         std::to_string(kMaxFieldDegree));
  const int degree = static_cast<int>(poly.degree);
  std::vector<word_t> m(static_cast<std::size_t>(wordsForBit(degree)), 0);
  for (unsigned long e : poly.exponents)
    m[e / 64] |= word_t{1} << (e % 64);
  modulus_.build(m.data(), degree);
}

bool GfField::irreducible() const { return isIrreducible(modulus_); }

GfField::Element GfField::one() const {
  Element r = zero();
  r[0] = 1;
  return r;
}

GfField::Element GfField::mul(const Element &a, const Element &b) const {
  const int n = words();
  std::vector<word_t> product(static_cast<std::size_t>(2 * n));
  clmulWords(a.data(), n, b.data(), n, product.data());
  modulus_.reduce(product.data(), 2 * n);
  product.resize(static_cast<std::size_t>(n));
  return product;
}

GfField::Element GfField::square(const Element &a) const { return mul(a, a); }

GfField::Element GfField::power(const Element &a, unsigned long e) const {
  Element result = one(), base = a;
  for (; e; e >>= 1) {
    if (e & 1)
      result = mul(result, base);
    if (e > 1)
      base = square(base);
  }
  return result;
}

GfField::Element GfField::alphaPower(unsigned long e) const {
  if (e < static_cast<unsigned long>(modulus_.degree())) {
    Element r = zero();
    r[e / 64] |= word_t{1} << (e % 64);
    return r;
  }
  Element x = zero();
  if (modulus_.degree() > 1)
    x[0] = 2;
  else
    x[0] = modulus_.poly()[0] & 1; // GF(2): alpha is the root of X + c
  return power(x, e);
}

GfField::Element GfField::fromText(const std::string &text) const {
  Element r = zero();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t plus = text.find('+', start);
    if (plus == std::string::npos)
      plus = text.size();
    const std::string term = text.substr(start, plus - start);
    // A term is X^e (the last exponent counts), X or 1, as checked by parseSpec.
    unsigned long e = 0;
    if (term[0] == 'X')
      e = term.find('^') == std::string::npos ? 1 : std::stoul(term.substr(term.rfind('^') + 1));
    const Element p = alphaPower(e);
    for (std::size_t w = 0; w < r.size(); ++w)
      r[w] ^= p[w];
    start = plus + 1;
  }
  return r;
}

std::string GfField::text(const Element &a) const {
  const std::string t = vectorText(a.data(), modulus_.degree() - 1);
  return t.empty() ? "0" : t;
}

} // namespace net2alg
