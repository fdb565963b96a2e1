// Truth tables to ANF, covers with don't cares, constants and repeated
// fanins in node functions, and the gate cells.
#include <random>

#include "anf.h"
#include "cell_library.h"
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

TEST(Anf, YosysCells) {
  auto anfOf = [](const char *type) {
    const CellType *cell = findCellType(type);
    EXPECT_NE(cell, nullptr) << type;
    return cell ? anfFromTruthTable(cell->truth) : std::vector<std::uint32_t>{};
  };
  using V = std::vector<std::uint32_t>;
  // Pins in the order A, B, C, D / S: bit 0 is A.
  EXPECT_EQ(anfOf("$_ANDNOT_"), (V{1, 3}));   // A + A*B
  EXPECT_EQ(anfOf("$_ORNOT_"), (V{0, 2, 3})); // 1 + B + A*B
  EXPECT_EQ(anfOf("$_NOR_"), (V{0, 1, 2, 3}));
  EXPECT_EQ(anfOf("$_MUX_"), (V{1, 5, 6})); // A + A*S + B*S  (S is bit 2)
  EXPECT_EQ(anfOf("$_NMUX_"), (V{0, 1, 5, 6}));
  EXPECT_EQ(anfOf("$_AOI3_"), (V{0, 3, 4, 7})); // 1 + (A*B + C + A*B*C)
  EXPECT_EQ(anfOf("$_BUF_"), (V{1}));
  // A 4-way mux picks data input (T S) = 2 for S = 0, T = 1.
  const CellType *mux4 = findCellType("$_MUX4_");
  ASSERT_NE(mux4, nullptr);
  EXPECT_EQ(mux4->inputs, (std::vector<std::string>{"A", "B", "C", "D", "S", "T"}));
  EXPECT_EQ(mux4->truth[0x20 | 0x4], 1); // T=1, S=0, C=1
  EXPECT_EQ(mux4->truth[0x20 | 0x3], 0); // T=1, S=0, C=0 (A, B set)
  EXPECT_EQ(findCellType("$_MUX16_")->inputs.size(), 20u);
  EXPECT_EQ(findCellType("$_DFF_P_"), nullptr);
  EXPECT_TRUE(isSequentialCellType("$_DFF_P_"));
  EXPECT_TRUE(isSequentialCellType("$_DLATCH_N_"));
  EXPECT_FALSE(isSequentialCellType("$_AND_"));
}
