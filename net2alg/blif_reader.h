// Reading of a BLIF netlist as yosys and ABC write it, hierarchical or flat.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "netlist.h"

namespace net2alg {

// Reads a BLIF text into one flat netlist: .model, .inputs, .outputs, .names
// with its cover, .subckt and .gate lines of the yosys simple cells, .conn,
// "#" comments, "\" line continuations and .end. Timing and attribute
// directives are ignored; latches and flip-flop cells (unless `registers`:
// then they become registers of the netlist), unknown cells and other
// directives are rejected with "source:line: message".
//
// The netlist is the model `top`, or the first model when `top` is empty.
// A ".subckt MODEL PORT=NET ..." of a model of the same file is an instance:
// that model is read in its place (recursively), its ports bound to the
// given nets and its other nets named "INSTANCE.net", INSTANCE being the
// name of a ".cname" line that follows the .subckt (yosys write_blif -cname;
// a leading '\' dropped), else the model's name after its last '\' with
// _1, _2, ... per model in the parent. Models that the top does not use are
// not read; a model that instantiates itself is an error.
Netlist readBlif(std::istream &in, const std::string &source, bool registers = false,
                 const std::string &top = "");
// The same for a text already in memory (a mapped file).
Netlist readBlifText(std::string_view text, const std::string &source, bool registers = false,
                     const std::string &top = "");

} // namespace net2alg
