// Removal of vertices of in-degree zero, driven by a stack: a vertex is
// pushed the moment its last incoming edge is followed and is taken next, so
// the sort runs depth-first without recursion and in time linear in the size
// of the graph.
#include "topological_sort.h"

#include <cassert>
#include <ostream>
#include <stack>

namespace {

// Vertices whose incoming edges have all been followed, waiting to be output.
// Empty whenever no sort is running.
std::stack<int, std::vector<int>> s;

} // namespace

bool TopologicalSort(const ALGraph &graph, std::vector<int> &inDegree,
                     const std::vector<std::string> &names, std::string &order, std::ostream &out) {
  assert(s.empty());
  const int n = graph.vertexCount;
  assert(inDegree.size() == static_cast<std::size_t>(n) + 1);

  // Pushed in ascending order, so the highest-numbered source comes out first.
  for (int v = 1; v <= n; ++v)
    if (inDegree[v] == 0)
      s.push(v);

  int outputCount = 0;
  while (!s.empty()) {
    const int v = s.top();
    s.pop();
    // Vertex 0 can only appear as the end of an edge; it is no vertex of the
    // graph, so it is dropped without output and its slot is not walked.
    if (v == 0)
      continue;
    const std::string &name = names[graph.vertices[v].vertexNo - 1];
    out << name << ',';
    order += name;
    order += ',';
    ++outputCount;
    // The list runs from the edge read last to the edge read first, so the
    // successors freed here come off the stack in reading order.
    for (const ArcNode *arc = graph.vertices[v].firstArc; arc; arc = arc->nextArc)
      if (--inDegree[arc->toVertex] == 0)
        s.push(arc->toVertex);
  }
  return outputCount >= n;
}
