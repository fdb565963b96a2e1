// The simple gate cells that yosys writes as ".subckt" or ".gate" lines
// ($_AND_, $_MUX_, ...): their pins and their functions as truth tables.
#pragma once

#include <string>
#include <vector>

#include "anf.h"

namespace net2alg {

struct CellType {
  std::vector<std::string> inputs; // input pins; pin k is bit k of a truth-table index
  std::string output;              // the output pin
  TruthTable truth;
};

// The cell type of that name, or null when the name is not a known
// combinational cell.
const CellType *findCellType(const std::string &name);

// True for the names of yosys' flip-flop and latch cells, which a
// combinational netlist must not contain.
bool isSequentialCellType(const std::string &name);

// The controls of a yosys flip-flop cell type, from the letters of its name
// ($_SDFFE_PN0P_: clock on the rising edge, synchronous reset active low to
// 0, enable active high). `pins` receives the role of each control pin:
// 'C' clock, 'R' synchronous reset, 'A' asynchronous set or reset, 'E'
// enable; `high` whether it is active high. Returns false for the cells
// that cannot be a wire (latches, asynchronous load, coarse cells).
bool flipFlopPins(const std::string &type, std::string &roles, std::string &pins,
                  std::string &high);

} // namespace net2alg
