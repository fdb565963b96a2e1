// The BLIF reader. The whole text is read into one buffer and split into
// logical lines (comments stripped, continuations joined) whose tokens are
// views into that buffer. A first pass only finds the .model lines; the top
// model is then read directive by directive, and every .subckt of a model of
// the file is read in its turn as an instance: its nets are renamed into the
// instance's scope ("inst.net") or bound to the nets of the parent.
#include "blif_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <istream>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "cell_library.h"
#include "error.h"

namespace net2alg {
namespace {

// Directives that say nothing about the logic function (.cname is read
// where it names an instance of a model).
const std::unordered_set<std::string_view> kIgnored = {".default_input_arrival",
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

using Tokens = std::vector<std::string_view>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// A position in the text: the byte offset and the physical lines before it.
struct Cursor {
  std::size_t pos = 0;
  unsigned physical = 0;
};

// Reads one logical line from `at` and splits it into tokens; false at the
// end of the text. Comments run from '#' to the end of the physical line; a
// line that ends in '\' continues on the next one. `lineNo` receives the
// first physical line of the logical line.
bool nextLine(std::string_view text, Cursor &at, Tokens &tokens, unsigned &lineNo) {
  tokens.clear();
  bool any = false;
  while (at.pos < text.size()) {
    const std::size_t start = at.pos;
    const char *nl =
        static_cast<const char *>(std::memchr(text.data() + start, '\n', text.size() - start));
    const std::size_t end = nl ? static_cast<std::size_t>(nl - text.data()) : text.size();
    at.pos = nl ? end + 1 : end;
    ++at.physical;
    if (!any)
      lineNo = at.physical;
    any = true;
    std::size_t stop = end;
    const void *hash = std::memchr(text.data() + start, '#', end - start);
    if (hash)
      stop = static_cast<std::size_t>(static_cast<const char *>(hash) - text.data());
    while (stop > start && isBlank(text[stop - 1]))
      --stop;
    const bool continued = stop > start && text[stop - 1] == '\\';
    if (continued)
      --stop;
    for (std::size_t k = start; k < stop;) {
      while (k < stop && isBlank(text[k]))
        ++k;
      const std::size_t first = k;
      while (k < stop && !isBlank(text[k]))
        ++k;
      if (k > first)
        tokens.push_back(text.substr(first, k - first));
    }
    if (continued)
      continue;
    if (!tokens.empty())
      return true;
    any = false;
  }
  return !tokens.empty();
}

std::string str(std::string_view s) { return std::string(s); }

// A model of the file: its name and the position of its .model line; for
// an estimate of the flattened size, the lines that define a node and the
// cell types of its .subckt and .gate lines.
struct Model {
  std::string_view name;
  Cursor at;
  std::size_t nodeLines = 0;
  std::vector<std::string_view> cells = {};
};

// An instance of a model of the file, read when its parent model ends.
struct Instance {
  std::size_t model;
  std::string name;                                   // empty: named after the model
  std::vector<std::pair<std::string_view, int>> pins; // formal port -> net of the parent
  unsigned line;
};

// The scope of the model being read: how its net names become nets.
struct Scope {
  std::string prefix;                             // "" at the top, else "inst." (nested: "a.b.")
  std::unordered_map<std::string_view, int> pins; // formal port -> net of the parent
  bool top = true;
};

struct Cover {
  bool open = false;
  std::vector<int> fanins;
  int out = -1;
  std::string rows;      // the input planes of the rows, fanins.size() characters each
  std::size_t count = 0; // rows
  char value = 0;        // the output column shared by all rows, 0 before the first row
  unsigned line = 0;
};

class BlifReader {
public:
  BlifReader(std::string_view text, const std::string &source, bool registers)
      : text_(text), prefix_(Location::intern(source + ":")), registers_(registers) {
    nl_.source = source;
  }
  Netlist read(const std::string &top);
  Location at(unsigned line) const { return Location(prefix_, line); }

private:
  std::string where(unsigned line) const { return nl_.source + ":" + std::to_string(line); }
  std::string where() const { return where(lineNo_); }
  void indexModels();
  std::size_t flatNodes(std::size_t model, std::vector<std::size_t> &memo) const;
  void readModel(Cursor at, Scope &scope, std::vector<std::size_t> &stack);
  int net(std::string_view name);
  void directive(const Tokens &tokens, std::vector<Instance> &instances);
  void coverRow(const Tokens &tokens);
  void closeCover();
  void cell(const Tokens &tokens, std::vector<Instance> &instances);
  void flipFlop(const Tokens &tokens);

  std::string_view text_;     // the caller keeps the text alive while reading
  const std::string *prefix_; // "source:" for the locations of nodes
  bool registers_;
  Netlist nl_;
  std::vector<Model> models_;
  std::unordered_map<std::string_view, std::size_t> modelIndex_;
  Scope *scope_ = nullptr;
  std::string scratch_; // a prefixed net name being looked up
  unsigned lineNo_ = 0; // first physical line of the current logical line
  bool modelSeen_ = false;
  bool done_ = false;
  bool afterInstance_ = false; // the previous directive was an instance (for .cname)
  std::unordered_set<std::string_view> formals_; // ports declared by the instance being read
  Cover cover_;
  std::vector<int> coverFanins_;          // the columns of the cover that a row tests:
  std::vector<std::size_t> coverColumns_; // their nets and their positions
  TruthTable truth_;                      // the truth table of a cover of over 5 inputs
  Tokens tokens_;
};

void BlifReader::indexModels() {
  Cursor at;
  Tokens tokens;
  unsigned line = 0;
  // The model that the lines belong to (text before the first .model line
  // to the first model), none after a repeated .model name.
  std::size_t current = 0;
  std::size_t looseLines = 0;
  for (Cursor before = at; nextLine(text_, at, tokens, line); before = at) {
    const std::string_view d = tokens[0];
    if (d == ".model") {
      const std::string_view name = tokens.size() > 1 ? tokens[1] : std::string_view();
      current = SIZE_MAX;
      if (modelIndex_.count(name) == 0) {
        current = models_.size();
        modelIndex_.emplace(name, models_.size());
        models_.push_back({name, before});
        if (current == 0)
          models_.back().nodeLines = looseLines;
      }
      continue;
    }
    if (d.size() < 5 || d[0] != '.')
      continue;
    const bool cell = (d == ".subckt" || d == ".gate") && tokens.size() > 1;
    if (!cell && d != ".names" && d != ".conn" && d != ".latch")
      continue;
    if (models_.empty())
      ++looseLines;
    else if (current != SIZE_MAX && cell)
      models_[current].cells.push_back(tokens[1]);
    else if (current != SIZE_MAX)
      ++models_[current].nodeLines;
  }
}

// About how many nodes a model has once its instances are flattened (a
// model in its own hierarchy counts once; reading refuses it anyway).
std::size_t BlifReader::flatNodes(std::size_t model, std::vector<std::size_t> &memo) const {
  constexpr std::size_t kBusy = SIZE_MAX;
  if (memo[model] == kBusy)
    return 0;
  if (memo[model] != 0)
    return memo[model] - 1;
  memo[model] = kBusy;
  std::size_t nodes = models_[model].nodeLines;
  for (const std::string_view type : models_[model].cells) {
    const auto it = modelIndex_.find(type);
    nodes += it == modelIndex_.end() ? 1 : flatNodes(it->second, memo);
  }
  memo[model] = nodes + 1;
  return nodes;
}

Netlist BlifReader::read(const std::string &top) {
  indexModels();
  Cursor start;
  std::vector<std::size_t> stack;
  if (!top.empty()) {
    const auto it = modelIndex_.find(top);
    if (it == modelIndex_.end())
      fail(nl_.source + ": no model '" + top + "'");
    start = models_[it->second].at;
    stack.push_back(it->second);
  } else if (!models_.empty()) {
    stack.push_back(0); // the first model, with any text before its .model line
  }
  if (!stack.empty()) {
    // Room for the whole flattened netlist saves growing its arrays step by
    // step; nets are about as many as nodes.
    std::vector<std::size_t> memo(models_.size(), 0);
    const std::size_t nodes = flatNodes(stack.back(), memo);
    nl_.nodes.reserve(nodes);
    nl_.reserveNets(nodes + nodes / 4);
  }
  Scope scope;
  readModel(start, scope, stack);
  return std::move(nl_);
}

// Reads one model from its .model line (or the start of the text) to its
// .end or the next .model, then the instances of models it holds.
void BlifReader::readModel(Cursor at, Scope &scope, std::vector<std::size_t> &stack) {
  Scope *const outer = scope_;
  scope_ = &scope;
  modelSeen_ = false;
  done_ = false;
  afterInstance_ = false;
  std::vector<Instance> instances;
  while (!done_ && nextLine(text_, at, tokens_, lineNo_)) {
    if (tokens_[0][0] == '.')
      directive(tokens_, instances);
    else
      coverRow(tokens_);
  }
  closeCover();
  if (!scope.top)
    for (const auto &pin : scope.pins)
      if (!formals_.count(pin.first))
        fail(where(lineNo_) + ": model '" + str(models_[stack.back()].name) + "' has no port '" +
             str(pin.first) + "'");

  std::unordered_map<std::string_view, unsigned> count; // unnamed instances per base name
  for (Instance &inst : instances) {
    if (std::find(stack.begin(), stack.end(), inst.model) != stack.end())
      fail(where(inst.line) + ": model '" + str(models_[inst.model].name) +
           "' instantiates itself (a recursive hierarchy cannot be flattened)");
    if (inst.name.empty()) {
      // "$paramod$...\name" -> name, then _1, _2, ... per such name.
      std::string_view base = models_[inst.model].name;
      const std::size_t slash = base.rfind('\\');
      if (slash != std::string_view::npos)
        base.remove_prefix(slash + 1);
      inst.name = str(base) + "_" + std::to_string(++count[base]);
    } else if (inst.name[0] == '\\') {
      inst.name.erase(0, 1);
    }
    Scope sub;
    sub.top = false;
    sub.prefix = scope.prefix + inst.name + ".";
    for (const auto &[formal, id] : inst.pins)
      if (!sub.pins.emplace(formal, id).second)
        fail(where(inst.line) + ": pin '" + str(formal) + "' of " + str(models_[inst.model].name) +
             " is connected twice");
    stack.push_back(inst.model);
    formals_.clear();
    readModel(models_[inst.model].at, sub, stack);
    stack.pop_back();
  }
  scope_ = outer;
}

// The net of a name in the current scope: a formal port bound by the
// instance is the parent's net, any other name is local to the instance:
// "inst.name", or "$flatten\inst.$name" for a generated one.
int BlifReader::net(std::string_view name) {
  Scope &s = *scope_;
  if (s.top)
    return nl_.net(name);
  const auto it = s.pins.find(name);
  if (it != s.pins.end())
    return it->second;
  // A yosys-generated name ("$and$...") gets yosys's own prefix of
  // flattened internal names, so that it still reads as generated.
  scratch_.assign(!name.empty() && name[0] == '$' ? "$flatten\\" : "");
  scratch_.append(s.prefix);
  scratch_.append(name);
  return nl_.net(scratch_);
}

void BlifReader::directive(const Tokens &tokens, std::vector<Instance> &instances) {
  closeCover();
  const std::string_view d = tokens[0];
  const bool afterInstance = afterInstance_;
  afterInstance_ = false;
  if (d == ".model") {
    if (modelSeen_) { // the next model: this one ends here
      done_ = true;
      return;
    }
    modelSeen_ = true;
    if (scope_->top)
      nl_.model = tokens.size() > 1 ? str(tokens[1]) : "";
  } else if (d == ".inputs" || d == ".outputs") {
    const bool input = d == ".inputs";
    for (std::size_t k = 1; k < tokens.size(); ++k) {
      if (!scope_->top) {
        formals_.insert(tokens[k]);
        continue;
      }
      if (input)
        nl_.addInput(net(tokens[k]), where());
      else
        nl_.addOutput(net(tokens[k]), where());
    }
  } else if (d == ".names") {
    if (tokens.size() < 2)
      fail(where() + ": .names needs an output net");
    cover_.open = true;
    cover_.fanins.clear();
    cover_.rows.clear();
    cover_.count = 0;
    cover_.value = 0;
    for (std::size_t k = 1; k + 1 < tokens.size(); ++k)
      cover_.fanins.push_back(net(tokens[k]));
    cover_.out = net(tokens.back());
    cover_.line = lineNo_;
  } else if (d == ".subckt" || d == ".gate") {
    cell(tokens, instances);
  } else if (d == ".cname" && afterInstance && tokens.size() > 1) {
    instances.back().name = str(tokens[1]);
  } else if (d == ".conn") {
    // yosys: ".conn driver alias" makes the second net a copy of the first.
    if (tokens.size() != 3)
      fail(where() + ": .conn needs two nets");
    nl_.addNode(net(tokens[2]), {net(tokens[1])}, {0, 1}, at(lineNo_));
  } else if (d == ".latch" && registers_) {
    // ".latch D Q [type control] [init]": a register of the global clock or of `control`.
    if (tokens.size() < 3)
      fail(where() + ": .latch needs an input and an output net");
    nl_.addRegister(net(tokens[2]), net(tokens[1]), false, Register{".latch"}, at(lineNo_));
  } else if (d == ".latch" || d == ".mlatch") {
    fail(where() + ": latches are not supported (the netlist must be combinational)");
  } else if (d == ".end") {
    done_ = true;
  } else if (d == ".exdc") {
    fail(where() + ": external don't-care networks (.exdc) are not supported");
  } else if (kIgnored.count(d) == 0) {
    fail(where() + ": unsupported directive '" + str(d) + "'");
  }
}

// One row of the open cover: the input plane and the output value, written
// with or without blanks in between ("10 1", "1 0 1"); a constant cover has
// the output value only.
void BlifReader::coverRow(const Tokens &tokens) {
  if (!cover_.open)
    fail(where() + ": '" + str(tokens[0]) + "' stands outside a .names cover");
  const std::size_t width = cover_.fanins.size();
  std::string_view row = tokens[0];
  std::string joined;
  if (tokens.size() > 1) {
    for (std::string_view t : tokens)
      joined += t;
    row = joined;
  }
  if (row.size() != width + 1)
    fail(where() + ": cover row '" + str(row) + "' should have " + std::to_string(width) +
         " input columns and one output column");
  for (std::size_t k = 0; k < width; ++k)
    if (row[k] != '0' && row[k] != '1' && row[k] != '-')
      fail(where() + ": bad character '" + str(row.substr(k, 1)) + "' in cover row '" + str(row) +
           "'");
  const char value = row[width];
  if (value != '0' && value != '1')
    fail(where() + ": the output column of cover row '" + str(row) + "' must be 0 or 1");
  if (cover_.value && cover_.value != value)
    fail(where() + ": cover rows mix output values 0 and 1");
  cover_.value = value;
  cover_.rows.append(row.data(), width);
  ++cover_.count;
}

// Turns the gathered cover into a node. Columns that no row tests are
// dropped first: the function does not depend on them.
void BlifReader::closeCover() {
  if (!cover_.open)
    return;
  cover_.open = false;
  const Cover &c = cover_;
  const std::size_t width = c.fanins.size();
  const std::size_t rows = c.count;
  std::vector<int> &fanins = coverFanins_;
  std::vector<std::size_t> &columns = coverColumns_;
  fanins.clear();
  columns.clear();
  for (std::size_t k = 0; k < width; ++k) {
    bool tested = false;
    for (std::size_t r = 0; r < rows && !tested; ++r)
      tested = c.rows[r * width + k] != '-';
    if (!tested)
      continue;
    fanins.push_back(c.fanins[k]);
    columns.push_back(k);
  }
  if (fanins.size() > kMaxCoverInputs)
    fail(where(c.line) + ": the cover of '" + nl_.netNames[c.out] + "' depends on " +
         std::to_string(fanins.size()) + " inputs; at most " + std::to_string(kMaxCoverInputs) +
         " are supported");
  const bool onSet = c.value != '0';
  const unsigned n = static_cast<unsigned>(fanins.size());
  // The truth table, cube by cube: every minterm of a cube is its fixed
  // part plus a subset of its free bits. Up to 5 inputs it is the bits of
  // one word.
  const bool small = n <= 5;
  std::uint32_t bits = 0;
  if (!small)
    truth_.assign(std::size_t{1} << n, onSet ? 0 : 1);
  for (std::size_t r = 0; r < rows; ++r) {
    std::uint32_t fixed = 0, freeMask = 0;
    for (unsigned j = 0; j < n; ++j) {
      const char v = c.rows[r * width + columns[j]];
      if (v == '1')
        fixed |= std::uint32_t{1} << j;
      else if (v == '-')
        freeMask |= std::uint32_t{1} << j;
    }
    // All subsets of freeMask, added to the fixed bits.
    for (std::uint32_t sub = freeMask;; sub = (sub - 1) & freeMask) {
      if (small)
        bits |= std::uint32_t{1} << (fixed | sub);
      else
        truth_[fixed | sub] = onSet ? 1 : 0;
      if (sub == 0)
        break;
    }
  }
  if (!small) {
    nl_.addNode(c.out, fanins, truth_, at(c.line));
    return;
  }
  // The cubes mark the on-set, or the off-set of an output column "0".
  if (!onSet)
    bits = ~bits & (n == 5 ? ~std::uint32_t{0} : (std::uint32_t{1} << (1u << n)) - 1);
  nl_.addNode(c.out, fanins.data(), n, bits, at(c.line));
}

// ".subckt TYPE PIN=NET ..." (or .gate): one of the simple gate cells, a
// flip-flop, or an instance of a model of the file.
void BlifReader::cell(const Tokens &tokens, std::vector<Instance> &instances) {
  if (tokens.size() < 2)
    fail(where() + ": " + str(tokens[0]) + " needs a cell type");
  const std::string_view type = tokens[1];
  const auto model = modelIndex_.find(type);
  if (model != modelIndex_.end()) {
    Instance inst{model->second, {}, {}, lineNo_};
    for (std::size_t k = 2; k < tokens.size(); ++k) {
      const std::size_t eq = tokens[k].find('=');
      if (eq == std::string_view::npos || eq == 0 || eq + 1 == tokens[k].size())
        fail(where() + ": bad pin connection '" + str(tokens[k]) + "' (expected PIN=NET)");
      inst.pins.push_back({tokens[k].substr(0, eq), net(tokens[k].substr(eq + 1))});
    }
    instances.push_back(std::move(inst));
    afterInstance_ = true;
    return;
  }
  const std::string typeName = str(type);
  if (isSequentialCellType(typeName) && registers_)
    return flipFlop(tokens);
  if (isSequentialCellType(typeName))
    fail(where() + ": flip-flop and latch cells (" + typeName +
         ") are not supported (the netlist must be combinational)");
  const CellType *cellType = findCellType(typeName);
  if (!cellType)
    fail(where() + ": unknown cell type '" + typeName +
         "' (flatten the design and map it to yosys' simple gates)");
  int fanins[kMaxNodeInputs];
  const std::size_t arity = cellType->inputs.size();
  std::fill(fanins, fanins + arity, -1);
  int out = -1;
  for (std::size_t k = 2; k < tokens.size(); ++k) {
    const std::size_t eq = tokens[k].find('=');
    if (eq == std::string_view::npos || eq == 0 || eq + 1 == tokens[k].size())
      fail(where() + ": bad pin connection '" + str(tokens[k]) + "' (expected PIN=NET)");
    const std::string_view pin = tokens[k].substr(0, eq);
    int *slot = nullptr;
    if (pin == cellType->output) {
      slot = &out;
    } else {
      const auto it = std::find(cellType->inputs.begin(), cellType->inputs.end(), pin);
      if (it == cellType->inputs.end())
        fail(where() + ": cell " + typeName + " has no pin '" + str(pin) + "'");
      slot = &fanins[it - cellType->inputs.begin()];
    }
    if (*slot >= 0)
      fail(where() + ": pin '" + str(pin) + "' of " + typeName + " is connected twice");
    *slot = net(tokens[k].substr(eq + 1));
  }
  for (std::size_t k = 0; k < arity; ++k)
    if (fanins[k] < 0)
      fail(where() + ": pin '" + cellType->inputs[k] + "' of " + typeName + " is not connected");
  if (out < 0)
    fail(where() + ": pin '" + cellType->output + "' of " + typeName + " is not connected");
  std::uint32_t bits = 0;
  if (arity <= 5)
    for (std::size_t m = 0; m < cellType->truth.size(); ++m)
      bits |= static_cast<std::uint32_t>(cellType->truth[m] & 1) << m;
  if (arity <= 5)
    nl_.addNode(out, fanins, static_cast<unsigned>(arity), bits, at(lineNo_));
  else
    nl_.addNode(out, std::vector<int>(fanins, fanins + arity), cellType->truth, at(lineNo_));
}

// ".subckt $_SDFFE_PP0P_ C=clk D=d E=en Q=q R=rst": a flip-flop cell with
// its control nets. A cell that cannot be a wire (a latch, an asynchronous
// load, a coarse cell) is kept with the reason, for a message should the
// result depend on it.
void BlifReader::flipFlop(const Tokens &tokens) {
  const std::string type = str(tokens[1]);
  Register reg{type};
  std::string roles, pins, high;
  if (!flipFlopPins(type, roles, pins, high))
    reg.unsupported = type.rfind("$_", 0) == 0 ? "latches and asynchronous loads cannot be wires"
                                               : "a coarse cell: map it to gate cells (techmap)";
  int d = -1, q = -1;
  for (std::size_t k = 2; k < tokens.size(); ++k) {
    const std::size_t eq = tokens[k].find('=');
    if (eq == std::string_view::npos || eq == 0 || eq + 1 == tokens[k].size())
      fail(where() + ": bad pin connection '" + str(tokens[k]) + "' (expected PIN=NET)");
    const std::string_view pin = tokens[k].substr(0, eq);
    const int id = net(tokens[k].substr(eq + 1));
    const std::size_t at = pin.size() == 1 ? pins.find(pin[0]) : std::string::npos;
    if (pin == "D" || pin == "Q")
      (pin == "D" ? d : q) = id;
    else if (!reg.unsupported.empty() || (at != std::string::npos && roles[at] == 'C'))
      continue;
    else if (at == std::string::npos)
      fail(where() + ": cell " + type + " has no pin '" + str(pin) + "'");
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
  nl_.addRegister(q, d, false, std::move(reg), at(lineNo_));
}

// The whole stream in one string: one read when it can seek.
std::string slurp(std::istream &in) {
  std::string text;
  const std::istream::pos_type start = in.tellg();
  if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
    const std::istream::pos_type end = in.tellg();
    in.seekg(start);
    if (end != std::istream::pos_type(-1) && end >= start) {
      text.resize(static_cast<std::size_t>(end - start));
      in.read(text.data(), static_cast<std::streamsize>(text.size()));
      text.resize(static_cast<std::size_t>(in.gcount()));
      return text;
    }
  }
  in.clear();
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return text;
}

} // namespace

Netlist readBlif(std::istream &in, const std::string &source, bool registers,
                 const std::string &top) {
  const std::string text = slurp(in);
  return BlifReader(text, source, registers).read(top);
}

Netlist readBlifText(std::string_view text, const std::string &source, bool registers,
                     const std::string &top) {
  return BlifReader(text, source, registers).read(top);
}

} // namespace net2alg
