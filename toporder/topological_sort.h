// The stack-driven topological sort of toporder.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "graph.h"

// The vertex numbers of `graph` in a topological order. Uses up `inDegree`
// (one entry per vertex number 0..n, counting the incoming edges). When a
// cycle keeps vertices back, the result holds only those output before it.
//
// The order is fixed: sources are taken from the highest number down; the
// successors freed by a vertex come out in the order their edges were read,
// and each one is followed at once by everything it frees in turn.
std::vector<int> topologicalOrder(const ALGraph &graph, std::vector<int> &inDegree);

// Outputs the vertices of `graph` in that order: prints each name
// followed by "," to `out` and appends the same text to `order`. Uses up
// `inDegree` (one entry per vertex number 0..n, counting the incoming edges).
// The name of vertex k is names[k - 1]. Returns true when every vertex was
// output, false when a cycle kept some of them back.
bool TopologicalSort(const ALGraph &graph, std::vector<int> &inDegree,
                     const std::vector<std::string> &names, std::string &order, std::ostream &out);
