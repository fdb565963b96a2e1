// Resolving words, checking and pruning the netlist, naming, the graph and
// the order.
#include "translation.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>
#include <set>

#include "error.h"
#include "gf_field.h"
#include "names.h"
#include "registers.h"
#include "simplify.h"

namespace net2alg {

std::vector<NamedWord> operandWords(const WordOptions &options) {
  std::vector<NamedWord> words;
  if (!options.a.empty())
    words.push_back({"A", options.a});
  if (!options.b.empty())
    words.push_back({"B", options.b});
  words.insert(words.end(), options.words.begin(), options.words.end());
  return words;
}

namespace {

// The last character of a name that sanitizeName keeps ('\0' for none).
// A sanitized name other than "n" (a name without any) ends with that
// character: a cheap test that rules out almost every net.
char lastNameChar(const std::string &raw) {
  for (auto it = raw.rbegin(); it != raw.rend(); ++it) {
    const unsigned char c = static_cast<unsigned char>(*it);
    if (std::isalnum(c) || c == '_')
      return *it;
  }
  return '\0';
}

// The one net whose sanitized name is `item`, or -1 (none, or several).
int uniqueSanitizedNet(const Netlist &nl, const std::string &item) {
  if (item.empty())
    return -1;
  int found = -1;
  for (std::size_t net = 0; net < nl.netNames.size(); ++net) {
    const std::string &raw = nl.netNames[net];
    if (item != "n" && lastNameChar(raw) != item.back())
      continue;
    if (sanitizeName(raw) != item)
      continue;
    if (found >= 0)
      return -1;
    found = static_cast<int>(net);
  }
  return found;
}

} // namespace

// Finds the nets of one word option. A plain item is a net name, else the
// sanitized name of exactly one net, else a bus: NAME[0], NAME[1], ... as
// far as they go.
std::vector<int> resolveBits(const Netlist &nl, const std::string &text, const std::string &option,
                             bool inputsOnly) {
  std::vector<int> bits;
  for (const std::string &item : splitBitList(text, option)) {
    int id = nl.findNet(item);
    if (id < 0)
      id = uniqueSanitizedNet(nl, item);
    if (id >= 0) {
      bits.push_back(id);
      continue;
    }
    if (nl.findNet(item + "[0]") < 0)
      fail(option + ": no net or bus '" + item + "' in " + nl.source);
    for (int k = 0; (id = nl.findNet(item + "[" + std::to_string(k) + "]")) >= 0; ++k)
      bits.push_back(id);
  }
  std::set<int> seen;
  for (int id : bits) {
    if (!seen.insert(id).second)
      fail(option + ": net '" + nl.netNames[id] + "' is listed twice");
    if (inputsOnly && !nl.isInput[id])
      fail(option + ": '" + nl.netNames[id] + "' is not a primary input");
  }
  return bits;
}

namespace {

// Rejects a combinational cycle anywhere in the netlist, naming its nets.
void checkAcyclic(const Netlist &nl) {
  enum : char { kNew, kActive, kDone };
  std::vector<char> state(nl.netNames.size(), kNew);
  for (std::size_t root = 0; root < nl.netNames.size(); ++root) {
    if (state[root] != kNew)
      continue;
    // Depth-first search with an explicit stack of (net, next support index).
    std::vector<std::pair<int, std::size_t>> stack{{static_cast<int>(root), 0}};
    state[root] = kActive;
    while (!stack.empty()) {
      auto &[net, next] = stack.back();
      const int d = nl.driver[net];
      if (d < 0 || next == nl.nodes[d].support.size()) {
        state[net] = kDone;
        stack.pop_back();
        continue;
      }
      const int fanin = nl.nodes[d].support[next++];
      if (state[fanin] == kActive) {
        // A register on the cycle: name it rather than the nets.
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
          const Node &node = nl.nodes[nl.driver[it->first]];
          if (node.reg >= 0)
            fail("register '" + nl.netNames[node.out] + "' (" + nl.registers[node.reg].type + ", " +
                 node.where.text() +
                 ") is in a loop: its output feeds back to its input, so it cannot be a wire "
                 "(only feed-forward pipelines can be made transparent)");
          if (it->first == fanin)
            break;
        }
        std::string cycle = nl.netNames[fanin];
        std::size_t shown = 0;
        for (auto it = stack.rbegin(); it != stack.rend() && it->first != fanin; ++it) {
          if (++shown > 8) {
            cycle = "... -> " + cycle;
            break;
          }
          cycle = nl.netNames[it->first] + " -> " + cycle;
        }
        fail(nl.source + ": combinational cycle: " + nl.netNames[fanin] + " -> " + cycle);
      }
      if (state[fanin] == kNew) {
        state[fanin] = kActive;
        stack.push_back({fanin, 0});
      }
    }
  }
}

// The logic that the polynomials are built from: the netlist's own nodes,
// or the simplified ones over the same nets.
struct Logic {
  const std::vector<Node> &nodes;
  const std::vector<int> &driver;
};

// Marks the nets that the given nets depend on (themselves included).
std::vector<char> coneOf(const Netlist &nl, const Logic &logic, const std::vector<int> &roots) {
  std::vector<char> inCone(nl.netNames.size(), 0);
  std::vector<int> work;
  for (int r : roots)
    if (!inCone[r]) {
      inCone[r] = 1;
      work.push_back(r);
    }
  while (!work.empty()) {
    const int net = work.back();
    work.pop_back();
    const int d = logic.driver[net];
    if (d < 0) {
      if (!nl.isInput[net])
        fail(nl.source + ": net '" + nl.netNames[net] +
             "' is used but has no driver and is not a primary input");
      continue;
    }
    for (int f : logic.nodes[d].support)
      if (!inCone[f]) {
        inCone[f] = 1;
        work.push_back(f);
      }
  }
  return inCone;
}

void buildProblem(const Netlist &nl, const Logic &logic,
                  const std::vector<std::vector<int>> &wordBits, const ExactSpec &exact,
                  Translation &t);

} // namespace

Translation translate(const Netlist &netlist, const WordOptions &options) {
  // Ties and registers change the netlist: then a copy is worked on.
  Netlist prepared;
  const bool prepare = !options.ties.empty() || !netlist.registers.empty();
  if (prepare) {
    prepared = netlist;
    tieInputs(prepared, options.ties);
  }
  const Netlist &nl = prepare ? prepared : netlist;
  Translation t;
  t.source = nl.source;
  t.model = nl.model;
  t.field = parseFieldPolynomial(options.poly);
  const std::vector<NamedWord> operands = operandWords(options);
  std::set<std::string> words{"Z"};
  for (const NamedWord &w : operands) {
    bool identifier = !w.name.empty() && !std::isdigit(static_cast<unsigned char>(w.name[0]));
    for (char c : w.name)
      identifier = identifier && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (!identifier)
      fail("--word: '" + w.name + "' is no word name (letters, digits and '_', not first a digit)");
    if (w.name == "X")
      fail("--word: a word may not be called X, the field generator in the .alg language");
    if (!words.insert(w.name).second)
      fail("--word: the word " + w.name + " is given twice");
  }
  t.specTerms = parseSpec(options.spec, words);
  const ExactSpec exact = exactPowers(t.specTerms, words, t.field.degree, options.maxPowerFactors);
  t.spec = specText(exact.terms);

  if (options.z.empty())
    fail("--z is missing: name the outputs that form the word Z");
  if (options.a.empty() && options.words.empty())
    fail("--a is missing: name the inputs that form the word A");
  // wordBits[0] is Z, then the operands in their order.
  auto optionName = [](const std::string &word) {
    return word == "Z" || word == "A" || word == "B"
               ? "--" + std::string(1, static_cast<char>(std::tolower(word[0])))
               : "--word " + word;
  };
  std::vector<std::vector<int>> wordBits{resolveBits(nl, options.z, "--z", false)};
  t.wordNames.push_back("Z");
  for (const NamedWord &w : operands) {
    wordBits.push_back(resolveBits(nl, w.bits, optionName(w.name), true));
    t.wordNames.push_back(w.name);
  }
  for (std::size_t w = 0; w < wordBits.size(); ++w)
    if (wordBits[w].size() > t.field.degree)
      fail(optionName(t.wordNames[w]) + ": " + std::to_string(wordBits[w].size()) +
           " bits, but GF(2^" + std::to_string(t.field.degree) + ") has only " +
           std::to_string(t.field.degree));
  std::map<int, std::size_t> operandOf;
  for (std::size_t w = 1; w < wordBits.size(); ++w)
    for (int id : wordBits[w]) {
      const auto [it, fresh] = operandOf.insert({id, w});
      if (!fresh)
        fail("net '" + nl.netNames[id] + "' is in both " + optionName(t.wordNames[it->second]) +
             " and " + optionName(t.wordNames[w]));
    }
  const std::vector<int> &zBits = wordBits[0];

  if (!nl.registers.empty())
    dropRegistersOutside(prepared, zBits);
  checkAcyclic(nl);
  if (!nl.registers.empty()) {
    checkRegisterControls(nl);
    std::vector<int> operandBits;
    for (std::size_t w = 1; w < wordBits.size(); ++w)
      operandBits.insert(operandBits.end(), wordBits[w].begin(), wordBits[w].end());
    t.latency = pipelineLatency(nl, zBits, operandBits);
  }
  t.aigerSymbols = nl.aigerSymbols;
  if (options.simplify) {
    // The register checks above need the registers as read; after them each
    // register is a plain wire node, and the ties are already applied.
    std::vector<Node> nodes;
    std::vector<int> driver;
    simplifyNodes(nl, zBits, nodes, driver);
    buildProblem(nl, Logic{nodes, driver}, wordBits, exact, t);
  } else {
    buildProblem(nl, Logic{nl.nodes, nl.driver}, wordBits, exact, t);
  }
  return t;
}

namespace {

// The variables, their names and polynomials, and the signal graph, from
// the logic that the bits of Z depend on.
void buildProblem(const Netlist &nl, const Logic &logic,
                  const std::vector<std::vector<int>> &wordBits, const ExactSpec &exact,
                  Translation &t) {
  const std::vector<int> &zBits = wordBits[0];
  const std::vector<char> inCone = coneOf(nl, logic, zBits);

  // Variables: the words, the inputs (bits of A, of B, others of the cone),
  // then the gates of the cone in the order of the netlist.
  std::vector<int> netVar(nl.netNames.size(), -1);
  std::size_t coneNodes = 0;
  for (const Node &node : logic.nodes)
    coneNodes += inCone[node.out];
  std::size_t wordBitCount = 0;
  for (const std::vector<int> &bits : wordBits)
    wordBitCount += bits.size();
  t.vars.reserve(wordBits.size() + wordBitCount + nl.inputs.size() + coneNodes +
                 exact.frobenius.size());
  auto addVar = [&](AlgVariable::Kind kind, int net) {
    if (net >= 0)
      netVar[net] = static_cast<int>(t.vars.size());
    t.vars.push_back({kind, "", {}, {}, net});
    return static_cast<int>(t.vars.size() - 1);
  };
  for (const std::string &name : t.wordNames)
    t.vars[addVar(AlgVariable::kWord, -1)].name = name;
  const int zVar = 0;
  std::vector<int> others; // inputs of the cone in no operand word
  for (std::size_t w = 1; w < wordBits.size(); ++w)
    for (int net : wordBits[w])
      addVar(AlgVariable::kInput, net);
  for (int net : nl.inputs)
    if (inCone[net] && netVar[net] < 0)
      others.push_back(addVar(AlgVariable::kInput, net));
  for (const Node &node : logic.nodes)
    if (inCone[node.out])
      addVar(AlgVariable::kGate, node.out);
  std::vector<int> frobeniusVars;
  for (const FrobeniusWord &f : exact.frobenius) {
    frobeniusVars.push_back(addVar(AlgVariable::kWord, -1));
    t.vars.back().name = frobeniusName(f.word, f.shift);
  }

  // Names: the bits of the words first, so that they keep their plain
  // names when others clash with them.
  NameTable names(t.vars.size());
  for (const char *w : {"Z", "A", "B"})
    names.reserve(w);
  for (const std::string &w : t.wordNames)
    names.reserve(w);
  for (const FrobeniusWord &f : exact.frobenius)
    names.reserve(frobeniusName(f.word, f.shift));
  auto nameNet = [&](int net) {
    AlgVariable &v = t.vars[netVar[net]];
    if (v.name.empty())
      v.name = names.claim(sanitizeName(nl.netNames[net]));
  };
  for (std::size_t w = 1; w <= wordBits.size(); ++w)
    for (int net : wordBits[w % wordBits.size()])
      nameNet(net);
  for (std::size_t net = 0; net < netVar.size(); ++net)
    if (netVar[net] >= 0)
      nameNet(static_cast<int>(net));

  // Polynomials: a word is the sum of its bits times powers of alpha; a gate
  // is the ANF of its node.
  auto setWord = [&](int var, const std::vector<int> &bits) {
    for (std::size_t k = 0; k < bits.size(); ++k) {
      const int bitVar = netVar[bits[k]];
      t.vars[var].tail.push_back({static_cast<unsigned>(k), -1, {bitVar}});
      t.vars[var].deps.push_back(bitVar);
    }
  };
  for (std::size_t w = 0; w < wordBits.size(); ++w)
    setWord(static_cast<int>(w), wordBits[w]);
  // A^(2^j): bit i of A contributes alpha^(i*2^j), reduced.
  if (!exact.frobenius.empty()) {
    const GfField field(t.field);
    for (std::size_t k = 0; k < exact.frobenius.size(); ++k) {
      const FrobeniusWord &f = exact.frobenius[k];
      const std::vector<int> &bits = wordBits[static_cast<std::size_t>(
          std::find(t.wordNames.begin(), t.wordNames.end(), f.word) - t.wordNames.begin())];
      AlgVariable &v = t.vars[frobeniusVars[k]];
      for (std::size_t i = 0; i < bits.size(); ++i) {
        GfField::Element c = field.alphaPower(i);
        for (unsigned j = 0; j < f.shift; ++j)
          c = field.square(c);
        // A single power of alpha is written as such, a sum as its text.
        int ones = 0;
        unsigned at = 0;
        for (std::size_t w = 0; w < c.size(); ++w)
          if (c[w]) {
            ones += __builtin_popcountll(c[w]);
            at = static_cast<unsigned>(64 * w) + static_cast<unsigned>(__builtin_ctzll(c[w]));
          }
        if (ones == 0)
          continue; // only where the minimal polynomial is reducible
        const int bitVar = netVar[bits[i]];
        if (ones == 1) {
          v.tail.push_back(AlgTerm{at, -1, {bitVar}});
        } else {
          v.tail.push_back(AlgTerm{0, static_cast<int>(t.coefs.size()), {bitVar}});
          t.coefs.push_back(field.text(c));
        }
        v.deps.push_back(bitVar);
      }
    }
  }
  for (const Node &node : logic.nodes) {
    if (!inCone[node.out])
      continue;
    AlgVariable &v = t.vars[netVar[node.out]];
    v.tail.reserve(node.anf.size());
    for (const NetTerm &term : node.anf) {
      AlgTerm algTerm{0, -1, {}};
      algTerm.vars.reserve(term.size());
      for (int net : term)
        algTerm.vars.push_back(netVar[net]);
      v.tail.push_back(std::move(algTerm));
    }
    v.deps.reserve(node.support.size());
    for (int net : node.support)
      v.deps.push_back(netVar[net]);
  }

  // The graph: an edge u -> v says that v's polynomial uses u. The chain
  // others -> bits of B -> bits of A -> B -> A (each list backwards) makes
  // the one vertex without incoming edges the chain's head; every gate and Z
  // that depends on no gate hangs off A. So all gates come after all inputs
  // in the sort, and before them once the order is reversed. Without the
  // chain, the depth-first sort would emit each input just before the
  // gates it frees, and the reversed order would put inputs among the gates.
  std::vector<int> chain(others.rbegin(), others.rend());
  for (std::size_t w = wordBits.size() - 1; w >= 1; --w)
    for (auto it = wordBits[w].rbegin(); it != wordBits[w].rend(); ++it)
      chain.push_back(netVar[*it]);
  for (std::size_t w = wordBits.size() - 1; w >= 1; --w)
    chain.push_back(static_cast<int>(w));
  // The Frobenius words of A and B follow them; those of Z follow Z. So all
  // words of the operands stand above their bits and below every gate, and
  // those of Z above Z, once the order is reversed.
  std::vector<std::pair<int, int>> zFrobenius;
  for (std::size_t k = 0; k < exact.frobenius.size(); ++k) {
    if (exact.frobenius[k].word == "Z")
      zFrobenius.push_back({zVar, frobeniusVars[k]});
    else
      chain.push_back(frobeniusVars[k]);
  }
  t.graph.vertices = t.vars.size();
  std::size_t edges = chain.size() + zFrobenius.size();
  for (const AlgVariable &var : t.vars)
    edges += var.deps.size() + 1;
  t.graph.edges.reserve(edges);
  for (std::size_t k = 0; k + 1 < chain.size(); ++k)
    t.graph.edges.push_back({chain[k], chain[k + 1]});
  std::vector<char> inChain(t.vars.size(), 0);
  for (int v : chain)
    inChain[v] = 1;
  std::vector<int> roots;
  for (std::size_t v = 0; v < t.vars.size(); ++v) {
    const AlgVariable &var = t.vars[v];
    // A, B and their Frobenius words stand in the chain, after their bits.
    if (var.kind == AlgVariable::kInput || inChain[v])
      continue;
    bool root = true;
    for (int d : var.deps) {
      t.graph.edges.push_back({d, static_cast<int>(v)});
      if (t.vars[d].kind != AlgVariable::kInput)
        root = false;
    }
    if (root)
      roots.push_back(static_cast<int>(v));
  }
  t.graph.edges.insert(t.graph.edges.end(), zFrobenius.begin(), zFrobenius.end());
  for (int r : roots)
    t.graph.edges.push_back({chain.back(), r});
}

} // namespace

void writeGraph(const Translation &t, std::ostream &out) {
  writeGraph(t.graph, out, [&](int v) -> const std::string & { return t.vars[v].name; });
}

std::vector<int> computedOrder(const Translation &t) {
  std::vector<int> order = stackTopologicalOrder(t.graph);
  if (order.size() != t.vars.size())
    fail("internal error: the signal graph has a cycle");
  std::reverse(order.begin(), order.end());
  return order;
}

std::vector<int> orderFromNames(const Translation &t, const std::vector<std::string> &names) {
  std::map<std::string, int> byName;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    byName[t.vars[v].name] = static_cast<int>(v);
  std::vector<int> order;
  std::vector<char> seen(t.vars.size(), 0);
  for (const std::string &name : names) {
    const auto it = byName.find(name);
    if (it == byName.end())
      fail("order file: unknown variable '" + name + "'");
    if (seen[it->second]++)
      fail("order file: variable '" + name + "' occurs twice");
    order.push_back(it->second);
  }
  if (order.size() != t.vars.size()) {
    std::string missing;
    for (std::size_t v = 0; v < t.vars.size() && missing.empty(); ++v)
      if (!seen[v])
        missing = t.vars[v].name;
    fail("order file: " + std::to_string(t.vars.size() - order.size()) + " of the " +
         std::to_string(t.vars.size()) + " variables are missing (the first is '" + missing +
         "'); did toporder report a loop?");
  }
  std::reverse(order.begin(), order.end());
  return order;
}

std::vector<std::string> orderWarnings(const Translation &t, const std::vector<int> &order) {
  std::vector<int> rank(t.vars.size());
  for (std::size_t r = 0; r < order.size(); ++r)
    rank[order[r]] = static_cast<int>(r);
  std::vector<std::string> warnings;

  std::size_t notLeading = 0;
  std::string first;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    for (int d : t.vars[v].deps)
      if (rank[d] < rank[v]) {
        if (notLeading++ == 0)
          first = "'" + t.vars[v].name + "' stands below '" + t.vars[d].name +
                  "', which its polynomial uses";
        break;
      }
  if (notLeading)
    warnings.push_back(first +
                       (notLeading > 1
                            ? " (and " + std::to_string(notLeading - 1) + " more polynomials)"
                            : std::string()) +
                       ": a polynomial's leading term is not its own variable");

  // The highest input and the first variable with a polynomial below it.
  int topInput = -1, below = -1;
  for (int v : order) {
    if (t.vars[v].kind == AlgVariable::kInput) {
      if (topInput < 0)
        topInput = v;
    } else if (topInput >= 0) {
      below = v;
      break;
    }
  }
  if (below >= 0)
    warnings.push_back("the order puts the primary input '" + t.vars[topInput].name + "' above '" +
                       t.vars[below].name +
                       "', which has a polynomial: polyverify's single pass can stop early "
                       "with a non-zero remainder");
  return warnings;
}

} // namespace net2alg
