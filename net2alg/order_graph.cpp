// Writing the graph file, toporder's sort on it, reading tmp.order.
#include "order_graph.h"

#include <istream>
#include <ostream>

#include "topological_sort.h"

namespace net2alg {

void writeGraph(const OrderGraph &graph, std::ostream &out,
                const std::function<const std::string &(int)> &name) {
  out << graph.vertices << ' ' << graph.edges.size() << '\n';
  for (const auto &e : graph.edges)
    out << e.first + 1 << ' ' << e.second + 1 << '\n';
  for (std::size_t v = 0; v < graph.vertices; ++v)
    out << name(static_cast<int>(v)) << '\n';
}

std::vector<int> stackTopologicalOrder(const OrderGraph &graph) {
  // The graph as toporder reads it: vertices numbered from 1.
  ALGraph g(static_cast<int>(graph.vertices));
  std::vector<int> inDegree(graph.vertices + 1, 0);
  for (const auto &e : graph.edges) {
    g.addArc(e.first + 1, e.second + 1);
    ++inDegree[e.second + 1];
  }
  std::vector<int> order = topologicalOrder(g, inDegree);
  for (int &v : order)
    --v;
  return order;
}

std::vector<std::string> readOrderFile(std::istream &in) {
  std::vector<std::string> names;
  std::string name;
  auto finish = [&]() {
    if (!name.empty())
      names.push_back(name);
    name.clear();
  };
  for (char c; in.get(c);) {
    if (c == ',')
      finish();
    else if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
      name += c;
  }
  finish();
  return names;
}

} // namespace net2alg
