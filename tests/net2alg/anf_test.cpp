// Truth tables to ANF, covers with don't cares, constants and repeated
// fanins in node functions, and the lists that hold products. (The gate
// cells' functions are rows of the simplification table in simplify_test.)
#include <random>
#include <utility>

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

// Random edits of two IdLists mirrored on std::vector<int>: every list must
// read the same as its mirror, across the step from in place to the heap
// and back through copies and moves.
TEST(IdList, ReadsLikeAVectorThroughEdits) {
  std::mt19937 rng(7);
  IdList lists[2];
  std::vector<int> mirrors[2];
  for (int step = 0; step < 4000; ++step) {
    const int i = rng() % 2, j = 1 - i;
    IdList &l = lists[i];
    std::vector<int> &m = mirrors[i];
    const std::size_t at = m.empty() ? 0 : rng() % (m.size() + 1);
    switch (rng() % 8) {
    case 0:
    case 1:
    case 2:
      l.push_back(step);
      m.push_back(step);
      break;
    case 3: { // a range from the other list
      const std::vector<int> &from = mirrors[j];
      l.insert(l.begin() + at, from.begin(), from.end());
      m.insert(m.begin() + static_cast<std::ptrdiff_t>(at), from.begin(), from.end());
      break;
    }
    case 4: { // up to three elements from `at`
      const std::size_t n = std::min<std::size_t>(rng() % 4, m.size() - std::min(at, m.size()));
      l.erase(l.begin() + at, l.begin() + at + n);
      m.erase(m.begin() + static_cast<std::ptrdiff_t>(at),
              m.begin() + static_cast<std::ptrdiff_t>(at + n));
      break;
    }
    case 5:
      l = lists[j];
      m = mirrors[j];
      break;
    case 6: {
      IdList moved(std::move(lists[j]));
      lists[j] = std::move(l);
      l = std::move(moved);
      std::swap(m, mirrors[j]);
      break;
    }
    default:
      if (m.size() > 12 || rng() % 4 == 0) {
        l.clear();
        m.clear();
      }
    }
    for (int k = 0; k < 2; ++k)
      ASSERT_EQ(std::vector<int>(lists[k].begin(), lists[k].end()), mirrors[k]) << "step " << step;
    ASSERT_EQ(lists[0] == lists[1], mirrors[0] == mirrors[1]);
    ASSERT_EQ(lists[0] < lists[1], mirrors[0] < mirrors[1]);
  }
}
