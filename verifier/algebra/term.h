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
