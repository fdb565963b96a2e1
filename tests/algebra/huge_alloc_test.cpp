// Freed large blocks kept for a later user (the witness analysis): kept up
// to the limit, in the order freed, still mapped and writable; small blocks
// and blocks past the limit go back to the system; nothing is kept once the
// limit is zero.
#include <gtest/gtest.h>

#include <cstring>

#include "huge_alloc.h"

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

TEST(HugeAlloc, FreedBlocksAreKeptUpToTheLimit) {
  hugeKeepFreed(10 * kMiB);
  // 3 MiB blocks take 4 MiB mappings: two fit the limit, the third does not.
  void *big[3];
  for (void *&p : big) {
    p = hugeAllocate(3 * kMiB);
    std::memset(p, 0x5a, 3 * kMiB);
  }
  void *small = hugeAllocate(4096);
  for (void *p : big)
    hugeDeallocate(p, 3 * kMiB);
  hugeDeallocate(small, 4096);
  hugeKeepFreed(0);
  const auto kept = hugeTakeKept();
  if (kept.empty())
    GTEST_SKIP() << "large blocks come from malloc in this build";
  ASSERT_EQ(kept.size(), 2u);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(kept[i].first, big[i]);
    EXPECT_EQ(kept[i].second, 4 * kMiB);
    std::memset(kept[i].first, 0, kept[i].second); // still mapped
    hugeDeallocate(kept[i].first, kept[i].second);
  }
  EXPECT_TRUE(hugeTakeKept().empty()); // the limit is zero: unmapped
}

} // namespace
