// Reading of a graph file: vertex count, edge count, the edges as pairs of
// vertex numbers, then one name per vertex, all as whitespace-separated tokens.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "graph.h"

// Everything the sort needs from one graph file.
struct GraphInput {
  ALGraph graph;
  // Entry k counts the edges that end at vertex k (entry 0 included: an edge
  // may end at vertex 0, which is never output).
  std::vector<int> inDegree;
  // The name of vertex k is at index k - 1; the last entry stays empty.
  std::vector<std::string> names;
};

// Reads a whole graph from `in` into `input`. Once both counts have been read,
// and before any edge is, it prints the edge header line to `out`.
// Returns an empty string on success, otherwise a one-line description of the
// first thing wrong (without the file name). Tokens after the last name are
// not read.
std::string readGraph(std::istream &in, std::ostream &out, GraphInput &input);
