// The AIGER reader: ASCII and binary files, inverted literals, constants,
// symbols, outputs that need nodes of their own, and errors.
#include <sstream>

#include "aiger_reader.h"
#include "read_netlist.h"
#include "test_util.h"

using namespace net2alg;

namespace {

Netlist aiger(const std::string &text) {
  std::istringstream in(text);
  return readNetlist(in, "t.aig");
}

std::string aigerError(const std::string &text) {
  return errorOf([&] { aiger(text); });
}

} // namespace

TEST(AigerReader, AsciiWithInversionsConstantsAndSymbols) {
  // v3 = !x & !y (a NOR), v4 = x & v3 (always 0), v5 = !v3 & 1 (literal 1 is true).
  // Outputs: !v3 (inverted), v4, v4 again, x, constant 1.
  const Netlist nl = aiger("aag 5 2 0 5 3\n2\n4\n7\n8\n8\n2\n1\n"
                           "6 3 5\n8 2 6\n10 7 1\n"
                           "i0 x\ni1 y\no0 or\no1 zero\no2 zero2\no3 copy\n"
                           "c\nfree text\n");
  ASSERT_EQ(nl.inputs.size(), 2u);
  EXPECT_EQ(nl.netNames[nl.inputs[0]], "x");
  EXPECT_EQ(anfText(nl, "n3"), "x + x*y + y + 1");
  // The first output that uses v4 uninverted gives the gate its name.
  EXPECT_EQ(anfText(nl, "zero"), "n3*x");
  EXPECT_EQ(nl.findNet("n4"), -1);
  EXPECT_EQ(anfText(nl, "n5"), "n3 + 1");
  // Outputs that need a node: an inversion, a second user, an input, a constant.
  EXPECT_EQ(anfText(nl, "or"), "n3 + 1");
  EXPECT_EQ(anfText(nl, "zero2"), "zero");
  EXPECT_EQ(anfText(nl, "copy"), "x");
  EXPECT_EQ(anfText(nl, "o[4]"), "1");
  ASSERT_EQ(nl.outputs.size(), 5u);
  EXPECT_EQ(nl.netNames[nl.outputs[1]], "zero");
}

// Binary AIGER, with deltas of several bytes, is read in the flows (gf8_aiger,
// gf16: about 1100 AND gates); CR LF line ends only here.
TEST(AigerReader, DosLineEnds) {
  EXPECT_EQ(anfText(aiger("aag 3 2 0 1 1\r\n2\r\n4\r\n7\r\n6 2 5\r\nc\r\n"), "o[0]"), "n3 + 1");
}

TEST(AigerReader, Errors) {
  EXPECT_EQ(aigerError("aag 1 1 0 0 0 1 0 0 0\n2\n"),
            "t.aig:1: bad-state, constraint, justice and fairness properties are not supported");
  EXPECT_EQ(aigerError("aag 3 2 0 1 1\n2\n4\n6\n6 2 8\n"),
            "t.aig: literal 8 uses variable 4, which is neither an input nor an AND gate");
  EXPECT_EQ(aigerError("aag 2 1 0 1 1\n2\n4\n4 2 4\n"), "");
  EXPECT_EQ(aigerError("aag 1 2 0 0 0\n2\n4\n"),
            "t.aig:1: bad header 'aag 1 2 0 0 0': M must be at least I + L + A");
  EXPECT_EQ(aigerError("aag 2 2 0 1 0\n2\n4\nx\n"), "t.aig:4: bad output line 'x'");
  EXPECT_EQ(aigerError("aig 2 1 0 1 1\n4\n"),
            "t.aig: unexpected end of file in the binary AND gates");
  EXPECT_EQ(aigerError("aag 1 1 0 0 0\n2\ni3 x\n"),
            "t.aig:3: symbol for input 3, but there are 1 inputs");
  EXPECT_EQ(aigerError("aag 2 2 0 0 0\n2\n4\ni0 x\ni1 x\n"),
            "t.aig: the name 'x' is used for two different signals");
}
