// The name table: dense arrays for numbered names, open addressing (linear
// probing, at most half full) for the others.
#include "name_table.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "fatal_error.h"

namespace {

constexpr std::size_t kMaxCandidates = 64; // prefixes counted when choosing the series
constexpr std::size_t kMaxSeries = 16;     // a lookup compares its prefix with each
constexpr std::size_t kMinSeriesNames = 16;

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

// Splits name into a prefix of at most 8 bytes and a decimal number of at
// most 9 digits without a leading zero ("g0123" is no series name, so that
// every number stands for one name). False when the name has no such form.
bool splitName(const char *s, std::size_t len, std::uint64_t &prefix, std::size_t &prefixLen,
               std::uint32_t &number) {
  std::size_t d = len;
  while (d > 0 && s[d - 1] >= '0' && s[d - 1] <= '9')
    --d;
  const std::size_t digits = len - d;
  if (digits == 0 || digits > 9 || d > 8 || (s[d] == '0' && digits > 1))
    return false;
  std::uint32_t n = 0;
  for (std::size_t i = d; i < len; ++i)
    n = n * 10 + static_cast<std::uint32_t>(s[i] - '0');
  prefix = packShort(s, d);
  prefixLen = d;
  number = n;
  return true;
}

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
  if (!seriesChosen_ || indexed_ < records_.size())
    index();
  if (const std::uint32_t *entry = seriesEntry(name, len))
    return *entry;
  if (hashed_ == 0)
    return 0;
  return locate(name, len, hashName(name, len)).id;
}

std::uint32_t *NameTable::seriesEntry(const char *name, std::size_t len) {
  if (series_.empty())
    return nullptr;
  std::uint64_t prefix;
  std::size_t prefixLen;
  std::uint32_t number;
  if (!splitName(name, len, prefix, prefixLen, number))
    return nullptr;
  for (Series &s : series_)
    if (s.prefixLen == prefixLen && s.prefix == prefix)
      return number < s.ids.size() ? &s.ids[number] : nullptr;
  return nullptr;
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

void NameTable::chooseSeries() {
  struct Candidate {
    std::uint64_t prefix;
    std::size_t prefixLen;
    std::size_t count;
    std::uint32_t max;
  };
  std::vector<Candidate> candidates;
  std::size_t last = 0; // names of one prefix usually come together
  for (std::size_t at = 0; at < records_.size(); at += recordWords(recordLen(&records_[at]))) {
    std::uint64_t prefix;
    std::size_t prefixLen;
    std::uint32_t number;
    if (!splitName(recordName(&records_[at]), recordLen(&records_[at]), prefix, prefixLen, number))
      continue;
    if (last >= candidates.size() || candidates[last].prefix != prefix ||
        candidates[last].prefixLen != prefixLen) {
      last = 0;
      while (last < candidates.size() &&
             (candidates[last].prefix != prefix || candidates[last].prefixLen != prefixLen))
        ++last;
      if (last == candidates.size()) {
        if (candidates.size() == kMaxCandidates)
          continue; // names of other prefixes go to the hash table
        candidates.push_back(Candidate{prefix, prefixLen, 0, 0});
      }
    }
    ++candidates[last].count;
    candidates[last].max = std::max(candidates[last].max, number);
  }
  // A series costs 4 bytes per number up to its largest: at most about
  // twice its names.
  for (const Candidate &c : candidates) {
    if (series_.size() == kMaxSeries)
      break;
    if (c.count >= kMinSeriesNames && c.max <= 2 * c.count + 64) {
      series_.push_back(Series{c.prefix, c.prefixLen, {}});
      series_.back().ids.assign(std::size_t(c.max) + 1, 0);
    }
  }
}

void NameTable::index() {
  if (!seriesChosen_) {
    chooseSeries();
    seriesChosen_ = true;
  }
  // Names of a series go to its array (in declaration order, so a later
  // declaration wins); the records of the others move down over theirs.
  std::size_t out = indexed_;
  for (std::size_t at = indexed_; at < records_.size();) {
    const std::uint64_t *r = &records_[at];
    const std::size_t words = recordWords(recordLen(r));
    if (std::uint32_t *entry = seriesEntry(recordName(r), recordLen(r))) {
      *entry = static_cast<std::uint32_t>(r[0] >> 32);
    } else {
      if (out != at)
        std::memmove(&records_[out], r, words * sizeof(std::uint64_t));
      out += words;
      ++hashed_;
    }
    at += words;
  }
  if (out < records_.size()) {
    records_.resize(out);
    records_.shrink_to_fit();
  }
  std::size_t from = indexed_;
  if (2 * hashed_ > slots_.size()) {
    // Rebuild at a size for all records: at most half full.
    std::size_t size = 64;
    while (size < 2 * hashed_)
      size *= 2;
    slots_.assign(size, Slot{0, 0, 0, 0});
    from = 0;
  }
  for (std::size_t at = from; at < records_.size(); at += recordWords(recordLen(&records_[at])))
    insertRecord(at);
  indexed_ = records_.size();
}

void NameTable::clear() {
  series_.clear();
  slots_.clear();
  records_.clear();
  count_ = 0;
  hashed_ = 0;
  indexed_ = 0;
  seriesChosen_ = false;
}
