// Freed large blocks kept for a later user (the witness analysis): kept up
// to the limit, in the order freed, still mapped and writable, without the
// pages never touched at their ends; small blocks and blocks past the limit
// go back to the system; nothing is kept once the limit is zero.
#include <gtest/gtest.h>

#include <cstring>

#include "huge_alloc.h"

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

TEST(HugeAlloc, FreedBlocksAreKeptUpToTheLimit) {
  hugeKeepFreed(16 * kMiB);
  // 3 MiB blocks take 4 MiB mappings, touched throughout; a 6 MiB block is
  // touched in its first MiB only. Two 4 MiB blocks and the 6 MiB one fit
  // the limit, the last 4 MiB one does not.
  void *big[3];
  for (void *&p : big) {
    p = hugeAllocate(3 * kMiB);
    std::memset(p, 0x5a, 3 * kMiB);
  }
  void *part = hugeAllocate(6 * kMiB);
  std::memset(part, 0x33, kMiB);
  void *small = hugeAllocate(4096);
  hugeDeallocate(big[0], 3 * kMiB);
  hugeDeallocate(big[1], 3 * kMiB);
  hugeDeallocate(part, 6 * kMiB);
  hugeDeallocate(big[2], 3 * kMiB);
  hugeDeallocate(small, 4096);
  hugeKeepFreed(0);
  const auto kept = hugeTakeKept();
  if (kept.empty())
    GTEST_SKIP() << "large blocks come from malloc in this build";
  // Moved with their contents to one stretch of addresses; of the 6 MiB
  // block only the huge page it touched.
  ASSERT_EQ(kept.size(), 1u);
  ASSERT_EQ(kept[0].second, 10 * kMiB);
  const auto *bytes = static_cast<const unsigned char *>(kept[0].first);
  for (std::size_t at : {std::size_t(0), 3 * kMiB - 1, 4 * kMiB, 7 * kMiB - 1})
    EXPECT_EQ(bytes[at], 0x5a) << at;
  EXPECT_EQ(bytes[8 * kMiB], 0x33);
  EXPECT_EQ(bytes[9 * kMiB - 1], 0x33);
  std::memset(kept[0].first, 0, kept[0].second); // mapped throughout
  hugeDeallocate(kept[0].first, kept[0].second);
  EXPECT_TRUE(hugeTakeKept().empty()); // the limit is zero: unmapped
}

} // namespace
