// The AIGER reader: the header, the literals of inputs, outputs and AND
// gates (ASCII lines or the binary delta encoding), the symbol table, and
// the translation of the graph into nets and nodes.
#include "aiger_reader.h"

#include <algorithm>
#include <istream>
#include <map>
#include <sstream>

#include "decimal.h"
#include "error.h"

namespace net2alg {
namespace {

// Variable indices above this are refused, so that 2 * var + 1 fits.
constexpr unsigned long kMaxVar = (1ul << 30) - 1;

struct AndGate {
  unsigned lhs, rhs0, rhs1;
};

struct Latch {
  unsigned lhs, next; // literals; the initial value is not needed
};

struct Aiger {
  bool binary = false;
  unsigned maxVar = 0;
  std::vector<unsigned> inputs;  // literals
  std::vector<unsigned> outputs; // literals
  std::vector<AndGate> ands;
  std::vector<Latch> latches;
  std::map<unsigned, std::string> inputNames, outputNames, latchNames; // by position
};

class AigerParser {
public:
  AigerParser(std::istream &in, const std::string &source, bool registers)
      : in_(in), source_(source), registers_(registers) {}
  Aiger parse();

private:
  [[noreturn]] void error(const std::string &message) const {
    fail(source_ + (lineNo_ ? ":" + std::to_string(lineNo_) : std::string()) + ": " + message);
  }
  std::vector<unsigned long> numberLine(std::size_t count, const char *what,
                                        std::size_t optional = 0);
  unsigned long decode();

  std::istream &in_;
  std::string source_;
  bool registers_;
  unsigned lineNo_ = 0;
};

// Reads the next line and parses `count` decimal numbers from it, or up to
// `optional` more.
std::vector<unsigned long> AigerParser::numberLine(std::size_t count, const char *what,
                                                   std::size_t optional) {
  std::string line;
  if (!std::getline(in_, line))
    error(std::string("unexpected end of file, expected ") + what);
  ++lineNo_;
  if (!line.empty() && line.back() == '\r') // a file with DOS line ends
    line.pop_back();
  std::vector<unsigned long> numbers;
  std::size_t pos = 0;
  while (true) {
    while (pos < line.size() && line[pos] == ' ')
      ++pos;
    if (pos == line.size())
      break;
    const std::size_t start = pos;
    pos = std::min(line.find(' ', start), line.size());
    const std::string_view digits = std::string_view(line).substr(start, pos - start);
    unsigned long value = 0;
    if (!parseDecimal(digits, 2 * kMaxVar + 1, value)) {
      if (digits.find_first_not_of("0123456789") == std::string_view::npos)
        error(std::string("number too large in ") + what);
      error(std::string("bad ") + what + " line '" + line + "'");
    }
    numbers.push_back(value);
  }
  if (numbers.size() < count || numbers.size() > count + optional)
    error(std::string("bad ") + what + " line '" + line + "'");
  return numbers;
}

// One number of the binary AND section: 7 bits per byte, low bits first,
// the top bit of a byte set when more bytes follow.
unsigned long AigerParser::decode() {
  unsigned long value = 0;
  for (unsigned shift = 0;; shift += 7) {
    const int c = in_.get();
    if (c == EOF)
      error("unexpected end of file in the binary AND gates");
    if (shift > 28)
      error("number too large in the binary AND gates");
    value |= static_cast<unsigned long>(c & 0x7f) << shift;
    if (!(c & 0x80))
      break;
  }
  return value;
}

Aiger AigerParser::parse() {
  Aiger aig;
  std::string header;
  std::getline(in_, header);
  ++lineNo_;
  if (!header.empty() && header.back() == '\r')
    header.pop_back();
  std::istringstream words(header);
  std::string magic;
  words >> magic;
  if (magic != "aag" && magic != "aig")
    error("not an AIGER file (the header must start with 'aag' or 'aig')");
  aig.binary = magic == "aig";
  std::vector<unsigned long> h;
  for (std::string w; words >> w;) {
    unsigned long v;
    if (w.size() > 9 || !parseDecimal(w, 999999999, v))
      error("bad header '" + header + "'");
    h.push_back(v);
  }
  if (h.size() < 5 || h.size() > 9)
    error("bad header '" + header + "'");
  const unsigned long M = h[0], I = h[1], L = h[2], O = h[3], A = h[4];
  if (L != 0 && !registers_)
    error("latches are not supported (the netlist must be combinational)");
  for (std::size_t k = 5; k < h.size(); ++k)
    if (h[k] != 0)
      error("bad-state, constraint, justice and fairness properties are not supported");
  if (M > kMaxVar || I + L + A > M || (aig.binary && I + L + A != M))
    error("bad header '" + header + "': M must be " + (aig.binary ? "" : "at least ") +
          "I + L + A");
  aig.maxVar = static_cast<unsigned>(M);

  if (!aig.binary)
    for (unsigned long k = 0; k < I; ++k)
      aig.inputs.push_back(static_cast<unsigned>(numberLine(1, "input")[0]));
  else
    for (unsigned long k = 0; k < I; ++k)
      aig.inputs.push_back(static_cast<unsigned>(2 * (k + 1)));
  // Latches: "lhs next [init]", in the binary format "next [init]".
  for (unsigned long k = 0; k < L; ++k) {
    const auto n = numberLine(aig.binary ? 1 : 2, "latch", 1);
    aig.latches.push_back(
        aig.binary ? Latch{static_cast<unsigned>(2 * (I + k + 1)), static_cast<unsigned>(n[0])}
                   : Latch{static_cast<unsigned>(n[0]), static_cast<unsigned>(n[1])});
  }
  for (unsigned long k = 0; k < O; ++k)
    aig.outputs.push_back(static_cast<unsigned>(numberLine(1, "output")[0]));
  if (!aig.binary) {
    for (unsigned long k = 0; k < A; ++k) {
      const auto n = numberLine(3, "AND gate");
      aig.ands.push_back(
          {static_cast<unsigned>(n[0]), static_cast<unsigned>(n[1]), static_cast<unsigned>(n[2])});
    }
  } else {
    lineNo_ = 0; // line numbers mean nothing from the binary section on
    for (unsigned long k = 0; k < A; ++k) {
      const unsigned long lhs = 2 * (I + L + k + 1);
      const unsigned long d0 = decode();
      const unsigned long d1 = decode();
      if (d0 > lhs || d1 > lhs - d0)
        error("bad delta in binary AND gate " + std::to_string(k));
      aig.ands.push_back({static_cast<unsigned>(lhs), static_cast<unsigned>(lhs - d0),
                          static_cast<unsigned>(lhs - d0 - d1)});
    }
  }

  // Symbol table: "i<pos> name" and "o<pos> name"; a line "c" starts the
  // comment section, which runs to the end of the file.
  for (std::string line; std::getline(in_, line);) {
    if (lineNo_)
      ++lineNo_;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line == "c")
      break;
    if (line.empty())
      continue;
    const char kind = line[0];
    const std::size_t space = line.find(' ');
    const std::string pos = line.substr(1, space == std::string::npos ? space : space - 1);
    unsigned long index = 0;
    if (space == std::string::npos || space + 1 == line.size() || pos.size() > 9 ||
        !parseDecimal(pos, 999999999, index) ||
        std::string("ilobcjf").find(kind) == std::string::npos)
      error("bad symbol table line '" + line + "'");
    const std::string name = line.substr(space + 1);
    if (kind == 'i') {
      if (index >= I)
        error("symbol for input " + pos + ", but there are " + std::to_string(I) + " inputs");
      aig.inputNames[static_cast<unsigned>(index)] = name;
    } else if (kind == 'l') {
      if (index >= L)
        error("symbol for latch " + pos + ", but there are " + std::to_string(L) + " latches");
      aig.latchNames[static_cast<unsigned>(index)] = name;
    } else if (kind == 'o') {
      if (index >= O)
        error("symbol for output " + pos + ", but there are " + std::to_string(O) + " outputs");
      aig.outputNames[static_cast<unsigned>(index)] = name;
    }
  }
  return aig;
}

// Translates the parsed graph into nets and nodes.
class AigerBuilder {
public:
  AigerBuilder(const Aiger &aig, const std::string &source) : aig_(aig) {
    nl_.source = source;
    varNet_.assign(aig.maxVar + 1, -1);
  }
  Netlist build();

private:
  [[noreturn]] void error(const std::string &message) const { fail(nl_.source + ": " + message); }
  int freshNet(const std::string &name, bool generated);
  int signal(unsigned lit) const;

  const Aiger &aig_;
  Netlist nl_;
  std::vector<int> varNet_; // net of each variable, -1 for none
};

// A net for a new signal. A name from the symbol table that is already in
// use is an error; a generated name gets a suffix instead.
int AigerBuilder::freshNet(const std::string &name, bool generated) {
  std::string candidate = name;
  for (unsigned k = 1; nl_.findNet(candidate) >= 0; ++k) {
    if (!generated)
      error("the name '" + name + "' is used for two different signals");
    candidate = name + "_" + std::to_string(k);
  }
  return nl_.net(candidate);
}

// The fanin value of a literal, without its inversion. Both constant
// literals give constant 0: literal 1 is its inversion, which the caller
// applies like that of any other literal.
int AigerBuilder::signal(unsigned lit) const {
  if (lit < 2)
    return kConst0;
  const unsigned var = lit / 2;
  if (var > aig_.maxVar || varNet_[var] < 0)
    error("literal " + std::to_string(lit) + " uses variable " + std::to_string(var) +
          ", which is neither an input nor an AND gate");
  return varNet_[var];
}

Netlist AigerBuilder::build() {
  enum : char { kNone, kIn, kAnd, kLatch };
  std::vector<char> kind(aig_.maxVar + 1, kNone);
  for (std::size_t k = 0; k < aig_.inputs.size(); ++k) {
    const unsigned lit = aig_.inputs[k];
    if (lit < 2 || lit % 2 || lit / 2 > aig_.maxVar || kind[lit / 2] != kNone)
      error("bad input literal " + std::to_string(lit));
    kind[lit / 2] = kIn;
  }
  for (const Latch &l : aig_.latches) {
    if (l.lhs < 2 || l.lhs % 2 || l.lhs / 2 > aig_.maxVar || kind[l.lhs / 2] != kNone)
      error("bad latch literal " + std::to_string(l.lhs));
    kind[l.lhs / 2] = kLatch;
  }
  for (const AndGate &g : aig_.ands) {
    if (g.lhs < 2 || g.lhs % 2 || g.lhs / 2 > aig_.maxVar || kind[g.lhs / 2] != kNone)
      error("bad AND gate literal " + std::to_string(g.lhs));
    kind[g.lhs / 2] = kAnd;
  }
  for (unsigned lit : aig_.outputs)
    if (lit / 2 > aig_.maxVar)
      error("bad output literal " + std::to_string(lit));

  std::vector<std::string> outName(aig_.outputs.size());
  for (std::size_t k = 0; k < outName.size(); ++k) {
    const auto it = aig_.outputNames.find(static_cast<unsigned>(k));
    outName[k] = it != aig_.outputNames.end() ? it->second : "o[" + std::to_string(k) + "]";
  }
  // An AND gate that an output uses uninverted is named after the first
  // such output; that output needs no node of its own.
  std::map<unsigned, std::size_t> gateOutput; // variable -> output position
  for (std::size_t k = 0; k < aig_.outputs.size(); ++k) {
    const unsigned lit = aig_.outputs[k];
    if (lit % 2 == 0 && lit >= 2 && kind[lit / 2] == kAnd)
      gateOutput.emplace(lit / 2, k);
  }

  for (std::size_t k = 0; k < aig_.inputs.size(); ++k) {
    const auto it = aig_.inputNames.find(static_cast<unsigned>(k));
    const bool named = it != aig_.inputNames.end();
    const int id = freshNet(named ? it->second : "i[" + std::to_string(k) + "]", !named);
    varNet_[aig_.inputs[k] / 2] = id;
    nl_.addInput(id, nl_.source);
    nl_.aigerSymbols = nl_.aigerSymbols || named;
  }
  for (std::size_t k = 0; k < aig_.latches.size(); ++k) {
    const auto it = aig_.latchNames.find(static_cast<unsigned>(k));
    const bool named = it != aig_.latchNames.end();
    varNet_[aig_.latches[k].lhs / 2] =
        freshNet(named ? it->second : "l[" + std::to_string(k) + "]", !named);
  }
  for (const AndGate &g : aig_.ands) {
    const auto it = gateOutput.find(g.lhs / 2);
    const bool named =
        it != gateOutput.end() && aig_.outputNames.count(static_cast<unsigned>(it->second));
    varNet_[g.lhs / 2] = freshNet(
        it != gateOutput.end() ? outName[it->second] : "n" + std::to_string(g.lhs / 2), !named);
  }
  const std::string *gateWhere = Location::intern(nl_.source + ": AND gate ");
  const std::string *latchWhere = Location::intern(nl_.source + ": latch ");
  const std::string *outputWhere = Location::intern(nl_.source + ": output ");
  for (std::size_t k = 0; k < aig_.ands.size(); ++k) {
    const AndGate &g = aig_.ands[k];
    const unsigned inv0 = g.rhs0 & 1, inv1 = g.rhs1 & 1;
    TruthTable truth(4);
    for (unsigned m = 0; m < 4; ++m)
      truth[m] = static_cast<std::uint8_t>(((m & 1) ^ inv0) & (((m >> 1) & 1) ^ inv1));
    nl_.addNode(varNet_[g.lhs / 2], {signal(g.rhs0), signal(g.rhs1)}, truth,
                Location(gateWhere, g.lhs));
  }
  for (std::size_t k = 0; k < aig_.latches.size(); ++k) {
    const Latch &l = aig_.latches[k];
    nl_.addRegister(varNet_[l.lhs / 2], signal(l.next), l.next & 1, Register{"latch"},
                    Location(latchWhere, l.lhs));
  }
  for (std::size_t k = 0; k < aig_.outputs.size(); ++k) {
    const unsigned lit = aig_.outputs[k];
    const auto it = gateOutput.find(lit / 2);
    if (it != gateOutput.end() && it->second == k && lit % 2 == 0) {
      nl_.addOutput(varNet_[lit / 2], nl_.source);
      continue;
    }
    const int source = signal(lit);
    if (lit % 2 == 0 && source >= 0 && nl_.netNames[source] == outName[k]) {
      nl_.addOutput(source, nl_.source); // an input that is also an output of the same name
      continue;
    }
    const int id = freshNet(outName[k], aig_.outputNames.count(static_cast<unsigned>(k)) == 0);
    const TruthTable truth = lit % 2 ? TruthTable{1, 0} : TruthTable{0, 1};
    nl_.addNode(id, {source}, truth, Location(outputWhere, static_cast<unsigned>(k)));
    nl_.addOutput(id, nl_.source);
  }
  return std::move(nl_);
}

} // namespace

Netlist readAiger(std::istream &in, const std::string &source, bool registers) {
  const Aiger aig = AigerParser(in, source, registers).parse();
  return AigerBuilder(aig, source).build();
}

} // namespace net2alg
