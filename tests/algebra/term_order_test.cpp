// The term order: lexicographic, first-declared variable highest, constant
// lowest.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "monomial.h"

namespace {

TEST(TermOrder, DescendingChainOfAllTermsInThreeVariables) {
  // a, b, c are 2, 3, 4: abc > ab > ac > a > bc > b > c > 1.
  const std::vector<std::set<unsigned>> chain = {{2, 3, 4}, {2, 3}, {2, 4}, {2}, {3, 4}, {3}, {4}, {}};
  for (std::size_t i = 0; i < chain.size(); ++i) {
    for (std::size_t j = 0; j < chain.size(); ++j) {
      const int expected = i < j ? 1 : (i > j ? -1 : 0);
      EXPECT_EQ(compareTerms(chain[i], chain[j]), expected) << i << " vs " << j;
    }
  }
}

TEST(TermOrder, FirstDifferenceDecidesNotDegree) {
  EXPECT_GT(compareTerms({2}, {3, 4, 5, 6}), 0);
  EXPECT_LT(compareTerms({2, 9}, {2, 3}), 0);
  EXPECT_GT(compareTerms({2, 3, 9}, {2, 3}), 0);
}

} // namespace
