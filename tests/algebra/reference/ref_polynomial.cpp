// Reference term order, ordered insertion of terms and of generators.
#include "ref_polynomial.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

namespace ref {

// Lexicographic on the sorted identifiers, a smaller identifier counting as
// the higher variable and a proper prefix as the lower term.
int compareTerms(const VarSet &s, const VarSet &t) {
  if (s == t)
    return 0;
  return std::lexicographical_compare(t.begin(), t.end(), s.begin(), s.end(), std::greater<>())
             ? 1
             : -1;
}

Placed addTerm(Polynomial &poly, VarSet vars, std::unique_ptr<AlphaPoly> coef) {
  if (coef->isZero())
    return Placed::Dropped;
  auto pos = poly.end();
  while (pos != poly.begin()) {
    auto prev = std::prev(pos);
    const int order = compareTerms(prev->vars, vars);
    if (order > 0)
      break; // prev is greater: the new term goes right after it
    if (order == 0) {
      prev->coef->add(coef.get());
      if (!prev->coef->isZero())
        return Placed::Merged;
      poly.erase(prev);
      return Placed::Cancelled;
    }
    pos = prev;
  }
  poly.insert(pos, Monomial{std::move(vars), std::move(coef)});
  return Placed::Inserted;
}

void addGenerator(Ideal &ideal, Polynomial p) {
  if (p.empty())
    return;
  std::size_t k = ideal.size();
  while (k > 0 && compareTerms(p.front().vars, ideal[k - 1].front().vars) > 0)
    --k;
  ideal.insert(ideal.begin() + static_cast<std::ptrdiff_t>(k), std::move(p));
}

} // namespace ref
