// Encoding, decoding and comparison of terms.
#include "term.h"

#include "fatal_error.h"

std::vector<VarId> termArena;

namespace {

constexpr std::uint64_t kTop = 0xFFFFFFFFu;

// Identifiers are at most 2^31 - 1, so kTop - id is never 0: a missing
// second variable (0) sorts below every present one, and a constant (key 0)
// below every term with variables.
std::uint64_t keyOf(const VarId *ids, std::uint32_t n) {
  if (n == 0)
    return 0;
  std::uint64_t key = (kTop - ids[0]) << 32;
  if (n > 1)
    key |= kTop - ids[1];
  return key;
}

} // namespace

Term makeTerm(const VarId *ids, std::uint32_t n) {
  Term t{keyOf(ids, n), 0};
  if (n > 2) {
    if (termArena.size() + n + 1 >= 0xFFFFFFFFu) // offsets are 32-bit
      throw FatalError("polyverify: the terms of one problem exceed the 32-bit term store\n",
                       ErrorStream::kStderr, ExitStatus::kOutOfMemory);
    t.ext = static_cast<std::uint32_t>(termArena.size()) + 1;
    termArena.push_back(n);
    termArena.insert(termArena.end(), ids, ids + n);
  }
  return t;
}

void termVars(const Term &t, VarList &out) {
  if (t.ext != 0) {
    const VarId *at = termArena.data() + (t.ext - 1);
    out.size = at[0];
    out.ids = at + 1;
    return;
  }
  out.ids = out.inlineIds;
  out.size = 0;
  const std::uint64_t high = t.key >> 32;
  if (high == 0)
    return;
  out.inlineIds[out.size++] = static_cast<VarId>(kTop - high);
  const std::uint64_t low = t.key & kTop;
  if (low != 0)
    out.inlineIds[out.size++] = static_cast<VarId>(kTop - low);
}

std::uint32_t termDegree(const Term &t) {
  if (t.ext != 0)
    return termArena[t.ext - 1];
  if ((t.key >> 32) == 0)
    return 0;
  return (t.key & kTop) != 0 ? 2 : 1;
}

int compareTerms(const Term &s, const Term &t) {
  if (s.key != t.key)
    return s.key > t.key ? 1 : -1;
  if ((s.ext | t.ext) == 0)
    return 0;
  // Same first two variables: walk the rest of the lists.
  VarList a, b;
  termVars(s, a);
  termVars(t, b);
  std::uint32_t i = 2;
  for (; i < a.size && i < b.size; ++i) {
    if (a.ids[i] != b.ids[i])
      return a.ids[i] < b.ids[i] ? 1 : -1;
  }
  if (a.size != b.size)
    return a.size > b.size ? 1 : -1;
  return 0;
}
