// Identifier -> variable name, for printing results. The names lie back to
// back in one array, each after its length; a name given again to an
// identifier replaces it. Both arrays are large for a big circuit (a
// million names) and grow on huge pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "huge_alloc.h"

class NameList {
public:
  void set(unsigned id, const char *name, std::size_t len);
  // The name of id; empty when id has none.
  std::string_view get(unsigned id) const;
  void clear();

private:
  static constexpr std::uint64_t kNone = ~std::uint64_t(0);
  std::vector<std::uint64_t, HugeAllocator<std::uint64_t>> offsets_; // kNone: no name
  std::vector<char, HugeAllocator<char>> chars_; // per name: its length (7 bits a byte), the name
};
