// The heap's room on huge pages: allocator settings and one madvise.
#include "heap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define N2A_PLAIN_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define N2A_PLAIN_MALLOC 1
#endif
#endif

namespace net2alg {

void reserveHugePageHeap([[maybe_unused]] std::size_t bytes) {
#if !defined(N2A_PLAIN_MALLOC) && defined(__GLIBC__)
  constexpr std::size_t kHuge = std::size_t(2) << 20;
  // Freed room stays in the heap (no trimming), blocks up to the largest
  // threshold glibc allows come from the heap, and the heap grows by
  // `bytes` at a time.
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min<std::size_t>(bytes, 1u << 30)));
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(bytes, 1u << 30)));
  // A block larger than the heap's free top makes it grow now.
  void *probe = std::malloc(kHuge);
  if (probe == nullptr)
    return;
  const std::uintptr_t start =
      (reinterpret_cast<std::uintptr_t>(probe) + kHuge - 1) & ~std::uintptr_t(kHuge - 1);
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~std::uintptr_t(kHuge - 1);
  if (end > start)
    madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE); // a hint
  std::free(probe);
#endif
}

} // namespace net2alg
