// Choosing the minimal polynomial; see minpoly.h.
#include "minpoly.h"

#include <cctype>
#include <set>

namespace algen {

Gf2Poly defaultMinpoly(unsigned k) {
  switch (k) {
  case 163:
    return Gf2Poly::fromExponents({163, 7, 6, 3, 0});
  case 233:
    return Gf2Poly::fromExponents({233, 74, 0});
  case 283:
    return Gf2Poly::fromExponents({283, 12, 7, 5, 0});
  case 409:
    return Gf2Poly::fromExponents({409, 87, 0});
  case 571:
    return Gf2Poly::fromExponents({571, 10, 5, 2, 0});
  default:
    break;
  }
  for (unsigned t = 1; t < k; ++t) {
    Gf2Poly f = Gf2Poly::fromExponents({k, t, 0});
    if (isIrreducible(f))
      return f;
  }
  for (unsigned a = 3; a < k; ++a)
    for (unsigned b = 2; b < a; ++b)
      for (unsigned c = 1; c < b; ++c) {
        Gf2Poly f = Gf2Poly::fromExponents({k, a, b, c, 0});
        if (isIrreducible(f))
          return f;
      }
  return Gf2Poly();
}

bool parsePolyText(const std::string &text, Gf2Poly &out, std::string &err) {
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t')
      s += c;
  if (s.empty()) {
    err = "empty polynomial";
    return false;
  }
  std::set<unsigned> seen;
  Gf2Poly p;
  size_t i = 0;
  while (true) {
    unsigned e;
    if (s[i] == '1') {
      e = 0;
      ++i;
    } else if (s[i] == 'X') {
      ++i;
      e = 1;
      if (i < s.size() && s[i] == '^') {
        ++i;
        if (i >= s.size() || !isdigit(static_cast<unsigned char>(s[i]))) {
          err = "expected digits after '^'";
          return false;
        }
        unsigned long v = 0;
        while (i < s.size() && isdigit(static_cast<unsigned char>(s[i]))) {
          v = v * 10 + static_cast<unsigned>(s[i] - '0');
          if (v > kMaxDegree) {
            err = "exponent larger than " + std::to_string(kMaxDegree);
            return false;
          }
          ++i;
        }
        e = static_cast<unsigned>(v);
      }
    } else {
      err = std::string("unexpected '") + s[i] + "'";
      return false;
    }
    if (!seen.insert(e).second) {
      err = "the term of degree " + std::to_string(e) + " appears twice";
      return false;
    }
    p.flip(e);
    if (i == s.size())
      break;
    if (s[i] != '+') {
      err = std::string("unexpected '") + s[i] + "'";
      return false;
    }
    if (++i == s.size()) {
      err = "missing term after '+'";
      return false;
    }
  }
  out = p;
  return true;
}

} // namespace algen
