// The netlist clean-up: substitution of constants, buffers, duplicates and
// small fanin functions into the node polynomials, then dead logic removal.
#include "simplify.h"

#include <algorithm>
#include <cstdint>

namespace net2alg {
namespace {

using Anf = std::vector<NetTerm>;

// A fanin function of at most this many products over at most this many
// nets is tried for substitution into its fanouts...
constexpr std::size_t kInlineTerms = 4;
constexpr std::size_t kInlineNets = 4;
// ... of at most this many products.
constexpr std::size_t kInlineTargetTerms = 64;
// Substitution rounds per node; each round replaces nets by earlier ones, so
// the rounds end by themselves, and this only bounds the work.
constexpr int kInlineRounds = 8;

struct AnfHash {
  std::size_t operator()(const Anf &anf) const {
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    for (const NetTerm &t : anf) {
      for (int n : t)
        h = (h ^ static_cast<std::uint32_t>(n)) * 0x100000001b3ull;
      h = (h ^ 0xffu) * 0x100000001b3ull; // the end of a product
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

// Sorts the products and cancels equal ones in pairs (x + x = 0).
void normalise(Anf &anf) {
  std::sort(anf.begin(), anf.end());
  Anf out;
  for (std::size_t i = 0; i < anf.size();) {
    std::size_t j = i + 1;
    while (j < anf.size() && anf[j] == anf[i])
      ++j;
    if ((j - i) % 2)
      out.push_back(std::move(anf[i]));
    i = j;
  }
  anf.swap(out);
}

// anf with the net f replaced by the function g (x * x = x).
Anf substitute(const Anf &anf, int f, const Anf &g) {
  Anf out;
  for (const NetTerm &t : anf) {
    const auto at = std::lower_bound(t.begin(), t.end(), f);
    if (at == t.end() || *at != f) {
      out.push_back(t);
      continue;
    }
    NetTerm rest(t.begin(), at);
    rest.insert(rest.end(), at + 1, t.end());
    for (const NetTerm &u : g) {
      NetTerm p;
      std::set_union(rest.begin(), rest.end(), u.begin(), u.end(), std::back_inserter(p));
      out.push_back(std::move(p));
    }
  }
  normalise(out);
  return out;
}

// The nets of anf, ascending, each once.
IdList netsOf(const Anf &anf) {
  IdList nets;
  for (const NetTerm &t : anf)
    nets.insert(nets.end(), t.begin(), t.end());
  std::sort(nets.begin(), nets.end());
  nets.erase(std::unique(nets.begin(), nets.end()), nets.end());
  return nets;
}

std::size_t nonConstantTerms(const Anf &anf) {
  return anf.size() - (!anf.empty() && anf.front().empty() ? 1 : 0);
}

// The nodes of nl with every node after the drivers of its support; empty
// when the netlist has a cycle.
std::vector<int> topologicalNodes(const Netlist &nl) {
  enum : char { kNew, kActive, kDone };
  std::vector<char> state(nl.nodes.size(), kNew);
  std::vector<int> order;
  for (std::size_t root = 0; root < nl.nodes.size(); ++root) {
    if (state[root] != kNew)
      continue;
    std::vector<std::pair<int, std::size_t>> stack{{static_cast<int>(root), 0}};
    state[root] = kActive;
    while (!stack.empty()) {
      auto &[node, next] = stack.back();
      if (next == nl.nodes[node].support.size()) {
        state[node] = kDone;
        order.push_back(node);
        stack.pop_back();
        continue;
      }
      const int d = nl.driver[nl.nodes[node].support[next++]];
      if (d < 0 || state[d] == kDone)
        continue;
      if (state[d] == kActive)
        return {};
      state[d] = kActive;
      stack.push_back({d, 0});
    }
  }
  return order;
}

// Keeps the nets of `ordered` that anf uses, first occurrences only.
IdList orderedSupport(const IdList &ordered, const Anf &anf) {
  const IdList used = netsOf(anf);
  IdList support;
  for (int n : ordered)
    if (std::binary_search(used.begin(), used.end(), n) &&
        std::find(support.begin(), support.end(), n) == support.end())
      support.push_back(n);
  return support;
}

// `ordered` with f replaced by the nets of `by`.
IdList replaceInOrder(const IdList &ordered, int f, const IdList &by) {
  IdList out;
  for (int n : ordered) {
    if (n == f)
      out.insert(out.end(), by.begin(), by.end());
    else
      out.push_back(n);
  }
  return out;
}

} // namespace

Netlist simplifyNetlist(const Netlist &nl, const std::vector<int> &keep) {
  Netlist out = nl.withoutNodes();
  simplifyNodes(nl, keep, out.nodes, out.driver);
  return out;
}

void simplifyNodes(const Netlist &nl, const std::vector<int> &keep, std::vector<Node> &nodes,
                   std::vector<int> &driver) {
  const std::vector<int> order = topologicalNodes(nl);
  if (order.size() != nl.nodes.size()) {
    nodes = nl.nodes;
    driver = nl.driver;
    return;
  }

  // Per node: its simplified function and support (in fanin order). Per
  // net: the function that replaces it everywhere (a constant, another net),
  // when it has one.
  std::vector<Anf> fn(nl.nodes.size());
  std::vector<IdList> support(nl.nodes.size());
  // Per node: its function is small enough to be substituted into its
  // fanouts (a byte per node, so that the test stays in the cache).
  std::vector<char> small(nl.nodes.size(), 0);
  std::vector<char> replaced(nl.netNames.size(), 0);
  std::vector<Anf> value(nl.netNames.size());
  // The nodes whose function no earlier node computes, by function: an
  // open-addressing table (at most half full) of node + 1 in the low half
  // of a slot and the function's hash above, probed linearly.
  std::size_t tableSize = 64;
  while (tableSize < 2 * nl.nodes.size())
    tableSize *= 2;
  std::vector<std::uint64_t> byFunction(tableSize, 0);
  // The first node that computes what node k computes: k itself when it is
  // the first (then it is entered).
  const auto firstWithFunction = [&](int k) {
    const std::uint64_t hash = AnfHash()(fn[k]);
    const std::uint64_t high = hash >> 32 << 32;
    for (std::size_t s = hash & (tableSize - 1);; s = (s + 1) & (tableSize - 1)) {
      const std::uint64_t slot = byFunction[s];
      if (slot == 0) {
        byFunction[s] = high | static_cast<std::uint32_t>(k + 1);
        return k;
      }
      const int other = static_cast<int>((slot & 0xffffffffu) - 1);
      if ((slot >> 32 << 32) == high && fn[other] == fn[k])
        return other;
    }
  };

  for (int k : order) {
    const Node &node = nl.nodes[k];
    Anf anf = node.anf;
    IdList ordered = node.support;
    bool touched = false;
    for (int f : node.support)
      if (replaced[f]) {
        anf = substitute(anf, f, value[f]);
        ordered = replaceInOrder(ordered, f, netsOf(value[f]));
        touched = true;
      }
    // A fanin function small enough to be substituted, if there is one.
    const auto inlinable = [&](int f) {
      const int d = nl.driver[f];
      return d >= 0 && small[d];
    };
    const bool tryInline = anf.size() <= kInlineTargetTerms &&
                           (touched || std::any_of(ordered.begin(), ordered.end(), inlinable));
    for (int round = 0; tryInline && round < kInlineRounds && anf.size() <= kInlineTargetTerms;
         ++round) {
      bool changed = false;
      for (int f : netsOf(anf)) {
        const int d = nl.driver[f];
        if (!inlinable(f))
          continue;
        Anf composed = substitute(anf, f, fn[d]);
        if (nonConstantTerms(composed) <= nonConstantTerms(anf) &&
            netsOf(composed).size() <= netsOf(anf).size()) {
          anf = std::move(composed);
          ordered = replaceInOrder(ordered, f, support[nl.driver[f]]);
          changed = true;
          touched = true;
        }
      }
      if (!changed)
        break;
    }
    // An untouched node keeps its support: the nets of its function in
    // fanin order, as the netlist built it.
    support[k] = touched ? orderedSupport(ordered, anf) : std::move(ordered);
    fn[k] = std::move(anf);
    small[k] = fn[k].size() <= kInlineTerms && support[k].size() <= kInlineNets;

    const Anf &result = fn[k];
    const bool constant = result.empty() || (result.size() == 1 && result[0].empty());
    const bool buffer = result.size() == 1 && result[0].size() == 1;
    if (constant || buffer) {
      replaced[node.out] = 1;
      value[node.out] = result;
    } else {
      const int first = firstWithFunction(k);
      if (first != k) {
        replaced[node.out] = 1;
        value[node.out] = {{nl.nodes[first].out}};
      }
    }
  }

  // The nodes that the kept nets need. A kept net that was replaced gets
  // its replacement as its function.
  std::vector<char> live(nl.nodes.size(), 0);
  std::vector<int> work;
  auto need = [&](int net) {
    const int d = nl.driver[net];
    if (d >= 0 && !live[d]) {
      live[d] = 1;
      work.push_back(d);
    }
  };
  std::vector<int> roots = nl.outputs;
  roots.insert(roots.end(), keep.begin(), keep.end());
  for (int r : roots) {
    const int d = nl.driver[r];
    if (d >= 0 && replaced[r] && !live[d]) {
      fn[d] = value[r];
      support[d] = netsOf(value[r]);
    }
    need(r);
  }
  while (!work.empty()) {
    const int d = work.back();
    work.pop_back();
    for (int f : support[d])
      need(f);
  }

  nodes.clear();
  nodes.reserve(static_cast<std::size_t>(std::count(live.begin(), live.end(), 1)));
  driver.assign(nl.driver.size(), -1);
  for (std::size_t k = 0; k < nl.nodes.size(); ++k) {
    if (!live[k])
      continue;
    const Node &node = nl.nodes[k];
    driver[node.out] = static_cast<int>(nodes.size());
    nodes.push_back({node.out, std::move(support[k]), std::move(fn[k]), node.where});
  }
}

namespace {

// For a multiplexer polynomial s*a + s*b + b (+ 1), its data inputs a and
// b; otherwise false.
bool muxInputs(const AlgVariable &v, int &a, int &b) {
  std::vector<IdList> pairs, singles;
  for (const AlgTerm &t : v.tail) {
    if (t.vars.size() == 2)
      pairs.push_back(t.vars);
    else if (t.vars.size() == 1)
      singles.push_back(t.vars);
    else if (!t.vars.empty())
      return false;
  }
  if (pairs.size() != 2 || singles.size() != 1)
    return false;
  const int single = singles[0][0];
  for (int s : pairs[0]) {
    const auto &p = pairs[1];
    if (std::find(p.begin(), p.end(), s) == p.end())
      continue;
    a = pairs[0][0] == s ? pairs[0][1] : pairs[0][0];
    b = p[0] == s ? p[1] : p[0];
    if (a == b || s == single)
      return false;
    if (b != single)
      std::swap(a, b);
    return b == single;
  }
  return false;
}

} // namespace

std::vector<std::string> shapeWarnings(const Translation &t) {
  std::vector<std::string> warnings;

  std::size_t wide = 0;
  int widest = -1;
  for (std::size_t v = 0; v < t.vars.size(); ++v) {
    if (t.vars[v].kind != AlgVariable::kGate || t.vars[v].tail.size() <= kManyTerms)
      continue;
    ++wide;
    if (widest < 0 || t.vars[v].tail.size() > t.vars[widest].tail.size())
      widest = static_cast<int>(v);
  }
  if (wide)
    warnings.push_back(std::to_string(wide) + " gate" + (wide > 1 ? "s have" : " has") +
                       " a polynomial of more than " + std::to_string(kManyTerms) +
                       " terms (the largest: '" + t.vars[widest].name + "', " +
                       std::to_string(t.vars[widest].tail.size() + 1) +
                       " terms): wide covers can make the reduction slow; map the netlist "
                       "to small gates (e.g. yosys 'techmap' or ABC 'strash')");

  // Longest chain of multiplexers through their data inputs, fanins first.
  std::vector<int> order = computedOrder(t);
  std::reverse(order.begin(), order.end());
  std::vector<std::size_t> depth(t.vars.size(), 0);
  std::size_t muxes = 0, longest = 0;
  int end = -1;
  for (int v : order) {
    int a = -1, b = -1;
    if (t.vars[v].kind != AlgVariable::kGate || !muxInputs(t.vars[v], a, b))
      continue;
    ++muxes;
    depth[v] = 1 + std::max(depth[a], depth[b]);
    if (depth[v] > longest) {
      longest = depth[v];
      end = v;
    }
  }
  if (longest >= kLongMuxChain)
    warnings.push_back(std::to_string(muxes) + " multiplexers remain, in chains up to " +
                       std::to_string(longest) + " deep (one ends at '" + t.vars[end].name +
                       "'): if their selects depend on the data they choose, the reduction "
                       "can grow exponentially; optimise the netlist (e.g. yosys 'opt' or "
                       "'synth')");
  return warnings;
}

} // namespace net2alg
