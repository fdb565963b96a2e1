// Choosing the minimal polynomial; see minpoly.h.
#include "minpoly.h"

#include <set>

#include "fatal_error.h"
#include "poly_text.h"

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
  case 1223: // the field of binary pairing hardware
    return Gf2Poly::fromExponents({1223, 255, 0});
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
  std::vector<unsigned long> exps;
  try {
    exps = readPolynomialText(text);
  } catch (const FatalError &) {
    err = "terms are X^e, X and 1 joined by '+'";
    return false;
  }
  std::set<unsigned long> seen;
  Gf2Poly p;
  for (unsigned long e : exps) {
    if (e > kMaxDegree) {
      err = "exponent larger than " + std::to_string(kMaxDegree);
      return false;
    }
    if (!seen.insert(e).second) {
      err = "the term of degree " + std::to_string(e) + " appears twice";
      return false;
    }
    p.flip(static_cast<unsigned>(e));
  }
  out = p;
  return true;
}

} // namespace algen
