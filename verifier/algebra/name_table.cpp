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

} // namespace

std::size_t NameTable::locate(const char* name, std::size_t len, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& s = slots_[i];
    if (s.id == 0)
      return i;
    if (s.hash == hash && s.len == len && std::memcmp(chars_.data() + s.offset, name, len) == 0)
      return i;
  }
}

unsigned NameTable::find(const char* name, std::size_t len) const {
  if (count_ == 0)
    return 0;
  return slots_[locate(name, len, hashName(name, len))].id;
}

void NameTable::assign(const char* name, std::size_t len, unsigned id) {
  if (2 * (count_ + 1) > slots_.size())
    grow();
  const std::uint64_t hash = hashName(name, len);
  Slot& s = slots_[locate(name, len, hash)];
  if (s.id == 0) {
    s = Slot{hash, chars_.size(), static_cast<std::uint32_t>(len), id};
    chars_.append(name, len);
    ++count_;
  }
  s.id = id;
}

void NameTable::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{0, 0, 0, 0});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.id == 0)
      continue;
    std::size_t i = s.hash & mask;
    while (slots_[i].id != 0)
      i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void NameTable::clear() {
  slots_.clear();
  chars_.clear();
  count_ = 0;
}
