// From netlist to .alg: word options, the order (the chain that keeps inputs
// below gates, order files) and every rejected input. The text of a small
// case is the docs example (docs/net2alg.md), run by the docs test; the
// computed order is proved end to end by every flow (flow.sh), where an
// input among the gates would leave a remainder or a warning.
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "blif_reader.h"
#include "test_util.h"
#include "translation.h"

using namespace net2alg;

namespace {

// tests/net2alg/data/gf4.blif as text: a GF(4) multiplier,
// z0 = a0 b0 + a1 b1, z1 = a0 b1 + a1 b0 + a1 b1.
const std::string kGf4 = [] {
  std::ifstream in(NET2ALG_TEST_DATA "/gf4.blif");
  return std::string(std::istreambuf_iterator<char>(in), {});
}();

Netlist blif(const std::string &text) {
  std::istringstream in(text);
  return readBlif(in, "gf4.blif");
}

WordOptions gf4Words() {
  WordOptions w;
  w.z = "z";
  w.a = "a";
  w.b = "b[0..1]";
  w.poly = "X^2 + X + 1";
  return w;
}

} // namespace

// The plain netlist graph's order reversed: polynomials that do not lead with
// their own variable. (The warning about an input among the gates, for the
// plain order itself, is checked by the trap flow.)
TEST(Translation, ReversedOrderIsFlagged) {
  const Translation t = translate(blif(kGf4), gf4Words());
  const std::vector<std::string> plain = {"b_1", "b_0", "B",   "a_1", "p11", "p10", "a_0",
                                          "p00", "z_0", "p01", "t",   "z_1", "Z",   "A"};
  const std::vector<std::string> w =
      orderWarnings(t, orderFromNames(t, {plain.rbegin(), plain.rend()}));
  ASSERT_FALSE(w.empty());
  EXPECT_EQ(w[0], "'Z' stands below 'z_0', which its polynomial uses (and 9 more polynomials): "
                  "a polynomial's leading term is not its own variable");
}

TEST(Translation, WordOptions) {
  EXPECT_EQ(splitBitList("a[0..2], c ,b[2..1]", "--a"),
            (std::vector<std::string>{"a[0]", "a[1]", "a[2]", "c", "b[2]", "b[1]"}));
  EXPECT_EQ(splitBitList("m.x[3]", "--a"), (std::vector<std::string>{"m.x[3]"}));
  const FieldPolynomial f = parseFieldPolynomial("X^8 + X^4+X^3 + X + 1");
  EXPECT_EQ(f.degree, 8u);
  EXPECT_EQ(f.text, "X^8+X^4+X^3+X+1");
  const std::set<std::string> words = {"Z", "A", "B"};
  EXPECT_EQ(checkSpec("Z+(X^7 + X^2)*A*B", words), "Z + (X^7+X^2)*A*B");
  EXPECT_EQ(checkSpec("Z + X^3*A + 1", words), "Z + X^3*A + 1");
  WordOptions w = gf4Words();
  w.a = "a_0,a[1]"; // the .alg name and the netlist name both work
  EXPECT_EQ(translate(blif(kGf4), w).vars[1].tail.size(), 2u);
}

// Every rejected input names what is wrong, with the option it came from.
TEST(Translation, Errors) {
  const Netlist gf4 = blif(kGf4);
  const Translation t = translate(gf4, gf4Words());
  const std::set<std::string> words = {"Z", "A", "B"};
  const auto words2 = [](const std::string &a, const std::string &b) {
    WordOptions w = gf4Words();
    w.a = a;
    w.b = b;
    return w;
  };
  WordOptions single = words2("a", "");
  single.spec = "Z + A";
  const std::string undriven = ".model u\n.inputs a\n.outputs z\n.names a y z\n11 1\n";
  const auto order = [&](std::vector<std::string> names) {
    return [&t, names] { orderFromNames(t, names); };
  };
  const std::pair<std::function<void()>, std::string> cases[] = {
      {order({"Z", "q"}), "order file: unknown variable 'q'"},
      {order({"Z", "Z"}), "order file: variable 'Z' occurs twice"},
      {[] { splitBitList("a,,b", "--a"); }, "--a: empty item in bit list 'a,,b'"},
      {[] { splitBitList("a[0..x]", "--b"); }, "--b: bad range 'a[0..x]' (expected NAME[LO..HI])"},
      {[] { parseFieldPolynomial("X^3+X^4+1"); },
       "--poly: bad minimal polynomial 'X^3+X^4+1' (write the powers from the highest down, "
       "each once)"},
      {[] { parseFieldPolynomial("X^3+X"); },
       "--poly: bad minimal polynomial 'X^3+X' (a minimal polynomial has the constant term 1)"},
      {[] { parseFieldPolynomial("X^16385+1"); },
       "--poly: bad minimal polynomial 'X^16385+1' (polyverify takes degrees up to 16384)"},
      {[&] { checkSpec("Z + A*C", words); },
       "--spec: unknown name 'C' (the word variables are A, B, Z)"},
      {[&] { checkSpec("Z + A*(X+1)", words); }, "--spec: expected a factor in 'Z + A*(X+1)'"},
      {[&] { checkSpec("Z + (X+A)*B", words); },
       "--spec: a coefficient holds only X and 1, not 'A'"},
      {[&] { checkSpec("Z - A", words); }, "--spec: unexpected character '-'"},
      {[&] { translate(gf4, words2("q", "b[0..1]")); }, "--a: no net or bus 'q' in gf4.blif"},
      {[&] { translate(gf4, words2("p00", "b[0..1]")); }, "--a: 'p00' is not a primary input"},
      {[&] { translate(gf4, words2("a[0],a[0]", "b[0..1]")); }, "--a: net 'a[0]' is listed twice"},
      {[&] { translate(gf4, words2("a,b[0]", "b[0..1]")); }, "--a: 3 bits, but GF(2^2) has only 2"},
      {[&] { translate(gf4, words2("a[0]", "a[1],a[0]")); }, "net 'a[0]' is in both --a and --b"},
      {[&] { translate(gf4, words2("a", "")); },
       "--spec: unknown name 'B' (the word variables are A, Z)"},
      {[&] { translate(blif(undriven), single); },
       "gf4.blif: net 'y' is used but has no driver and is not a primary input"},
  };
  for (const auto &[run, message] : cases)
    EXPECT_EQ(errorOf(run), message);
}
