// Removal of vertices of in-degree zero, driven by a stack: a vertex is
// pushed the moment its last incoming edge is followed and is taken next, so
// the sort runs depth-first without recursion and in time linear in the size
// of the graph.
#include "topological_sort.h"

#include <cassert>
#include <ostream>

std::vector<int> topologicalOrder(const ALGraph &graph, std::vector<int> &inDegree) {
  const int n = graph.vertexCount;
  assert(inDegree.size() == static_cast<std::size_t>(n) + 1);

  // Vertices whose incoming edges have all been followed, waiting to be
  // output; pushed in ascending order, so the highest-numbered source comes
  // out first.
  std::vector<int> stack;
  for (int v = 1; v <= n; ++v)
    if (inDegree[v] == 0)
      stack.push_back(v);

  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  while (!stack.empty()) {
    const int v = stack.back();
    stack.pop_back();
    // Vertex 0 can only appear as the end of an edge; it is no vertex of the
    // graph, so it is dropped without output and its slot is not walked.
    if (v == 0)
      continue;
    order.push_back(graph.vertices[v].vertexNo);
    // The list runs from the edge read last to the edge read first, so the
    // successors freed here come off the stack in reading order.
    for (const ArcNode *arc = graph.vertices[v].firstArc; arc; arc = arc->nextArc)
      if (--inDegree[arc->toVertex] == 0)
        stack.push_back(arc->toVertex);
  }
  return order;
}

bool TopologicalSort(const ALGraph &graph, std::vector<int> &inDegree,
                     const std::vector<std::string> &names, std::string &order, std::ostream &out) {
  const std::vector<int> vertices = topologicalOrder(graph, inDegree);
  for (int v : vertices) {
    const std::string &name = names[v - 1];
    out << name << ',';
    order += name;
    order += ',';
  }
  return vertices.size() >= static_cast<std::size_t>(graph.vertexCount);
}
