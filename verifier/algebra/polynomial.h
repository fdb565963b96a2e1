// Building polynomials: adding terms, putting them in order, releasing them.
#pragma once

#include "monomial.h"

// Adds the term under construction m to glopoly. Its variables and the
// value of its coefficient are taken over (m itself is left unchanged; the
// caller starts the next term). A zero coefficient adds nothing.
void insertmon(const monomial_ &m);

// Puts poly in descending term order, adding the coefficients of equal terms
// and dropping terms whose sum is zero. Costs one pass when poly is ordered
// already, as files normally write their polynomials.
void normalize(Polynomial &poly);

// True when the terms [first, last) are in strictly descending term order.
bool strictlyDescending(const PolyTerm *first, const PolyTerm *last);

// Releases the coefficients of all terms of poly and empties it.
void freeTerms(Polynomial &poly);
