// Adding a term to a polynomial while keeping the term order.
#pragma once

#include "monomial.h"

// Places the term m in poly at its place in the term order. A term with the
// same variables is merged by adding the coefficients; when the sum is zero
// that term is removed and its coefficient freed. The call takes over
// m.coef: it ends up in a term of poly or is freed, and m.coef is left null.
// A term whose coefficient is zero is freed instead of being stored, so no
// polynomial ever holds a zero coefficient. The search runs from the
// smallest term upwards, so terms that arrive in descending order cost one
// comparison each.
void addTerm(Polynomial& poly, monomial_& m);

// addTerm into glopoly, the polynomial under construction; m.vars is left
// as it was.
void insertmon(monomial_& m);

// Frees the coefficients of all terms of poly and empties it.
void freeTerms(Polynomial& poly);
