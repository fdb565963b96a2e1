// Variable name -> identifier, as an open-addressing hash table. Every
// factor of every term is looked up here while a file is read, so the
// lookup must not walk a tree or allocate. A slot is 8 bytes (a hash tag and
// an entry index), so the table stays small and cache-friendly; the names
// themselves lie back to back in one string.
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
  std::size_t size() const { return entries_.size(); }

private:
  struct Entry {
    std::size_t offset; // of the name in chars_
    std::size_t len;
    unsigned id;
  };
  // The slot holding name, or the empty slot where it would go.
  std::size_t locate(const char* name, std::size_t len, std::uint64_t hash) const;
  void grow();

  std::vector<std::uint64_t> slots_; // tag << 32 | (entry + 1); 0 is empty
  std::vector<Entry> entries_;
  std::string chars_;
};
