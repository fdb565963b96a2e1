// Writing the graph file, reproducing toporder's sort, reading tmp.order.
#include "order_graph.h"

#include <istream>
#include <ostream>
#include <stack>

namespace net2alg {

void writeGraph(const OrderGraph &graph, std::ostream &out) {
  out << graph.names.size() << ' ' << graph.edges.size() << '\n';
  for (const auto &e : graph.edges)
    out << e.first + 1 << ' ' << e.second + 1 << '\n';
  for (const std::string &name : graph.names)
    out << name << '\n';
}

std::vector<int> stackTopologicalOrder(const OrderGraph &graph) {
  const std::size_t n = graph.names.size();
  // Adjacency lists in the order toporder walks them: it inserts each edge
  // at the front of its start vertex's list, so the last edge read comes first.
  std::vector<std::vector<int>> successors(n);
  std::vector<int> inDegree(n, 0);
  for (auto it = graph.edges.rbegin(); it != graph.edges.rend(); ++it)
    successors[it->first].push_back(it->second);
  for (const auto &e : graph.edges)
    ++inDegree[e.second];

  std::stack<int> ready;
  for (std::size_t v = 0; v < n; ++v)
    if (inDegree[v] == 0)
      ready.push(static_cast<int>(v));
  std::vector<int> order;
  while (!ready.empty()) {
    const int v = ready.top();
    ready.pop();
    order.push_back(v);
    for (int w : successors[v])
      if (--inDegree[w] == 0)
        ready.push(w);
  }
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
