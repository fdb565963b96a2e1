// Variable name -> identifier, as an open-addressing hash table. Every
// factor of every term is looked up here while a file is read, so the
// lookup must not walk a tree or allocate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class NameTable {
public:
  // The identifier of name, 0 when it is not in the table.
  unsigned find(const char* name, std::size_t len) const;
  // Enters name with id (> 0), replacing an earlier identifier.
  void assign(const char* name, std::size_t len, unsigned id);
  void clear();
  std::size_t size() const { return count_; }

private:
  struct Slot {
    std::uint64_t hash;
    std::size_t offset; // of the name in chars_
    std::uint32_t len;
    unsigned id; // 0: empty slot
  };
  std::size_t locate(const char* name, std::size_t len, std::uint64_t hash) const;
  void grow();

  std::vector<Slot> slots_; // size is 0 or a power of two
  std::string chars_;       // the names, back to back
  std::size_t count_ = 0;
};
