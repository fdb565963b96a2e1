// Registers made transparent (net2alg --flops transparent) and inputs held at
// constants (--tie). A feed-forward pipeline computes, once filled, the
// combinational function of its logic with every register a wire from D to
// Q; that is what gets verified, after checks that make the wire exact:
//   - a synchronous reset must be held inactive and an enable active by the
//     tied inputs (yosys folds such logic from the data path into the cell,
//     so a cell with free controls is not a wire; it is refused);
//   - an asynchronous set or reset is taken as inactive (refused when the
//     ties hold it active);
//   - no register may stand in a loop, and every path from an operand bit to
//     a result bit must cross the same number of registers (the latency).
#pragma once

#include <string>
#include <vector>

#include "netlist.h"

namespace net2alg {

// Holds primary inputs at constants. Each tie is PORT=VALUE: PORT a net or a
// bus of primary inputs (as in the bit lists), VALUE 0, 1, a decimal number
// or 0x and hex digits, bit 0 to the first bit. A tied input becomes a
// constant node of the same name.
void tieInputs(Netlist &nl, const std::vector<std::string> &ties);

// Drops the registers that the nets `outputs` do not depend on (their nets
// lose their driver), so that only the others are checked.
void dropRegistersOutside(Netlist &nl, const std::vector<int> &outputs);

// Refuses, naming the register, any register left whose controls the
// constants of the netlist (the ties) do not make a wire, and any of a kind
// that is never one.
void checkRegisterControls(const Netlist &nl);

// The number of registers that every path from an operand bit to an output
// bit crosses, in an acyclic netlist; refuses unequal numbers, naming the
// two paths. 0 when no output depends on an operand.
int pipelineLatency(const Netlist &nl, const std::vector<int> &outputs,
                    const std::vector<int> &operandBits);

} // namespace net2alg
