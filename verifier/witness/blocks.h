// Memory for the witness analysis's arrays. On this kind of machine a page
// fault costs far more than the work on the page: touching fresh memory
// takes several milliseconds per megabyte when the machine is busy, as long
// as a hundred passes over memory already mapped. Arrays per variable or per
// term of a large multiplier are hundreds of kilobytes to tens of megabytes,
// and the analysis makes and drops dozens of them. So every block of 64 KiB
// or more is carved from large regions on huge pages, one after the other
// (a 600 KB array does not take a 2 MiB page of its own), and a dropped block
// goes to the next request of its size instead of back to the system. A
// region with no block in use is filled again from its start, and
// releaseBlocks() unmaps those regions.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace witness {

void *allocateBlock(std::size_t bytes);
void freeBlock(void *p, std::size_t bytes);
// Unmaps the regions that hold no block in use.
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
