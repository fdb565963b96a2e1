// The signal graph of toporder: a vertex table indexed by vertex number, each
// slot heading the adjacency list of the edges that start at that vertex.
#pragma once

#include <deque>
#include <vector>

// One edge, linked into the adjacency list of its start vertex.
struct ArcNode {
  int toVertex = 0;           // number of the vertex where the edge ends
  ArcNode *nextArc = nullptr; // next edge of the same start vertex; null ends the list
};

// One slot of the vertex table.
struct VNode {
  int vertexNo = 0;            // the vertex's own number
  ArcNode *firstArc = nullptr; // null when the vertex has no outgoing edge
};

// Vertices are numbered from 1 to vertexCount; slot 0 exists so that the table
// can be indexed by vertex number, but is never a vertex. The table is sized to
// the graph, so any vertex count that memory allows fits.
//
// The graph owns its edges. They sit in a deque, which never moves an element
// once it is in place, so the list pointers stay valid while edges are added
// and when the graph is moved. Copying is disabled: a copy would share the
// edges of a graph that may die first.
struct ALGraph {
  std::vector<VNode> vertices; // vertexCount + 1 slots, slot k numbered k
  int vertexCount = 0;
  int arcCount = 0; // edge count announced by the input

  ALGraph() : vertices(1) {}
  explicit ALGraph(int n);
  ALGraph(const ALGraph &) = delete;
  ALGraph &operator=(const ALGraph &) = delete;
  ALGraph(ALGraph &&) = default;
  ALGraph &operator=(ALGraph &&) = default;

  // Links a new edge start -> end in front of the list of `start`, so each
  // list holds its edges in the reverse of the order in which they were added.
  // `start` must be a vertex (1..vertexCount).
  void addArc(int start, int end);

private:
  std::deque<ArcNode> arcs;
};
