// Gf2Poly and ModArithmetic on top of the field library; see gf2_poly.h.
#include "gf2_poly.h"

#include "clmul.h"
#include "irreducible.h"
#include "poly_text.h"
#include "poly_words.h"

namespace algen {

Gf2Poly Gf2Poly::monomial(unsigned e) {
  Gf2Poly p;
  p.flip(e);
  return p;
}

Gf2Poly Gf2Poly::fromExponents(const std::vector<unsigned> &exps) {
  Gf2Poly p;
  for (unsigned e : exps)
    p.flip(e);
  return p;
}

Gf2Poly Gf2Poly::fromWords(const word_t *p, int n) {
  Gf2Poly r;
  r.w_.assign(p, p + n);
  r.trim();
  return r;
}

int Gf2Poly::degree() const { return polyDegree(w_.data(), static_cast<int>(w_.size())); }

void Gf2Poly::flip(unsigned i) {
  if (w_.size() <= i / 64)
    w_.resize(i / 64 + 1, 0);
  w_[i / 64] ^= word_t{1} << (i % 64);
  trim();
}

std::vector<unsigned> Gf2Poly::exponents() const {
  std::vector<unsigned> e;
  for (int i = degree(); i >= 0; --i)
    if (bit(static_cast<unsigned>(i)))
      e.push_back(static_cast<unsigned>(i));
  return e;
}

std::vector<word_t> Gf2Poly::words(size_t n) const {
  std::vector<word_t> w = w_;
  if (w.size() < n)
    w.resize(n, 0);
  return w;
}

std::string Gf2Poly::toString() const { return w_.empty() ? "0" : vectorText(w_.data(), degree()); }

void Gf2Poly::trim() {
  while (!w_.empty() && w_.back() == 0)
    w_.pop_back();
}

ModArithmetic::ModArithmetic(const Gf2Poly &m) { mod_.build(m.words(0).data(), m.degree()); }

Gf2Poly ModArithmetic::mul(const Gf2Poly &a, const Gf2Poly &b) const {
  const int n = mod_.words();
  const std::vector<word_t> x = a.words(n), y = b.words(n);
  std::vector<word_t> p(2 * n);
  clmulWords(x.data(), n, y.data(), n, p.data());
  mod_.reduce(p.data(), 2 * n);
  return Gf2Poly::fromWords(p.data(), n);
}

Gf2Poly ModArithmetic::timesX(const Gf2Poly &a) const {
  std::vector<word_t> v = a.words(mod_.words());
  mod_.mulX(v.data());
  return Gf2Poly::fromWords(v.data(), mod_.words());
}

bool ModArithmetic::irreducible() const { return ::isIrreducible(mod_); }

bool isIrreducible(const Gf2Poly &f) { return ModArithmetic(f).irreducible(); }

} // namespace algen
