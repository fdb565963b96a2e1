// Terms of the verifier's polynomials and the term order.
//
// A term is a set of variables (each of degree one). Terms are compared
// lexicographically on their ascending identifier lists: at the first
// position where they differ the smaller identifier (the variable declared
// first) ranks higher, a list that runs out first is smaller, and the
// constant is the smallest term of all.
//
// The reduction compares terms millions of times, so a term is a 64-bit key
// whose integer order is the term order on the first two variables, plus a
// reference to the full identifier list for the rare terms with three or
// more variables. Gate-level circuits produce almost only terms of one or
// two variables, which then compare with one integer comparison.
#pragma once

#include <cstdint>
#include <vector>

using VarId = unsigned;

// 12 bytes on a 4-byte alignment, so that a term with its 32-bit
// coefficient handle takes 16 bytes: a million-gate circuit stores millions
// of them.
struct __attribute__((packed, aligned(4))) Term {
  std::uint64_t key; // order key of the first two variables
  std::uint32_t ext; // 0: the key says it all; else 1 + offset in termArena
};
static_assert(sizeof(Term) == 12, "a term is 12 bytes");

// Full identifier lists of the terms with three or more variables, stored
// as [length, id, id, ...]. Emptied with the problem state.
extern std::vector<VarId> termArena;

// A small sorted identifier list, decoded from a term.
struct VarList {
  const VarId *ids;
  std::uint32_t size;
  VarId inlineIds[2];
};

// The term of the sorted, duplicate-free identifiers ids[0 .. n).
Term makeTerm(const VarId *ids, std::uint32_t n);

// The identifiers of t in ascending order. The list points into t's own
// storage or into termArena; it stays valid until termArena grows.
void termVars(const Term &t, VarList &out);

// Writes the identifiers of t in ascending order to out, which has room for
// termDegree(t) of them, and returns their number. Inline for the one- and
// two-variable terms of gates: a pass over a large circuit's terms decodes
// millions of them.
inline std::uint32_t copyTermVars(const Term &t, VarId *out) {
  if (t.ext != 0) {
    const VarId *at = termArena.data() + (t.ext - 1);
    for (VarId i = 0; i < at[0]; ++i)
      out[i] = at[1 + i];
    return at[0];
  }
  constexpr std::uint64_t kTop = 0xFFFFFFFFu;
  const std::uint64_t high = t.key >> 32, low = t.key & kTop;
  if (high == 0)
    return 0;
  out[0] = static_cast<VarId>(kTop - high);
  if (low == 0)
    return 1;
  out[1] = static_cast<VarId>(kTop - low);
  return 2;
}

// Number of variables of t.
std::uint32_t termDegree(const Term &t);

// > 0 when s is greater than t, < 0 when smaller, 0 for equal terms.
int compareTerms(const Term &s, const Term &t);

inline bool termLess(const Term &s, const Term &t) {
  if (s.key != t.key)
    return s.key < t.key;
  if ((s.ext | t.ext) == 0)
    return false;
  return compareTerms(s, t) < 0;
}
