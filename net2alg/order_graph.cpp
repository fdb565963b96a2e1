// Writing the graph file, toporder's sort on it, reading tmp.order.
#include "order_graph.h"

#include <istream>
#include <ostream>

#include "topological_sort.h"

namespace net2alg {

void writeGraph(const OrderGraph &graph, std::ostream &out) {
  out << graph.names.size() << ' ' << graph.edges.size() << '\n';
  for (const auto &e : graph.edges)
    out << e.first + 1 << ' ' << e.second + 1 << '\n';
  for (const std::string &name : graph.names)
    out << name << '\n';
}

std::vector<int> stackTopologicalOrder(const OrderGraph &graph) {
  // The graph as toporder reads it: vertices numbered from 1.
  ALGraph g(static_cast<int>(graph.names.size()));
  std::vector<int> inDegree(graph.names.size() + 1, 0);
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
