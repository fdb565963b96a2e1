// Variable name -> identifier. Every factor of every term is looked up here
// while a file is read, so a lookup must not walk a tree or allocate, and it
// should touch as little memory as possible.
//
// Generated circuits name their signals as a short prefix and a number
// (g1234, a17, z0). Such names live in a dense array per prefix, indexed by
// the number: a lookup parses the number and reads 4 bytes, and the arrays
// of a million-gate circuit (4 bytes a name) stay mostly in cache where a
// hash table of the same names would miss on almost every lookup. A prefix
// gets its array when its numbers are dense enough; every other name goes to
// an open-addressing hash table whose slot holds the identifier, a hash
// tag, the length and, for a name of up to 8 bytes, the name itself, so such
// a lookup reads one slot. Longer names are compared with their record.
//
// Declarations only append records (identifier, length, name); the arrays
// and slots are built when the first lookup comes, at the sizes that the
// names need, so a long declaration list costs no rehashing. Records of the
// names that went to the arrays are dropped then.
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

  // The names "prefix<number>" of one prefix (up to 8 bytes), by number.
  struct Series {
    std::uint64_t prefix; // zero-padded
    std::size_t prefixLen;
    std::vector<std::uint32_t, HugeAllocator<std::uint32_t>> ids; // 0: not declared
  };

  // The slot holding name, or the empty slot where it would go.
  Slot &locate(const char *name, std::size_t len, std::uint64_t hash);
  // The array entry of name, or nullptr when name has no place in a series.
  std::uint32_t *seriesEntry(const char *name, std::size_t len);
  // Enters the records appended since the last lookup into the arrays and
  // the slots; the first time, it also chooses the series.
  void index();
  void chooseSeries();
  void insertRecord(std::size_t at);

  std::vector<Series> series_;
  std::vector<Slot, HugeAllocator<Slot>> slots_;
  std::vector<std::uint64_t, HugeAllocator<std::uint64_t>> records_; // id << 32 | length, name
  std::size_t count_ = 0;                                            // declarations
  std::size_t hashed_ = 0;                                           // records in the slots
  std::size_t indexed_ = 0;   // records_ words already entered
  bool seriesChosen_ = false; // the first index() has run
};
