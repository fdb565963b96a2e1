// Worked examples in small fields: widths, power-table entries, products,
// inverses, division and the text forms, each known by hand.
#include <climits>

#include <gtest/gtest.h>

#include "coeff_vector.h"
#include "field_def.h"
#include "field_test_util.h"

namespace {

void useField(const char *minpoly) { AlphaPoly::setMinpoly(minpoly); }

// Widths and a few powers of alpha at and around the word boundaries; each
// field replaces the previous one entirely.
TEST(FieldDefinition, WidthsAndPowersOfAlpha) {
  const struct {
    const char *minpoly;
    int k, chars, spare, words;
    std::vector<std::pair<unsigned long, const char *>> powers;
  } cases[] = {
      {"X^8 + X^4 + X^3 + X + 1", 8, 1, 0, 1,
       {{8, "X^4+X^3+X+1"}, {9, "X^5+X^4+X^2+X"}, {14, "X^7+X^4+X^3+X"},
        {16, "X^6+X^4+X^3+X^2+X"}, {254, "X^7+X^3+X^2+1"}, {255, "1"}, {51, "1"},
        {ULONG_MAX, "1"}}}, // 2^64 - 1 = 51 * 361700864190383365
      {"X^3+X+1", 3, 1, 5, 1, {{3, "X+1"}, {4, "X^2+X"}, {5, "X^2+X+1"}, {6, "X^2+1"}}},
      {"X^9+X^4+1", 9, 2, 7, 1, {{9, "X^4+1"}, {18, "X^8+1"}}},
      {"X^63+X+1", 63, 8, 1, 1, {{62, "X^62"}}},
      {"X^64+X^4+X^3+X+1", 64, 8, 0, 1,
       {{63, "X^63"}, {64, "X^4+X^3+X+1"}, {127, "X^63+X^7+X^5+X^3+X^2+X+1"}}},
      {"X^65+X^18+1", 65, 9, 7, 2, {{64, "X^64"}, {65, "X^18+1"}}},
      {"X^128+X^7+X^2+X+1", 128, 16, 0, 2, {{127, "X^127"}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.minpoly);
    useField(c.minpoly);
    EXPECT_EQ(K, c.k);
    EXPECT_EQ(NumChars, c.chars);
    EXPECT_EQ(lastCharBuffer, c.spare);
    EXPECT_EQ(NumWords, c.words);
    for (const auto &[n, expected] : c.powers)
      EXPECT_EQ(power(n)->toString(), expected) << "alpha^" << n;
  }
  // Bit 9 is the first bit the reduction maps: alpha^8 * alpha = alpha^9.
  useField("X^9+X^4+1");
  EXPECT_EQ(product(*power(8), *power(1))->toString(), "X^4+1");
}

TEST(FieldArithmetic, KnownProductsAndInverses) {
  useField("X^8+X^4+X^3+X+1");
  Elem a = text("X^6+X^4+X+1"), zero = text("");
  // 0x53 * 0xCA = 1, the classic pair of this field.
  EXPECT_TRUE(product(*a, *text("X^7+X^6+X^3+X"))->isOne());
  EXPECT_EQ(product(*text("X^7"), *text("X^7"))->toString(), "X^7+X^4+X^3+X");
  EXPECT_TRUE(product(*a, *zero)->isZero());
  EXPECT_TRUE(product(*zero, *a)->isZero());
  EXPECT_EQ(Elem(a->getInverse())->toString(), "X^7+X^6+X^3+X");
  EXPECT_EQ(Elem(power(1)->getInverse())->toString(), "X^7+X^3+X^2+1");
  EXPECT_TRUE(Elem(power(0)->getInverse())->isOne());
  EXPECT_TRUE(Elem(zero->getInverse())->isOne());

  // The inverse leaves the widths alone.
  useField("X^9+X^4+1");
  Elem b = text("X^8+X^5+X");
  EXPECT_TRUE(product(*b, *Elem(b->getInverse()))->isOne());
  EXPECT_EQ(K, 9);
  EXPECT_EQ(NumChars, 2);
  EXPECT_EQ(lastCharBuffer, 7);
}

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
      {"X+X", "X"},  // set, not toggled
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

TEST(FieldText, EqualsZeroAndOne) {
  useField("X^9+X^4+1");
  EXPECT_TRUE(text("X^8+X^2")->equals(text("X^2+X^8").get()));
  EXPECT_FALSE(text("X^8+X^2")->equals(text("X^2").get())); // differ only in the top bit
  EXPECT_FALSE(power(0)->isZero());
  EXPECT_FALSE(text("X^8+1")->isOne());
  EXPECT_FALSE(text("X")->isOne());
}

TEST(FieldHandleMinpoly, CanonicalTerms) {
  std::string out = "X^8+";
  HandleMinpoly(out, "X", 4);
  out += "+";
  HandleMinpoly(out, "X", 1);
  out += "+";
  HandleMinpoly(out, "1", 5);
  EXPECT_EQ(out, "X^8+X^4+X+1");
  std::string big;
  HandleMinpoly(big, "X", ULONG_MAX);
  EXPECT_EQ(big, "X^18446744073709551615");
}

TEST(FieldDefinition, ReducibleModulusWarnsOnceOnStandardError) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  useField("X^8 + X^4 + 1");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(err, "Warning: minimal polynomial X^8+X^4+1 is not irreducible; results are not "
                 "trustworthy\n");
  EXPECT_EQ(K, 8); // the run goes on in the ring
  EXPECT_EQ(power(8)->toString(), "X^4+1");

  testing::internal::CaptureStderr();
  useField("X^8+X^4+X^3+X+1");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
