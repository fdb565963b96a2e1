// GF(2)[X] arithmetic on packed words; see gf2_poly.h.
#include "gf2_poly.h"

#include <algorithm>
#include <utility>

namespace algen {

namespace {

// dst ^= src * X^shift; dst is grown as needed.
void xorShifted(std::vector<uint64_t> &dst, const std::vector<uint64_t> &src, unsigned shift) {
  const unsigned ws = shift / 64, bs = shift % 64;
  const size_t need = src.size() + ws + 1;
  if (dst.size() < need)
    dst.resize(need, 0);
  for (size_t j = 0; j < src.size(); ++j) {
    dst[j + ws] ^= src[j] << bs;
    if (bs)
      dst[j + ws + 1] ^= src[j] >> (64 - bs);
  }
}

// The 32 bits of x spread to the even positions of a 64-bit word (squaring
// over GF(2) interleaves the coefficients with zeros).
uint64_t spread(uint32_t x) {
  uint64_t v = x;
  v = (v | (v << 16)) & 0x0000ffff0000ffffULL;
  v = (v | (v << 8)) & 0x00ff00ff00ff00ffULL;
  v = (v | (v << 4)) & 0x0f0f0f0f0f0f0f0fULL;
  v = (v | (v << 2)) & 0x3333333333333333ULL;
  v = (v | (v << 1)) & 0x5555555555555555ULL;
  return v;
}

} // namespace

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

int Gf2Poly::degree() const {
  if (w_.empty())
    return -1;
  const uint64_t top = w_.back();
  return static_cast<int>(64 * (w_.size() - 1)) + 63 - __builtin_clzll(top);
}

void Gf2Poly::flip(unsigned i) {
  if (w_.size() <= i / 64)
    w_.resize(i / 64 + 1, 0);
  w_[i / 64] ^= uint64_t{1} << (i % 64);
  trim();
}

std::vector<unsigned> Gf2Poly::exponents() const {
  std::vector<unsigned> e;
  for (int i = degree(); i >= 0; --i)
    if (bit(static_cast<unsigned>(i)))
      e.push_back(static_cast<unsigned>(i));
  return e;
}

void Gf2Poly::trim() {
  while (!w_.empty() && w_.back() == 0)
    w_.pop_back();
}

Gf2Poly &Gf2Poly::operator+=(const Gf2Poly &o) {
  if (w_.size() < o.w_.size())
    w_.resize(o.w_.size(), 0);
  for (size_t i = 0; i < o.w_.size(); ++i)
    w_[i] ^= o.w_[i];
  trim();
  return *this;
}

bool Gf2Poly::operator==(const Gf2Poly &o) const { return w_ == o.w_; }

void Gf2Poly::reduce(const Gf2Poly &m) {
  const int d = m.degree();
  for (int i = degree(); i >= d; --i) {
    if (!bit(static_cast<unsigned>(i)))
      continue;
    xorShifted(w_, m.w_, static_cast<unsigned>(i - d));
    w_.resize(static_cast<size_t>(i) / 64 + 1);
  }
  trim();
}

Gf2Poly Gf2Poly::mulMod(const Gf2Poly &a, const Gf2Poly &b, const Gf2Poly &m) {
  Gf2Poly r;
  for (int i = a.degree(); i >= 0; --i)
    if (a.bit(static_cast<unsigned>(i)))
      xorShifted(r.w_, b.w_, static_cast<unsigned>(i));
  r.trim();
  r.reduce(m);
  return r;
}

Gf2Poly Gf2Poly::sqrMod(const Gf2Poly &a, const Gf2Poly &m) {
  Gf2Poly r;
  r.w_.resize(2 * a.w_.size());
  for (size_t i = 0; i < a.w_.size(); ++i) {
    r.w_[2 * i] = spread(static_cast<uint32_t>(a.w_[i]));
    r.w_[2 * i + 1] = spread(static_cast<uint32_t>(a.w_[i] >> 32));
  }
  r.trim();
  r.reduce(m);
  return r;
}

Gf2Poly Gf2Poly::gcd(Gf2Poly a, Gf2Poly b) {
  while (!b.isZero()) {
    a.reduce(b);
    std::swap(a, b);
  }
  return a;
}

std::string Gf2Poly::toString() const {
  if (isZero())
    return "0";
  std::string s;
  for (unsigned e : exponents()) {
    if (!s.empty())
      s += '+';
    if (e == 0)
      s += '1';
    else if (e == 1)
      s += 'X';
    else
      s += "X^" + std::to_string(e);
  }
  return s;
}

bool isIrreducible(const Gf2Poly &f) {
  const int n = f.degree();
  if (n < 1)
    return false;
  if (n == 1)
    return true;
  // Cheap filters: divisible by X, or by X+1 (an even number of terms).
  if (!f.bit(0) || f.exponents().size() % 2 == 0)
    return false;
  const Gf2Poly x = Gf2Poly::monomial(1);
  Gf2Poly h = x; // X^(2^i) mod f
  for (int i = 1; i <= n / 2; ++i) {
    h = Gf2Poly::sqrMod(h, f);
    if (!Gf2Poly::gcd(f, h + x).isOne())
      return false;
  }
  return true;
}

} // namespace algen
