// Bit lists, the minimal polynomial and the specification polynomial.
#include "word_options.h"

#include <cctype>

#include "decimal.h"
#include "error.h"
#include "fatal_error.h"
#include "poly_text.h"
#include "poly_words.h"

namespace net2alg {
namespace {

std::string trim(const std::string &s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos)
    return "";
  const std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Parses a decimal number of at most 9 digits; false when `s` is not one.
bool parseSmall(const std::string &s, unsigned long &value) {
  return s.size() <= 9 && parseDecimal(s, 999999999, value);
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Tokens of a polynomial in .alg syntax: names, exponents ("^12") and the
// characters ( ) * +.
struct Token {
  enum Kind { kName, kExponent, kChar, kEnd } kind;
  std::string text;
};

std::vector<Token> tokenize(const std::string &text, const std::string &option) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (isNameChar(c)) {
      std::size_t j = i;
      while (j < text.size() && isNameChar(text[j]))
        ++j;
      tokens.push_back({Token::kName, text.substr(i, j - i)});
      i = j;
    } else if (c == '^') {
      std::size_t j = i + 1;
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
        ++j;
      unsigned long value;
      if (!parseSmall(text.substr(i + 1, j - i - 1), value))
        fail(option + ": '^' must be followed by an exponent of at most 9 digits");
      tokens.push_back({Token::kExponent, text.substr(i, j - i)});
      i = j;
    } else if (c == '(' || c == ')' || c == '*' || c == '+') {
      tokens.push_back({Token::kChar, std::string(1, c)});
      ++i;
    } else {
      fail(option + ": unexpected character '" + std::string(1, c) + "'");
    }
  }
  tokens.push_back({Token::kEnd, ""});
  return tokens;
}

} // namespace

std::vector<std::string> splitBitList(const std::string &text, const std::string &option) {
  std::vector<std::string> bits;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string item =
        trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item.empty())
      fail(option + ": empty item in bit list '" + text + "'");
    const std::size_t open = item.rfind('[');
    const std::size_t dots = item.find("..", open == std::string::npos ? 0 : open);
    unsigned long lo, hi;
    if (open != std::string::npos && open > 0 && dots != std::string::npos && item.back() == ']') {
      if (!parseSmall(item.substr(open + 1, dots - open - 1), lo) ||
          !parseSmall(item.substr(dots + 2, item.size() - dots - 3), hi))
        fail(option + ": bad range '" + item + "' (expected NAME[LO..HI])");
      const std::string base = item.substr(0, open);
      for (unsigned long k = lo;; k = lo <= hi ? k + 1 : k - 1) {
        bits.push_back(base + "[" + std::to_string(k) + "]");
        if (k == hi)
          break;
      }
    } else {
      if (item.find("..") != std::string::npos)
        fail(option + ": bad range '" + item + "' (expected NAME[LO..HI])");
      bits.push_back(item);
    }
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return bits;
}

FieldPolynomial parseFieldPolynomial(const std::string &text) {
  const std::string what = "--poly: bad minimal polynomial '" + text + "'";
  std::vector<unsigned long> exponents;
  try {
    exponents = readPolynomialText(text);
  } catch (const FatalError &) {
    fail(what + " (terms are X^e, X and 1 joined by '+')");
  }
  for (std::size_t k = 1; k < exponents.size(); ++k)
    if (exponents[k] >= exponents[k - 1])
      fail(what + " (write the powers from the highest down, each once)");
  if (exponents.front() > static_cast<unsigned long>(kMaxFieldDegree))
    fail(what + " (polyverify takes degrees up to " + std::to_string(kMaxFieldDegree) + ")");
  if (exponents.front() == 0)
    fail(what + " (the degree must be at least 1)");
  if (exponents.back() != 0)
    fail(what + " (a minimal polynomial has the constant term 1)");
  FieldPolynomial poly{static_cast<unsigned>(exponents.front()), "", exponents};
  for (unsigned long e : exponents) {
    if (!poly.text.empty())
      poly.text += '+';
    poly.text += termText(e);
  }
  return poly;
}

// poly := term ('+' term)*
// term := [coef '*'] factor ('*' factor)*
// coef := '(' cfactor ('+' cfactor)* ')'      cfactor: X or 1 with exponents
// factor := NAME EXPONENT*
std::vector<SpecTerm> parseSpec(const std::string &text, const std::set<std::string> &words) {
  const std::string option = "--spec";
  const std::vector<Token> tokens = tokenize(text, option);
  std::size_t pos = 0;
  auto isChar = [&](char c) {
    return tokens[pos].kind == Token::kChar && tokens[pos].text[0] == c;
  };
  auto factor = [&](bool inCoef) {
    if (tokens[pos].kind != Token::kName)
      fail(option + ": expected a factor in '" + text + "'");
    SpecFactor f{tokens[pos].text, 1, tokens[pos].text};
    if (f.name != "X" && f.name != "1") {
      if (inCoef)
        fail(option + ": a coefficient holds only X and 1, not '" + f.name + "'");
      if (!words.count(f.name)) {
        std::string known;
        for (const std::string &w : words)
          known += (known.empty() ? "" : ", ") + w;
        fail(option + ": unknown name '" + f.name + "' (the word variables are " + known + ")");
      }
    }
    for (++pos; tokens[pos].kind == Token::kExponent; ++pos) {
      f.text += tokens[pos].text;
      f.exponent = std::stoul(tokens[pos].text.substr(1)); // the last one counts
    }
    return f;
  };
  std::vector<SpecTerm> terms;
  while (true) {
    SpecTerm term;
    if (isChar('(')) {
      ++pos;
      term.coef = factor(true).text;
      while (isChar('+')) {
        ++pos;
        term.coef += "+" + factor(true).text;
      }
      if (!isChar(')'))
        fail(option + ": expected ')' in '" + text + "'");
      ++pos;
      if (!isChar('*'))
        fail(option + ": a coefficient must be followed by '*' and a factor in '" + text + "'");
      ++pos;
    }
    term.factors.push_back(factor(false));
    while (isChar('*')) {
      ++pos;
      term.factors.push_back(factor(false));
    }
    terms.push_back(std::move(term));
    if (tokens[pos].kind == Token::kEnd)
      break;
    if (!isChar('+'))
      fail(option + ": unexpected '" + tokens[pos].text + "' in '" + text + "'");
    ++pos;
  }
  return terms;
}

std::string specText(const std::vector<SpecTerm> &terms) {
  std::string out;
  for (const SpecTerm &term : terms) {
    out += out.empty() ? "" : " + ";
    if (!term.coef.empty())
      out += "(" + term.coef + ")*";
    for (std::size_t k = 0; k < term.factors.size(); ++k)
      out += (k ? "*" : "") + term.factors[k].text;
  }
  return out;
}

std::string checkSpec(const std::string &text, const std::set<std::string> &words) {
  return specText(parseSpec(text, words));
}

} // namespace net2alg
