// The shared coefficient values. (Sorting, merging and cancelling terms and
// resetting the problem between problems are exercised by the differential
// test, which requires each of those paths to be taken and runs thousands of
// problems through one process.)
#include "algebra_fixture.h"

#include <random>
#include <utility>
#include <vector>

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
