// Growing the name index: entries go to the first empty slot from their hash.
#include "name_index.h"

namespace net2alg {

void NameIndex::rebuild(std::size_t size) {
  slots_.assign(size, 0);
  const std::size_t mask = size - 1;
  for (std::size_t id = 0; id < hashes_.size(); ++id) {
    std::size_t s = hashes_[id] & mask;
    while (slots_[s] != 0)
      s = (s + 1) & mask;
    slots_[s] = (hashes_[id] >> 32 << 32) | (id + 1);
  }
}

void NameIndex::add(std::uint64_t hash) {
  hashes_.push_back(hash);
  if (2 * hashes_.size() > slots_.size()) {
    std::size_t size = 64;
    while (size < 4 * hashes_.size())
      size *= 2;
    rebuild(size);
    return;
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = hash & mask;
  while (slots_[s] != 0)
    s = (s + 1) & mask;
  slots_[s] = (hash >> 32 << 32) | hashes_.size();
}

void NameIndex::reserve(std::size_t count) {
  hashes_.reserve(count);
  std::size_t size = 64;
  while (size < 2 * count)
    size *= 2;
  if (size > slots_.size())
    rebuild(size);
}

} // namespace net2alg
