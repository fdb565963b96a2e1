// Storage of the circuit generators.
#include "monomial.h"

#include <algorithm>

namespace {

constexpr std::size_t kChunkTerms = std::size_t(1) << 16;

} // namespace

void Ideal::add(const Polynomial& p) {
  if (p.size() > room_) {
    // A generator larger than a chunk gets a chunk of its own size.
    const std::size_t n = std::max(kChunkTerms, p.size());
    chunks_.emplace_back(new PolyTerm[n]);
    chunkSize_ = room_ = n;
  }
  PolyTerm* at = chunks_.back().get() + (chunkSize_ - room_);
  std::copy(p.begin(), p.end(), at);
  room_ -= p.size();
  generators.push_back(Generator{at, static_cast<std::uint32_t>(p.size())});
}

void Ideal::clear() {
  generators.clear();
  chunks_.clear();
  chunkSize_ = room_ = 0;
  sorted = true;
}
