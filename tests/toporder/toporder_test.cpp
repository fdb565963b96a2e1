// Unit tests of toporder's sort and reading: large graphs checked against the
// order rules, and number parsing at its limits. The order of small graphs,
// cycles and every message are golden cases (tests/golden/toporder).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "graph_reader.h"
#include "topological_sort.h"

namespace {

using Edges = std::vector<std::pair<int, int>>;

std::vector<int> sorted(int n, const Edges &edges) {
  ALGraph graph(n);
  std::vector<int> inDegree(n + 1, 0);
  for (const auto &[start, end] : edges) {
    graph.addArc(start, end);
    ++inDegree[end];
  }
  return topologicalOrder(graph, inDegree);
}

std::vector<int> range(int first, int last, int step = 1) {
  std::vector<int> vertices;
  for (int v = first; step > 0 ? v <= last : v >= last; v += step)
    vertices.push_back(v);
  return vertices;
}

// A million-vertex chain read from its end (no recursion may follow it), a
// million-wide fan-out (successors in reading order) and no edges at all
// (every vertex a source: highest number first).
TEST(TopologicalSort, MillionVertexGraphs) {
  const int n = 1000000;
  Edges chain, fan;
  for (int k = n - 1; k >= 1; --k)
    chain.emplace_back(k, k + 1);
  for (int k = 2; k <= n; ++k)
    fan.emplace_back(1, k);
  EXPECT_EQ(sorted(n, chain), range(1, n));
  EXPECT_EQ(sorted(n, fan), range(1, n));
  EXPECT_EQ(sorted(n, {}), range(n, 1, -1));
}

TEST(TopologicalSort, RandomAcyclicGraphsGiveValidOrders) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 20; ++round) {
    const int n = 1 + static_cast<int>(rng() % 300);
    std::vector<int> rank = range(1, n); // edges go from lower to higher rank
    std::shuffle(rank.begin(), rank.end(), rng);
    Edges edges;
    for (int e = static_cast<int>(rng() % (4 * n)); e > 0; --e) {
      int a = static_cast<int>(rng() % n), b = static_cast<int>(rng() % n);
      if (a != b)
        edges.emplace_back(rank[std::min(a, b)], rank[std::max(a, b)]);
    }
    const std::vector<int> order = sorted(n, edges);
    ASSERT_EQ(order.size(), static_cast<size_t>(n)) << "round " << round;
    std::vector<int> position(n + 1, -1);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(position[order[i]], -1) << "vertex " << order[i] << " output twice";
      position[order[i]] = i;
    }
    for (const auto &[start, end] : edges)
      ASSERT_LT(position[start], position[end]) << start << " -> " << end << ", round " << round;
  }
}

TEST(ReadGraph, NumbersAreCheckedToTheirLimits) {
  const char header[] = "Edge info (start --> end) for each line\n";
  const struct {
    const char *text;
    const char *error; // "" when the file is fine
    bool header;
  } cases[] = {
      {"", "file ends before the vertex count", false},
      {" \n\t", "file ends before the vertex count", false},
      {"3", "file ends before the edge count", false},
      {"+2 0 a b", "", true},
      {"2 -0 a b", "", true},
      {"- 0", "vertex count '-' is not an integer", false},
      {"+ 0", "vertex count '+' is not an integer", false},
      {"+-2 0", "vertex count '+-2' is not an integer", false},
      {"2147483648 0", "vertex count 2147483648 is too large", false},
      {"-2147483649 0", "vertex count -2147483649 is negative", false},
      {"2 -2147483648", "edge count -2147483648 is negative", false},
      {"2 99999999999999999999", "edge count 99999999999999999999 is too large", false},
      {"2 99999999999999999999x", "edge count '99999999999999999999x' is not an integer", false},
      {"0 1 1 0", "edge 1: start vertex 1 is out of range: the graph has no vertices", true},
      {"2 1 -1 2", "edge 1: start vertex -1 is out of range 1..2", true},
      {"2 1 1 -1", "edge 1: end vertex -1 is out of range 0..2", true},
      {"2 1 1 4294967298", "edge 1: end vertex 4294967298 is out of range 0..2", true},
  };
  for (const auto &c : cases) {
    std::istringstream in(c.text);
    std::ostringstream out;
    GraphInput input;
    EXPECT_EQ(readGraph(in, out, input), c.error) << "input: " << c.text;
    EXPECT_EQ(out.str(), c.header ? header : "") << "input: " << c.text;
  }
}

} // namespace
