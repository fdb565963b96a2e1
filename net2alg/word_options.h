// The texts of the word-level options: bit lists (--a, --b, --z), the
// field's minimal polynomial (--poly) and the specification (--spec).
#pragma once

#include <set>
#include <string>
#include <vector>

namespace net2alg {

// Splits a bit list at its commas and expands ranges, bit 0 first:
// "a[0..3]" -> a[0] a[1] a[2] a[3]; "a[3..0]" -> a[3] a[2] a[1] a[0];
// "x,y[1..2]" -> x y[1] y[2]. Blanks around items are dropped. Whether a
// plain item names a net or a bus is decided against the netlist.
// `option` ("--a") prefixes the messages.
std::vector<std::string> splitBitList(const std::string &text, const std::string &option);

struct FieldPolynomial {
  unsigned degree;  // K of GF(2^K)
  std::string text; // canonical .alg text, e.g. "X^8+X^4+X^3+X+1"
  std::vector<unsigned long> exponents = {}; // of its terms, highest first
};

// Parses a minimal polynomial written as X^e, X and 1 joined by '+', highest
// power first ("X^8 + X^4 + X^3 + X + 1"). The constant term must be there.
FieldPolynomial parseFieldPolynomial(const std::string &text);

// One factor of a specification term: a word, "X" or "1", with the value of
// its last written exponent (1 when none is written) and its text as written
// ("X^3").
struct SpecFactor {
  std::string name;
  unsigned long exponent;
  std::string text;
};

// One term: the text of its parenthesised coefficient without the
// parentheses ("X^7+X^2"; empty when there is none) and its factors.
struct SpecTerm {
  std::string coef;
  std::vector<SpecFactor> factors;
};

// Parses a specification polynomial in .alg syntax: terms joined by '+',
// each an optional coefficient "(X^7+X^2)" followed by '*' and factors
// joined by '*'; a factor is "X" or "1" (with optional exponents) or one of
// `words`.
std::vector<SpecTerm> parseSpec(const std::string &text, const std::set<std::string> &words);

// The terms in canonical spacing, e.g. "Z + (X^7+X^2)*A*B".
std::string specText(const std::vector<SpecTerm> &terms);

// parseSpec, then specText.
std::string checkSpec(const std::string &text, const std::set<std::string> &words);

} // namespace net2alg
