// The verifier's polynomials: the term under construction, polynomials as
// arrays of (term, coefficient) in descending term order, and the ideal.
#pragma once

#include <cstdint>
#include <vector>

#include "coef_pool.h"
#include "term.h"

class AlphaPoly;

// The term under construction while a polynomial is read: its variables
// (ascending, each once) and its coefficient, a field element that the
// factors multiply in place.
struct monomial_ {
  std::vector<VarId> vars;
  AlphaPoly* coef = nullptr;
};

// One term of a stored polynomial. Its coefficient handle belongs to it.
struct PolyTerm {
  Term term;
  Coef coef;
};

// A polynomial: terms in strictly descending term order, leading term first,
// no zero coefficient; the empty array is zero. (While glopoly is being
// read its terms are only appended; completing it puts them in order.)
using Polynomial = std::vector<PolyTerm>;

// The circuit generators. Each is a range of `terms`, already in descending
// term order. The generators themselves are kept in non-increasing order of
// their leading terms, equal ones in read order; as files normally list the
// circuit in that order, a generator out of place only marks the ideal
// unsorted, and a stable sort restores the order before the reduction.
struct Generator {
  std::uint32_t first; // index of the leading term in Ideal::terms
  std::uint32_t size;
};

struct Ideal {
  std::vector<Generator> generators;
  std::vector<PolyTerm> terms;
  bool sorted = true;

  std::size_t size() const { return generators.size(); }
  bool empty() const { return generators.empty(); }
  const PolyTerm* begin(std::size_t i) const { return terms.data() + generators[i].first; }
  const PolyTerm* end(std::size_t i) const { return begin(i) + generators[i].size; }
};
