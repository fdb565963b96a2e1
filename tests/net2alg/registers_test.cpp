// Exact word powers, and the register checks of --flops transparent: the
// rows where the logic is subtle (exponent folding, controls through
// inverters, asynchronous resets, latencies, AIGER latches).
#include <sstream>

#include "aiger_reader.h"
#include "alg_writer.h"
#include "blif_reader.h"
#include "test_util.h"
#include "translation.h"

using namespace net2alg;

TEST(WordPowers, Rewriting) {
  const std::set<std::string> words = {"Z", "A", "B"};
  struct Row {
    const char *spec;
    unsigned degree, maxFactors;
    const char *want; // the rewritten specification, or the message
  } rows[] = {
      {"Z + A^2", 8, 8, "Z + A_sq1"},
      {"Z + A*B*A", 8, 8, "Z + A_sq1*B"},
      {"Z + (X)*A^2*X^3*A", 8, 8, "Z + (X)*A_sq1*A*X^3"},
      {"Z^2 + A^5", 2, 8, "Z_sq1 + A_sq1"}, // A^5 = A^2 in GF(4): 5 mod 3
      {"Z + A^255", 8, 8, "Z + A_sq7*A_sq6*A_sq5*A_sq4*A_sq3*A_sq2*A_sq1*A"},
      {"Z + A^255", 9, 7,
       "--spec: A^255 is a product of 8 words A^(2^j), one per binary digit of 255; at most 7 "
       "are allowed (--max-power-factors)"},
      {"Z + A^0", 8, 8, "--spec: 'A^0': a word's exponent must be at least 1"},
  };
  for (const Row &r : rows) {
    std::string got;
    const std::string error = errorOf([&] {
      got = specText(exactPowers(parseSpec(r.spec, words), words, r.degree, r.maxFactors).terms);
    });
    EXPECT_EQ(error.empty() ? got : error, r.want) << r.spec;
  }
}

namespace {

Netlist blifWithRegisters(const std::string &body) {
  std::istringstream in(".model r\n.inputs a c rn en\n.outputs z\n" + body + ".end\n");
  return readBlif(in, "r.blif", true);
}

} // namespace

// A GF(4) squarer: A^2 = a0 + (X+1)*a1, written into the Frobenius word.
TEST(WordPowers, FrobeniusWord) {
  std::istringstream in(".model s\n.inputs a[0] a[1]\n.outputs z[0] z[1]\n"
                        ".names a[0] a[1] z[0]\n10 1\n01 1\n.names a[1] z[1]\n1 1\n.end\n");
  WordOptions w;
  w.z = "z";
  w.a = "a";
  w.poly = "X^2+X+1";
  w.spec = "Z + A^2";
  const Translation t = translate(readBlif(in, "s.blif"), w);
  std::ostringstream out;
  writeAlg(t, computedOrder(t), out);
  EXPECT_NE(out.str().find("Z, z_1, z_0, A_sq1, A, a_0, a_1;"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("A_sq1 + a_0 + (X+1)*a_1"), std::string::npos) << out.str();
}

TEST(Registers, Controls) {
  // z is a register of x = a AND c; the controls come from rn and en.
  const std::string logic = ".names a c x\n11 1\n.names rn r\n0 1\n";
  struct Row {
    std::string cell;
    std::vector<std::string> ties;
    const char *want; // "" when the register is a wire
  } rows[] = {
      {".subckt $_SDFF_PP0_ C=c D=x Q=z R=r\n", {"rn=1"}, ""}, // r = NOT rn = 0: inactive
      {".subckt $_SDFF_PP0_ C=c D=x Q=z R=r\n",
       {"rn=0"},
       "register 'z' ($_SDFF_PP0_, r.blif:8): the ties hold its synchronous reset 'r' active"},
      {".subckt $_SDFF_PP0_ C=c D=x Q=z R=r\n",
       {},
       "register 'z' ($_SDFF_PP0_, r.blif:8): its synchronous reset 'r' is not held inactive, so "
       "the cell is no wire; hold it with --tie on the inputs that drive 'r', or make the "
       "registers transparent before yosys folds logic into them (run 'proc; flatten' and "
       "convert then)"},
      {".subckt $_DFFE_PN_ C=c D=x E=en Q=z\n", {"en=0"}, ""}, // enable active low
      {".subckt $_SDFFCE_PN1P_ C=c D=x E=en Q=z R=rn\n", {"rn=1", "en=1"}, ""},
      {".subckt $_DFF_PN0_ C=c D=x Q=z R=rn\n", {}, ""}, // asynchronous: taken as inactive
      {".subckt $_DFF_PN0_ C=c D=x Q=z R=rn\n",
       {"rn=0"},
       "register 'z' ($_DFF_PN0_, r.blif:8): the ties hold its asynchronous set or reset 'rn' "
       "active"},
      {".subckt $_DLATCH_P_ E=c D=x Q=z\n",
       {},
       "register 'z' ($_DLATCH_P_, r.blif:8) cannot be made transparent: latches and "
       "asynchronous loads cannot be wires"},
      {".subckt $_DFF_P_ C=c D=x Q=y\n.names y a z\n10 1\n01 1\n",
       {},
       "unequal latencies: 'a' reaches 'z' through 0 registers, 'a' reaches 'z' through 1 "
       "register; every path from an operand to the result must cross the same number of "
       "registers"},
      {".subckt $_DFF_P_ C=c D=y Q=z\n.names z a y\n11 1\n",
       {},
       "register 'z' ($_DFF_P_, r.blif:8) is in a loop: its output feeds back to its input, so it "
       "cannot "
       "be a wire (only feed-forward pipelines can be made transparent)"},
      // A register outside the cone of Z is dropped, whatever its controls.
      {".subckt $_DFF_P_ C=c D=x Q=z\n.subckt $_SDFF_PP0_ C=c D=x Q=w R=en\n", {}, ""},
      {".latch x z re c 2\n", {"en=2"}, "--tie: the value of 'en=2' does not fit into 1 bits"},
      {".latch x z re c 2\n",
       {"en"},
       "--tie: expected PORT=VALUE (VALUE 0, 1, decimal or 0x...), not 'en'"},
  };
  for (const Row &r : rows) {
    WordOptions w;
    w.z = "z";
    w.a = "a";
    w.poly = "X^2+X+1";
    w.spec = "Z + A";
    w.ties = r.ties;
    w.transparentFlops = true;
    Translation t;
    const std::string error = errorOf([&] { t = translate(blifWithRegisters(logic + r.cell), w); });
    EXPECT_EQ(error, r.want) << r.cell;
    if (error.empty()) {
      EXPECT_EQ(t.latency, 1) << r.cell;
    }
  }
}

TEST(Registers, AigerLatch) {
  // Input a, a latch l0 with the next state NOT a, the output l0.
  const std::string ascii = "aag 2 1 1 1 0\n2\n4 3\n4\nl0 q\n";
  std::istringstream in(ascii);
  const Netlist nl = readAiger(in, "l.aag", true);
  EXPECT_EQ(anfText(nl, "q"), "i[0] + 1");
  ASSERT_EQ(nl.registers.size(), 1u);
  std::istringstream binary("aig 2 1 1 1 0\n3\n4\n");
  EXPECT_EQ(anfText(readAiger(binary, "l.aig", true), "l[0]"), "i[0] + 1");
}
