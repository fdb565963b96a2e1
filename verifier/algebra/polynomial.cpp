// Ordered insertion of terms into polynomials.
#include "polynomial.h"

#include <cassert>
#include <iterator>

#include "alpha_poly.h"
#include "problem_state.h"

void addTerm(Polynomial& poly, monomial_& m) {
  assert(m.coef != nullptr);
  AlphaPoly* coef = m.coef;
  m.coef = nullptr;
  if (coef->isZero()) {
    delete coef;
    return;
  }
  // Walk from the smallest term towards the leading one.
  auto pos = poly.end();
  while (pos != poly.begin()) {
    auto prev = std::prev(pos);
    int order = compareTerms(prev->vars, m.vars);
    if (order > 0)
      break; // prev is greater: m goes right after it
    if (order == 0) {
      prev->coef->add(coef);
      if (prev->coef->isZero()) {
        delete prev->coef;
        poly.erase(prev);
      }
      delete coef;
      return;
    }
    pos = prev;
  }
  // Build the element first so that a failed set copy leaves poly and m as
  // they were (apart from the coefficient taken over above).
  try {
    poly.insert(pos, monomial_{m.vars, coef});
  } catch (...) {
    m.coef = coef;
    throw;
  }
}

void insertmon(monomial_& m) { addTerm(glopoly, m); }

void freeTerms(Polynomial& poly) {
  for (monomial_& t : poly)
    delete t.coef;
  poly.clear();
}
