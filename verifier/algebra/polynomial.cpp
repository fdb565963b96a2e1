// Adding terms to polynomials and keeping them in term order.
#include "polynomial.h"

#include <algorithm>
#include <cassert>

#include "alpha_poly.h"
#include "problem_state.h"

void insertmon(const monomial_ &m) {
  assert(fieldState.defined() && m.coef != nullptr);
  if (m.coef->isZero())
    return;
  const Term t = makeTerm(m.vars.data(), static_cast<std::uint32_t>(m.vars.size()));
  glopoly.push_back(PolyTerm{t, coefPool.make(m.coef->bits)});
}

bool strictlyDescending(const PolyTerm *first, const PolyTerm *last) {
  for (const PolyTerm *t = first; t != last && t + 1 != last; ++t)
    if (!termLess(t[1].term, t[0].term))
      return false;
  return true;
}

void normalize(Polynomial &poly) {
  if (strictlyDescending(poly.data(), poly.data() + poly.size()))
    return;
  std::stable_sort(poly.begin(), poly.end(),
                   [](const PolyTerm &a, const PolyTerm &b) { return termLess(b.term, a.term); });
  // Merge runs of equal terms into their first element.
  std::size_t out = 0;
  for (std::size_t i = 0; i < poly.size();) {
    PolyTerm merged = poly[i];
    std::size_t j = i + 1;
    if (j < poly.size() && compareTerms(poly[j].term, merged.term) == 0) {
      merged.coef = coefPool.own(poly[i].coef);
      coefPool.release(poly[i].coef);
      for (; j < poly.size() && compareTerms(poly[j].term, merged.term) == 0; ++j) {
        coefPool.addTo(merged.coef, poly[j].coef);
        coefPool.release(poly[j].coef);
      }
      if (coefPool.isZero(merged.coef)) {
        coefPool.release(merged.coef);
        i = j;
        continue;
      }
    }
    poly[out++] = merged;
    i = j;
  }
  poly.resize(out);
  assert(strictlyDescending(poly.data(), poly.data() + poly.size()));
}

void freeTerms(Polynomial &poly) {
  for (const PolyTerm &t : poly)
    coefPool.release(t.coef);
  poly.clear();
}
