// Names of nets as .alg variables: only letters, digits and '_', unique, and
// never "X" or "1", which a term reads as the field generator and the
// constant one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "name_index.h"

namespace net2alg {

// A readable .alg name for a netlist name, not yet made unique:
//   "a[3]" -> "a_3", "m.z[3]" -> "m_z_3", "\\x" -> "x";
// a yosys-generated name keeps only its part after the last '$'
// ("$abc$466$new_n25_" -> "new_n25_", "$true" -> "true"); a name that would
// start with a digit gets the prefix "n" ("17" -> "n17"); an empty result
// becomes "n".
std::string sanitizeName(const std::string &raw);

// Hands out unique names: a name already taken gets the first free suffix
// "_1", "_2", ... ("a_3" -> "a_3_1").
class NameTable {
public:
  // "X" and "1" are taken from the start; `expected` names are about to be
  // claimed (room is made for them).
  explicit NameTable(std::size_t expected = 0);
  void reserve(const std::string &name); // takes a name without handing it out
  std::string claim(const std::string &base);
  bool taken(std::string_view name) const;

private:
  // Takes a name; false when it was taken already.
  bool take(std::string_view name);

  // The taken names, end to end in blocks that never move, so that the
  // views stay valid, and their index.
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockUsed_ = 0, blockSize_ = 0;
  std::vector<std::string_view> names_;
  NameIndex index_;
  // Per base that clashed: the suffix to try next. Names only get taken,
  // so the suffixes below it stay taken and need no second look.
  std::unordered_map<std::string, unsigned> next_;
};

} // namespace net2alg
