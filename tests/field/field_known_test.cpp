// Worked examples, each known by hand: zero divisors of a reducible modulus,
// the text forms and the fatal messages. (Products, inverses and powers are
// checked against a reference in field_property_test.)
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "coeff_vector.h"
#include "fatal_error.h"
#include "field_def.h"
#include "field_test_util.h"

namespace {

void useField(const char *minpoly) { AlphaPoly::setMinpoly(minpoly); }

TEST(FieldArithmetic, ZeroDivisorOfAReducibleModulusGivesItsCofactor) {
  testing::internal::CaptureStderr();
  useField("X^8+X^4+1"); // (X^2+X+1)^4
  testing::internal::GetCapturedStderr();
  Elem a = text("X^2+X+1");
  Elem r(a->getInverse());
  EXPECT_EQ(r->toString(), "X^6+X^5+X^3+X+1"); // m / gcd(m, a) = (X^2+X+1)^3
  EXPECT_TRUE(product(*a, *r)->isZero());
  Elem b = text("X^3+1"); // (X+1)(X^2+X+1)
  Elem rb(b->getInverse());
  EXPECT_FALSE(rb->isZero());
  EXPECT_TRUE(product(*b, *rb)->isZero());
}

TEST(FieldText, InputAndOutputForms) {
  useField("X^8+X^4+X^3+X+1");
  const std::pair<const char *, const char *> cases[] = {
      {"X^3 + X + 1", "X^3+X+1"},
      {"X3+X+1", "X^3+X+1"},
      {"1+X+X^3", "X^3+X+1"},
      {"X^1", "X"},
      {"X+X", "X"},   // set, not toggled
      {"Y^2", "X^2"}, // first character not examined
      {"X^-0", "1"},
      {"", ""},
      {"+X++1+", "X+1"}, // empty terms contribute nothing
      {"X^8+X^8", "X^4+X^3+X+1"},
      {"X^8+X^4+X^3+X+1", ""}, // distinct terms add up
      {"X^9+X^2", "X^5+X^4+X"},
      {"X^18446744073709551615", "1"},
  };
  for (const auto &[in, out] : cases)
    EXPECT_EQ(text(in)->toString(), out) << in;
  EXPECT_TRUE(text("X^300")->equals(power(300).get()));

  useField("X^13+X^4+X^3+X+1");
  EXPECT_EQ(text("X+X^12")->toString(), "X^12+X");
  EXPECT_EQ(stringFromChar(power(12)->bits), "X^12");
  Elem x = text("X^12+X^5");
  x->add(x.get());
  EXPECT_TRUE(x->isZero());
}

// The fatal errors of the text reader and of the field definition carry the
// exact message and status 1; the field stays as it was. (Degrees 0, 1 and
// 16385, a single term and the other messages of a bad minimal polynomial
// line are golden cases.)
TEST(FieldErrors, MessagesOfMalformedTextsAndMinimalPolynomials) {
  useField("X^8+X^4+X^3+X+1");
  const std::pair<std::function<void()>, const char *> cases[] = {
      {[] { AlphaPoly("X^3 + Z + 1"); }, "ERROR PARSING POLY: 'X3+Z+1'\nGot 'Z'\n"},
      {[] { AlphaPoly("X^-3+1"); }, "ERROR PARSING POLY: 'X-3+1'\nGot 'X-3'\n"},
      {[] { AlphaPoly("X^18446744073709551616"); },
       "ERROR PARSING POLY: 'X18446744073709551616'\nGot 'X18446744073709551616'\n"},
      {[] { AlphaPoly::setMinpoly("X^0099999999999999999999+X+1"); },
       "Invalid minpoly degree 99999999999999999999\n"},
      {[] { AlphaPoly::setMinpoly("X^8+X^8+1"); }, "Invalid minpoly term X^8 for degree 8\n"},
      {[] { AlphaPoly::setMinpoly("X^8+Y+1"); }, "ERROR PARSING POLY: 'Y+1'\nGot 'Y'\n"},
      {[] {
         std::string out;
         HandleMinpoly(out, "X1", 3);
       },
       "Invalid minpoly variable X1\n"},
  };
  for (const auto &[body, message] : cases) {
    try {
      body();
      ADD_FAILURE() << "no error: " << message;
    } catch (const FatalError &e) {
      EXPECT_EQ(e.text(), message);
      EXPECT_EQ(e.stream(), ErrorStream::kStdout);
      EXPECT_EQ(e.status(), ExitStatus::kInputError);
    }
    EXPECT_EQ(K, 8);
    EXPECT_EQ(exponents[8]->toString(), "X^6+X^4+X^3+X^2+X");
  }
}

} // namespace
