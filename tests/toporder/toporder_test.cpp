// Unit tests of toporder's graph reading and sort: large graphs checked
// against the order rules, and number parsing at its limits.
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

struct Sorted {
  bool complete = false;
  std::string order;
};

// Sorts a graph whose vertex k is named by its number k.
Sorted sortNumbered(int n, const Edges &edges) {
  ALGraph graph(n);
  std::vector<int> inDegree(n + 1, 0);
  for (const auto &[start, end] : edges) {
    graph.addArc(start, end);
    ++inDegree[end];
  }
  std::vector<std::string> names(n + 1);
  for (int k = 1; k <= n; ++k)
    names[k - 1] = std::to_string(k);
  std::ostringstream out;
  Sorted result;
  result.complete = TopologicalSort(graph, inDegree, names, result.order, out);
  EXPECT_EQ(out.str(), result.order);
  return result;
}

// The text that the sort produces for the given vertex sequence.
std::string listed(const std::vector<int> &vertices) {
  std::string text;
  for (int v : vertices)
    text += std::to_string(v) + ",";
  return text;
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
  const std::pair<Edges, std::vector<int>> cases[] = {
      {chain, range(1, n)}, {fan, range(1, n)}, {{}, range(n, 1, -1)}};
  for (const auto &[edges, expected] : cases) {
    const Sorted sorted = sortNumbered(n, edges);
    EXPECT_TRUE(sorted.complete);
    EXPECT_EQ(sorted.order, listed(expected));
  }
}

// In a binary tree (children 2k and 2k+1, read left first) each freed child
// is followed by its whole subtree before its sibling: a preorder walk.
TEST(TopologicalSort, FreedVerticesAreFollowedDepthFirst) {
  const int n = (1 << 16) - 1;
  Edges edges;
  for (int k = 1; 2 * k + 1 <= n; ++k) {
    edges.emplace_back(k, 2 * k);
    edges.emplace_back(k, 2 * k + 1);
  }
  std::vector<int> preorder;
  std::vector<int> pending{1};
  while (!pending.empty()) {
    const int k = pending.back();
    pending.pop_back();
    preorder.push_back(k);
    if (2 * k + 1 <= n) {
      pending.push_back(2 * k + 1);
      pending.push_back(2 * k);
    }
  }
  const Sorted sorted = sortNumbered(n, edges);
  EXPECT_TRUE(sorted.complete);
  EXPECT_EQ(sorted.order, listed(preorder));
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
    const Sorted sorted = sortNumbered(n, edges);
    ASSERT_TRUE(sorted.complete) << "round " << round;
    std::vector<int> position(n + 1, -1);
    std::istringstream order(sorted.order);
    std::string name;
    for (int i = 0; std::getline(order, name, ','); ++i) {
      const int v = std::stoi(name);
      ASSERT_EQ(position[v], -1) << "vertex " << v << " output twice, round " << round;
      position[v] = i;
    }
    for (const auto &[start, end] : edges)
      ASSERT_LT(position[start], position[end]) << start << " -> " << end << ", round " << round;
  }
}

TEST(TopologicalSort, CycleHoldsBackWhatItReaches) {
  // 2 and 3 form a cycle; 4 hangs below it; 5 stands alone.
  const Sorted sorted = sortNumbered(5, {{1, 2}, {2, 3}, {3, 2}, {3, 4}});
  EXPECT_FALSE(sorted.complete);
  EXPECT_EQ(sorted.order, "5,1,");
  // The next sort starts from an empty stack.
  EXPECT_EQ(sortNumbered(4, {{1, 3}, {2, 3}, {3, 4}}).order, "2,1,3,4,");
}

struct ReadResult {
  std::string error;
  std::string printed;
  GraphInput input;
};

ReadResult read(const std::string &text) {
  std::istringstream in(text);
  std::ostringstream out;
  ReadResult result;
  result.error = readGraph(in, out, result.input);
  result.printed = out.str();
  return result;
}

const char header[] = "Edge info (start --> end) for each line\n";

TEST(ReadGraph, BuildsListsInReverseReadingOrder) {
  const ReadResult r = read("4 4\r\n1 2\t1 3\n1 0\n1 3\nw x y z trailing tokens");
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.printed, header);
  const ALGraph &g = r.input.graph;
  EXPECT_EQ(g.vertexCount, 4);
  EXPECT_EQ(g.arcCount, 4);
  std::vector<int> ends;
  for (const ArcNode *arc = g.vertices[1].firstArc; arc; arc = arc->nextArc)
    ends.push_back(arc->toVertex);
  EXPECT_EQ(ends, (std::vector<int>{3, 0, 3, 2}));
  EXPECT_EQ(g.vertices[4].vertexNo, 4);
  EXPECT_EQ(g.vertices[4].firstArc, nullptr);
  EXPECT_EQ(r.input.inDegree, (std::vector<int>{1, 0, 1, 2, 0}));
  EXPECT_EQ(r.input.names, (std::vector<std::string>{"w", "x", "y", "z", ""}));
}

TEST(ReadGraph, VertexCountBeyondAFixedTable) {
  const int n = 5000;
  std::string text = std::to_string(n) + " " + std::to_string(n - 1) + "\n";
  for (int k = 1; k < n; ++k)
    text += std::to_string(k + 1) + " " + std::to_string(k) + "\n";
  for (int k = 1; k <= n; ++k)
    text += "v" + std::to_string(k) + "\n";
  ReadResult r = read(text);
  ASSERT_EQ(r.error, "");
  std::string order;
  std::ostringstream out;
  EXPECT_TRUE(TopologicalSort(r.input.graph, r.input.inDegree, r.input.names, order, out));
  std::string expected;
  for (int k = n; k >= 1; --k)
    expected += "v" + std::to_string(k) + ",";
  EXPECT_EQ(order, expected);
}

TEST(ReadGraph, NumbersAreCheckedToTheirLimits) {
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
      {"3x 0", "vertex count '3x' is not an integer", false},
      {"- 0", "vertex count '-' is not an integer", false},
      {"2147483648 0", "vertex count 2147483648 is too large", false},
      {"-2147483649 0", "vertex count -2147483649 is negative", false},
      {"2 -2147483648", "edge count -2147483648 is negative", false},
      {"2 99999999999999999999", "edge count 99999999999999999999 is too large", false},
      {"0 1 1 0", "edge 1: start vertex 1 is out of range: the graph has no vertices", true},
      {"2 1 -1 2", "edge 1: start vertex -1 is out of range 1..2", true},
      {"2 1 1 -1", "edge 1: end vertex -1 is out of range 0..2", true},
      {"2 1 1 4294967298", "edge 1: end vertex 4294967298 is out of range 0..2", true},
      {"2 2 1 2 2 1.5", "edge 2: end vertex '1.5' is not an integer", true},
      {"2 1 1 2 a", "file ends with 1 of 2 names missing", true},
  };
  for (const auto &c : cases) {
    const ReadResult r = read(c.text);
    EXPECT_EQ(r.error, c.error) << "input: " << c.text;
    EXPECT_EQ(r.printed, c.header ? header : "") << "input: " << c.text;
  }
}

} // namespace
