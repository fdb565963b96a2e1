// Exact powers of words in a specification. The .alg language reads every
// variable as a bit (A^2 is A), which is wrong for a word over GF(2^K). But
// squaring is linear over GF(2): A^(2^j) = sum of a_i * alpha^(i*2^j), so a
// power A^e becomes the product of the Frobenius words A^(2^j) for the
// binary digits j of e, each a word of its own built from the bits of A.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "word_options.h"

namespace net2alg {

// Largest number of Frobenius factors of one power, unless changed
// (--max-power-factors): the expansion of a product grows with each factor.
constexpr unsigned kDefaultMaxPowerFactors = 8;

// A word raised to 2^shift (0 < shift < K).
struct FrobeniusWord {
  std::string word;
  unsigned shift;
};

// The name of that word in the problem: "A_sq2" is A squared twice, A^4.
std::string frobeniusName(const std::string &word, unsigned shift);

struct ExactSpec {
  // The terms with every word factor a product of distinct words: repeated
  // factors add their exponents (A*A is A^2), a power becomes its Frobenius
  // words ("A^3" -> "A_sq1*A"); X and 1 factors stay as written.
  std::vector<SpecTerm> terms;
  std::vector<FrobeniusWord> frobenius; // the Frobenius words used, in order of first use
};

// Rewrites the terms for GF(2^degree). An exponent e of a word is taken
// modulo 2^degree - 1 (the multiplicative order of every non-zero element
// divides it), never to 0. Refuses exponent 0 and a power with more than
// `maxFactors` Frobenius factors.
ExactSpec exactPowers(const std::vector<SpecTerm> &terms, const std::set<std::string> &words,
                      unsigned degree, unsigned maxFactors);

} // namespace net2alg
