// Reference reduction of a specification polynomial by the generators of an
// ideal, and the text of the result, for tests only.
#pragma once

#include <string>

#include "ref_polynomial.h"

namespace ref {

// What a reduction went through; lets a test check that its problems reach
// every path of the algorithm.
struct ReduceStats {
  long steps = 0;          // leading terms replaced
  long byOne = 0;          // steps whose generator has leading coefficient one
  long byEqual = 0;        // ... leading coefficient equal to the term's
  long byInverse = 0;      // ... any other leading coefficient (inverted)
  long inserted = 0;       // products placed as new terms
  long merged = 0;         // products added into an equal term
  long cancelled = 0;      // products that cancelled an equal term
  long constantMerges = 0; // products without variables merged or cancelled
  long zeroProducts = 0;   // products with a zero coefficient (not stored)
  long toZero = 0;         // non-zero specifications that reduced to 0
  long leftReducible = 0;  // remainders with a term that some generator divides
};

// Divides spec by the generators in one forward pass and leaves the
// remainder in spec. Returns the result text: "FINAL RESULT: " and the
// remainder's terms joined by "+" ("0" when empty), each line ended by "\n";
// a remainder of "0" or one ending in a constant is followed by an empty
// line. stats, when given, is added to.
std::string reduce(Polynomial &spec, const Ideal &ideal, const Names &names,
                   ReduceStats *stats = nullptr);

// One term: "(coef)*" unless the coefficient is one, then the names of its
// variables joined by "*"; a constant is its coefficient text and "\n". An
// identifier without a name prints as an empty name.
std::string termText(const Monomial &m, const Names &names);

} // namespace ref
