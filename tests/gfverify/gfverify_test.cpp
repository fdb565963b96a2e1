// The subtle parts of gfverify: which ports form the default words, the
// field's polynomial recovered from a netlist (never a false field), and the
// problem built directly from a translation (the same as its .alg text).
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "alg_writer.h"
#include "blif_reader.h"
#include "check.h"
#include "ports.h"
#include "problem_builder.h"
#include "problem_hook.h"
#include "reduce.h"
#include "run_file.h"
#include "translation.h"

namespace {

net2alg::Netlist blif(const std::string &text) {
  std::istringstream in(text);
  return net2alg::readBlif(in, "t.blif");
}

// A netlist with these .inputs and .outputs lines and no logic.
std::vector<gfverify::Port> ports(const std::string &inputs, const std::string &outputs) {
  return gfverify::portsOf(
      blif(".model t\n.inputs " + inputs + "\n.outputs " + outputs + "\n.end\n"));
}

TEST(Ports, DefaultWords) {
  struct Case {
    const char *inputs, *outputs;
    std::vector<std::string> tied;
    const char *words; // "Z=..;A=..;B=.." as port names, or "" when refused
  } cases[] = {
      {"a[0] a[1] b[0] b[1]", "z[0] z[1]", {}, "z a b"},
      // declaration order decides, whatever the names; 1-bit inputs are
      // clocks, resets, enables
      {"clk y[0] y[1] rst x[0] x[1] en", "p[0] p[1]", {}, "p y x"},
      // a tied data input is no operand
      {"a[0] a[1] b[0] b[1] c[0] c[1]", "z[0] z[1]", {"c"}, "z a b"},
      {"a[0] a[1] b[0] b[1] c[0] c[1]", "z[0] z[1]", {}, ""}, // three operands
      {"a[0] a[1] b[0] b[1]", "z[0] z[1] z[2]", {}, ""},      // carry-less width
      {"a[0] a[1] b[0] b[1]", "z[0] z[1] w[0] w[1]", {}, ""}, // two outputs
      {"a[0] a[1] b[0] b[1] b[2]", "z[0] z[1]", {}, ""},      // unequal operands
  };
  for (const Case &c : cases) {
    const net2alg::Netlist nl =
        blif(std::string(".model t\n.inputs ") + c.inputs + "\n.outputs " + c.outputs + "\n.end\n");
    std::string why;
    const std::vector<gfverify::Word> words =
        gfverify::defaultWords(gfverify::portsOf(nl), c.tied, why);
    std::string got;
    for (const gfverify::Word &w : words) {
      const std::string net = nl.netNames[w.bits.front()];
      got += (got.empty() ? "" : " ") + net.substr(0, net.find('['));
    }
    EXPECT_EQ(got, c.words) << c.inputs << " / " << c.outputs;
    EXPECT_EQ(why.empty(), !words.empty());
  }
}

TEST(Ports, BitsLeastSignificantFirst) {
  // yosys lists a port declared [0:3] from its least significant bit, a[3].
  const std::vector<gfverify::Port> p = ports("a[3] a[2] a[1] a[0] clk", "z");
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0].name, "a");
  EXPECT_EQ(p[0].bits.size(), 4u);
  EXPECT_EQ(p[1].name, "clk");
  EXPECT_EQ(p[2].name, "z");
  EXPECT_FALSE(p[2].input);
}

// A GF(4) multiplier modulo x^2 + x + 1, optionally with one gate wrong.
std::string gf4(const char *z0Cover, const char *z1Cover) {
  return std::string(".model gf4\n.inputs a[0] a[1] b[0] b[1]\n.outputs z[0] z[1]\n"
                     ".names a[0] b[0] p00\n11 1\n.names a[1] b[1] p11\n11 1\n"
                     ".names a[0] b[1] p01\n11 1\n.names a[1] b[0] p10\n11 1\n"
                     ".names p00 p11 z[0]\n") +
         z0Cover + ".names p01 p10 t\n10 1\n01 1\n.names t p11 z[1]\n" + z1Cover + ".end\n";
}

TEST(PolyAuto, RecoversOrRefuses) {
  const char *const xorCover = "10 1\n01 1\n";
  struct Case {
    const char *z0Cover, *z1Cover, *poly; // "" when no field may be recovered
  } cases[] = {
      {xorCover, xorCover, "X^2+X+1"}, // x * x = x + 1
      {xorCover, "10 1\n", ""},        // z1 = t AND NOT p11: x * x = 1, X^2+1 is reducible
      {"10 1\n", xorCover, ""},        // z0 = p00 AND NOT p11: x * x = x, constant term 0
  };
  for (const Case &c : cases) {
    net2alg::WordOptions w;
    w.z = "z";
    w.a = "a";
    w.b = "b";
    w.poly = "X^2+1"; // any degree-2 placeholder
    const net2alg::Translation t = net2alg::translate(blif(gf4(c.z0Cover, c.z1Cover)), w);
    std::string why;
    const std::string poly = gfverify::recoverPolynomial(t, why);
    EXPECT_EQ(poly, c.poly) << c.z0Cover << c.z1Cover;
    EXPECT_EQ(why.empty(), !poly.empty());
  }
}

// Everything the verifier holds of a problem once it is reduced: the names
// of its identifiers, the specification, the generators, the remainder.
std::string problemText(const std::function<void()> &build) {
  std::string text;
  auto terms = [&](const PolyTerm *first, const PolyTerm *last) {
    for (const PolyTerm *t = first; t != last; ++t)
      text += (t == first ? "" : " + ") + termText(*t);
    text += ";\n";
  };
  setResultSink([](const Polynomial &) {});
  setProblemHook([&](const SolvedProblem &p) {
    for (VarId id = 2; id < p.endVar; ++id)
      text += std::string(p.name(id)) + ' ';
    text += "\n";
    terms(p.spec.data(), p.spec.data() + p.spec.size());
    for (std::size_t g = 0; g < p.circuit.size(); ++g)
      terms(p.circuit.begin(g), p.circuit.end(g));
    terms(p.remainder.data(), p.remainder.data() + p.remainder.size());
  });
  build();
  setProblemHook(nullptr);
  setResultSink(nullptr);
  return text;
}

TEST(Direct, SameProblemAsTheAlgText) {
  const char *const xorCover = "10 1\n01 1\n";
  struct Case {
    const char *z1Cover, *spec;
    bool zero, suspects;
  } cases[] = {
      {xorCover, "Z + A*B", true, false},
      {"10 1\n", "Z + A*B", false, true}, // one gate wrong
      // coefficients and a word power (its Frobenius word has coefficient terms)
      {"10 1\n", "Z + (X^3^1+1)*A^2*B + X*B", false, false},
  };
  for (const Case &c : cases) {
    net2alg::WordOptions w;
    w.z = "z";
    w.a = "a";
    w.b = "b";
    w.poly = "X^2+X+1";
    w.spec = c.spec;
    const net2alg::Translation t = net2alg::translate(blif(gf4(xorCover, c.z1Cover)), w);
    const std::vector<int> order = net2alg::computedOrder(t);
    std::ostringstream alg;
    net2alg::writeAlg(t, order, alg);
    const std::string viaText =
        problemText([&] { ASSERT_EQ(verifyText(alg.str().data(), alg.str().size()), 0); });
    const std::string direct = problemText([&] {
      gfverify::buildProblem(t, order);
      builder::endProblem();
    });
    EXPECT_EQ(direct, viaText) << c.spec;
    const gfverify::Remainder x = gfverify::verifyAlg(alg.str());
    const gfverify::Remainder y = gfverify::verifyTranslation(t, order);
    EXPECT_EQ(y.zero, c.zero) << c.spec;
    EXPECT_EQ(y.text, x.text) << c.spec;
    EXPECT_EQ(y.vars, x.vars) << c.spec;
    EXPECT_EQ(y.suspects, x.suspects) << c.spec;
    EXPECT_EQ(!y.suspects.empty(), c.suspects) << c.spec;
  }
}

} // namespace
