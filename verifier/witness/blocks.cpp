// The block cache of the witness analysis; see blocks.h.
#include "blocks.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "huge_alloc.h"

#if defined(__SANITIZE_ADDRESS__)
#define PV_WITNESS_PLAIN_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PV_WITNESS_PLAIN_MALLOC 1
#endif
#endif

namespace witness {

namespace {

constexpr std::size_t kLarge = std::size_t(64) << 10;
constexpr std::size_t kHuge = std::size_t(2) << 20;

std::size_t roundUp(std::size_t bytes) { return (bytes + kHuge - 1) & ~(kHuge - 1); }

// Blocks in use with their mapped size (a request may get a larger kept
// block), and the kept ones. Both stay short: dozens of blocks.
struct Cache {
  std::vector<std::pair<void *, std::size_t>> used, kept;
};

Cache &cache() {
  static Cache c;
  return c;
}

} // namespace

void *allocateBlock(std::size_t bytes) {
#ifndef PV_WITNESS_PLAIN_MALLOC
  if (bytes >= kLarge) {
    const std::size_t size = roundUp(bytes);
    Cache &c = cache();
    // The smallest kept block that fits and is not more than twice the size.
    auto best = c.kept.end();
    for (auto it = c.kept.begin(); it != c.kept.end(); ++it)
      if (it->second >= size && it->second <= 2 * size &&
          (best == c.kept.end() || it->second < best->second))
        best = it;
    std::pair<void *, std::size_t> block;
    if (best != c.kept.end()) {
      block = *best;
      c.kept.erase(best);
    } else {
      block = {hugeAllocate(size), size};
    }
    c.used.push_back(block);
    return block.first;
  }
#endif
  void *p = std::malloc(bytes == 0 ? 1 : bytes);
  if (p == nullptr)
    throw std::bad_alloc();
  return p;
}

void freeBlock(void *p, std::size_t bytes) {
  if (p == nullptr)
    return;
#ifndef PV_WITNESS_PLAIN_MALLOC
  if (bytes >= kLarge) {
    Cache &c = cache();
    auto it = std::find_if(c.used.begin(), c.used.end(),
                           [&](const std::pair<void *, std::size_t> &b) { return b.first == p; });
    c.kept.push_back(*it);
    c.used.erase(it);
    return;
  }
#endif
  std::free(p);
}

void releaseBlocks() {
  Cache &c = cache();
  for (const auto &block : c.kept)
    hugeDeallocate(block.first, block.second);
  c.kept.clear();
}

} // namespace witness
