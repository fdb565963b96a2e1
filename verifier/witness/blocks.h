// Memory for the witness analysis's arrays. On this kind of machine a page
// fault costs far more than the work on the page: touching fresh memory
// takes several milliseconds per megabyte when the machine is busy, as long
// as a hundred passes over memory already mapped. Arrays per variable or per
// term of a large multiplier are hundreds of kilobytes to tens of megabytes,
// and the analysis makes and drops dozens of them. So every block of 64 KiB
// or more is carved from large regions on huge pages, one after the other
// (a 600 KB array does not take a 2 MiB page of its own), and a dropped block
// (joined with dropped neighbours) serves the later requests that fit in it,
// smallest fit first, instead of going back to the system. A
// region with no block in use is filled again from its start, and
// releaseBlocks() unmaps those regions.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

#include "huge_alloc.h"

namespace witness {

void *allocateBlock(std::size_t bytes);
void freeBlock(void *p, std::size_t bytes);
// Unmaps the regions that hold no block in use.
void releaseBlocks();

template <class T> using BlockAllocator = BlockFnAllocator<T, allocateBlock, freeBlock>;

template <class T> using Array = std::vector<T, BlockAllocator<T>>;

// As BlockAllocator, but an element made without a value is left
// uninitialised: resize() of an array of numbers writes nothing, for arrays
// of millions of entries that are filled right after.
template <class T> struct RawBlockAllocator : BlockAllocator<T> {
  template <class U> struct rebind { using other = RawBlockAllocator<U>; };
  RawBlockAllocator() = default;
  template <class U> RawBlockAllocator(const RawBlockAllocator<U> &) {}
  template <class U> void construct(U *p) { ::new (static_cast<void *>(p)) U; }
  template <class U, class... Args> void construct(U *p, Args &&...args) {
    ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
  }
};

template <class T> using RawArray = std::vector<T, RawBlockAllocator<T>>;

} // namespace witness
