// Reading and writing the text form of field elements.
#include "poly_text.h"

#include <algorithm>
#include <charconv>

#include "fatal_error.h"

namespace {

[[noreturn]] void parseError(const std::string &text, const std::string &term) {
  throw inputError("ERROR PARSING POLY: '" + text + "'\nGot '" + term + "'\n");
}

// The number at the start of s: optional sign, decimal digits (none reads
// as 0). False when it is negative (and not zero) or does not fit an
// unsigned long.
bool readExponent(const std::string &s, unsigned long &value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+'))
    negative = s[i++] == '-';
  value = 0;
  const char *first = s.data() + i;
  const char *last = s.data() + s.size();
  if (first == last || *first < '0' || *first > '9')
    return true;
  if (std::from_chars(first, last, value).ec != std::errc())
    return false;
  return !(negative && value != 0);
}

} // namespace

std::vector<unsigned long> readTermExponents(const std::string &text) {
  std::vector<unsigned long> exps;
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = text.find('+', start);
    const std::size_t end = plus == std::string::npos ? text.size() : plus;
    const std::string term = text.substr(start, end - start);
    if (term.size() == 1) {
      if (term == "X")
        exps.push_back(1);
      else if (term == "1")
        exps.push_back(0);
      else
        parseError(text, term);
    } else if (term.size() > 1) {
      // The first character is the variable's name and is not examined.
      unsigned long e;
      if (!readExponent(term.substr(1), e))
        parseError(text, term);
      exps.push_back(e);
    }
    if (plus == std::string::npos)
      return exps;
    start = plus + 1;
  }
}

std::string termText(unsigned long e) {
  if (e == 0)
    return "1";
  if (e == 1)
    return "X";
  return "X^" + std::to_string(e);
}

std::string vectorText(const word_t *v, int top) {
  std::string out;
  if (top < 0)
    return out;
  for (int w = top / 64; w >= 0; --w) {
    word_t bits = v[w];
    if (w == top / 64 && top % 64 != 63)
      bits &= (word_t{1} << (top % 64 + 1)) - 1;
    while (bits != 0) {
      const int b = 63 - __builtin_clzll(bits);
      bits &= ~(word_t{1} << b);
      if (!out.empty())
        out += '+';
      out += termText(static_cast<unsigned long>(64 * w + b));
    }
  }
  return out;
}

std::vector<unsigned long> readPolynomialText(const std::string &text) {
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t')
      compact += c;
  for (std::size_t start = 0;;) {
    const std::size_t plus = compact.find('+', start);
    const std::string term = compact.substr(start, plus - start);
    const bool power = term.size() > 2 && term.compare(0, 2, "X^") == 0 &&
                       term.find_first_not_of("0123456789", 2) == std::string::npos;
    if (!power && term != "X" && term != "1")
      throw inputError("bad polynomial '" + text + "': term '" + term + "'\n");
    if (plus == std::string::npos)
      break;
    start = plus + 1;
  }
  compact.erase(std::remove(compact.begin(), compact.end(), '^'), compact.end());
  return readTermExponents(compact);
}
