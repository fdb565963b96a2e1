// A combinational netlist as both readers produce it: named nets, primary
// inputs and outputs, and one node per driven net. A node keeps its function
// as a polynomial over GF(2) in its fanin nets (algebraic normal form), so
// the rest of the program never needs to know where a node came from.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "anf.h"
#include "id_list.h"
#include "name_index.h"

namespace net2alg {

// Fanin values that stand for constants rather than nets.
constexpr int kConst0 = -1;
constexpr int kConst1 = -2;

// One product of nets: ascending net ids, each at most once; empty is 1.
using NetTerm = IdList;

// Where a node was defined, for messages: a text such as "file:" and a
// number after it ("file:17"), or a text alone ("--tie rst=0"). The texts
// are kept once for the whole program, so that a location is two words
// and a node costs no string of its own.
class Location {
public:
  Location() = default;
  explicit Location(const std::string &text) : prefix_(intern(text)) {}
  // `prefix` from intern().
  Location(const std::string *prefix, unsigned number)
      : prefix_(prefix), number_(number), numbered_(true) {}
  std::string text() const;
  // The lasting copy of a text.
  static const std::string *intern(const std::string &text);

private:
  const std::string *prefix_ = nullptr;
  unsigned number_ = 0;
  bool numbered_ = false;
};
bool operator==(const Location &where, std::string_view text);
std::ostream &operator<<(std::ostream &out, const Location &where);

struct Node {
  int out;                  // the net that the node drives
  IdList support;           // the nets its ANF uses, in the order of the fanin list
  std::vector<NetTerm> anf; // the function: the sum of these products
  Location where;           // "file:line" of the definition, for messages
  int reg = -1;             // for a register: its index in Netlist::registers
};

// A flip-flop, read only when registers are allowed. Its node stands for it
// as a wire (Q = D, or Q = NOT D for an inverted AIGER next-state literal);
// the controls say when that wire is exact (see registers.h).
struct Register {
  std::string type;                // ".latch", the yosys cell type, or "latch" (AIGER)
  int node = -1;                   // its node in Netlist::nodes
  int syncReset = -1, enable = -1; // control nets, -1 for none
  bool syncResetHigh = true, enableHigh = true;
  std::vector<std::pair<int, bool>> async = {}; // asynchronous set/reset nets, active high?
  std::string unsupported = {}; // what keeps it from being a wire at all; empty when nothing
};

struct Netlist {
  std::string source; // the file name, for messages
  std::string model;
  std::vector<std::string> netNames;
  std::vector<int> inputs;  // in declaration order
  std::vector<int> outputs; // in declaration order
  std::vector<Node> nodes;  // in definition order
  std::vector<int> driver;  // per net: the index of its node, or -1
  std::vector<char> isInput;
  std::vector<Register> registers;
  bool aigerSymbols = false; // input names came from an AIGER symbol table

  // The id of the net of that name, created when it does not exist yet.
  int net(std::string_view name);
  // The id of the net of that name, or -1.
  int findNet(std::string_view name) const;
  // Makes room for about `count` nets.
  void reserveNets(std::size_t count);

  // Declares a primary input or output; `where` locates the declaration.
  void addInput(int id, const std::string &where);
  void addOutput(int id, const std::string &where);

  // Defines net `out` as a function of `fanins` (net ids or kConst0/kConst1)
  // given by its truth table over them (2^fanins entries, fanin k = bit k).
  // A net repeated among the fanins is fine. Rejects a second driver and a
  // driven primary input.
  void addNode(int out, const std::vector<int> &fanins, const TruthTable &truth,
               const Location &where);
  void addNode(int out, const std::vector<int> &fanins, const TruthTable &truth,
               const std::string &where) {
    addNode(out, fanins, truth, Location(where));
  }
  // The same for at most 5 fanins, the truth table as the bits of a word
  // (bit m is the value for the assignment m).
  void addNode(int out, const int *fanins, unsigned count, std::uint32_t truth,
               const Location &where);

  // Adds a register as the node Q = D (Q = NOT D when `inverted`).
  void addRegister(int q, int d, bool inverted, Register reg, const Location &where);

  // A copy with the same nets, inputs, outputs and registers but no nodes:
  // every net undriven.
  Netlist withoutNodes() const;

private:
  void placeNode(int out, const int *fanins, unsigned count, std::vector<NetTerm> anf,
                 const Location &where);
  NameIndex index_; // the ids by name
};

// The ANF of a function over nets: the Moebius transform of the truth table,
// then each monomial rewritten in nets, constants folded and equal products
// cancelled in pairs. The products come out sorted.
std::vector<NetTerm> netAnf(const std::vector<int> &fanins, const TruthTable &truth);
// The same for at most 5 fanins and the truth table as bits.
std::vector<NetTerm> netAnf(const int *fanins, unsigned count, std::uint32_t truth);

} // namespace net2alg
