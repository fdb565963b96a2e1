// Terms of the verifier's polynomials and the term order that every
// polynomial follows.
#pragma once

#include <list>
#include <set>
#include <vector>

class AlphaPoly;

// One term: the set of its variables (every variable has degree one, so a
// variable is either present or absent) and its heap coefficient. Copying a
// monomial_ copies the pointer, not the element; whoever removes a term from
// a polynomial frees its coefficient.
struct monomial_ {
  std::set<unsigned> vars;
  AlphaPoly* coef = nullptr;
};

// A polynomial: terms in strictly descending term order, leading term
// first; the empty list is zero. No term has a zero coefficient.
using Polynomial = std::list<monomial_>;

// The circuit generators, in non-increasing order of their leading terms.
using Ideal = std::vector<Polynomial>;

// Term order: lexicographic on the ascending identifier lists, where the
// smaller identifier (the variable declared first) ranks higher and a
// constant is the smallest term. Returns > 0 when s is greater than t,
// < 0 when it is smaller, 0 for equal variable sets.
int compareTerms(const std::set<unsigned>& s, const std::set<unsigned>& t);
