// The open-addressing name table (linear probing, at most half full).
#include "name_table.h"

#include <cstring>
#include <new>

#include "fatal_error.h"

namespace {

std::uint64_t hashName(const char *s, std::size_t len) {
  std::uint64_t h = 0xcbf29ce484222325ull; // FNV-1a, then a final mix
  for (std::size_t i = 0; i < len; ++i)
    h = (h ^ static_cast<unsigned char>(s[i])) * 0x100000001b3ull;
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ull;
  return h ^ (h >> 32);
}

// A name of up to 8 bytes as one word, zero-padded.
inline std::uint64_t packShort(const char *s, std::size_t len) {
  std::uint64_t w = 0;
  std::memcpy(&w, s, len);
  return w;
}

inline std::size_t recordLen(const std::uint64_t *r) { return r[0] & 0xFFFFFFFFu; }
inline const char *recordName(const std::uint64_t *r) {
  return reinterpret_cast<const char *>(r + 1);
}
inline std::size_t recordWords(std::size_t len) { return 1 + (len + 7) / 8; }

} // namespace

NameTable::Slot &NameTable::locate(const char *name, std::size_t len, std::uint64_t hash) {
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint16_t>(hash >> 48);
  const bool isShort = len <= 8;
  const std::uint64_t packed = isShort ? packShort(name, len) : 0;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot &s = slots_[i];
    if (s.id == 0)
      return s;
    if (s.tag != tag)
      continue;
    if (isShort) {
      if (s.len == len && s.name == packed)
        return s;
    } else if (s.len == kLong) {
      const std::uint64_t *r = records_.data() + s.name;
      if (recordLen(r) == len && std::memcmp(recordName(r), name, len) == 0)
        return s;
    }
  }
}

unsigned NameTable::find(const char *name, std::size_t len) {
  if (indexed_ < records_.size())
    index();
  if (count_ == 0)
    return 0;
  return locate(name, len, hashName(name, len)).id;
}

void NameTable::assign(const char *name, std::size_t len, unsigned id) {
  if (len > 0xFFFFFFFFu)
    throw FatalError("polyverify: a variable name longer than 4294967295 bytes\n",
                     ErrorStream::kStderr, ExitStatus::kOutOfMemory);
  if (id == 0)
    throw FatalError("polyverify: internal error: variable identifier 0\n", ErrorStream::kStderr,
                     ExitStatus::kOutOfMemory);
  const std::size_t at = records_.size();
  records_.resize(at + recordWords(len), 0);
  records_[at] = std::uint64_t(id) << 32 | len;
  std::memcpy(records_.data() + at + 1, name, len);
  ++count_;
}

void NameTable::insertRecord(std::size_t at) {
  const std::uint64_t *r = &records_[at];
  const char *name = recordName(r);
  const std::size_t len = recordLen(r);
  const std::uint64_t hash = hashName(name, len);
  Slot &s = locate(name, len, hash);
  if (s.id == 0) {
    s.tag = static_cast<std::uint16_t>(hash >> 48);
    s.len = len <= 8 ? static_cast<std::uint16_t>(len) : kLong;
    s.name = len <= 8 ? packShort(name, len) : at;
  }
  s.id = static_cast<std::uint32_t>(r[0] >> 32); // a later declaration wins
}

void NameTable::index() {
  std::size_t from = indexed_;
  if (2 * count_ > slots_.size()) {
    // Rebuild at a size for all records: at most half full.
    std::size_t size = 64;
    while (size < 2 * count_)
      size *= 2;
    slots_.assign(size, Slot{0, 0, 0, 0});
    from = 0;
  }
  for (std::size_t at = from; at < records_.size(); at += recordWords(recordLen(&records_[at])))
    insertRecord(at);
  indexed_ = records_.size();
}

void NameTable::clear() {
  slots_.clear();
  records_.clear();
  count_ = 0;
  indexed_ = 0;
}
