// The open-addressing name table (linear probing, at most half full).
#include "name_table.h"

#include <cstring>

namespace {

std::uint64_t hashName(const char* s, std::size_t len) {
  std::uint64_t h = 0xcbf29ce484222325ull; // FNV-1a, then a final mix
  for (std::size_t i = 0; i < len; ++i)
    h = (h ^ static_cast<unsigned char>(s[i])) * 0x100000001b3ull;
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ull;
  return h ^ (h >> 32);
}

inline std::uint64_t tagOf(std::uint64_t hash) { return hash >> 32; }

} // namespace

std::size_t NameTable::locate(const char* name, std::size_t len, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = tagOf(hash);
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0)
      return i;
    if ((slot >> 32) != tag)
      continue;
    const Entry& e = entries_[(slot & 0xFFFFFFFFu) - 1];
    if (e.len == len && std::memcmp(chars_.data() + e.offset, name, len) == 0)
      return i;
  }
}

unsigned NameTable::find(const char* name, std::size_t len) const {
  if (entries_.empty())
    return 0;
  const std::uint64_t slot = slots_[locate(name, len, hashName(name, len))];
  return slot == 0 ? 0 : entries_[(slot & 0xFFFFFFFFu) - 1].id;
}

void NameTable::assign(const char* name, std::size_t len, unsigned id) {
  if (2 * (entries_.size() + 1) > slots_.size())
    grow();
  const std::uint64_t hash = hashName(name, len);
  std::uint64_t& slot = slots_[locate(name, len, hash)];
  if (slot != 0) {
    entries_[(slot & 0xFFFFFFFFu) - 1].id = id;
    return;
  }
  entries_.push_back(Entry{chars_.size(), len, id});
  chars_.append(name, len);
  slot = tagOf(hash) << 32 | entries_.size();
}

void NameTable::grow() {
  slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), 0);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    const Entry& e = entries_[k];
    const std::uint64_t hash = hashName(chars_.data() + e.offset, e.len);
    std::size_t i = hash & mask;
    while (slots_[i] != 0)
      i = (i + 1) & mask;
    slots_[i] = tagOf(hash) << 32 | (k + 1);
  }
}

void NameTable::clear() {
  slots_.clear();
  entries_.clear();
  chars_.clear();
}
