// An index from names to ids 0, 1, 2, ... in the order they were added,
// for names that their owner keeps (a vector of strings or of views): the
// netlist's nets and the table of .alg names share it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace net2alg {

// An open-addressing table, a power of two in size and at most half full,
// probed linearly from the name's hash. A slot holds the id + 1 (0: empty)
// in its low half and the hash's high half above, so that most mismatches
// are seen without reading the name; the hash of every id is kept for
// growing the table.
class NameIndex {
public:
  static constexpr std::uint32_t kNone = ~std::uint32_t{0};
  static std::uint64_t hashOf(std::string_view name) {
    return std::hash<std::string_view>()(name);
  }

  // The id of `name` (of hash `hash`), where names[id] is the name of id;
  // kNone when it is not in the index.
  template <class Names>
  std::uint32_t find(std::string_view name, std::uint64_t hash, const Names &names) const {
    if (slots_.empty())
      return kNone;
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t high = hash >> 32 << 32;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
      const std::uint64_t slot = slots_[s];
      if (slot == 0)
        return kNone;
      const auto id = static_cast<std::uint32_t>(slot) - 1;
      if ((slot >> 32 << 32) == high && std::string_view(names[id]) == name)
        return id;
    }
  }

  // Adds the next id (the number of ids so far) for a name of hash `hash`
  // that is not in the index yet.
  void add(std::uint64_t hash);
  // Room for `count` ids without growing.
  void reserve(std::size_t count);

private:
  void rebuild(std::size_t size);
  std::vector<std::uint64_t> slots_;
  std::vector<std::uint64_t> hashes_;
};

} // namespace net2alg
