// The program's heap on transparent huge pages. A netlist of a million
// gates lives in millions of small blocks (names, products, polynomials);
// on 4 KiB pages, faulting them in costs about as much as building them.
#pragma once

#include <cstddef>

namespace net2alg {

// Reserves the next `bytes` of the heap at once and asks the kernel to back
// them with huge pages (madvise; where transparent huge pages are off it
// changes nothing). The heap keeps that room when blocks are freed, and
// blocks up to 32 MiB come from it rather than from mappings of their own.
// For programs, at start: it tunes the process's allocator. Does nothing in
// sanitizer builds.
void reserveHugePageHeap(std::size_t bytes);

} // namespace net2alg
