// The polynomial being reduced, held as a 4-ary max-heap of terms. The
// reduction only ever needs the leading term and adds products anywhere
// below it, so a heap does in O(log n) what an ordered list does in O(n).
// Equal terms are not merged on insertion: they meet at the top, where the
// caller adds them up (see popLeading).
#pragma once

#include <cstddef>
#include <vector>

#include "monomial.h"

class TermHeap {
public:
  // Takes the terms of a polynomial in descending order, which is a heap.
  void assign(Polynomial &&descending);
  void push(const PolyTerm &t);
  // Removes and returns the greatest term (any one of several equal ones).
  PolyTerm pop();
  const PolyTerm &top() const { return heap_.front(); }
  bool empty() const { return heap_.empty(); }
  std::size_t size() const { return heap_.size(); }

private:
  Polynomial heap_;
};

// Pops the leading term of the polynomial that heap holds: all terms equal
// to the greatest one, their coefficients added up. Terms whose sum is zero
// are dropped, so the result is the true leading term. Returns false when
// the polynomial is zero.
bool popLeading(TermHeap &heap, PolyTerm &lead);
