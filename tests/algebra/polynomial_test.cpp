// Completing a polynomial and resetting the problem.
#include "algebra_fixture.h"

namespace {

using Insertmon = AlgebraTest;

TEST_F(Insertmon, SortingKeepsEqualTermsTogetherAcrossLongRuns) {
  // Many equal terms scattered among others: every pair cancels, and the
  // X terms survive with the sum of their coefficients.
  for (int round = 0; round < 50; ++round) {
    add(glopoly, {5}, "1");
    add(glopoly, {2, 3, 4}, "X");
    add(glopoly, {3}, "X^2");
  }
  normalize(glopoly);
  EXPECT_TRUE(glopoly.empty()); // 50 copies of each: an even count cancels
  add(glopoly, {3}, "X^2");
  add(glopoly, {2, 3, 4}, "X");
  add(glopoly, {3}, "1");
  EXPECT_EQ(show(glopoly), "2,3,4:X 3:X^2+1");
}

using Handlers = AlgebraTest;

TEST_F(Handlers, ClearResetsTheWholeProblem) {
  HandleDecl("a");
  HandleField();
  add(glopoly, {2});
  add(specpoly, {2});
  Polynomial p;
  add(p, {2});
  HandlePoly(p);
  tempmon.vars = {2};
  clear();
  EXPECT_TRUE(glopoly.empty() && specpoly.empty() && ideal.empty() && VID.size() == 0);
  EXPECT_TRUE(tempmon.vars.empty() && tempmon.coef == nullptr && termArena.empty());
  EXPECT_EQ(ind, 2);
  EXPECT_EQ(DIV.get(2), "");
}

} // namespace
