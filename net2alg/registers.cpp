// Ties, the register checks and the pipeline latency.
#include "registers.h"

#include <algorithm>
#include <functional>

#include "error.h"
#include "translation.h"

namespace net2alg {
namespace {

// Parses a tie's value: 0x and hex digits, or decimal digits; at most 64 bits.
bool parseTieValue(const std::string &text, unsigned long long &value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 16u : 19u) ||
      digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
    return false;
  value = std::stoull(digits, nullptr, hex ? 16 : 10);
  return true;
}

// -1 when the net is not constant, else its value. `memo` holds -2 for nets
// not seen yet and -3 for nets being evaluated (a fanin in that state closes
// a cycle and counts as not constant). A register's output is never
// constant here.
int constantValue(const Netlist &nl, int root, std::vector<signed char> &memo) {
  std::vector<int> stack{root};
  while (!stack.empty()) {
    const int net = stack.back();
    if (memo[net] >= -1) {
      stack.pop_back();
      continue;
    }
    const int d = nl.driver[net];
    if (d < 0 || nl.nodes[d].reg >= 0) {
      memo[net] = -1;
      stack.pop_back();
      continue;
    }
    if (memo[net] == -2) { // first visit: evaluate the fanins first
      memo[net] = -3;
      for (int f : nl.nodes[d].support)
        if (memo[f] == -2)
          stack.push_back(f);
      continue;
    }
    stack.pop_back();
    // Substitute the constant fanins into the ANF; the node is constant
    // when what is left has no variable.
    std::vector<NetTerm> left;
    int parity = 0;
    for (const NetTerm &term : nl.nodes[d].anf) {
      NetTerm rest;
      bool zero = false;
      for (int f : term) {
        if (memo[f] == 0)
          zero = true;
        else if (memo[f] != 1)
          rest.push_back(f);
      }
      if (zero)
        continue;
      if (rest.empty())
        parity ^= 1;
      else
        left.push_back(rest);
    }
    std::sort(left.begin(), left.end());
    bool varying = false;
    for (std::size_t k = 0; k < left.size(); ++k) {
      std::size_t same = 1;
      while (k + 1 < left.size() && left[k + 1] == left[k])
        ++k, ++same;
      varying = varying || same % 2;
    }
    memo[net] = static_cast<signed char>(varying ? -1 : parity);
  }
  return memo[root];
}

} // namespace

void tieInputs(Netlist &nl, const std::vector<std::string> &ties) {
  for (const std::string &tie : ties) {
    const std::size_t eq = tie.find('=');
    unsigned long long value = 0;
    if (eq == std::string::npos || eq == 0 || !parseTieValue(tie.substr(eq + 1), value))
      fail("--tie: expected PORT=VALUE (VALUE 0, 1, decimal or 0x...), not '" + tie + "'");
    const std::vector<int> bits = resolveBits(nl, tie.substr(0, eq), "--tie", true);
    if (bits.size() < 64 && value >> bits.size())
      fail("--tie: the value of '" + tie + "' does not fit into " + std::to_string(bits.size()) +
           " bits");
    for (std::size_t k = 0; k < bits.size(); ++k) {
      const int net = bits[k];
      nl.isInput[net] = 0;
      nl.inputs.erase(std::find(nl.inputs.begin(), nl.inputs.end(), net));
      const std::uint8_t bit = k < 64 ? static_cast<std::uint8_t>(value >> k & 1) : 0;
      nl.addNode(net, {}, TruthTable{bit}, Location("--tie " + tie));
    }
  }
}

void dropRegistersOutside(Netlist &nl, const std::vector<int> &outputs) {
  // The cone of the outputs, through registers.
  std::vector<char> inCone(nl.netNames.size(), 0);
  std::vector<int> work(outputs);
  for (int net : outputs)
    inCone[net] = 1;
  while (!work.empty()) {
    const int net = work.back();
    work.pop_back();
    if (nl.driver[net] >= 0)
      for (int f : nl.nodes[nl.driver[net]].support)
        if (!inCone[f]) {
          inCone[f] = 1;
          work.push_back(f);
        }
  }
  for (const Register &reg : nl.registers)
    if (!inCone[nl.nodes[reg.node].out])
      nl.driver[nl.nodes[reg.node].out] = -1;
}

void checkRegisterControls(const Netlist &nl) {
  std::vector<signed char> memo(nl.netNames.size(), -2);
  for (const Register &reg : nl.registers) {
    const Node &node = nl.nodes[reg.node];
    if (nl.driver[node.out] != reg.node)
      continue; // dropped

    const std::string what =
        "register '" + nl.netNames[node.out] + "' (" + reg.type + ", " + node.where.text() + ")";
    if (!reg.unsupported.empty())
      fail(what + " cannot be made transparent: " + reg.unsupported);
    // A synchronous reset must be held inactive, an enable active.
    const auto control = [&](int net, bool high, bool mustBeActive, const char *role) {
      const int active = high ? 1 : 0;
      const int wanted = mustBeActive ? active : 1 - active;
      const int value = constantValue(nl, net, memo);
      if (value == wanted)
        return;
      const std::string name = nl.netNames[net];
      if (value >= 0)
        fail(what + ": the ties hold its " + role + " '" + name + "' " +
             (mustBeActive ? "inactive" : "active"));
      const std::string tie = nl.isInput[net] ? "--tie " + name + "=" + std::to_string(wanted)
                                              : "--tie on the inputs that drive '" + name + "'";
      fail(what + ": its " + role + " '" + name + "' is not held " +
           (mustBeActive ? "active" : "inactive") + ", so the cell is no wire; hold it with " +
           tie + ", or make the registers transparent before yosys folds logic into them (run " +
           "'proc; flatten' and convert then)");
    };
    if (reg.syncReset >= 0)
      control(reg.syncReset, reg.syncResetHigh, false, "synchronous reset");
    if (reg.enable >= 0)
      control(reg.enable, reg.enableHigh, true, "enable");
    for (const auto &[net, high] : reg.async)
      if (constantValue(nl, net, memo) == (high ? 1 : 0))
        fail(what + ": the ties hold its asynchronous set or reset '" + nl.netNames[net] +
             "' active");
  }
}

int pipelineLatency(const Netlist &nl, const std::vector<int> &outputs,
                    const std::vector<int> &operandBits) {
  // Per net: the fewest and the most registers on a path from an operand
  // bit, and the operand bits where those paths start (-1: none reaches it).
  struct Reach {
    int lo = 0, hi = 0, loFrom = -1, hiFrom = -1;
  };
  std::vector<Reach> reach(nl.netNames.size());
  std::vector<char> done(nl.netNames.size(), 0);
  for (int bit : operandBits)
    reach[bit] = {0, 0, bit, bit};
  for (int root : outputs) {
    std::vector<int> stack{root};
    while (!stack.empty()) {
      const int net = stack.back();
      const int d = nl.driver[net];
      if (done[net] || d < 0) {
        done[net] = 1;
        stack.pop_back();
        continue;
      }
      bool ready = true;
      for (int f : nl.nodes[d].support)
        if (!done[f]) {
          ready = false;
          stack.push_back(f);
        }
      if (!ready)
        continue;
      stack.pop_back();
      done[net] = 1;
      const int step = nl.nodes[d].reg >= 0 ? 1 : 0;
      Reach r;
      for (int f : nl.nodes[d].support) {
        const Reach &in = reach[f];
        if (in.loFrom < 0)
          continue;
        if (r.loFrom < 0 || in.lo + step < r.lo)
          r.lo = in.lo + step, r.loFrom = in.loFrom;
        if (r.hiFrom < 0 || in.hi + step > r.hi)
          r.hi = in.hi + step, r.hiFrom = in.hiFrom;
      }
      reach[net] = r;
    }
  }
  int lo = -1, hi = -1;
  for (int out : outputs) {
    const Reach &r = reach[out];
    if (r.loFrom < 0)
      continue;
    if (lo < 0 || r.lo < reach[lo].lo)
      lo = out;
    if (hi < 0 || r.hi > reach[hi].hi)
      hi = out;
  }
  if (lo < 0)
    return 0;
  const auto path = [&](int from, int to, int count) {
    return "'" + nl.netNames[from] + "' reaches '" + nl.netNames[to] + "' through " +
           std::to_string(count) + (count == 1 ? " register" : " registers");
  };
  if (reach[lo].lo != reach[hi].hi)
    fail("unequal latencies: " + path(reach[lo].loFrom, lo, reach[lo].lo) + ", " +
         path(reach[hi].hiFrom, hi, reach[hi].hi) +
         "; every path from an operand to the result must cross the same number of registers");
  return reach[lo].lo;
}

} // namespace net2alg
