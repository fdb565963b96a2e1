// Multivariate division of the specification by the circuit generators.
//
// Only the leading term of spec is ever tested. Generator i is tried on it;
// when the generator's leading term g divides it (g's variables are a subset
// of the leading term's), the leading term f is replaced by the products of
// the quotient term f/g with the remaining terms of the generator, and the
// same generator is tried again on the new leading term. When g does not
// divide it, the next generator is tried. A generator once passed is never
// tried again, so the pass ends when the leading term is divisible by no
// generator from the current index on; all lower terms stay unreduced.
#include "reduce.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "alpha_poly.h"
#include "polynomial.h"
#include "problem_state.h"

namespace {

void endLine() {
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Does g divide f? If so, quotient receives the variables of f that g
// lacks. Both identifier lists are walked in ascending order side by side.
bool divides(const monomial_& g, const monomial_& f, std::set<unsigned>& quotient) {
  if (g.vars.size() > f.vars.size())
    return false;
  auto fi = f.vars.begin();
  auto gi = g.vars.begin();
  while (gi != g.vars.end()) {
    if (fi == f.vars.end() || *fi > *gi)
      return false; // a variable of g is missing from f
    if (*fi < *gi) {
      quotient.insert(*fi);
      ++fi;
    } else {
      ++fi;
      ++gi;
    }
  }
  quotient.insert(fi, f.vars.end());
  return true;
}

// The coefficient of the quotient term: lc(f) / lc(g), with two shortcuts
// that avoid the inversion.
AlphaPoly* quotientCoef(const AlphaPoly* fc, const AlphaPoly* gc) {
  if (gc->isOne())
    return new AlphaPoly(fc);
  if (gc->equals(fc))
    return new AlphaPoly(0UL);
  AlphaPoly* q = gc->getInverse();
  q->mult(fc);
  return q;
}

void printResult(const Polynomial& spec) {
  std::fputs("FINAL RESULT: ", stdout);
  if (spec.empty()) {
    std::fputs("0", stdout);
    endLine();
    endLine();
    return;
  }
  for (auto t = spec.begin(); t != spec.end(); ++t) {
    if (t != spec.begin())
      std::fputc('+', stdout);
    printmonomial(*t);
  }
  endLine();
}

} // namespace

void reduce(Polynomial& spec, Ideal& generators) {
  std::set<unsigned> quotientVars;
  std::size_t i = 0;
  while (i < generators.size() && !spec.empty()) {
    const Polynomial& generator = generators[i];
    if (generator.empty()) { // not stored by HandlePoly; nothing to divide by
      ++i;
      continue;
    }
    monomial_& f = spec.front();
    const monomial_& g = generator.front();
    quotientVars.clear();
    if (!divides(g, f, quotientVars)) {
      ++i;
      continue;
    }
    AlphaPoly* q = quotientCoef(f.coef, g.coef);
    // q*g equals f and would cancel it: remove f without forming q*g.
    delete f.coef;
    spec.pop_front();
    for (auto t = std::next(generator.begin()); t != generator.end(); ++t) {
      monomial_ product;
      product.vars = t->vars;
      product.vars.insert(quotientVars.begin(), quotientVars.end());
      product.coef = new AlphaPoly(t->coef);
      if (!q->isOne())
        product.coef->mult(q);
      addTerm(spec, product); // a zero product is dropped
    }
    delete q;
  }
  printResult(spec);
}

void printmonomial(const monomial_& m) {
  if (m.vars.empty()) {
    const std::string text = m.coef->toString();
    std::fwrite(text.data(), 1, text.size(), stdout);
    endLine();
    return;
  }
  if (!m.coef->isOne()) {
    const std::string text = m.coef->toString();
    std::fputc('(', stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputs(")*", stdout);
  }
  bool first = true;
  for (unsigned id : m.vars) {
    if (!first)
      std::fputc('*', stdout);
    first = false;
    auto name = DIV.find(id);
    if (name != DIV.end())
      std::fwrite(name->second.data(), 1, name->second.size(), stdout);
  }
}
