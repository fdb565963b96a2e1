// Nets, primary inputs and outputs, and the conversion of node functions
// into polynomials over the fanin nets.
#include "netlist.h"

#include <algorithm>
#include <cassert>
#include <mutex>
#include <ostream>
#include <unordered_set>

#include "error.h"

namespace net2alg {

const std::string *Location::intern(const std::string &text) {
  static std::mutex lock;
  static std::unordered_set<std::string> texts;
  const std::lock_guard<std::mutex> hold(lock);
  return &*texts.insert(text).first;
}

std::string Location::text() const {
  std::string text = prefix_ ? *prefix_ : std::string();
  if (numbered_)
    text += std::to_string(number_);
  return text;
}

bool operator==(const Location &where, std::string_view text) {
  return std::string_view(where.text()) == text;
}

std::ostream &operator<<(std::ostream &out, const Location &where) { return out << where.text(); }

int Netlist::net(std::string_view name) {
  const std::uint64_t hash = NameIndex::hashOf(name);
  const std::uint32_t found = index_.find(name, hash, netNames);
  if (found != NameIndex::kNone)
    return static_cast<int>(found);
  const int id = static_cast<int>(netNames.size());
  netNames.emplace_back(name);
  driver.push_back(-1);
  isInput.push_back(0);
  index_.add(hash);
  return id;
}

void Netlist::reserveNets(std::size_t count) {
  netNames.reserve(count);
  driver.reserve(count);
  isInput.reserve(count);
  index_.reserve(count);
}

int Netlist::findNet(std::string_view name) const {
  const std::uint32_t found = index_.find(name, NameIndex::hashOf(name), netNames);
  return found == NameIndex::kNone ? -1 : static_cast<int>(found);
}

void Netlist::addInput(int id, const std::string &where) {
  if (isInput[id])
    fail(where + ": input '" + netNames[id] + "' is declared twice");
  if (driver[id] >= 0)
    fail(where + ": input '" + netNames[id] + "' is also driven at " +
         nodes[driver[id]].where.text());
  isInput[id] = 1;
  inputs.push_back(id);
}

void Netlist::addOutput(int id, const std::string &where) {
  if (std::find(outputs.begin(), outputs.end(), id) != outputs.end())
    fail(where + ": output '" + netNames[id] + "' is declared twice");
  outputs.push_back(id);
}

void Netlist::addNode(int out, const std::vector<int> &fanins, const TruthTable &truth,
                      const Location &where) {
  assert(truth.size() == std::size_t{1} << fanins.size());
  if (fanins.size() <= 5) {
    std::uint32_t bits = 0;
    for (std::size_t m = 0; m < truth.size(); ++m)
      bits |= static_cast<std::uint32_t>(truth[m] & 1) << m;
    addNode(out, fanins.data(), static_cast<unsigned>(fanins.size()), bits, where);
    return;
  }
  if (driver[out] >= 0)
    fail(where.text() + ": net '" + netNames[out] + "' is already driven at " +
         nodes[driver[out]].where.text());
  if (isInput[out])
    fail(where.text() + ": net '" + netNames[out] + "' is a primary input and cannot be driven");
  placeNode(out, fanins.data(), static_cast<unsigned>(fanins.size()), netAnf(fanins, truth), where);
}

void Netlist::addNode(int out, const int *fanins, unsigned count, std::uint32_t truth,
                      const Location &where) {
  if (driver[out] >= 0)
    fail(where.text() + ": net '" + netNames[out] + "' is already driven at " +
         nodes[driver[out]].where.text());
  if (isInput[out])
    fail(where.text() + ": net '" + netNames[out] + "' is a primary input and cannot be driven");
  placeNode(out, fanins, count, netAnf(fanins, count, truth), where);
}

void Netlist::placeNode(int out, const int *fanins, unsigned count, std::vector<NetTerm> anf,
                        const Location &where) {
  Node node{out, {}, std::move(anf), where};
  // The support lists the nets that the polynomial really uses, in fanin
  // order: a fanin that the function ignores creates no dependency.
  for (unsigned k = 0; k < count; ++k) {
    const int f = fanins[k];
    if (f < 0 || std::find(node.support.begin(), node.support.end(), f) != node.support.end())
      continue;
    for (const NetTerm &term : node.anf)
      if (std::binary_search(term.begin(), term.end(), f)) {
        node.support.push_back(f);
        break;
      }
  }
  driver[out] = static_cast<int>(nodes.size());
  nodes.push_back(std::move(node));
}

void Netlist::addRegister(int q, int d, bool inverted, Register reg, const Location &where) {
  addNode(q, {d}, inverted ? TruthTable{1, 0} : TruthTable{0, 1}, where);
  reg.node = static_cast<int>(nodes.size() - 1);
  nodes.back().reg = static_cast<int>(registers.size());
  registers.push_back(std::move(reg));
}

Netlist Netlist::withoutNodes() const {
  Netlist out;
  out.source = source;
  out.model = model;
  out.netNames = netNames;
  out.inputs = inputs;
  out.outputs = outputs;
  out.driver.assign(driver.size(), -1);
  out.isInput = isInput;
  out.registers = registers;
  out.aigerSymbols = aigerSymbols;
  out.index_ = index_;
  return out;
}

namespace {

// Rewrites the monomials (masks over the fanins) in nets: constants folded,
// each product's nets sorted, then equal products cancelled in pairs
// (x*y + x*y = 0 and, with a repeated fanin, x*x is x). The products come
// out sorted.
template <class Masks>
std::vector<NetTerm> monomialsInNets(const int *fanins, unsigned count, const Masks &masks) {
  std::vector<NetTerm> terms;
  for (std::uint32_t mask : masks) {
    NetTerm term;
    bool zero = false;
    for (unsigned k = 0; k < count; ++k) {
      if (!(mask >> k & 1))
        continue;
      if (fanins[k] == kConst0)
        zero = true;
      else if (fanins[k] != kConst1)
        term.push_back(fanins[k]);
    }
    if (zero)
      continue;
    std::sort(term.begin(), term.end());
    term.erase(std::unique(term.begin(), term.end()), term.end());
    terms.push_back(std::move(term));
  }
  std::sort(terms.begin(), terms.end());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < terms.size();) {
    std::size_t j = i + 1;
    while (j < terms.size() && terms[j] == terms[i])
      ++j;
    if ((j - i) % 2) {
      if (kept != i)
        terms[kept] = std::move(terms[i]);
      ++kept;
    }
    i = j;
  }
  terms.resize(kept);
  return terms;
}

// The set bits of a word, lowest first, as a range.
struct SetBits {
  std::uint32_t bits;
  struct It {
    std::uint32_t rest;
    std::uint32_t operator*() const { return static_cast<std::uint32_t>(__builtin_ctz(rest)); }
    It &operator++() {
      rest &= rest - 1;
      return *this;
    }
    bool operator!=(const It &other) const { return rest != other.rest; }
  };
  It begin() const { return {bits}; }
  It end() const { return {0}; }
};

} // namespace

std::vector<NetTerm> netAnf(const std::vector<int> &fanins, const TruthTable &truth) {
  assert(fanins.size() <= kMaxNodeInputs);
  assert(truth.size() == std::size_t{1} << fanins.size());
  if (fanins.size() <= 5) {
    std::uint32_t bits = 0;
    for (std::size_t m = 0; m < truth.size(); ++m)
      bits |= static_cast<std::uint32_t>(truth[m] & 1) << m;
    return netAnf(fanins.data(), static_cast<unsigned>(fanins.size()), bits);
  }
  return monomialsInNets(fanins.data(), static_cast<unsigned>(fanins.size()),
                         anfFromTruthTable(truth));
}

std::vector<NetTerm> netAnf(const int *fanins, unsigned count, std::uint32_t truth) {
  assert(count <= 5);
  // The Moebius transform on the bits of one word.
  std::uint32_t bits = count == 5 ? truth : truth & ((std::uint32_t{1} << (1u << count)) - 1);
  static const std::uint32_t kLow[] = {0x55555555u, 0x33333333u, 0x0f0f0f0fu, 0x00ff00ffu,
                                       0x0000ffffu};
  for (unsigned k = 0; k < count; ++k)
    bits ^= (bits & kLow[k]) << (1u << k);
  return monomialsInNets(fanins, count, SetBits{bits});
}

} // namespace net2alg
