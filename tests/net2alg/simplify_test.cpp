// The netlist clean-up: each rewrite on its own, checked exhaustively and
// against its expected polynomial; random netlists of every gate kind with
// constants, simulated on all input vectors before and after; the warnings.
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "blif_reader.h"
#include "cell_library.h"
#include "simplify.h"
#include "test_util.h"

using namespace net2alg;

namespace {

// Builds a netlist from lines "OUT CELL IN..." (yosys cell names; an input
// "0" or "1" is a constant); every other name is a primary input and the
// first net defined is the only primary output. Inputs come first, in
// order of appearance.
Netlist build(const std::string &text) {
  Netlist nl;
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line, ';');) {
    std::istringstream words(line);
    lines.emplace_back(std::istream_iterator<std::string>(words),
                       std::istream_iterator<std::string>());
  }
  std::set<std::string> defined;
  for (const auto &l : lines)
    defined.insert(l[0]);
  for (const auto &l : lines)
    for (std::size_t k = 2; k < l.size(); ++k)
      if (!defined.count(l[k]) && l[k] != "0" && l[k] != "1" && nl.findNet(l[k]) < 0)
        nl.addInput(nl.net(l[k]), "t");
  for (const auto &l : lines) {
    std::vector<int> fanins;
    for (std::size_t k = 2; k < l.size(); ++k)
      fanins.push_back(l[k] == "0" ? kConst0 : l[k] == "1" ? kConst1 : nl.net(l[k]));
    const CellType *cell = findCellType(l[1]);
    EXPECT_TRUE(cell != nullptr) << l[1];
    nl.addNode(nl.net(l[0]), fanins, cell->truth, "t");
  }
  nl.addOutput(nl.findNet(lines[0][0]), "t");
  return nl;
}

using Word = std::uint64_t;

// The value of every net for 64 input vectors at once: inputs[k] holds the
// values of primary input k.
std::vector<Word> simulate(const Netlist &nl, const std::vector<Word> &inputs) {
  std::vector<Word> value(nl.netNames.size(), 0);
  std::vector<char> known(nl.netNames.size(), 0);
  for (std::size_t k = 0; k < nl.inputs.size(); ++k) {
    value[nl.inputs[k]] = inputs[k];
    known[nl.inputs[k]] = 1;
  }
  std::function<Word(int)> eval = [&](int net) -> Word {
    if (known[net])
      return value[net];
    Word sum = 0;
    for (const NetTerm &term : nl.nodes.at(nl.driver.at(net)).anf) {
      Word product = ~Word{0};
      for (int n : term)
        product &= eval(n);
      sum ^= product;
    }
    known[net] = 1;
    return value[net] = sum;
  };
  for (int out : nl.outputs)
    eval(out);
  return value;
}

// Checks that the outputs of a and b agree on every assignment of their
// (at most 12) primary inputs.
void expectSameOutputs(const Netlist &a, const Netlist &b) {
  const std::size_t n = a.inputs.size();
  ASSERT_LE(n, 12u);
  for (std::size_t base = 0; base < (std::size_t{1} << n); base += 64) {
    std::vector<Word> inputs(n, 0);
    for (std::size_t k = 0; k < n; ++k)
      for (std::size_t m = 0; m < 64; ++m)
        inputs[k] |= Word{((base + m) >> k) & 1} << m;
    const std::vector<Word> va = simulate(a, inputs), vb = simulate(b, inputs);
    const Word valid = n >= 6 ? ~Word{0} : (Word{1} << (std::size_t{1} << n)) - 1;
    for (int out : a.outputs)
      ASSERT_EQ(va[out] & valid, vb[out] & valid) << a.netNames[out];
  }
}

} // namespace

TEST(Simplify, EachRewriteIsExactAndGivesTheExpectedPolynomial) {
  // $_MUX_ pins are A B S: Y = S ? B : A.
  const struct {
    const char *netlist, *expected;
  } cases[] = {
      // multiplexers with related data inputs, and the mirrored forms
      {"y $_MUX_ x x s", "x"},
      {"y $_MUX_ x n s; n $_NOT_ x", "s + x"},
      {"y $_MUX_ n x s; n $_NOT_ x", "s + x + 1"},
      {"y $_MUX_ x t s; t $_XOR_ x c", "c*s + x"},
      {"y $_MUX_ t x s; t $_XOR_ x c", "c + c*s + x"},
      {"y $_MUX_ 0 1 s", "s"},
      {"y $_MUX_ 1 0 s", "s + 1"},
      {"y $_MUX_ s a s", "a*s"},
      {"y $_MUX_ a s s", "a + a*s + s"},
      {"y $_NMUX_ x n s; n $_NOT_ x", "s + x + 1"},
      // constants through every kind of gate
      {"y $_AND_ x 0", "0"},
      {"y $_NAND_ x 1", "x + 1"},
      {"y $_OR_ x 1", "1"},
      {"y $_NOR_ 0 x", "x + 1"},
      {"y $_XOR_ x 1", "x + 1"},
      {"y $_XNOR_ x 1", "x"},
      {"y $_ANDNOT_ x 0", "x"},
      {"y $_ORNOT_ x 1", "x"},
      {"y $_MUX_ a b 1", "b"},
      {"y $_AOI3_ a 1 c", "a + a*c + c + 1"},
      {"y $_AOI4_ 1 1 c d", "0"},
      {"y $_MUX4_ a b c d 1 0", "b"},
      {"y $_MUX16_ 0 0 0 0 0 0 0 0 0 0 0 x 0 0 0 0 1 1 0 1", "x"}, // input 11 = S + 2T + 8V
      {"y $_AND_ x k; k $_OR_ z 1", "x"},
      // buffers and double inversions
      {"y $_AND_ b w; b $_BUF_ x", "w*x"},
      {"y $_NOT_ n; n $_NOT_ x", "x"},
      {"y $_AND_ m w; m $_NOT_ n; n $_NOT_ x", "w*x"},
      // inverters and constants folded into XORs
      {"y $_XOR_ n w; n $_NOT_ x", "w + x + 1"},
      {"y $_XNOR_ n w; n $_XOR_ x 1", "w + x"},
      // structural hashing: p and q are one gate, so y is 0
      {"y $_XOR_ p q; p $_AND_ a b; q $_AND_ b a", "0"},
      // no rewrite where substituting would make a gate larger
      {"y $_XOR_ m w; m $_AND_ n x2; n $_NOT_ x", "m + w"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.netlist);
    const Netlist before = build(c.netlist);
    const Netlist after = simplifyNetlist(before, {});
    EXPECT_EQ(anfText(after, "y"), c.expected);
    expectSameOutputs(before, after);
  }
}

TEST(Simplify, DropsUnusedLogicAndKeepsNamedNets) {
  // d is unused; k is kept by request although it is a copy of p.
  const Netlist nl = build("y $_OR_ p k; p $_AND_ a b; k $_AND_ b a; d $_XOR_ a b");
  const Netlist kept = simplifyNetlist(nl, {nl.findNet("k")});
  EXPECT_EQ(kept.nodes.size(), 3u);
  EXPECT_EQ(kept.driver[kept.findNet("d")], -1);
  EXPECT_EQ(anfText(kept, "k"), "p");
  EXPECT_EQ(anfText(kept, "y"), "p");
  EXPECT_EQ(simplifyNetlist(nl, {}).nodes.size(), 2u);
}

TEST(Simplify, RandomNetlistsOfEveryGateKindKeepTheirFunction) {
  const char *const cells[] = {"$_BUF_",  "$_NOT_",  "$_AND_",    "$_NAND_",  "$_OR_",   "$_NOR_",
                               "$_XOR_",  "$_XNOR_", "$_ANDNOT_", "$_ORNOT_", "$_AOI3_", "$_OAI3_",
                               "$_AOI4_", "$_OAI4_", "$_MUX_",    "$_NMUX_",  "$_MUX4_"};
  std::mt19937 rng(14);
  for (int round = 0; round < 40; ++round) {
    Netlist nl;
    std::vector<int> nets;
    for (int k = 0; k < 8; ++k) {
      nets.push_back(nl.net("i" + std::to_string(k)));
      nl.addInput(nets.back(), "t");
    }
    // Constant nodes, as yosys writes them, and constant fanins.
    nl.addNode(nl.net("$false"), {}, {0}, "t");
    nl.addNode(nl.net("$true"), {}, {1}, "t");
    nets.push_back(nl.findNet("$false"));
    nets.push_back(nl.findNet("$true"));
    for (int g = 0; g < 200; ++g) {
      const CellType *cell = findCellType(cells[rng() % std::size(cells)]);
      std::vector<int> fanins;
      for (std::size_t k = 0; k < cell->inputs.size(); ++k) {
        const unsigned pick = rng() % 16;
        // Mostly recent nets, so that chains form; sometimes a constant.
        fanins.push_back(pick == 0   ? kConst0
                         : pick == 1 ? kConst1
                         : pick < 10
                             ? nets[nets.size() - 1 - rng() % std::min<std::size_t>(nets.size(), 6)]
                             : nets[rng() % nets.size()]);
      }
      nets.push_back(nl.net("g" + std::to_string(g)));
      nl.addNode(nets.back(), fanins, cell->truth, "t");
    }
    for (int k = 0; k < 12; ++k)
      nl.addOutput(nl.net("g" + std::to_string(199 - k * 7)), "t");
    const Netlist after = simplifyNetlist(nl, {});
    EXPECT_LE(after.nodes.size(), nl.nodes.size());
    expectSameOutputs(nl, after);
  }
}

// The multiplexer-chain warning, and no warning after simplification, are
// checked end to end by the mux16 flow (flow.sh).
TEST(Simplify, WarnsAboutWidePolynomials) {
  std::istringstream in(".model m\n.inputs a b c d e\n.outputs w\n"
                        ".names a b c d e w\n00000 0\n.end\n"); // w = a|b|c|d|e: 31 terms
  WordOptions words;
  words.z = "w";
  words.a = "a";
  words.poly = "X+1";
  words.spec = "Z + A";
  words.simplify = true;
  const std::vector<std::string> warnings = shapeWarnings(translate(readBlif(in, "m.blif"), words));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("1 gate has a polynomial of more than 16 terms (the largest: 'w', 32 "
                              "terms)",
                              0),
            0u)
      << warnings[0];
}
