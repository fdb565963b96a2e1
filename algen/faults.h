// Fault injection: wrong gate types and rewired inputs, each one checked by
// simulation to change the function of the circuit.
#pragma once

#include "netlist.h"

#include <cstdint>
#include <vector>

namespace algen {

struct Fault {
  enum Kind { WrongType, WrongInput } kind;
  Signal gate;
  GateType oldType, newType; // WrongType
  int input;                 // WrongInput: 0 or 1
  Signal oldSource, newSource;
};

// Puts count faults on distinct gates, drawn with a generator seeded by seed.
// A rewired input is taken from the signals made before the gate, so the
// creation order stays topological. Each fault is kept only if random
// simulation shows that it changes the outputs and that the circuit with it
// differs from the fault-free one; otherwise it is undone and redrawn.
// Returns false (netlist unchanged) if count exceeds the gates or no
// visible fault is found within a bounded number of draws.
bool injectFaults(Netlist &n, unsigned count, uint64_t seed, std::vector<Fault> &faults);

} // namespace algen
