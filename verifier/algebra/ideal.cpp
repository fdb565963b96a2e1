// Storage of the circuit generators.
#include "monomial.h"

#include <algorithm>
#include <cassert>

#include "polynomial.h"

namespace {

// Chunks double from a small first one, so that a small problem allocates
// little, up to 2 MiB (one huge page).
constexpr std::size_t kFirstChunkTerms = 256;
constexpr std::size_t kMaxChunkTerms = std::size_t(1) << 17;

} // namespace

void Ideal::add(const Polynomial &p) {
  assert(!p.empty() && strictlyDescending(p.data(), p.data() + p.size()));
  if (p.size() > room_) {
    std::size_t n = chunkSize_ == 0 ? kFirstChunkTerms : std::min(2 * chunkSize_, kMaxChunkTerms);
    n = std::max(n, p.size()); // a larger generator gets a chunk of its own size
    chunks_.push_back(HugeAllocator<PolyTerm>().allocate(n));
    chunkSizes_.push_back(n);
    chunkSize_ = room_ = n;
  }
  PolyTerm *at = chunks_.back() + (chunkSize_ - room_);
  std::copy(p.begin(), p.end(), at);
  room_ -= p.size();
  generators.push_back(Generator{at, static_cast<std::uint32_t>(p.size())});
}

void Ideal::clear() {
  generators.clear();
  for (std::size_t k = 0; k < chunks_.size(); ++k)
    HugeAllocator<PolyTerm>().deallocate(chunks_[k], chunkSizes_[k]);
  chunks_.clear();
  chunkSizes_.clear();
  chunkSize_ = room_ = 0;
  sorted = true;
}
