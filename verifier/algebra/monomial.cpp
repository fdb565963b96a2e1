// The term order.
#include "monomial.h"

int compareTerms(const std::set<unsigned>& s, const std::set<unsigned>& t) {
  auto a = s.begin();
  auto b = t.begin();
  for (; a != s.end() && b != t.end(); ++a, ++b) {
    if (*a != *b)
      return *a < *b ? 1 : -1;
  }
  // One list ran out with all compared identifiers equal: more variables
  // is greater.
  if (a != s.end())
    return 1;
  if (b != t.end())
    return -1;
  return 0;
}
