// Variable name -> identifier, as an open-addressing hash table. Every
// factor of every term is looked up here while a file is read, so a lookup
// must not walk a tree or allocate, and it should touch as little memory as
// possible: a slot holds the identifier, a hash tag, the length and, for a
// name of up to 8 bytes (the usual gate names), the name itself, so such a
// lookup reads one slot. Longer names are compared with their record.
//
// Declarations only append records (identifier, length, name); the slots
// are built when the first lookup comes, at the size that the number of
// names needs, so a long declaration list costs no rehashing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "huge_alloc.h"

class NameTable {
public:
  // The identifier of name, 0 when it is not in the table.
  unsigned find(const char *name, std::size_t len);
  // Enters name with id (> 0), replacing an earlier identifier.
  void assign(const char *name, std::size_t len, unsigned id);
  void clear();
  std::size_t size() const { return count_; }

private:
  struct Slot {
    std::uint32_t id;  // 0: empty
    std::uint16_t tag; // high hash bits
    std::uint16_t len; // 0..8: the name is in `name`; kLong: `name` is a record position
    std::uint64_t name;
  };
  static constexpr std::uint16_t kLong = 0xFFFF;

  // The slot holding name, or the empty slot where it would go.
  Slot &locate(const char *name, std::size_t len, std::uint64_t hash);
  // Enters the records appended since the last lookup into the slots.
  void index();
  void insertRecord(std::size_t at);

  std::vector<Slot, HugeAllocator<Slot>> slots_;
  std::vector<std::uint64_t, HugeAllocator<std::uint64_t>> records_; // id << 32 | length, name
  std::size_t count_ = 0;                                            // records
  std::size_t indexed_ = 0; // records_ words already in the slots
};
