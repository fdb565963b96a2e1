// What only algen decides: the minimal polynomial it picks, and the graph
// from which toporder derives a variable order. The circuits themselves are
// proved by polyverify (hardening/no_false_proofs: every correct circuit
// reduces to 0, no faulty one does); the command line is checked by cli.sh.
#include "alg_writer.h"
#include "faults.h"
#include "minpoly.h"
#include "multipliers.h"
#include "poly_text.h"
#include "rng.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

using namespace algen;

// The lowest-weight irreducible polynomials of the published tables (the
// first trinomial, else the first pentanomial) and the standard ones for the
// curve sizes.
TEST(AlgenMinpoly, DefaultPolynomials) {
  for (const char *text :
       {"X^2+X+1", "X^5+X^2+1", "X^8+X^4+X^3+X+1", "X^10+X^3+1", "X^13+X^4+X^3+X+1",
        "X^16+X^5+X^3+X+1", "X^32+X^7+X^3+X^2+1", "X^64+X^4+X^3+X+1", "X^128+X^7+X^2+X+1",
        "X^163+X^7+X^6+X^3+1", "X^233+X^74+1", "X^283+X^12+X^7+X^5+1", "X^409+X^87+1",
        "X^571+X^10+X^5+X^2+1", "X^1223+X^255+1"}) {
    const unsigned k = static_cast<unsigned>(readPolynomialText(text).front());
    EXPECT_EQ(defaultMinpoly(k).toString(), text);
  }
}

namespace {

// The graph text as numbers: successor lists of the vertices 1..n.
std::vector<std::vector<uint32_t>> readGraph(const std::string &text, uint32_t &n) {
  std::istringstream in(text);
  uint32_t m;
  in >> n >> m;
  std::vector<std::vector<uint32_t>> succ(n + 1);
  for (uint32_t u, v; m-- && in >> u >> v;)
    succ[u].push_back(v);
  return succ;
}

std::string render(const Problem &p) {
  char *buf = nullptr;
  size_t len = 0;
  std::FILE *f = open_memstream(&buf, &len);
  {
    OutBuf out(f);
    writeGraph(p, out);
  }
  std::fclose(f);
  std::string s(buf, len);
  std::free(buf);
  return s;
}

} // namespace

// Any topological order of the graph, reversed, is a valid declaration
// order: Z first, every gate above the signals it reads, every gate above A
// and B, A and B above every input bit. Vertex k is the k-th variable of
// algen's own order: Z, the gates of gateOrder, A, B, a0.., b0...
TEST(AlgenGraph, AnyTopologicalOrderReversedIsAValidVariableOrder) {
  for (Kind kind : {Kind::Mastrovito, Kind::Montgomery, Kind::Karatsuba})
    for (unsigned bugs : {0u, 2u}) {
      SCOPED_TRACE(std::string(kindName(kind)) + " bugs=" + std::to_string(bugs));
      const Gf2Poly m = defaultMinpoly(6);
      Problem p{kind, m, buildMultiplier(kind, m), {}, 3};
      ASSERT_TRUE(injectFaults(p.netlist, bugs, 3, p.faults));
      const Netlist &n = p.netlist;
      uint32_t count;
      const auto succ = readGraph(render(p), count);
      ASSERT_EQ(count, variableCount(n));
      // Vertex of each signal; A is vertex gates + 2, B gates + 3.
      const std::vector<Signal> gates = gateOrder(n);
      std::vector<uint32_t> vertex(n.numSignals());
      for (uint32_t i = 0; i < gates.size(); ++i)
        vertex[gates[i]] = i + 2;
      const uint32_t vA = static_cast<uint32_t>(gates.size()) + 2, vB = vA + 1;
      for (Signal s = 0; s < n.numInputs(); ++s)
        vertex[s] = vB + 1 + s;
      for (uint64_t seed = 1; seed <= 5; ++seed) {
        // Random topological order; rank[v] is v's place in its reverse.
        std::vector<uint32_t> indeg(count + 1, 0), ready, rank(count + 1, 0);
        for (const auto &list : succ)
          for (uint32_t v : list)
            ++indeg[v];
        for (uint32_t v = 1; v <= count; ++v)
          if (!indeg[v])
            ready.push_back(v);
        SplitMix64 rng(seed);
        uint32_t left = count;
        while (!ready.empty()) {
          const size_t pick = rng.below(ready.size());
          const uint32_t v = ready[pick];
          ready.erase(ready.begin() + static_cast<long>(pick));
          rank[v] = --left;
          for (uint32_t w : succ[v])
            if (--indeg[w] == 0)
              ready.push_back(w);
        }
        ASSERT_EQ(left, 0u) << "the graph has a cycle";
        EXPECT_EQ(rank[1], 0u) << "Z is not first";
        for (Signal s = n.numInputs(); s < n.numSignals(); ++s) {
          const Gate &g = n.gate(s);
          EXPECT_LT(rank[vertex[s]], rank[vertex[g.in0]]);
          EXPECT_LT(rank[vertex[s]], rank[vertex[g.in1]]);
          EXPECT_LT(rank[vertex[s]], std::min(rank[vA], rank[vB]));
        }
        for (Signal s = 0; s < n.numInputs(); ++s)
          EXPECT_GT(rank[vertex[s]], std::max(rank[vA], rank[vB]));
      }
    }
}
