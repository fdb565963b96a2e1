// Completing a polynomial and resetting the problem.
#include "algebra_fixture.h"

#include <random>
#include <utility>
#include <vector>

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

namespace {

using CoefSharing = AlgebraTest;

// Random makes and releases of the values of GF(2^8): equal values share one
// handle, every live handle keeps its value while others come and go (the
// table of shared values removes entries from the middle of its runs).
TEST_F(CoefSharing, EqualValuesShareAHandleAndKeepTheirValues) {
  AlphaPoly::setMinpoly("X^8+X^4+X^3+X+1");
  HandleField();
  std::mt19937 rng(3);
  std::vector<std::pair<Coef, word_t>> live; // handle, its value
  for (int step = 0; step < 5000; ++step) {
    if (live.empty() || rng() % 5 < 3) {
      std::vector<word_t> v(static_cast<std::size_t>(NumWords), 0);
      v[0] = rng() % 256;
      const Coef c = coefPool.make(v.data());
      for (const auto &[other, value] : live)
        ASSERT_EQ(other == c, value == v[0]);
      if (c != kCoefOne)
        live.push_back({c, v[0]});
    } else {
      const std::size_t k = rng() % live.size();
      coefPool.release(live[k].first);
      live.erase(live.begin() + static_cast<long>(k));
    }
    for (const auto &[c, value] : live)
      ASSERT_EQ(coefPool.at(c)[0], value);
  }
}

} // namespace
