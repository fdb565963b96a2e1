// The ports of the top module as the netlist declares them, and the words
// verified on them: the default Z = A*B on two data inputs and one output,
// or the words the user names.
#pragma once

#include <string>
#include <vector>

#include "netlist.h"

namespace gfverify {

// A port: its name and its bit nets, least significant first (the order in
// which yosys lists them in BLIF, whichever way the port's range was
// declared, so that bit k is 2^k of the port's value in Verilog).
struct Port {
  std::string name;
  std::vector<int> bits;
  bool input;
};

// The ports in declaration order: the primary inputs and outputs grouped by
// their name without the index ("a[3]" belongs to a).
std::vector<Port> portsOf(const net2alg::Netlist &nl);

// A word of the specification and its nets, bit 0 first.
struct Word {
  std::string name;
  std::vector<int> bits;
};

// The default words: Z, A, B when, leaving out the 1-bit inputs (clocks,
// resets, enables) and the tied inputs, the top has exactly two data inputs
// and one data output, all of the same width. Empty, with `why` set, when
// it does not.
std::vector<Word> defaultWords(const std::vector<Port> &ports, const std::vector<std::string> &tied,
                               std::string &why);

// The words given as NAME=BITS (net2alg's bit lists); Z must be one of them
// and comes first.
std::vector<Word> namedWords(const net2alg::Netlist &nl, const std::vector<std::string> &specs);

// A bit list of the nets' names, for net2alg's word options.
std::string bitList(const net2alg::Netlist &nl, const std::vector<int> &bits);

} // namespace gfverify
