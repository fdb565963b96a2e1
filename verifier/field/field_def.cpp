// The field definition: canonical minimal-polynomial terms (HandleMinpoly)
// and the field state built from them (AlphaPoly::setMinpoly).
#include "field_def.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "alpha_poly.h"
#include "fatal_error.h"
#include "irreducible.h"
#include "poly_text.h"
#include "poly_words.h"
#include "reduction.h"

namespace {

[[noreturn]] void fieldError(const std::string &message) { throw inputError(message + "\n"); }

// Degree of the leading term: the number after its first character (optional
// sign, digits); a lone "X" counts 1, anything else without a number 0.
// Throws a FatalError unless 2 <= degree <= kMaxFieldDegree.
int leadingDegree(const std::string &lead) {
  if (lead.size() <= 1) {
    const int degree = lead == "X" ? 1 : 0;
    fieldError("Invalid minpoly degree " + std::to_string(degree));
  }
  std::size_t i = 1;
  bool negative = false;
  if (lead[i] == '-' || lead[i] == '+')
    negative = lead[i++] == '-';
  std::string digits;
  for (; i < lead.size() && lead[i] >= '0' && lead[i] <= '9'; ++i)
    if (!(digits.empty() && lead[i] == '0'))
      digits += lead[i];
  if (digits.empty())
    digits = "0";
  else if (negative)
    digits = "-" + digits;
  int degree = 0;
  if (digits.size() <= 6 &&
      std::from_chars(digits.data(), digits.data() + digits.size(), degree).ec == std::errc() &&
      degree >= 2 && degree <= kMaxFieldDegree)
    return degree;
  fieldError("Invalid minpoly degree " + digits);
}

// Irreducibility of the last minimal polynomial tested: a file usually
// repeats one field for all its problems.
std::vector<word_t> lastTested;
bool lastIrreducible = false;

bool irreducibleCached(const std::vector<word_t> &m, const Modulus &modulus) {
  if (m != lastTested) {
    lastIrreducible = isIrreducible(modulus);
    lastTested = m;
  }
  return lastIrreducible;
}

} // namespace

void HandleMinpoly(std::string &out, const char *name, unsigned long exponent) {
  if (exponent == 0)
    fieldError("Invalid minpoly exponent 0");
  if (name != nullptr && std::strcmp(name, "X") == 0) {
    out += "X";
    if (exponent != 1)
      out += "^" + std::to_string(exponent);
  } else if (name != nullptr && std::strcmp(name, "1") == 0) {
    out += "1";
  } else {
    fieldError(std::string("Invalid minpoly variable ") + (name != nullptr ? name : ""));
  }
}

void AlphaPoly::setMinpoly(std::string text) {
  // Read and check everything before the current field is touched.
  removeChars(&text, " ^");
  const std::size_t plus = text.find('+');
  const int degree = leadingDegree(text.substr(0, plus));
  const std::string rest = plus == std::string::npos ? "" : text.substr(plus + 1);
  const std::vector<unsigned long> lower = readTermExponents(rest);
  std::vector<word_t> m(wordsForBit(degree), 0);
  m[degree / 64] |= word_t{1} << (degree % 64);
  for (unsigned long e : lower) {
    if (e >= static_cast<unsigned long>(degree))
      fieldError("Invalid minpoly term " + termText(e) + " for degree " + std::to_string(degree));
    m[e / 64] |= word_t{1} << (e % 64);
  }
  if (lower.empty())
    fieldError("Invalid minpoly single term " + termText(degree));

  Modulus modulus;
  modulus.build(m.data(), degree);
  if (!irreducibleCached(m, modulus))
    std::fprintf(stderr,
                 "Warning: minimal polynomial %s is not irreducible; results are not "
                 "trustworthy\n",
                 vectorText(m.data(), degree).c_str());

  fieldState.reset();
  K = degree;
  NumWords = (K - 1) / 64 + 1;
  fieldModulus = std::move(modulus);

  // exponents[i] = alpha^(K+i): entry 0 is m without its leading term, each
  // further entry the previous one times alpha.
  exponents = new AlphaPoly *[K + 1];
  exponents[0] = new AlphaPoly(0UL);
  std::copy(m.begin(), m.begin() + NumWords, exponents[0]->bits);
  if (K % 64 != 0)
    exponents[0]->bits[NumWords - 1] &= (word_t{1} << (K % 64)) - 1;
  for (int i = 0; i < K; ++i) {
    exponents[i + 1] = new AlphaPoly(exponents[i]);
    fieldModulus.mulX(exponents[i + 1]->bits);
  }
}
