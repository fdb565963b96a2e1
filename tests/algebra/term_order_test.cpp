// The term order where the differential test's small problems do not reach:
// long terms against short ones and the largest identifiers. (Terms of up to
// five variables, their order and their decoding for printing are checked by
// the differential test against the reference reduction.)
#include <gtest/gtest.h>

#include <vector>

#include "term.h"

namespace {

Term make(const std::vector<VarId> &ids) {
  return makeTerm(ids.data(), static_cast<std::uint32_t>(ids.size()));
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
  VarList vars;
  termVars(make({2, 0x7FFFFFFF}), vars);
  EXPECT_EQ(std::vector<VarId>(vars.ids, vars.ids + vars.size), (std::vector<VarId>{2, 0x7FFFFFFF}));
}

} // namespace
