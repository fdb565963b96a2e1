// The stack-driven topological sort of toporder.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "graph.h"

// Outputs the vertices of `graph` in a topological order: prints each name
// followed by "," to `out` and appends the same text to `order`. Uses up
// `inDegree` (one entry per vertex number 0..n, counting the incoming edges).
// The name of vertex k is names[k - 1]. Returns true when every vertex was
// output, false when a cycle kept some of them back.
//
// The order is fixed: sources are taken from the highest number down; the
// successors freed by a vertex come out in the order their edges were read,
// and each one is followed at once by everything it frees in turn.
bool TopologicalSort(const ALGraph &graph, std::vector<int> &inDegree,
                     const std::vector<std::string> &names, std::string &order, std::ostream &out);
