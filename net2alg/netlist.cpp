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

// The slot that holds the net of that name, or the empty slot where it
// would go. The table is never full (at most half its slots are used).
std::size_t Netlist::slotOf(std::string_view name, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t high = hash >> 32 << 32;
  for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
    const std::uint64_t slot = slots_[s];
    if (slot == 0)
      return s;
    if ((slot >> 32 << 32) == high && netNames[(slot & 0xffffffffu) - 1] == name)
      return s;
  }
}

int Netlist::net(std::string_view name) {
  const std::uint64_t hash = std::hash<std::string_view>()(name);
  if (!slots_.empty()) {
    const std::uint64_t slot = slots_[slotOf(name, hash)];
    if (slot != 0)
      return static_cast<int>((slot & 0xffffffffu) - 1);
  }
  const int id = static_cast<int>(netNames.size());
  netNames.emplace_back(name);
  hashes_.push_back(hash);
  driver.push_back(-1);
  isInput.push_back(0);
  const auto entry = [&](std::size_t n) { return (hashes_[n] >> 32 << 32) | (n + 1); };
  if (2 * netNames.size() > slots_.size()) {
    std::size_t size = 64;
    while (size < 4 * netNames.size())
      size *= 2;
    slots_.assign(size, 0);
    for (std::size_t n = 0; n < netNames.size(); ++n)
      slots_[slotOf(netNames[n], hashes_[n])] = entry(n);
  } else {
    slots_[slotOf(netNames.back(), hash)] = entry(static_cast<std::size_t>(id));
  }
  return id;
}

int Netlist::findNet(std::string_view name) const {
  if (slots_.empty())
    return -1;
  const std::uint64_t slot = slots_[slotOf(name, std::hash<std::string_view>()(name))];
  return slot == 0 ? -1 : static_cast<int>((slot & 0xffffffffu) - 1);
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
  if (driver[out] >= 0)
    fail(where.text() + ": net '" + netNames[out] + "' is already driven at " +
         nodes[driver[out]].where.text());
  if (isInput[out])
    fail(where.text() + ": net '" + netNames[out] + "' is a primary input and cannot be driven");
  Node node{out, {}, netAnf(fanins, truth), where};
  // The support lists the nets that the polynomial really uses, in fanin
  // order: a fanin that the function ignores creates no dependency.
  for (int f : fanins) {
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
  out.slots_ = slots_;
  out.hashes_ = hashes_;
  return out;
}

std::vector<NetTerm> netAnf(const std::vector<int> &fanins, const TruthTable &truth) {
  assert(fanins.size() <= kMaxNodeInputs);
  assert(truth.size() == std::size_t{1} << fanins.size());
  std::vector<NetTerm> terms;
  // The monomials: for up to 5 fanins the Moebius transform runs on the
  // bits of one word, else on the table.
  std::vector<std::uint32_t> monomials;
  if (fanins.size() <= 5) {
    std::uint32_t bits = 0;
    for (std::size_t m = 0; m < truth.size(); ++m)
      bits |= static_cast<std::uint32_t>(truth[m] & 1) << m;
    static const std::uint32_t kLow[] = {0x55555555u, 0x33333333u, 0x0f0f0f0fu, 0x00ff00ffu,
                                         0x0000ffffu};
    for (unsigned k = 0; k < fanins.size(); ++k)
      bits ^= (bits & kLow[k]) << (1u << k);
    for (std::uint32_t m = 0; m < truth.size(); ++m)
      if (bits >> m & 1)
        monomials.push_back(m);
  } else {
    monomials = anfFromTruthTable(truth);
  }
  terms.reserve(monomials.size());
  for (std::uint32_t mask : monomials) {
    NetTerm term;
    bool zero = false;
    for (std::size_t k = 0; k < fanins.size(); ++k) {
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
  // Products that occur an odd number of times survive: x*y + x*y = 0 and,
  // with a repeated fanin, x*x is x.
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

} // namespace net2alg
