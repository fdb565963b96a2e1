// A self-checking Verilog testbench: it instantiates the design, applies
// each vector, waits the latency (clocking the design when it has a clock),
// compares the outputs with the values gfverify computed, prints one MATCH
// or MISMATCH line per vector and ends with $finish.
#pragma once

#include <string>
#include <vector>

namespace gfverify {

// "8'h3c": a Verilog literal of `bits` (bit 0 first).
std::string hexLiteral(const std::vector<bool> &bits);

struct TbPort {
  std::string name;
  std::size_t width;
  bool input;
};

struct TbCheck {
  std::string port;     // an output port
  std::string expected; // its expected value (literal)
  std::string mask;     // the bits compared (literal)
};

struct TbVector {
  std::string label;               // "witness", "random 1", ...
  std::vector<std::string> inputs; // one literal per input port, in port order
  std::vector<TbCheck> checks;
};

// `clock`: the input toggled every 5 time units (empty: none); after the
// inputs of a vector the bench waits `latency` rising edges (or 1 time unit
// without registers), then compares.
std::string testbench(const std::string &top, const std::vector<TbPort> &ports,
                      const std::string &clock, int latency, const std::vector<TbVector> &vectors,
                      const std::string &comment);

} // namespace gfverify
