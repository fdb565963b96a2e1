// Construction of the vertex table and insertion of edges.
#include "graph.h"

#include <cassert>
#include <cstddef>

ALGraph::ALGraph(int n) : vertices(static_cast<std::size_t>(n) + 1), vertexCount(n) {
  assert(n >= 0);
  for (int k = 1; k <= n; ++k)
    vertices[k].vertexNo = k;
}

void ALGraph::addArc(int start, int end) {
  assert(start >= 1 && start <= vertexCount);
  ArcNode &arc = arcs.emplace_back();
  arc.toVertex = end;
  arc.nextArc = vertices[start].firstArc;
  vertices[start].firstArc = &arc;
}
