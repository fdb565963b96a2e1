// Truth tables to ANF, covers with don't cares, constants and repeated
// fanins in node functions. (The gate cells' functions are rows of the
// simplification table in simplify_test.)
#include <random>

#include "anf.h"
#include "test_util.h"

using namespace net2alg;

namespace {

// Evaluates an ANF (monomial masks) at the input assignment m.
int evaluate(const std::vector<std::uint32_t> &anf, std::uint32_t m) {
  int value = 0;
  for (std::uint32_t mono : anf)
    value ^= (mono & m) == mono ? 1 : 0;
  return value;
}

TruthTable table(unsigned bits, unsigned n) {
  TruthTable t(std::size_t{1} << n);
  for (std::size_t m = 0; m < t.size(); ++m)
    t[m] = bits >> m & 1;
  return t;
}

} // namespace

// The ANF is unique, so agreeing with the truth table on every input
// proves it right.
TEST(Anf, RandomSixInputFunctionsRoundTrip) {
  std::mt19937 rng(20240611);
  for (int trial = 0; trial < 50; ++trial) {
    TruthTable t(64);
    for (auto &v : t)
      v = rng() & 1;
    const std::vector<std::uint32_t> anf = anfFromTruthTable(t);
    for (std::uint32_t m = 0; m < 64; ++m)
      ASSERT_EQ(evaluate(anf, m), t[m]) << "trial " << trial << " input " << m;
  }
}

TEST(Anf, CoversWithDontCaresAndOffSets) {
  using V = std::vector<std::uint32_t>;
  // On-set cubes are ORed, not XORed: overlapping cubes count once.
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({"1-", "-1"}, 2, true)), (V{1, 2, 3}));
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({"11", "1-"}, 2, true)), (V{1}));
  // An off-set cover "00 0" is OR as well.
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({"00"}, 2, false)), (V{1, 2, 3}));
  // Constants: no rows is 0 for an on-set; a row without inputs is 1.
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({}, 0, true)), (V{}));
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({""}, 0, true)), (V{0}));
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({""}, 0, false)), (V{}));
  // A three-input majority with don't cares.
  EXPECT_EQ(anfFromTruthTable(truthTableFromCover({"11-", "1-1", "-11"}, 3, true)), (V{3, 5, 6}));
}

TEST(Anf, NetAnfFoldsConstantsAndRepeatedFanins) {
  const TruthTable andTable = table(0x8, 2), xorTable = table(0x6, 2), orTable = table(0xE, 2);
  using T = std::vector<NetTerm>;
  EXPECT_EQ(netAnf({5, kConst1}, andTable), (T{{5}}));
  EXPECT_EQ(netAnf({5, kConst0}, andTable), (T{}));
  EXPECT_EQ(netAnf({5, kConst1}, orTable), (T{{}}));
  EXPECT_EQ(netAnf({5, 5}, andTable), (T{{5}}));    // x*x = x
  EXPECT_EQ(netAnf({5, 5}, xorTable), (T{}));       // x + x = 0
  EXPECT_EQ(netAnf({7, 3}, andTable), (T{{3, 7}})); // nets sorted within a product
}
