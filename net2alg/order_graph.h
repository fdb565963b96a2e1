// The signal graph in the file format of toporder, and the order in which
// toporder's stack-driven sort outputs its vertices.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace net2alg {

// Largest number of vertices that toporder's vertex table holds.
constexpr std::size_t kToporderMaxVertices = 2499;

struct OrderGraph {
  std::vector<std::string> names;         // vertex k (0-based) is number k + 1 in the file
  std::vector<std::pair<int, int>> edges; // (from, to), 0-based, in file order
};

// Writes "n m", one edge per line ("from to", numbered from 1), then one
// name per line.
void writeGraph(const OrderGraph &graph, std::ostream &out);

// The vertices in the order in which toporder outputs them: the vertices
// without incoming edges are pushed on a stack in ascending number; the top
// vertex is output and its edges are followed from the one read last to the
// one read first, each vertex pushed at once when its last incoming edge has
// been followed. Vertices on or behind a cycle are missing from the result.
std::vector<int> stackTopologicalOrder(const OrderGraph &graph);

// The names of an order file as toporder writes it: names separated by
// commas (blanks and line ends around them are ignored).
std::vector<std::string> readOrderFile(std::istream &in);

} // namespace net2alg
