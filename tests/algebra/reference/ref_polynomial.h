// Plain reference of the verifier's polynomial algebra, for tests only:
// terms as ordered sets of variable identifiers with heap coefficients,
// polynomials as lists in descending term order, the ideal as a vector kept
// ordered by leading term. It follows the algorithm step by step, with no
// shortcut, so that the product's faster algebra can be checked against it.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "alpha_poly.h"

namespace ref {

using VarSet = std::set<unsigned>;

// One term. Every coefficient belongs to exactly one term.
struct Monomial {
  VarSet vars;
  std::unique_ptr<AlphaPoly> coef;
};

// Terms in strictly descending term order, no zero coefficient; the empty
// list is zero.
using Polynomial = std::list<Monomial>;

// Generators in non-increasing order of their leading terms; equal leading
// terms in the order in which they were added. No generator is empty.
using Ideal = std::vector<Polynomial>;

// Variable identifier -> name, for printing.
using Names = std::map<unsigned, std::string>;

// Lexicographic on the ascending identifier lists: at the first difference
// the smaller identifier ranks higher; a list that runs out first is smaller.
// > 0 when s is greater than t, < 0 when smaller, 0 when equal.
int compareTerms(const VarSet &s, const VarSet &t);

// What addTerm did with the term.
enum class Placed {
  Dropped,   // its coefficient is zero: nothing stored
  Inserted,  // a new term of the polynomial
  Merged,    // added into the term with the same variables
  Cancelled, // added into the term with the same variables, which became zero and went
};

// Places the term (vars, coef) in poly by a scan from the smallest term
// towards the leading one, merging it into a term with the same variables.
Placed addTerm(Polynomial &poly, VarSet vars, std::unique_ptr<AlphaPoly> coef);

// Inserts p into ideal after the last generator whose leading term is not
// smaller (searching from the end). An empty p is not stored.
void addGenerator(Ideal &ideal, Polynomial p);

} // namespace ref
