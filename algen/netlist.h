// A gate-level GF(2^K) multiplier: 2-input gates over GF(2) in creation
// order, which is a topological order (every gate reads only signals made
// before it). Signals 0..K-1 are the bits a0..a(K-1) of A, K..2K-1 the bits
// of B, and signal 2K+i is the output of gate i.
//
// The 'Gate' array is the one big structure (a 571-bit Mastrovito circuit
// has about 650 000 gates), so a gate is a plain 12-byte record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace algen {

using Signal = uint32_t;

enum class GateType : uint8_t { And, Xor, Or };

const char *gateTypeName(GateType t);

struct Gate {
  GateType type;
  Signal in0, in1;
};

struct Netlist {
  unsigned k = 0;
  std::vector<Gate> gates;
  std::vector<Signal> outputs; // outputs[i] is the signal of bit z_i of Z

  explicit Netlist(unsigned width) : k(width) {}

  Signal a(unsigned i) const { return i; }
  Signal b(unsigned i) const { return k + i; }
  Signal numInputs() const { return 2 * k; }
  Signal numSignals() const { return numInputs() + static_cast<Signal>(gates.size()); }
  bool isGate(Signal s) const { return s >= numInputs(); }
  Gate &gate(Signal s) { return gates[s - numInputs()]; }
  const Gate &gate(Signal s) const { return gates[s - numInputs()]; }

  Signal add(GateType t, Signal x, Signal y) {
    gates.push_back(Gate{t, x, y});
    return numSignals() - 1;
  }
};

// Evaluates the netlist on 64 input vectors at once: values must hold
// numSignals() words with the input bits filled in; every gate word is
// computed in creation order.
void simulate(const Netlist &n, std::vector<uint64_t> &values);

} // namespace algen
