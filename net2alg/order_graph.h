// The signal graph in the file format of toporder, and the order in which
// toporder's sort (the toporder library) outputs its vertices.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace net2alg {

struct OrderGraph {
  std::size_t vertices = 0;               // vertex k (0-based) is number k + 1 in the file
  std::vector<std::pair<int, int>> edges; // (from, to), 0-based, in file order
};

// Writes "n m", one edge per line ("from to", numbered from 1), then one
// name per line.
// `name(k)` is the name of vertex k (kept by the caller: a graph of a
// million vertices need not hold a second copy of every name).
void writeGraph(const OrderGraph &graph, std::ostream &out,
                const std::function<const std::string &(int)> &name);

// The vertices (0-based) in the order in which toporder outputs them for the
// graph file: the toporder library's sort. Vertices on or behind a cycle are
// missing from the result.
std::vector<int> stackTopologicalOrder(const OrderGraph &graph);

// The names of an order file as toporder writes it: names separated by
// commas (blanks and line ends around them are ignored).
std::vector<std::string> readOrderFile(std::istream &in);

} // namespace net2alg
