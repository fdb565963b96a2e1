// Exact word powers, and the register checks of --flops transparent: the
// rows where the logic is subtle (exponent folding, controls through
// inverters, asynchronous resets, latencies). Squarers and powers proved
// end to end, the factor limit, synchronous resets tied, held or left
// free, feedback loops and AIGER latches are rows of rtl.sh.
#include <sstream>

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
