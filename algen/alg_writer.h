// Writes a multiplier as a .alg problem, and the signal graph from which
// toporder derives an equivalent variable order.
//
// Variable order (first declared = highest): Z; the output bits that feed
// no gate, z0 first; the remaining gates in reverse creation order; A; B;
// a0..a(K-1); b0..b(K-1). Every gate stands above the signals it reads and
// above every primary input, so reducing the specification once through
// the generators, in this order, leaves a polynomial in the input bits only,
// which is zero exactly when the circuit is correct.
#pragma once

#include "faults.h"
#include "gf2_poly.h"
#include "multipliers.h"
#include "netlist.h"
#include "out_buf.h"

#include <cstdint>
#include <vector>

namespace algen {

struct Problem {
  Kind kind;
  Gf2Poly minpoly;
  Netlist netlist;
  std::vector<Fault> faults;
  uint64_t seed = 0;
};

// The gates from the highest to the lowest in the variable order.
std::vector<Signal> gateOrder(const Netlist &n);

// Number of declared variables: Z, A, B, the gates and the 2K input bits.
uint64_t variableCount(const Netlist &n);

void writeAlg(const Problem &p, OutBuf &out);
void writeGraph(const Problem &p, OutBuf &out);

} // namespace algen
