// The term order: lexicographic, first-declared variable highest, constant
// lowest; terms of up to two variables compare by key, longer ones fall back
// to their full identifier lists.
#include <gtest/gtest.h>

#include <vector>

#include "term.h"

namespace {

Term make(const std::vector<VarId> &ids) {
  return makeTerm(ids.data(), static_cast<std::uint32_t>(ids.size()));
}

TEST(TermOrder, DescendingChainOfAllTermsInFourVariables) {
  // a, b, c, d are 2..5, in descending order.
  const std::vector<std::vector<VarId>> chain = {
      {2, 3, 4, 5}, {2, 3, 4}, {2, 3, 5}, {2, 3}, {2, 4, 5}, {2, 4}, {2, 5}, {2},
      {3, 4, 5},    {3, 4},    {3, 5},    {3},    {4, 5},    {4},    {5},    {}};
  termArena.clear();
  for (std::size_t i = 0; i < chain.size(); ++i) {
    for (std::size_t j = 0; j < chain.size(); ++j) {
      const int expected = i < j ? 1 : (i > j ? -1 : 0);
      EXPECT_EQ(compareTerms(make(chain[i]), make(chain[j])), expected) << i << " vs " << j;
      EXPECT_EQ(termLess(make(chain[j]), make(chain[i])), i < j) << i << " vs " << j;
    }
  }
}

TEST(TermOrder, FirstDifferenceDecidesNotDegree) {
  termArena.clear();
  EXPECT_GT(compareTerms(make({2}), make({3, 4, 5, 6})), 0);
  EXPECT_LT(compareTerms(make({2, 9}), make({2, 3})), 0);
  EXPECT_GT(compareTerms(make({2, 3, 9}), make({2, 3})), 0);
  EXPECT_LT(compareTerms(make({2, 3, 9, 10}), make({2, 3, 8})), 0);
  EXPECT_GT(compareTerms(make({2, 3, 4, 5, 6}), make({2, 3, 4, 5})), 0);
  // The largest identifiers still order correctly.
  EXPECT_GT(compareTerms(make({0x7FFFFFFE}), make({0x7FFFFFFF})), 0);
  EXPECT_GT(compareTerms(make({0x7FFFFFFF}), make({})), 0);
}

TEST(TermOrder, DecodesWhatItEncodes) {
  termArena.clear();
  for (const std::vector<VarId> &ids :
       {std::vector<VarId>{}, {7}, {2, 0x7FFFFFFF}, {3, 4, 5}, {2, 3, 4, 5, 6, 7}}) {
    const Term t = make(ids);
    VarList vars;
    termVars(t, vars);
    EXPECT_EQ(std::vector<VarId>(vars.ids, vars.ids + vars.size), ids);
  }
}

} // namespace
