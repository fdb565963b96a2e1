// The 4-ary heap of terms.
#include "term_heap.h"

#include <utility>

namespace {

inline bool greater(const PolyTerm &a, const PolyTerm &b) { return termLess(b.term, a.term); }

} // namespace

void TermHeap::assign(Polynomial &&descending) { heap_ = std::move(descending); }

void TermHeap::push(const PolyTerm &t) {
  std::size_t hole = heap_.size();
  heap_.push_back(t);
  PolyTerm *h = heap_.data();
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 4;
    if (!greater(t, h[parent]))
      break;
    h[hole] = h[parent];
    hole = parent;
  }
  h[hole] = t;
}

PolyTerm TermHeap::pop() {
  PolyTerm *h = heap_.data();
  const PolyTerm top = h[0];
  const PolyTerm last = heap_.back();
  heap_.pop_back();
  const std::size_t n = heap_.size();
  if (n == 0)
    return top;
  std::size_t hole = 0;
  for (;;) {
    const std::size_t first = 4 * hole + 1;
    if (first >= n)
      break;
    std::size_t best = first;
    const std::size_t end = first + 4 < n ? first + 4 : n;
    for (std::size_t c = first + 1; c < end; ++c)
      if (greater(h[c], h[best]))
        best = c;
    if (!greater(h[best], last))
      break;
    h[hole] = h[best];
    hole = best;
  }
  h[hole] = last;
  return top;
}

bool popLeading(TermHeap &heap, PolyTerm &lead) {
  while (!heap.empty()) {
    lead = heap.pop();
    if (heap.empty() || compareTerms(heap.top().term, lead.term) != 0)
      return true;
    // Equal terms: add them into a slot of lead's own.
    const Coef sum = coefPool.own(lead.coef);
    coefPool.release(lead.coef);
    lead.coef = sum;
    while (!heap.empty() && compareTerms(heap.top().term, lead.term) == 0) {
      const PolyTerm other = heap.pop();
      coefPool.addTo(sum, other.coef);
      coefPool.release(other.coef);
    }
    if (!coefPool.isZero(sum))
      return true;
    coefPool.release(sum);
  }
  return false;
}
