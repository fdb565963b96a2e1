// A local, function-preserving clean-up of a netlist before it becomes
// polynomials, and warnings about the shape of what remains.
//
// Node functions are ANF polynomials over their fanin nets, so the rewrites
// are done on the polynomials rather than per gate kind:
// - a constant, a buffer (the polynomial of one net) or a node that computes
//   what an earlier node computes (same polynomial over the same nets: this
//   is structural hashing) replaces its net everywhere it is used;
// - a small fanin function is substituted into its fanout when the result is
//   no larger (no more non-constant products, no more nets). This removes
//   double inversions, folds inverters and constants into XORs and reduces
//   multiplexers with related data inputs: s ? x : x = x, s ? ~x : x = x + s,
//   s ? x ^ c : x = x + s*c, s ? 1 : 0 = s, s ? a : s = s*a, s ? s : b =
//   s + b + s*b, and the mirrored forms;
// - logic that no kept net uses is dropped.
#pragma once

#include <string>
#include <vector>

#include "netlist.h"
#include "translation.h"

namespace net2alg {

// Returns a netlist with the same nets, inputs and outputs in which every
// primary output and every net of `keep` computes the same function of the
// primary inputs as in `nl`, and which has only the nodes they need. A kept
// net whose function became a constant, another net or a duplicate is
// driven by a constant or buffer node, so that it keeps its name. The
// netlist must be acyclic.
Netlist simplifyNetlist(const Netlist &nl, const std::vector<int> &keep);

// The same as nodes over the nets of `nl`: the new nodes and, per net, the
// index of its node or -1.
void simplifyNodes(const Netlist &nl, const std::vector<int> &keep, std::vector<Node> &nodes,
                   std::vector<int> &driver);

// Polynomials larger than this many terms draw a warning.
constexpr std::size_t kManyTerms = 16;
// Chains of this many multiplexers (each feeding a data input of the next)
// draw a warning.
constexpr std::size_t kLongMuxChain = 8;

// Warnings about gate polynomials that make a single-pass reduction costly:
// gates of more than kManyTerms terms (wide covers), and chains of at least
// kLongMuxChain multiplexers, whose products can multiply at every step.
// Empty when there is nothing to say.
std::vector<std::string> shapeWarnings(const Translation &t);

} // namespace net2alg
