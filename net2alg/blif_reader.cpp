// The BLIF reader: logical lines (comments stripped, continuations joined)
// are split into tokens and dispatched on their directive. A .names cover is
// gathered row by row and becomes a node when the next directive starts.
#include "blif_reader.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <set>
#include <sstream>

#include "cell_library.h"
#include "error.h"

namespace net2alg {
namespace {

// Directives that say nothing about the logic function.
const std::set<std::string> kIgnored = {".default_input_arrival",
                                        ".default_output_required",
                                        ".default_input_drive",
                                        ".default_output_load",
                                        ".default_max_input_load",
                                        ".input_arrival",
                                        ".output_required",
                                        ".input_drive",
                                        ".output_load",
                                        ".max_input_load",
                                        ".wire_load_slope",
                                        ".wire",
                                        ".area",
                                        ".delay",
                                        ".attr",
                                        ".param",
                                        ".cname",
                                        ".clock"};

struct Cover {
  bool open = false;
  std::vector<int> fanins;
  int out = -1;
  std::vector<std::string> cubes;
  char value = 0; // the output column shared by all rows, 0 before the first row
  std::string where;
};

class BlifReader {
public:
  BlifReader(std::istream &in, const std::string &source, bool registers)
      : in_(in), registers_(registers) {
    nl_.source = source;
  }
  Netlist read();

private:
  bool nextLine(std::vector<std::string> &tokens);
  std::string where() const { return nl_.source + ":" + std::to_string(lineNo_); }
  void directive(const std::vector<std::string> &tokens);
  void coverRow(const std::vector<std::string> &tokens);
  void closeCover();
  void cell(const std::vector<std::string> &tokens);
  void flipFlop(const std::vector<std::string> &tokens);

  std::istream &in_;
  bool registers_;
  Netlist nl_;
  unsigned lineNo_ = 0;   // first physical line of the current logical line
  unsigned physical_ = 0; // physical lines read so far
  bool inModel_ = false;
  bool done_ = false;
  Cover cover_;
};

// Reads one logical line and splits it into tokens; false at end of input.
// Comments run from '#' to the end of the physical line; a line that ends in
// '\' continues on the next one.
bool BlifReader::nextLine(std::vector<std::string> &tokens) {
  tokens.clear();
  std::string line, logical;
  bool any = false;
  while (std::getline(in_, line)) {
    ++physical_;
    if (!any)
      lineNo_ = physical_;
    any = true;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos)
      line.erase(hash);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
      line.pop_back();
    if (!line.empty() && line.back() == '\\') {
      line.pop_back();
      logical += line + ' ';
      continue;
    }
    logical += line;
    std::istringstream split(logical);
    for (std::string t; split >> t;)
      tokens.push_back(t);
    if (!tokens.empty())
      return true;
    logical.clear();
    any = false;
  }
  if (!logical.empty()) { // a continuation at the very end of the file
    std::istringstream split(logical);
    for (std::string t; split >> t;)
      tokens.push_back(t);
  }
  return !tokens.empty();
}

Netlist BlifReader::read() {
  std::vector<std::string> tokens;
  while (!done_ && nextLine(tokens)) {
    if (tokens[0][0] == '.')
      directive(tokens);
    else
      coverRow(tokens);
  }
  closeCover();
  return std::move(nl_);
}

void BlifReader::directive(const std::vector<std::string> &tokens) {
  closeCover();
  const std::string &d = tokens[0];
  if (d == ".model") {
    if (inModel_) { // the next model of a hierarchical file: only the first is read
      done_ = true;
      return;
    }
    inModel_ = true;
    nl_.model = tokens.size() > 1 ? tokens[1] : "";
  } else if (d == ".inputs") {
    for (std::size_t k = 1; k < tokens.size(); ++k)
      nl_.addInput(nl_.net(tokens[k]), where());
  } else if (d == ".outputs") {
    for (std::size_t k = 1; k < tokens.size(); ++k)
      nl_.addOutput(nl_.net(tokens[k]), where());
  } else if (d == ".names") {
    if (tokens.size() < 2)
      fail(where() + ": .names needs an output net");
    cover_ = Cover();
    cover_.open = true;
    for (std::size_t k = 1; k + 1 < tokens.size(); ++k)
      cover_.fanins.push_back(nl_.net(tokens[k]));
    cover_.out = nl_.net(tokens.back());
    cover_.where = where();
  } else if (d == ".subckt" || d == ".gate") {
    cell(tokens);
  } else if (d == ".conn") {
    // yosys: ".conn driver alias" makes the second net a copy of the first.
    if (tokens.size() != 3)
      fail(where() + ": .conn needs two nets");
    nl_.addNode(nl_.net(tokens[2]), {nl_.net(tokens[1])}, {0, 1}, where());
  } else if (d == ".latch" && registers_) {
    // ".latch D Q [type control] [init]": a register of the global clock or of `control`.
    if (tokens.size() < 3)
      fail(where() + ": .latch needs an input and an output net");
    nl_.addRegister(nl_.net(tokens[2]), nl_.net(tokens[1]), false, Register{".latch"}, where());
  } else if (d == ".latch" || d == ".mlatch") {
    fail(where() + ": latches are not supported (the netlist must be combinational)");
  } else if (d == ".end") {
    done_ = true;
  } else if (d == ".exdc") {
    fail(where() + ": external don't-care networks (.exdc) are not supported");
  } else if (kIgnored.count(d) == 0) {
    fail(where() + ": unsupported directive '" + d + "'");
  }
}

// One row of the open cover: the input plane and the output value, written
// with or without blanks in between ("10 1", "1 0 1"); a constant cover has
// the output value only.
void BlifReader::coverRow(const std::vector<std::string> &tokens) {
  if (!cover_.open)
    fail(where() + ": '" + tokens[0] + "' stands outside a .names cover");
  std::string row;
  for (const std::string &t : tokens)
    row += t;
  const std::size_t width = cover_.fanins.size();
  if (row.size() != width + 1)
    fail(where() + ": cover row '" + row + "' should have " + std::to_string(width) +
         " input columns and one output column");
  for (std::size_t k = 0; k < width; ++k)
    if (row[k] != '0' && row[k] != '1' && row[k] != '-')
      fail(where() + ": bad character '" + row.substr(k, 1) + "' in cover row '" + row + "'");
  const char value = row[width];
  if (value != '0' && value != '1')
    fail(where() + ": the output column of cover row '" + row + "' must be 0 or 1");
  if (cover_.value && cover_.value != value)
    fail(where() + ": cover rows mix output values 0 and 1");
  cover_.value = value;
  cover_.cubes.push_back(row.substr(0, width));
}

// Turns the gathered cover into a node. Columns that no row tests are
// dropped first: the function does not depend on them.
void BlifReader::closeCover() {
  if (!cover_.open)
    return;
  Cover c = std::move(cover_);
  cover_ = Cover();
  std::vector<int> fanins;
  std::vector<std::string> cubes(c.cubes.size());
  for (std::size_t k = 0; k < c.fanins.size(); ++k) {
    const bool tested = std::any_of(c.cubes.begin(), c.cubes.end(),
                                    [k](const std::string &cube) { return cube[k] != '-'; });
    if (!tested)
      continue;
    fanins.push_back(c.fanins[k]);
    for (std::size_t r = 0; r < c.cubes.size(); ++r)
      cubes[r] += c.cubes[r][k];
  }
  if (fanins.size() > kMaxCoverInputs)
    fail(c.where + ": the cover of '" + nl_.netNames[c.out] + "' depends on " +
         std::to_string(fanins.size()) + " inputs; at most " + std::to_string(kMaxCoverInputs) +
         " are supported");
  const bool onSet = c.value != '0';
  nl_.addNode(c.out, fanins,
              truthTableFromCover(cubes, static_cast<unsigned>(fanins.size()), onSet), c.where);
}

// ".subckt TYPE PIN=NET ..." (or .gate) for one of the simple gate cells.
void BlifReader::cell(const std::vector<std::string> &tokens) {
  if (tokens.size() < 2)
    fail(where() + ": " + tokens[0] + " needs a cell type");
  const std::string &type = tokens[1];
  if (isSequentialCellType(type) && registers_)
    return flipFlop(tokens);
  if (isSequentialCellType(type))
    fail(where() + ": flip-flop and latch cells (" + type +
         ") are not supported (the netlist must be combinational)");
  const CellType *cellType = findCellType(type);
  if (!cellType)
    fail(where() + ": unknown cell type '" + type +
         "' (flatten the design and map it to yosys' simple gates)");
  std::vector<int> fanins(cellType->inputs.size(), -1);
  int out = -1;
  for (std::size_t k = 2; k < tokens.size(); ++k) {
    const std::size_t eq = tokens[k].find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == tokens[k].size())
      fail(where() + ": bad pin connection '" + tokens[k] + "' (expected PIN=NET)");
    const std::string pin = tokens[k].substr(0, eq);
    const int id = nl_.net(tokens[k].substr(eq + 1));
    int *slot = nullptr;
    if (pin == cellType->output) {
      slot = &out;
    } else {
      const auto it = std::find(cellType->inputs.begin(), cellType->inputs.end(), pin);
      if (it == cellType->inputs.end())
        fail(where() + ": cell " + type + " has no pin '" + pin + "'");
      slot = &fanins[it - cellType->inputs.begin()];
    }
    if (*slot >= 0)
      fail(where() + ": pin '" + pin + "' of " + type + " is connected twice");
    *slot = id;
  }
  for (std::size_t k = 0; k < fanins.size(); ++k)
    if (fanins[k] < 0)
      fail(where() + ": pin '" + cellType->inputs[k] + "' of " + type + " is not connected");
  if (out < 0)
    fail(where() + ": pin '" + cellType->output + "' of " + type + " is not connected");
  nl_.addNode(out, fanins, cellType->truth, where());
}

// ".subckt $_SDFFE_PP0P_ C=clk D=d E=en Q=q R=rst": a flip-flop cell with
// its control nets. A cell that cannot be a wire (a latch, an asynchronous
// load, a coarse cell) is kept with the reason, for a message should the
// result depend on it.
void BlifReader::flipFlop(const std::vector<std::string> &tokens) {
  const std::string &type = tokens[1];
  Register reg{type};
  std::string roles, pins, high;
  if (!flipFlopPins(type, roles, pins, high))
    reg.unsupported = type.rfind("$_", 0) == 0 ? "latches and asynchronous loads cannot be wires"
                                               : "a coarse cell: map it to gate cells (techmap)";
  int d = -1, q = -1;
  for (std::size_t k = 2; k < tokens.size(); ++k) {
    const std::size_t eq = tokens[k].find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == tokens[k].size())
      fail(where() + ": bad pin connection '" + tokens[k] + "' (expected PIN=NET)");
    const std::string pin = tokens[k].substr(0, eq);
    const int id = nl_.net(tokens[k].substr(eq + 1));
    const std::size_t at = pin.size() == 1 ? pins.find(pin[0]) : std::string::npos;
    if (pin == "D" || pin == "Q")
      (pin == "D" ? d : q) = id;
    else if (!reg.unsupported.empty() || (at != std::string::npos && roles[at] == 'C'))
      continue;
    else if (at == std::string::npos)
      fail(where() + ": cell " + type + " has no pin '" + pin + "'");
    else if (roles[at] == 'R')
      reg.syncReset = id, reg.syncResetHigh = high[at] == '1';
    else if (roles[at] == 'E')
      reg.enable = id, reg.enableHigh = high[at] == '1';
    else
      reg.async.push_back({id, high[at] == '1'});
  }
  if (d < 0 || q < 0)
    fail(where() + ": pin '" + std::string(d < 0 ? "D" : "Q") + "' of " + type +
         " is not connected");
  nl_.addRegister(q, d, false, std::move(reg), where());
}

} // namespace

Netlist readBlif(std::istream &in, const std::string &source, bool registers) {
  return BlifReader(in, source, registers).read();
}

} // namespace net2alg
