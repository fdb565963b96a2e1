// Seeded random checks of the field laws in fields of several sizes, through
// both carry-less multipliers and both reductions, against a plain
// shift-and-add reference.
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "clmul.h"
#include "coeff_vector.h"
#include "field_test_util.h"
#include "irreducible.h"
#include "reduction.h"

namespace {

struct FieldCase {
  int k;
  const char *minpoly;
};

// Irreducible moduli (a reducible one would fail the inverse law) around the
// word boundaries and of the sizes in use; the last one is dense (19 terms),
// so it takes the table reduction by itself.
const FieldCase kFields[] = {
    {2, "X^2+X+1"},
    {3, "X^3+X+1"},
    {8, "X^8+X^4+X^3+X+1"},
    {9, "X^9+X^4+1"},
    {63, "X^63+X+1"},
    {64, "X^64+X^4+X^3+X+1"},
    {65, "X^65+X^18+1"},
    {163, "X^163+X^7+X^6+X^3+1"},
    {571, "X^571+X^10+X^5+X^2+1"},
    {64, "X^64+X^63+X^61+X^57+X^53+X^47+X^44+X^42+X^37+X^34+X^31+X^23+X^22+X^18+X^17+X^9+X^8+"
         "X^3+1"},
};

// One combination of multiplier and reduction; the PCLMULQDQ ones are skipped
// on processors without it.
struct Mode {
  bool portable;
  bool table;
};
const Mode kModes[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// Runs check(field, rounds) in every field and every mode, the field defined
// anew for each; rounds is smaller for the wide fields, whose cost grows with K^2.
void forEachFieldAndMode(const std::function<void(const FieldCase &, int)> &check) {
  for (const FieldCase &field : kFields) {
    for (const Mode &mode : kModes) {
      forcePortableClmul(mode.portable);
      forceTableReduction(mode.table);
      AlphaPoly::setMinpoly(field.minpoly);
      if (!mode.portable && !usingPclmul())
        continue;
      SCOPED_TRACE(std::string(field.minpoly) + (mode.portable ? " portable" : " pclmul") +
                   (mode.table ? " table" : " default"));
      ASSERT_EQ(K, field.k);
      if (mode.table) {
        ASSERT_FALSE(fieldModulus.sparse());
      }
      check(field, field.k > 200 ? 12 : 40);
    }
  }
  forcePortableClmul(false);
  forceTableReduction(false);
}

TEST(FieldLaws, ProductsMatchReferenceAndRingLaws) {
  forEachFieldAndMode([](const FieldCase &field, int rounds) {
    const ref::Poly m = ref::fromText(field.minpoly);
    std::mt19937_64 rng(field.k);
    for (int i = 0; i < rounds; ++i) {
      Elem a = randomElement(rng), b = randomElement(rng), c = randomElement(rng);
      SCOPED_TRACE("a = " + a->toString() + ", b = " + b->toString());
      Elem ab = product(*a, *b);
      EXPECT_TRUE(ref::equal(toRef(*ab), ref::mod(ref::mul(toRef(*a), toRef(*b)), m)));
      EXPECT_TRUE(ab->equals(product(*b, *a).get()));
      EXPECT_TRUE(product(*ab, *c)->equals(product(*a, *product(*b, *c)).get()));
      EXPECT_TRUE(product(*a, *sum(*b, *c))->equals(sum(*ab, *product(*a, *c)).get()));
      Elem sq = copyOf(*a);
      sq->mult(sq.get());
      EXPECT_TRUE(sq->equals(product(*a, *copyOf(*a)).get()));
      // The text form reads back as the same element.
      EXPECT_TRUE(text(a->toString())->equals(a.get()));
    }
  });
}

TEST(FieldLaws, Inverse) {
  forEachFieldAndMode([](const FieldCase &field, int rounds) {
    std::mt19937_64 rng(1000 + field.k);
    for (int i = 0; i < rounds; ++i) {
      Elem a = randomElement(rng), b = randomElement(rng);
      if (a->isZero() || b->isZero())
        continue;
      SCOPED_TRACE("a = " + a->toString());
      Elem inv(a->getInverse());
      EXPECT_TRUE(product(*a, *inv)->isOne());
      EXPECT_TRUE(Elem(inv->getInverse())->equals(a.get()));
    }
    EXPECT_EQ(K, field.k);
  });
}

TEST(FieldLaws, PowersOfAlpha) {
  forEachFieldAndMode([](const FieldCase &field, int) {
    const int k = field.k;
    // Every exponent up to 4K against repeated multiplication by alpha.
    Elem alpha = power(1), running = power(0);
    for (unsigned long n = 0; n <= 4UL * k; ++n) {
      ASSERT_TRUE(power(n)->equals(running.get())) << "n = " << n;
      running->mult(alpha.get());
    }
    for (int i = 0; i <= k; ++i)
      EXPECT_TRUE(exponents[i]->equals(power(k + i).get()));
    // Large exponents: alpha^(a+b) = alpha^a * alpha^b.
    std::mt19937_64 rng(2000 + k);
    for (int i = 0; i < 20; ++i) {
      const unsigned long a = rng() >> 1, b = rng() >> 1;
      EXPECT_TRUE(power(a + b)->equals(product(*power(a), *power(b)).get())) << a << " + " << b;
    }
    // The multiplicative group has order 2^K - 1.
    if (k <= 64) {
      const unsigned long order = k == 64 ? ULONG_MAX : (1UL << k) - 1;
      EXPECT_TRUE(power(order)->isOne());
      Elem a = randomElement(rng);
      Elem frob = copyOf(*a); // a^(2^K) = a: K squarings
      for (int i = 0; i < k; ++i)
        frob->mult(frob.get());
      EXPECT_TRUE(frob->equals(a.get()));
    }
  });
}

// The number of irreducible polynomials of degree d over GF(2), by the
// necklace formula; the test must find exactly these, with both reductions.
TEST(FieldIrreducibility, CountsOfIrreduciblePolynomials) {
  const int expected[] = {0, 2, 1, 2, 3, 6, 9, 18, 30, 56, 99};
  for (bool table : {false, true}) {
    forceTableReduction(table);
    for (int d = 2; d <= 10; ++d) {
      int count = 0;
      for (word_t low = 0; low < (word_t{1} << d); ++low) {
        const word_t m = (word_t{1} << d) | low;
        Modulus mod;
        mod.build(&m, d);
        count += isIrreducible(mod);
      }
      EXPECT_EQ(count, expected[d]) << "degree " << d << (table ? " table" : "");
    }
  }
  forceTableReduction(false);
}

TEST(FieldIrreducibility, ProductsOfFactorsAreFound) {
  // (x^3+x+1)(x^3+x^2+1), (x^2+x+1)^4 and x * (x^63+x+1).
  const ref::Poly cases[] = {ref::fromText("X^6+X^5+X^4+X^3+X^2+X+1"), ref::fromText("X^8+X^4+1"),
                             ref::fromText("X^64+X^2+X")};
  for (const ref::Poly &p : cases) {
    Modulus mod;
    mod.build(p.data(), ref::degree(p));
    EXPECT_FALSE(isIrreducible(mod));
  }
  const ref::Poly big = ref::fromText("X^571+X^10+X^5+X^2+1");
  Modulus mod;
  mod.build(big.data(), 571);
  EXPECT_TRUE(isIrreducible(mod));
}

} // namespace
