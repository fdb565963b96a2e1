// Multiplier netlists; see multipliers.h.
#include "multipliers.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace algen {

namespace {

// Stands for the constant 0 while a circuit is built; no gate is ever made
// with it, XOR with it is the other operand.
constexpr Signal kZero = UINT32_MAX;

Signal xor2(Netlist &n, Signal x, Signal y) {
  if (x == kZero)
    return y;
  if (y == kZero)
    return x;
  return n.add(GateType::Xor, x, y);
}

// Balanced tree of 2-input XOR gates over the nonzero terms.
Signal xorTree(Netlist &n, std::vector<Signal> terms) {
  size_t live = 0;
  for (Signal s : terms)
    if (s != kZero)
      terms[live++] = s;
  terms.resize(live);
  if (terms.empty())
    return kZero;
  while (terms.size() > 1) {
    size_t out = 0;
    for (size_t i = 0; i + 1 < terms.size(); i += 2)
      terms[out++] = n.add(GateType::Xor, terms[i], terms[i + 1]);
    if (terms.size() % 2)
      terms[out++] = terms.back();
    terms.resize(out);
  }
  return terms[0];
}

// Folds the 2K-1 coefficients of the plain product into the K outputs:
// z_i = c_i + sum of c_j (j >= K) over the j with X^i in X^j mod m.
void reduceProduct(Netlist &n, const std::vector<Signal> &c, const Gf2Poly &m) {
  const unsigned k = n.k;
  std::vector<std::vector<Signal>> terms(k);
  for (unsigned i = 0; i < k; ++i)
    terms[i].push_back(c[i]);
  const ModArithmetic field(m);
  Gf2Poly r = Gf2Poly::monomial(k - 1);
  for (unsigned j = k; j + 1 < 2 * k; ++j) {
    r = field.timesX(r); // X^j mod m
    for (unsigned i = 0; i < k; ++i)
      if (r.bit(i))
        terms[i].push_back(c[j]);
  }
  n.outputs.resize(k);
  for (unsigned i = 0; i < k; ++i)
    n.outputs[i] = xorTree(n, terms[i]);
}

// Schoolbook product of two equally long signal vectors.
std::vector<Signal> schoolbook(Netlist &n, const std::vector<Signal> &a,
                               const std::vector<Signal> &b) {
  const size_t len = a.size();
  std::vector<std::vector<Signal>> terms(2 * len - 1);
  for (size_t i = 0; i < len; ++i)
    for (size_t j = 0; j < len; ++j)
      terms[i + j].push_back(n.add(GateType::And, a[i], b[j]));
  std::vector<Signal> c(2 * len - 1);
  for (size_t i = 0; i < c.size(); ++i)
    c[i] = xorTree(n, terms[i]);
  return c;
}

// Karatsuba: with A = A1 X^h + A0 and B likewise,
// A*B = P2 X^2h + (P1 + P0 + P2) X^h + P0, P1 = (A0+A1)(B0+B1).
std::vector<Signal> karatsuba(Netlist &n, const std::vector<Signal> &a,
                              const std::vector<Signal> &b) {
  const size_t len = a.size();
  if (len <= 3)
    return schoolbook(n, a, b);
  const size_t h = (len + 1) / 2, hi = len - h;
  std::vector<Signal> a0(a.begin(), a.begin() + h), b0(b.begin(), b.begin() + h);
  std::vector<Signal> a1(a.begin() + h, a.end()), b1(b.begin() + h, b.end());
  std::vector<Signal> as(a0), bs(b0);
  for (size_t i = 0; i < hi; ++i) {
    as[i] = xor2(n, a0[i], a1[i]);
    bs[i] = xor2(n, b0[i], b1[i]);
  }
  const std::vector<Signal> p0 = karatsuba(n, a0, b0);
  const std::vector<Signal> p2 = karatsuba(n, a1, b1);
  const std::vector<Signal> p1 = karatsuba(n, as, bs);
  std::vector<std::vector<Signal>> terms(2 * len - 1);
  for (size_t i = 0; i < p0.size(); ++i) {
    terms[i].push_back(p0[i]);
    terms[i + h].push_back(p0[i]);
    terms[i + h].push_back(p1[i]);
  }
  for (size_t i = 0; i < p2.size(); ++i) {
    terms[i + h].push_back(p2[i]);
    terms[i + 2 * h].push_back(p2[i]);
  }
  std::vector<Signal> c(terms.size());
  for (size_t i = 0; i < c.size(); ++i)
    c[i] = xorTree(n, terms[i]);
  return c;
}

// The plain product of the input words by `product`, then its reduction.
template <class Product> void buildReducedProduct(Netlist &n, const Gf2Poly &m, Product product) {
  std::vector<Signal> a(n.k), b(n.k);
  for (unsigned i = 0; i < n.k; ++i) {
    a[i] = n.a(i);
    b[i] = n.b(i);
  }
  reduceProduct(n, product(n, a, b), m);
}

void buildMastrovito(Netlist &n, const Gf2Poly &m) { buildReducedProduct(n, m, schoolbook); }

void buildKaratsuba(Netlist &n, const Gf2Poly &m) { buildReducedProduct(n, m, karatsuba); }

// Bit-serial Montgomery, unrolled: for i = 0..K-1, C := (C + a_i*B + q*m)/X
// with q the constant bit of C + a_i*B, which makes the division exact.
// After K steps C = A*B*X^-K mod m. Adding q*m costs one XOR per middle term
// of m; the top bit of the new C is q itself.
void buildMontgomery(Netlist &n, const Gf2Poly &m) {
  const unsigned k = n.k;
  std::vector<Signal> c(k, kZero), t(k);
  for (unsigned i = 0; i < k; ++i) {
    for (unsigned j = 0; j < k; ++j)
      t[j] = xor2(n, c[j], n.add(GateType::And, n.a(i), n.b(j)));
    const Signal q = t[0];
    for (unsigned j = 0; j + 1 < k; ++j)
      c[j] = m.bit(j + 1) ? xor2(n, t[j + 1], q) : t[j + 1];
    c[k - 1] = q;
  }
  n.outputs = c;
}

} // namespace

const char *kindName(Kind k) {
  switch (k) {
  case Kind::Mastrovito:
    return "mastrovito";
  case Kind::Montgomery:
    return "montgomery";
  case Kind::Karatsuba:
    return "karatsuba";
  }
  return "?";
}

bool parseKind(const std::string &s, Kind &out) {
  for (Kind k : {Kind::Mastrovito, Kind::Montgomery, Kind::Karatsuba})
    if (s == kindName(k)) {
      out = k;
      return true;
    }
  return false;
}

Netlist buildMultiplier(Kind kind, const Gf2Poly &m) {
  assert(m.degree() >= 2);
  Netlist n(static_cast<unsigned>(m.degree()));
  switch (kind) {
  case Kind::Mastrovito:
    buildMastrovito(n, m);
    break;
  case Kind::Montgomery:
    buildMontgomery(n, m);
    break;
  case Kind::Karatsuba:
    buildKaratsuba(n, m);
    break;
  }
  // The outputs get the names z_i, so each must be a gate of its own.
  std::vector<bool> seen(n.numSignals(), false);
  for (Signal s : n.outputs) {
    if (s == kZero || !n.isGate(s) || seen[s]) {
      std::fprintf(stderr, "algen: internal error: output bit is not a gate of its own\n");
      std::abort();
    }
    seen[s] = true;
  }
  return n;
}

Gf2Poly montgomeryFactor(const Gf2Poly &m) {
  const unsigned k = static_cast<unsigned>(m.degree());
  // X^-1 = (m - 1)/X, since m has the constant term 1.
  std::vector<unsigned> e;
  for (unsigned x : m.exponents())
    if (x > 0)
      e.push_back(x - 1);
  const Gf2Poly xinv = Gf2Poly::fromExponents(e);
  const ModArithmetic field(m);
  Gf2Poly r = Gf2Poly::monomial(0), base = xinv;
  for (unsigned p = k; p; p >>= 1) {
    if (p & 1)
      r = field.mul(r, base);
    base = field.mul(base, base);
  }
  return r;
}

} // namespace algen
