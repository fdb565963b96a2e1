// The regions of the witness analysis; see blocks.h.
#include "blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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
constexpr std::size_t kAlign = 4096;
constexpr std::size_t kHuge = std::size_t(2) << 20;
// Address space only: pages are touched (and zeroed by the system) as the
// blocks reach them. Kept moderate for runs under an address-space limit.
constexpr std::size_t kRegion = std::size_t(64) << 20;

[[maybe_unused]] std::size_t roundUp(std::size_t bytes, std::size_t to) {
  return (bytes + to - 1) / to * to;
}

struct Region {
  char *base;
  std::size_t size, top; // bytes handed out: [base, base + top)
  std::size_t live;      // blocks in use
};

struct Dropped {
  char *p;
  std::size_t size;
};

// Few regions and a few dozen dropped blocks: linear searches.
struct Regions {
  std::vector<Region> regions;
  std::vector<Dropped> dropped;
};

Regions &state() {
  static Regions r;
  return r;
}

[[maybe_unused]] Region &regionOf(Regions &s, const char *p) {
  return *std::find_if(s.regions.begin(), s.regions.end(),
                       [&](const Region &r) { return p >= r.base && p < r.base + r.size; });
}

} // namespace

void *allocateBlock(std::size_t bytes) {
#ifndef PV_WITNESS_PLAIN_MALLOC
  if (bytes >= kLarge) {
    Regions &s = state();
    const std::size_t size = roundUp(bytes, kAlign);
    // The smallest dropped block that holds it (its rest stays dropped),
    // else the free end of a region: pages already touched are used
    // before fresh ones.
    std::size_t best = s.dropped.size();
    for (std::size_t i = 0; i < s.dropped.size(); ++i)
      if (s.dropped[i].size >= size &&
          (best == s.dropped.size() || s.dropped[i].size < s.dropped[best].size))
        best = i;
    if (best < s.dropped.size()) {
      Dropped &d = s.dropped[best];
      char *p = d.p;
      if (d.size == size) {
        d = s.dropped.back();
        s.dropped.pop_back();
      } else {
        d.p += size;
        d.size -= size;
      }
      ++regionOf(s, p).live;
      return p;
    }
    // Blocks the verifier freed, their pages touched already, become
    // regions too; the block goes where it leaves the least room.
    for (const auto &kept : hugeTakeKept())
      s.regions.push_back({static_cast<char *>(kept.first), kept.second, 0, 0});
    Region *fit = nullptr;
    for (Region &r : s.regions)
      if (r.size - r.top >= size && (fit == nullptr || r.size - r.top < fit->size - fit->top))
        fit = &r;
    if (fit == nullptr) {
      const std::size_t exact = roundUp(size, kHuge);
      std::size_t regionSize = std::max(kRegion, 4 * exact);
      char *base;
      try {
        base = static_cast<char *>(hugeAllocate(regionSize));
      } catch (const std::bad_alloc &) {
        regionSize = exact; // short of address space: just this block
        base = static_cast<char *>(hugeAllocate(regionSize));
      }
      s.regions.push_back({base, regionSize, 0, 0});
      fit = &s.regions.back();
    }
    char *p = fit->base + fit->top;
    fit->top += size;
    ++fit->live;
    return p;
  }
#endif
  void *p = std::malloc(bytes == 0 ? 1 : bytes);
  if (p == nullptr)
    throw std::bad_alloc();
  return p;
}

void freeBlock(void *p, [[maybe_unused]] std::size_t bytes) {
  if (p == nullptr)
    return;
#ifndef PV_WITNESS_PLAIN_MALLOC
  if (bytes >= kLarge) {
    Regions &s = state();
    char *block = static_cast<char *>(p);
    Region &r = regionOf(s, block);
    const std::size_t size = roundUp(bytes, kAlign);
    // Dropped blocks next to it join it; a block that ends at the
    // region's free end goes back to it.
    std::size_t merged = size;
    for (std::size_t i = 0; i < s.dropped.size();) {
      Dropped &d = s.dropped[i];
      const bool sameRegion = d.p >= r.base && d.p < r.base + r.size;
      if (sameRegion && d.p + d.size == block) {
        block = d.p;
        merged += d.size;
      } else if (sameRegion && block + merged == d.p) {
        merged += d.size;
      } else {
        ++i;
        continue;
      }
      d = s.dropped.back();
      s.dropped.pop_back();
      i = 0; // the grown block may now touch one looked at before
    }
    if (block + merged == r.base + r.top)
      r.top -= merged;
    else
      s.dropped.push_back({block, merged});
    if (--r.live == 0) {
      // Nothing in use: the region is filled again from its start.
      r.top = 0;
      s.dropped.erase(
          std::remove_if(s.dropped.begin(), s.dropped.end(),
                         [&](const Dropped &d) { return d.p >= r.base && d.p < r.base + r.size; }),
          s.dropped.end());
    }
    return;
  }
#endif
  std::free(p);
}

void releaseBlocks() {
  Regions &s = state();
  for (std::size_t i = s.regions.size(); i-- > 0;)
    if (s.regions[i].live == 0) {
      hugeDeallocate(s.regions[i].base, s.regions[i].size);
      s.regions.erase(s.regions.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

} // namespace witness
