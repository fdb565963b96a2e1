// Memory for the witness analysis's arrays. On this kind of machine a page
// fault costs far more than the work on the page: a fresh 4 KiB page takes
// about as long as filling a megabyte of memory already mapped. Arrays per
// variable or per term of a large multiplier are hundreds of kilobytes to
// tens of megabytes, and the analysis makes and drops dozens of them, so
// every block of 64 KiB or more is taken in whole 2 MiB huge pages, and a
// dropped block is kept for the next array of its size instead of being
// unmapped. releaseBlocks() returns the kept blocks to the system.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace witness {

void *allocateBlock(std::size_t bytes);
void freeBlock(void *p, std::size_t bytes);
// Unmaps the dropped blocks kept for reuse; blocks in use stay.
void releaseBlocks();

template <class T> struct BlockAllocator {
  using value_type = T;
  BlockAllocator() = default;
  template <class U> BlockAllocator(const BlockAllocator<U> &) {}
  T *allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T))
      throw std::bad_alloc();
    return static_cast<T *>(allocateBlock(n * sizeof(T)));
  }
  void deallocate(T *p, std::size_t n) { freeBlock(p, n * sizeof(T)); }
};

template <class T, class U> bool operator==(const BlockAllocator<T> &, const BlockAllocator<U> &) {
  return true;
}
template <class T, class U> bool operator!=(const BlockAllocator<T> &, const BlockAllocator<U> &) {
  return false;
}

template <class T> using Array = std::vector<T, BlockAllocator<T>>;

} // namespace witness
