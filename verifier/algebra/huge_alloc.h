// Allocator for the verifier's large arrays (the variable table, generator
// storage, the coefficient pool, the polynomial being reduced). Blocks of a
// megabyte or more are mapped on 2 MiB boundaries and marked for transparent
// huge pages: a 571-bit multiplier touches a few hundred megabytes, and with
// 4 KiB pages the page faults and TLB misses of that memory cost about a
// third of the run. Smaller blocks come from malloc. Sanitizer builds use
// malloc throughout, so that every access stays checked.
#pragma once

#include <cstddef>
#include <new>

#include <utility>
#include <vector>

void *hugeAllocate(std::size_t bytes);
void hugeDeallocate(void *p, std::size_t bytes);

// Freed blocks kept for a later user. While keeping is on, a freed block of
// a megabyte or more stays mapped (its pages touched already) instead of
// going back to the system, up to `limit` bytes in all; hugeTakeKept hands
// those blocks over (start, size in bytes, 2 MiB-aligned), and the taker
// frees each with hugeDeallocate. A block's end that was never touched (an
// array freed before it filled its capacity) is unmapped, not handed over,
// and the kept pages are moved (not copied) to one stretch of addresses, so
// normally a single block of touched pages comes back, and an array larger
// than any one freed block fits in it. The verifier's growing
// arrays free tens of megabytes while a problem is read; an analysis after the verification (the
// witness search) can reuse them instead of faulting in fresh pages.
void hugeKeepFreed(std::size_t limit);
std::vector<std::pair<void *, std::size_t>> hugeTakeKept();

// A standard allocator over a pair of block functions (these and the
// witness analysis's own).
template <class T, void *(*Allocate)(std::size_t), void (*Deallocate)(void *, std::size_t)>
struct BlockFnAllocator {
  using value_type = T;
  template <class U> struct rebind { using other = BlockFnAllocator<U, Allocate, Deallocate>; };
  BlockFnAllocator() = default;
  template <class U> BlockFnAllocator(const BlockFnAllocator<U, Allocate, Deallocate> &) {}
  T *allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T))
      throw std::bad_alloc();
    return static_cast<T *>(Allocate(n * sizeof(T)));
  }
  void deallocate(T *p, std::size_t n) { Deallocate(p, n * sizeof(T)); }
  friend bool operator==(const BlockFnAllocator &, const BlockFnAllocator &) { return true; }
  friend bool operator!=(const BlockFnAllocator &, const BlockFnAllocator &) { return false; }
};

template <class T> using HugeAllocator = BlockFnAllocator<T, hugeAllocate, hugeDeallocate>;
