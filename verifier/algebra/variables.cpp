// Variable table and polynomial statements of one problem.
#include "variables.h"

#include <cstdio>
#include <utility>

#include "alpha_poly.h"
#include "polynomial.h"
#include "problem_state.h"
#include "process_exit.h"
#include "reduce.h"

void HandleDecl(const char* name) {
  VID[name] = static_cast<unsigned>(ind);
  DIV[static_cast<unsigned>(ind)] = name;
  ++ind;
}

void HandleField() {
  delete tempmon.coef;
  tempmon.coef = nullptr;
  tempmon.coef = new AlphaPoly(0UL);
}

void HandleVar(const char* name) {
  const std::string text = name;
  if (text == "X") {
    AlphaPoly power(lastExp);
    tempmon.coef->mult(&power);
    return;
  }
  if (text == "1")
    return;
  auto found = VID.find(text);
  if (found == VID.end()) {
    std::fputs(name, stdout);
    std::fputs(" undefined\n", stdout);
    endProcess(1);
  }
  tempmon.vars.insert(found->second);
}

void HandleCoef(const std::string& text) {
  AlphaPoly factor(text);
  tempmon.coef->mult(&factor);
}

void HandleTerm() {
  insertmon(tempmon);
  tempmon.vars.clear();
  tempmon.coef = new AlphaPoly(0UL);
}

void HandleSpec() {
  specpoly = std::move(glopoly);
  glopoly.clear();
}

void HandleCircuit() {
  HandlePoly(glopoly);
  glopoly.clear();
}

void HandlePoly(Polynomial& p) {
  if (p.empty())
    return;
  const std::set<unsigned>& lead = p.front().vars;
  // Search from the end: a polynomial that is not greater than the last
  // generator is appended after one comparison.
  std::size_t k = ideal.size();
  while (k > 0 && compareTerms(lead, ideal[k - 1].front().vars) > 0)
    --k;
  ideal.insert(ideal.begin() + static_cast<std::ptrdiff_t>(k), std::move(p));
  p.clear();
}

void HandleProblem() {
  reduce(specpoly, ideal);
  clear();
}

void clear() {
  tempmon.vars.clear();
  freeTerms(glopoly);
  freeTerms(specpoly);
  for (Polynomial& generator : ideal)
    freeTerms(generator);
  ideal.clear();
  VID.clear();
  ind = 2;
}

void releaseProblemState() {
  clear();
  delete tempmon.coef;
  tempmon.coef = nullptr;
}
