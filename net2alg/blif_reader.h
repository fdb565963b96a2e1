// Reading of a combinational BLIF netlist as yosys and ABC write it.
#pragma once

#include <iosfwd>
#include <string>

#include "netlist.h"

namespace net2alg {

// Reads the first model of a BLIF text: .model, .inputs, .outputs, .names
// with its cover, .subckt and .gate lines of the yosys simple cells, .conn,
// "#" comments, "\" line continuations and .end. Timing and attribute
// directives are ignored; latches and flip-flop cells (unless `registers`:
// then they become registers of the netlist), unknown cells and other
// directives are rejected with "source:line: message". Reading stops at the
// end of the first model.
Netlist readBlif(std::istream &in, const std::string &source, bool registers = false);

} // namespace net2alg
