// Reading of combinational AIGER files, ASCII (.aag) and binary (.aig).
#pragma once

#include <iosfwd>
#include <string>

#include "netlist.h"

namespace net2alg {

// Reads an AIGER file (the header decides between ASCII and binary) with
// its symbol table, if any. Nets are named after the symbols; without one an
// input k is "i[k]", an output k "o[k]" and the AND gate of variable v "n<v>".
// An AND gate that an output uses uninverted takes the output's name; any
// other output (inverted, constant, an input, a second output of the same
// gate) becomes a buffer or inverter node of its own, so every output is a
// net. Latches are rejected unless `registers` (then they become registers
// of the netlist, named after their "l" symbols or "l[k]"); the properties
// of AIGER 1.9 always are.
Netlist readAiger(std::istream &in, const std::string &source, bool registers = false);

} // namespace net2alg
