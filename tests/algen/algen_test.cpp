// algen's circuits checked by an independent reader and simulator: the
// product (Montgomery: A*B*X^-K) against a plain GF(2^K) multiplication,
// the variable order, the faults, the graph and the choice of polynomial.
// Reproducible output, refused fault counts and --poly fields are checked
// on the command line (cli.sh, verify.sh).
#include "alg_sim.h"

#include "alg_writer.h"
#include "faults.h"
#include "minpoly.h"
#include "multipliers.h"
#include "rng.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

using namespace algen;

namespace {

const Kind kKinds[] = {Kind::Mastrovito, Kind::Montgomery, Kind::Karatsuba};

template <class Writer> std::string render(const Problem &p, Writer write) {
  char *buf = nullptr;
  size_t len = 0;
  std::FILE *f = open_memstream(&buf, &len);
  {
    OutBuf out(f);
    write(p, out);
  }
  std::fclose(f);
  std::string s(buf, len);
  std::free(buf);
  return s;
}

Problem makeProblem(Kind kind, const Gf2Poly &m, unsigned bugs = 0, uint64_t seed = 1) {
  Problem p{kind, m, buildMultiplier(kind, m), {}, seed};
  EXPECT_TRUE(injectFaults(p.netlist, bugs, seed, p.faults));
  return p;
}

std::string generate(Kind kind, const Gf2Poly &m, unsigned bugs = 0, uint64_t seed = 1) {
  return render(makeProblem(kind, m, bugs, seed), writeAlg);
}

// Plain GF(2^K) arithmetic on one bit per byte, written for the tests.
using Bits = std::vector<uint8_t>;

Bits mulMod(const Bits &a, const Bits &b, const std::vector<unsigned> &m) {
  const size_t k = a.size();
  Bits p(2 * k, 0);
  for (size_t i = 0; i < k; ++i)
    for (size_t j = 0; j < k; ++j)
      p[i + j] ^= a[i] & b[j];
  for (size_t d = 2 * k - 1; d >= k; --d)
    if (p[d])
      for (unsigned e : m)
        p[d - k + e] ^= 1; // e = k clears p[d]
  p.resize(k);
  return p;
}

// x * X^-K: K times, add m if the constant bit is set, then divide by X.
Bits divideByR(Bits x, const std::vector<unsigned> &m) {
  const size_t k = x.size();
  x.push_back(0);
  for (size_t s = 0; s < k; ++s) {
    if (x[0])
      for (unsigned e : m)
        x[e] ^= 1;
    x.erase(x.begin());
    x.push_back(0);
  }
  x.resize(k);
  return x;
}

Bits lane(const std::vector<uint64_t> &words, unsigned l) {
  Bits r(words.size());
  for (size_t i = 0; i < words.size(); ++i)
    r[i] = (words[i] >> l) & 1;
  return r;
}

Bits expected(Kind kind, const Bits &a, const Bits &b, const std::vector<unsigned> &m) {
  const Bits p = mulMod(a, b, m);
  return kind == Kind::Montgomery ? divideByR(p, m) : p;
}

// Number of the 64 lanes of one word on which the circuit's Z differs from
// the product.
int mismatches(const AlgCircuit &c, Kind kind, const std::vector<uint64_t> &a,
               const std::vector<uint64_t> &b) {
  const std::vector<uint64_t> z = simulate(c, a, b);
  int bad = 0;
  for (unsigned l = 0; l < 64; ++l)
    bad += lane(z, l) != expected(kind, lane(a, l), lane(b, l), c.minpoly);
  return bad;
}

// All 2^(2K) input pairs, 64 per word; returns the number of wrong products.
int exhaustiveMismatches(const AlgCircuit &c, Kind kind) {
  const unsigned k = c.k;
  const uint64_t pairs = uint64_t{1} << (2 * k);
  int bad = 0;
  for (uint64_t base = 0; base < pairs; base += 64) {
    std::vector<uint64_t> a(k, 0), b(k, 0);
    for (unsigned l = 0; l < 64; ++l) {
      const uint64_t p = (base + l) % pairs;
      for (unsigned i = 0; i < k; ++i) {
        a[i] |= ((p >> i) & 1) << l;
        b[i] |= ((p >> (k + i)) & 1) << l;
      }
    }
    bad += mismatches(c, kind, a, b);
  }
  return bad;
}

int randomMismatches(const AlgCircuit &c, Kind kind, unsigned words, uint64_t seed) {
  SplitMix64 rng(seed);
  int bad = 0;
  for (unsigned w = 0; w < words; ++w) {
    std::vector<uint64_t> a(c.k), b(c.k);
    for (unsigned i = 0; i < c.k; ++i) {
      a[i] = rng.next();
      b[i] = rng.next();
    }
    bad += mismatches(c, kind, a, b);
  }
  return bad;
}

AlgCircuit parsed(const std::string &text, bool writtenInOrder = true) {
  AlgCircuit c;
  const std::string err = parseAlg(text, c);
  EXPECT_EQ(err, "");
  EXPECT_EQ(checkOrder(c, writtenInOrder), "");
  return c;
}

// The specification matches the kind; Montgomery's factor c satisfies
// c * X^K = 1 in the field.
void expectSpec(const AlgCircuit &c, Kind kind) {
  if (kind != Kind::Montgomery) {
    EXPECT_EQ(c.spec, "Z+A*B");
    return;
  }
  ASSERT_EQ(c.spec.compare(0, 3, "Z+("), 0) << c.spec;
  const size_t close = c.spec.find(')');
  ASSERT_EQ(c.spec.substr(close), ")*A*B");
  Gf2Poly factor;
  std::string err;
  ASSERT_TRUE(parsePolyText(c.spec.substr(3, close - 3), factor, err)) << err;
  Bits f(c.k, 0);
  for (unsigned e : factor.exponents())
    f[e] = 1;
  Bits one(c.k, 0);
  one[0] = 1;
  EXPECT_EQ(divideByR(one, c.minpoly), f);
}

} // namespace

TEST(AlgenCircuit, SmallFieldsComputeTheProductOnAllInputs) {
  for (Kind kind : kKinds)
    for (unsigned k = 2; k <= 6; ++k) {
      SCOPED_TRACE(std::string(kindName(kind)) + " K=" + std::to_string(k));
      const AlgCircuit c = parsed(generate(kind, defaultMinpoly(k)));
      ASSERT_EQ(c.k, k);
      expectSpec(c, kind);
      EXPECT_EQ(exhaustiveMismatches(c, kind), 0);
    }
}

TEST(AlgenCircuit, LargeFieldsComputeTheProductOnRandomInputs) {
  const std::pair<Kind, unsigned> cases[] = {{Kind::Mastrovito, 163}, {Kind::Montgomery, 163},
                                             {Kind::Karatsuba, 163},  {Kind::Mastrovito, 233},
                                             {Kind::Montgomery, 64},  {Kind::Karatsuba, 100}};
  for (const auto &[kind, k] : cases) {
    SCOPED_TRACE(std::string(kindName(kind)) + " K=" + std::to_string(k));
    const AlgCircuit c = parsed(generate(kind, defaultMinpoly(k)));
    ASSERT_EQ(c.k, k);
    expectSpec(c, kind);
    EXPECT_EQ(randomMismatches(c, kind, 2, k), 0);
  }
}

TEST(AlgenFaults, EveryFaultyCircuitIsWrongAndKeepsAValidOrder) {
  for (Kind kind : kKinds)
    for (unsigned k = 2; k <= 5; ++k)
      for (unsigned bugs : {1u, 3u})
        for (uint64_t seed = 1; seed <= 4; ++seed) {
          SCOPED_TRACE(std::string(kindName(kind)) + " K=" + std::to_string(k) +
                       " bugs=" + std::to_string(bugs) + " seed=" + std::to_string(seed));
          const AlgCircuit c = parsed(generate(kind, defaultMinpoly(k), bugs, seed));
          EXPECT_EQ(c.faultLines, bugs);
          EXPECT_GT(exhaustiveMismatches(c, kind), 0);
        }
  for (Kind kind : kKinds) {
    const AlgCircuit c = parsed(generate(kind, defaultMinpoly(163), 1, 9));
    EXPECT_GT(randomMismatches(c, kind, 4, 3), 0) << kindName(kind);
  }
}

namespace {

// Replaces the variables line (the first line that is no comment).
std::string withVariables(const std::string &text, const std::string &vars) {
  std::istringstream in(text);
  std::string line, out;
  bool done = false;
  while (std::getline(in, line)) {
    if (!done && line.compare(0, 2, "//") != 0) {
      line = vars + ";";
      done = true;
    }
    out += line + "\n";
  }
  return out;
}

// A topological order of the graph text, ties broken at random, reversed
// and joined by ", ".
std::string reversedTopologicalOrder(const std::string &graph, uint64_t seed) {
  std::istringstream in(graph);
  size_t n, m;
  in >> n >> m;
  std::vector<std::vector<size_t>> succ(n + 1);
  std::vector<size_t> indeg(n + 1, 0);
  for (size_t i = 0; i < m; ++i) {
    size_t u, v;
    in >> u >> v;
    EXPECT_TRUE(u >= 1 && u <= n && v >= 1 && v <= n);
    succ[u].push_back(v);
    ++indeg[v];
  }
  std::vector<std::string> names(n + 1);
  for (size_t i = 1; i <= n; ++i)
    in >> names[i];
  std::string extra;
  EXPECT_FALSE(in >> extra) << "tokens after the names";
  SplitMix64 rng(seed);
  std::vector<size_t> ready, order;
  for (size_t v = 1; v <= n; ++v)
    if (!indeg[v])
      ready.push_back(v);
  while (!ready.empty()) {
    const size_t pick = rng.below(ready.size());
    const size_t v = ready[pick];
    ready.erase(ready.begin() + static_cast<long>(pick));
    order.push_back(v);
    for (size_t w : succ[v])
      if (--indeg[w] == 0)
        ready.push_back(w);
  }
  EXPECT_EQ(order.size(), n) << "the graph has a cycle";
  std::string vars;
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    vars += (vars.empty() ? "" : ", ") + names[*it];
  return vars;
}

} // namespace

TEST(AlgenGraph, AnyTopologicalOrderReversedIsAValidVariableOrder) {
  for (Kind kind : kKinds)
    for (unsigned bugs : {0u, 2u}) {
      SCOPED_TRACE(std::string(kindName(kind)) + " bugs=" + std::to_string(bugs));
      const Problem p = makeProblem(kind, defaultMinpoly(5), bugs, 3);
      const std::string alg = render(p, writeAlg), graph = render(p, writeGraph);
      for (uint64_t seed = 1; seed <= 5; ++seed) {
        const std::string order = reversedTopologicalOrder(graph, seed);
        const AlgCircuit c = parsed(withVariables(alg, order), false);
        EXPECT_EQ(c.vars.size(), variableCount(p.netlist));
        EXPECT_EQ(exhaustiveMismatches(c, kind) > 0, bugs > 0);
      }
    }
}

namespace {

// Polynomials over GF(2) of degree < 32 as bit masks, for brute force.
int degree32(uint32_t p) { return p ? 31 - __builtin_clz(p) : -1; }

uint32_t mod32(uint32_t a, uint32_t m) {
  for (int d = degree32(a); d >= degree32(m); d = degree32(a))
    a ^= m << (d - degree32(m));
  return a;
}

bool irreducibleByTrialDivision(uint32_t f) {
  const int n = degree32(f);
  if (n < 1)
    return false;
  for (uint32_t g = 2; degree32(g) <= n / 2; ++g)
    if (mod32(f, g) == 0)
      return false;
  return true;
}

Gf2Poly fromMask(uint32_t mask) {
  Gf2Poly p;
  for (unsigned i = 0; i < 32; ++i)
    if ((mask >> i) & 1)
      p.flip(i);
  return p;
}

} // namespace

TEST(AlgenMinpoly, IrreducibilityTestAgreesWithTrialDivision) {
  for (uint32_t f = 2; f < (1u << 12); ++f)
    ASSERT_EQ(isIrreducible(fromMask(f)), irreducibleByTrialDivision(f)) << fromMask(f).toString();
}

TEST(AlgenMinpoly, DefaultIsTheFirstIrreducibleOfLowestWeight) {
  for (unsigned k = 2; k <= 20; ++k) {
    const std::vector<unsigned> e = defaultMinpoly(k).exponents();
    uint32_t mask = 0;
    for (unsigned x : e)
      mask |= 1u << x;
    SCOPED_TRACE(fromMask(mask).toString());
    ASSERT_TRUE(e.size() == 3 || e.size() == 5);
    EXPECT_EQ(e.front(), k);
    EXPECT_TRUE(irreducibleByTrialDivision(mask));
    // No irreducible trinomial before it, nor a pentanomial with smaller
    // (a, b, c) in lexicographic order.
    const unsigned t = e.size() == 3 ? e[1] : k;
    for (unsigned s = 1; s < t; ++s)
      EXPECT_FALSE(irreducibleByTrialDivision((1u << k) | (1u << s) | 1u)) << s;
    if (e.size() != 5)
      continue;
    for (unsigned a = 3; a <= e[1]; ++a)
      for (unsigned b = 2; b < a; ++b)
        for (unsigned c = 1; c < b; ++c) {
          if (std::vector<unsigned>{a, b, c} < std::vector<unsigned>{e[1], e[2], e[3]}) {
            EXPECT_FALSE(
                irreducibleByTrialDivision((1u << k) | (1u << a) | (1u << b) | (1u << c) | 1u));
          }
        }
  }
}

TEST(AlgenMinpoly, StandardPolynomialsForTheCurveSizes) {
  for (const char *m : {"X^163+X^7+X^6+X^3+1", "X^233+X^74+1", "X^283+X^12+X^7+X^5+1",
                        "X^409+X^87+1", "X^571+X^10+X^5+X^2+1"}) {
    const Gf2Poly p = defaultMinpoly(static_cast<unsigned>(std::atoi(m + 2)));
    EXPECT_EQ(p.toString(), m);
    EXPECT_TRUE(isIrreducible(p)) << m;
  }
  EXPECT_FALSE(isIrreducible(Gf2Poly::fromExponents({571, 10, 5, 3, 0})));
}

TEST(AlgenMinpoly, PolynomialText) {
  Gf2Poly p;
  std::string err;
  ASSERT_TRUE(parsePolyText(" X^8 + X^4+X^3 +X+1", p, err)) << err;
  EXPECT_EQ(p.toString(), "X^8+X^4+X^3+X+1");
  ASSERT_TRUE(parsePolyText("1+X+X^8+X^3+X^4", p, err)) << err;
  EXPECT_EQ(p.toString(), "X^8+X^4+X^3+X+1");
  for (const char *bad : {"", "X^8+", "X^8++1", "+X", "X^8+X^8+1", "Y^3+1", "X^+1", "x^3+1",
                          "X^3-1", "X^3+1;", "X^99999+1"})
    EXPECT_FALSE(parsePolyText(bad, p, err)) << bad;
}
