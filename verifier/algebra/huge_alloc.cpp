// Large blocks on transparent huge pages.
#include "huge_alloc.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define PV_PLAIN_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PV_PLAIN_MALLOC 1
#endif
#endif

#ifndef PV_PLAIN_MALLOC
namespace {

constexpr std::size_t kHuge = std::size_t(2) << 20; // 2 MiB
constexpr std::size_t kThreshold = std::size_t(1) << 20;

std::size_t roundUp(std::size_t bytes) { return (bytes + kHuge - 1) & ~(kHuge - 1); }

// A fixed table (trivially destructible: blocks freed by destructors at
// exit still find it intact).
struct Kept {
  std::size_t limit, bytes, count;
  std::pair<void *, std::size_t> blocks[64];
};
Kept kept;

// A mapping of `size` bytes (a multiple of the huge page) on a huge-page
// boundary: one huge page more is mapped and the ends are trimmed. Null
// when the mapping fails.
void *mapAligned(std::size_t size, int protection) {
  void *raw = mmap(nullptr, size + kHuge, protection, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED)
    return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHuge - 1) & ~std::uintptr_t(kHuge - 1);
  if (aligned > start)
    munmap(raw, aligned - start);
  const std::uintptr_t end = start + size + kHuge;
  if (end > aligned + size)
    munmap(reinterpret_cast<void *>(aligned + size), end - (aligned + size));
  return reinterpret_cast<void *>(aligned);
}

// The block's pages from the first huge page after its last resident one
// are address space only: a growing array freed before it filled its
// capacity. They are unmapped, so that a taker fills touched pages first
// instead of paying for fresh ones in the middle of its memory. Returns the
// bytes left (a multiple of the huge page; 0 when nothing was touched).
std::size_t trimUntouched(void *p, std::size_t size) {
  const std::size_t pages = size / 4096;
  std::vector<unsigned char> resident(pages);
  if (mincore(p, size, resident.data()) != 0)
    return size; // cannot tell: keep it whole
  std::size_t last = pages;
  while (last > 0 && (resident[last - 1] & 1) == 0)
    --last;
  const std::size_t keep = roundUp(last * 4096);
  if (keep < size)
    munmap(static_cast<char *>(p) + keep, size - keep);
  return keep;
}

} // namespace
#endif

void *hugeAllocate(std::size_t bytes) {
#ifndef PV_PLAIN_MALLOC
  if (bytes >= kThreshold && bytes <= (std::size_t(1) << 46)) {
    // Map one huge page more than needed and trim to a 2 MiB boundary.
    const std::size_t size = roundUp(bytes);
    void *p = mapAligned(size, PROT_READ | PROT_WRITE);
    if (p == nullptr)
      throw std::bad_alloc();
    madvise(p, size, MADV_HUGEPAGE); // a hint: without it the block still works
    return p;
  }
#endif
  void *p = std::malloc(bytes == 0 ? 1 : bytes);
  if (p == nullptr)
    throw std::bad_alloc();
  return p;
}

void hugeDeallocate(void *p, [[maybe_unused]] std::size_t bytes) {
  if (p == nullptr)
    return;
#ifndef PV_PLAIN_MALLOC
  if (bytes >= kThreshold && bytes <= (std::size_t(1) << 46)) {
    const std::size_t size = roundUp(bytes);
    if (kept.bytes + size <= kept.limit && kept.count < std::size(kept.blocks)) {
      kept.blocks[kept.count++] = {p, size};
      kept.bytes += size;
      return;
    }
    munmap(p, size);
    return;
  }
#endif
  std::free(p);
}

void hugeKeepFreed([[maybe_unused]] std::size_t limit) {
#ifndef PV_PLAIN_MALLOC
  kept.limit = limit;
#endif
}

std::vector<std::pair<void *, std::size_t>> hugeTakeKept() {
  std::vector<std::pair<void *, std::size_t>> blocks;
#ifndef PV_PLAIN_MALLOC
  for (std::size_t i = 0; i < kept.count; ++i)
    if (const std::size_t size = trimUntouched(kept.blocks[i].first, kept.blocks[i].second))
      blocks.push_back({kept.blocks[i].first, size});
  kept.count = 0;
  kept.bytes = 0;
#ifdef MREMAP_FIXED
  if (blocks.size() > 1) {
    // The blocks lie apart in the address space (each mapping left a hole
    // where it was trimmed to its boundary), so a taker could not place an
    // array larger than the largest block in them. Their pages are moved,
    // not copied, to one stretch of addresses: one block of the total size.
    std::size_t total = 0;
    for (const auto &b : blocks)
      total += b.second;
    void *stretch = mapAligned(total, PROT_NONE);
    if (stretch == nullptr)
      return blocks; // no room for the stretch: the blocks as they are
    const auto aligned = reinterpret_cast<std::uintptr_t>(stretch);
    std::size_t at = 0;
    std::vector<std::pair<void *, std::size_t>> left;
    for (const auto &b : blocks) {
      void *to = reinterpret_cast<void *>(aligned + at);
      if (mremap(b.first, b.second, b.second, MREMAP_MAYMOVE | MREMAP_FIXED, to) == MAP_FAILED) {
        left.push_back(b); // stays where it was, a block of its own
        continue;
      }
      at += b.second;
    }
    if (at < total)
      munmap(reinterpret_cast<void *>(aligned + at), total - at);
    left.insert(left.begin(), {reinterpret_cast<void *>(aligned), at});
    if (at == 0)
      left.erase(left.begin());
    return left;
  }
#endif
#endif
  return blocks;
}
