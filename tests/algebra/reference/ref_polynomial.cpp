// Reference term order, ordered insertion of terms and of generators.
#include "ref_polynomial.h"

#include <iterator>
#include <utility>

namespace ref {

int compareTerms(const VarSet &s, const VarSet &t) {
  auto a = s.begin();
  auto b = t.begin();
  for (; a != s.end() && b != t.end(); ++a, ++b) {
    if (*a != *b)
      return *a < *b ? 1 : -1;
  }
  if (a != s.end())
    return 1;
  if (b != t.end())
    return -1;
  return 0;
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
