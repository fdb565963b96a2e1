// libFuzzer target for toporder: reads a graph file from the input bytes
// and sorts it, through the same library calls as the program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "graph_reader.h"
#include "topological_sort.h"

namespace {

// Vertex counts above this are skipped: the vertex table is sized to the
// count, and a huge table only makes each run slow, not more interesting.
constexpr long kMaxVertices = 1 << 16;

// The first token, read as the reader will read the vertex count.
bool vertexCountTooLarge(const std::string &text) {
  std::istringstream in(text);
  std::string token;
  if (!(in >> token))
    return false;
  char *end = nullptr;
  const long n = std::strtol(token.c_str(), &end, 10);
  return n > kMaxVertices;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  if (vertexCountTooLarge(text))
    return -1;
  std::istringstream in(text);
  std::ostringstream out;
  GraphInput input;
  const std::string error = readGraph(in, out, input);
  if (!error.empty()) {
    // A rejected file is described in one line.
    if (error.find('\n') != std::string::npos)
      std::abort();
    return 0;
  }
  const int n = input.graph.vertexCount;
  if (static_cast<int>(input.inDegree.size()) != n + 1 ||
      static_cast<int>(input.names.size()) != n + 1)
    std::abort();

  std::string order;
  std::ostringstream sorted;
  const bool complete = TopologicalSort(input.graph, input.inDegree, input.names, order, sorted);
  // The console shows exactly what tmp.order receives (before its last comma
  // is dropped), and a complete order holds every name once.
  if (sorted.str() != order)
    std::abort();
  if (complete) {
    std::size_t expected = 0;
    for (int k = 0; k < n; ++k)
      expected += input.names[k].size() + 1;
    if (order.size() != expected)
      std::abort();
  }
  return 0;
}
