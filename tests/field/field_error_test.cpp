// Fatal input errors of the field code: the exact message for standard
// output and the exit status the FatalError carries. The cases also show
// that the unwinding leaves the field intact and leaks nothing; the golden
// cases see the messages printed by polyverify's main.
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "field_def.h"
#include "field_test_util.h"
#include "fatal_error.h"

namespace {

// Expects body to throw a fatal input error with exactly the text out.
void expectFatal(const std::function<void()> &body, const std::string &out) {
  try {
    body();
    ADD_FAILURE() << "no error: " << out;
  } catch (const FatalError &e) {
    EXPECT_EQ(e.text(), out);
    EXPECT_EQ(e.stream(), ErrorStream::kStdout);
    EXPECT_EQ(e.status(), ExitStatus::kInputError);
  }
}

class FieldErrors : public testing::Test {
protected:
  void SetUp() override { AlphaPoly::setMinpoly("X^8+X^4+X^3+X+1"); }
};

TEST_F(FieldErrors, TextConstructorRejectsBadTerms) {
  expectFatal([] { AlphaPoly("Y"); }, "ERROR PARSING POLY: 'Y'\nGot 'Y'\n");
  expectFatal([] { AlphaPoly("X^3 + Z + 1"); }, "ERROR PARSING POLY: 'X3+Z+1'\nGot 'Z'\n");
  expectFatal([] { AlphaPoly("X^-3+1"); }, "ERROR PARSING POLY: 'X-3+1'\nGot 'X-3'\n");
  expectFatal([] { AlphaPoly("X^18446744073709551616"); },
              "ERROR PARSING POLY: 'X18446744073709551616'\nGot 'X18446744073709551616'\n");
}

TEST_F(FieldErrors, HandleMinpolyRejectsExponentZeroAndOtherNames) {
  std::string out = "X^8+";
  expectFatal([&] { HandleMinpoly(out, "X", 0); }, "Invalid minpoly exponent 0\n");
  expectFatal([&] { HandleMinpoly(out, "a", 0); }, "Invalid minpoly exponent 0\n");
  expectFatal([&] { HandleMinpoly(out, "x", 1); }, "Invalid minpoly variable x\n");
  expectFatal([&] { HandleMinpoly(out, "X1", 3); }, "Invalid minpoly variable X1\n");
  EXPECT_EQ(out, "X^8+");
}

TEST_F(FieldErrors, MalformedMinimalPolynomialsLeaveTheFieldAsItWas) {
  const struct {
    const char *minpoly;
    const char *message;
  } cases[] = {
      {"X+1", "Invalid minpoly degree 1\n"},
      {"1+X^3", "Invalid minpoly degree 0\n"},
      {"", "Invalid minpoly degree 0\n"},
      {"X^16385+X+1", "Invalid minpoly degree 16385\n"},
      {"X^99999999999999999999999+X+1", "Invalid minpoly degree 99999999999999999999999\n"},
      {"X^8", "Invalid minpoly single term X^8\n"},
      {"X^8+", "Invalid minpoly single term X^8\n"},
      {"X^8+X^9+1", "Invalid minpoly term X^9 for degree 8\n"},
      {"X^8+X^8+1", "Invalid minpoly term X^8 for degree 8\n"},
      {"X^8+Y+1", "ERROR PARSING POLY: 'Y+1'\nGot 'Y'\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.minpoly);
    expectFatal([&] { AlphaPoly::setMinpoly(c.minpoly); }, c.message);
    EXPECT_EQ(K, 8);
    EXPECT_EQ(exponents[8]->toString(), "X^6+X^4+X^3+X^2+X");
  }
}

// Runs in a child that starts from the state before any field section.
bool elementsWithoutFieldAreEmpty() {
  // The power table stays: nothing reads it while no field is defined.
  K = NumChars = lastCharBuffer = NumWords = 0;
  Elem a = text("X^5+X+1");
  Elem b = power(1000);
  Elem inv(a->getInverse());
  a->mult(b.get());
  a->add(b.get());
  return a->isZero() && a->isOne() && b->isOne() && inv->isZero() && a->toString().empty() &&
         a->equals(b.get());
}

TEST(FieldUndefined, ElementsBeforeAnyFieldAreEmptyAndSafe) {
  EXPECT_EXIT(std::exit(elementsWithoutFieldAreEmpty() ? 0 : 3), testing::ExitedWithCode(0), "");
}

} // namespace
