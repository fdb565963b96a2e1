// Worked examples in small fields: widths, power-table entries, products,
// inverses, powers, division and the text forms, each known by hand.
#include <climits>
#include <cstdio>

#include <gtest/gtest.h>

#include "coeff_vector.h"
#include "field_def.h"
#include "field_test_util.h"

namespace {

void useField(const char *minpoly) { AlphaPoly::setMinpoly(minpoly); }

TEST(FieldDefinition, WidthsAndPowerTableOfGF256) {
  useField("X^8 + X^4 + X^3 + X + 1");
  EXPECT_EQ(K, 8);
  EXPECT_EQ(NumChars, 1);
  EXPECT_EQ(lastCharBuffer, 0);
  EXPECT_EQ(NumWords, 1);
  EXPECT_EQ(exponents[0]->toString(), "X^4+X^3+X+1");
  EXPECT_EQ(exponents[1]->toString(), "X^5+X^4+X^2+X");
  EXPECT_EQ(exponents[6]->toString(), "X^7+X^4+X^3+X");
  EXPECT_EQ(exponents[8]->toString(), "X^6+X^4+X^3+X^2+X");
}

TEST(FieldDefinition, WidthsAndPowerTablesOfGF8AndGF512) {
  useField("X^3+X+1");
  EXPECT_EQ(K, 3);
  EXPECT_EQ(NumChars, 1);
  EXPECT_EQ(lastCharBuffer, 5);
  const char *expected[] = {"X+1", "X^2+X", "X^2+X+1", "X^2+1"};
  for (int i = 0; i <= 3; ++i)
    EXPECT_EQ(exponents[i]->toString(), expected[i]) << "alpha^" << 3 + i;

  // A second field replaces widths and table entirely.
  useField("X^9+X^4+1");
  EXPECT_EQ(K, 9);
  EXPECT_EQ(NumChars, 2);
  EXPECT_EQ(lastCharBuffer, 7);
  EXPECT_EQ(NumWords, 1);
  EXPECT_EQ(exponents[0]->toString(), "X^4+1");
  EXPECT_EQ(exponents[9]->toString(), "X^8+1"); // alpha^18 = (alpha^4 + 1)^2
  // Bit 9 is the first bit the reduction maps: alpha^8 * alpha = alpha^9.
  Elem a = power(8);
  a->mult(power(1).get());
  EXPECT_EQ(a->toString(), "X^4+1");
}

TEST(FieldDefinition, WordBoundaryWidths) {
  struct Case {
    const char *minpoly;
    int k, chars, spare, words;
  } cases[] = {{"X^63+X+1", 63, 8, 1, 1},
               {"X^64+X^4+X^3+X+1", 64, 8, 0, 1},
               {"X^65+X^18+1", 65, 9, 7, 2},
               {"X^128+X^7+X^2+X+1", 128, 16, 0, 2}};
  for (const Case &c : cases) {
    useField(c.minpoly);
    EXPECT_EQ(K, c.k);
    EXPECT_EQ(NumChars, c.chars);
    EXPECT_EQ(lastCharBuffer, c.spare);
    EXPECT_EQ(NumWords, c.words);
    EXPECT_EQ(power(c.k - 1)->toString(), "X^" + std::to_string(c.k - 1));
  }
  useField("X^64+X^4+X^3+X+1");
  EXPECT_EQ(power(64)->toString(), "X^4+X^3+X+1");
  EXPECT_EQ(power(127)->toString(), "X^63+X^7+X^5+X^3+X^2+X+1");
  useField("X^65+X^18+1");
  EXPECT_EQ(power(65)->toString(), "X^18+1");
  EXPECT_EQ(power(64)->toString(), "X^64");
}

TEST(FieldPower, SmallExponentsComeFromBitsAndTable) {
  useField("X^8+X^4+X^3+X+1");
  EXPECT_TRUE(power(0)->isOne());
  EXPECT_EQ(power(1)->toString(), "X");
  EXPECT_EQ(power(7)->toString(), "X^7");
  EXPECT_TRUE(power(8)->equals(exponents[0]));
  EXPECT_TRUE(power(16)->equals(exponents[8]));
  EXPECT_EQ(power(8)->toString(), "X^4+X^3+X+1");
  EXPECT_EQ(power(14)->toString(), "X^7+X^4+X^3+X");
  EXPECT_TRUE(power(17)->equals(product(*exponents[8], *power(1)).get()));
  EXPECT_EQ(power(254)->toString(), "X^7+X^3+X^2+1");
  EXPECT_TRUE(power(255)->isOne());
  // The multiplicative order of alpha in this field is 51.
  EXPECT_TRUE(power(51)->isOne());
  EXPECT_TRUE(power(ULONG_MAX)->isOne()); // 2^64 - 1 = 51 * 361700864190383365
}

TEST(FieldMultiply, ProductsInGF256) {
  useField("X^8+X^4+X^3+X+1");
  Elem x7 = text("X^7");
  EXPECT_EQ(product(*x7, *power(1))->toString(), "X^4+X^3+X+1");
  EXPECT_EQ(product(*x7, *x7)->toString(), "X^7+X^4+X^3+X");
  Elem sq = copyOf(*x7);
  sq->mult(sq.get()); // squaring in place
  EXPECT_EQ(sq->toString(), "X^7+X^4+X^3+X");
  Elem one = power(0), zero = text("");
  Elem a = text("X^6+X^4+X+1");
  EXPECT_TRUE(product(*a, *one)->equals(a.get()));
  EXPECT_TRUE(product(*a, *zero)->isZero());
  EXPECT_TRUE(product(*zero, *a)->isZero());
  // 0x53 * 0xCA = 1, the classic pair of this field.
  EXPECT_TRUE(product(*text("X^6+X^4+X+1"), *text("X^7+X^6+X^3+X"))->isOne());
}

TEST(FieldInverse, KnownInversesAndWidthsKept) {
  useField("X^8+X^4+X^3+X+1");
  Elem inv(text("X^6+X^4+X+1")->getInverse());
  EXPECT_EQ(inv->toString(), "X^7+X^6+X^3+X");
  Elem invX(power(1)->getInverse());
  EXPECT_EQ(invX->toString(), "X^7+X^3+X^2+1");
  EXPECT_TRUE(invX->equals(power(254).get()));
  EXPECT_TRUE(Elem(power(0)->getInverse())->isOne());
  EXPECT_TRUE(Elem(text("")->getInverse())->isOne());
  EXPECT_EQ(K, 8);
  EXPECT_EQ(NumChars, 1);
  EXPECT_EQ(lastCharBuffer, 0);
  EXPECT_EQ(NumWords, 1);

  useField("X^9+X^4+1");
  Elem b = text("X^8+X^5+X");
  Elem binv(b->getInverse());
  EXPECT_TRUE(product(*b, *binv)->isOne());
  EXPECT_EQ(K, 9);
  EXPECT_EQ(NumChars, 2);
  EXPECT_EQ(lastCharBuffer, 7);
}

TEST(FieldInverse, ZeroDivisorOfAReducibleModulusGivesItsCofactor) {
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

TEST(FieldText, InputFormsOfOneElement) {
  useField("X^8+X^4+X^3+X+1");
  Elem e = text("X^3+X+1");
  EXPECT_TRUE(text("X^3 + X + 1")->equals(e.get()));
  EXPECT_TRUE(text("X3+X+1")->equals(e.get()));
  EXPECT_TRUE(text("1+X+X^3")->equals(e.get()));
  EXPECT_TRUE(text("1")->isOne());
  EXPECT_TRUE(text("X")->equals(power(1).get()));
  EXPECT_TRUE(text("X^1")->equals(power(1).get()));
  EXPECT_TRUE(text("X+X")->equals(power(1).get())); // set, not toggled
  EXPECT_TRUE(text("Y^2")->equals(power(2).get())); // first character not examined
  EXPECT_TRUE(text("X^-0")->isOne());
  // Empty texts and empty terms contribute nothing.
  EXPECT_TRUE(text("")->isZero());
  EXPECT_TRUE(text("+X++1+")->equals(text("X+1").get()));
}

TEST(FieldText, ExponentsOfKOrMoreAreReduced) {
  useField("X^8+X^4+X^3+X+1");
  EXPECT_TRUE(text("X^8")->equals(exponents[0]));
  EXPECT_TRUE(text("X^300")->equals(power(300).get()));
  EXPECT_TRUE(text("X^18446744073709551615")->isOne());
  EXPECT_TRUE(text("X^8+X^8")->equals(power(8).get()));
  // Distinct terms add up: alpha^8 + (alpha^4+alpha^3+alpha+1) is zero.
  EXPECT_TRUE(text("X^8+X^4+X^3+X+1")->isZero());
  EXPECT_EQ(text("X^9+X^2")->toString(), "X^5+X^4+X");
}

TEST(FieldText, OutputForms) {
  useField("X^13+X^4+X^3+X+1");
  EXPECT_EQ(text("X^7+X^3+X^2+1")->toString(), "X^7+X^3+X^2+1");
  EXPECT_EQ(text("X+X^12")->toString(), "X^12+X");
  EXPECT_EQ(power(1)->toString(), "X");
  EXPECT_EQ(power(0)->toString(), "1");
  Elem x = text("X^12+X^5");
  x->add(x.get());
  EXPECT_TRUE(x->isZero());
  EXPECT_EQ(x->toString(), "");
  EXPECT_EQ(stringFromChar(power(12)->bits), "X^12");
}

TEST(FieldCompare, EqualsZeroAndOne) {
  useField("X^9+X^4+1");
  Elem a = text("X^8+X^2"), b = text("X^2+X^8"), c = text("X^2");
  EXPECT_TRUE(a->equals(b.get()));
  EXPECT_FALSE(a->equals(c.get())); // differ only in the highest used bit
  EXPECT_FALSE(power(0)->isZero());
  EXPECT_FALSE(text("X^8+1")->isOne());
  EXPECT_FALSE(text("X")->isOne());
}

TEST(FieldDivide, QuotientAndRemainder) {
  useField("X^8+X^4+X^3+X+1");
  word_t q[1], r[1];
  tryDiv(text("X^7+X^2+1")->bits, text("X^3+X")->bits, q, r);
  EXPECT_EQ(stringFromChar(q), "X^4+X^2+1");
  EXPECT_EQ(stringFromChar(r), "X^2+X+1");
  tryDiv(text("X+1")->bits, text("X^3+X")->bits, q, r);
  EXPECT_EQ(stringFromChar(q), "");
  EXPECT_EQ(stringFromChar(r), "X+1");
  tryDiv(text("")->bits, text("X")->bits, q, r);
  EXPECT_EQ(q[0] | r[0], 0u);

  // Across words: x^100 + 1 = (x + 1)(x^99 + ... + 1).
  useField("X^127+X+1");
  word_t q2[2], r2[2];
  tryDiv(text("X^100+1")->bits, text("X+1")->bits, q2, r2);
  ref::Poly all;
  for (int i = 0; i < 100; ++i)
    ref::flip(all, i);
  EXPECT_TRUE(ref::equal(ref::Poly(q2, q2 + 2), all));
  EXPECT_EQ(r2[0] | r2[1], 0u);
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
