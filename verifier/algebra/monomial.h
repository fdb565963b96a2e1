// The verifier's polynomials: the term under construction, polynomials as
// arrays of (term, coefficient) in descending term order, and the ideal.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "alpha_poly.h"

#include "coef_pool.h"
#include "huge_alloc.h"
#include "term.h"

// The term under construction while a polynomial is read: its variables
// (ascending, each once) and its coefficient, a field element that the
// factors multiply in place.
struct monomial_ {
  std::vector<VarId> vars;
  std::unique_ptr<AlphaPoly> coef;
};

// One term of a stored polynomial. Its coefficient handle belongs to it.
struct PolyTerm {
  Term term;
  Coef coef;
};
static_assert(sizeof(PolyTerm) == 16, "a stored term is 16 bytes");

// A polynomial: terms in strictly descending term order, leading term first,
// no zero coefficient; the empty array is zero. (While glopoly is being
// read its terms are only appended; completing it puts them in order.)
using Polynomial = std::vector<PolyTerm, HugeAllocator<PolyTerm>>;

// The circuit generators. Their terms are stored in fixed-size chunks, so
// that a circuit of millions of gates is never copied to grow its storage.
// Each generator is a contiguous range of terms in descending term order.
// The generators themselves are kept in non-increasing order of their
// leading terms, equal ones in read order; as files normally list the
// circuit in that order, a generator out of place only marks the ideal
// unsorted, and a stable sort restores the order before the reduction.
struct Generator {
  const PolyTerm *first; // the leading term
  std::uint32_t size;
};

class Ideal {
public:
  // Appends a copy of the terms of p (not empty) as a new generator.
  void add(const Polynomial &p);
  void clear();
  Ideal() = default;
  Ideal(const Ideal &) = delete;
  Ideal &operator=(const Ideal &) = delete;
  ~Ideal() { clear(); }

  std::size_t size() const { return generators.size(); }
  bool empty() const { return generators.empty(); }
  const PolyTerm *begin(std::size_t i) const { return generators[i].first; }
  const PolyTerm *end(std::size_t i) const { return generators[i].first + generators[i].size; }

  std::vector<Generator, HugeAllocator<Generator>> generators;
  bool sorted = true;

private:
  std::vector<PolyTerm *> chunks_; // HugeAllocator blocks of chunkSize_ terms (the last one)
  std::vector<std::size_t> chunkSizes_;
  std::size_t chunkSize_ = 0; // terms of the last chunk
  std::size_t room_ = 0;      // free terms at its end
};
