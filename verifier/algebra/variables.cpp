// Variable table and polynomial statements of one problem.
#include "variables.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>
#include <utility>

#include "alpha_poly.h"
#include "fatal_error.h"
#include "polynomial.h"
#include "problem_hook.h"
#include "problem_state.h"
#include "reduce.h"

namespace {
// Identifiers must stay below 2^31 (see term.cpp).
constexpr int kMaxVarId = 0x7FFFFFFF;
} // namespace

VarId HandleDecl(const char *name) {
  if (ind >= kMaxVarId)
    throw FatalError("polyverify: more than " + std::to_string(kMaxVarId - 1) +
                         " variable declarations in one problem\n",
                     ErrorStream::kStderr, ExitStatus::kOutOfMemory);
  const unsigned id = static_cast<unsigned>(ind);
  const std::size_t len = std::strlen(name);
  VID.assign(name, len, id);
  DIV.set(id, name, len);
  ++ind;
  return id;
}

void HandleField() { problem.startField(); }

void HandleVar(const char *name, unsigned long exponent) {
  if (name[0] == 'X' && name[1] == '\0') {
    HandleAlphaPower(exponent);
    return;
  }
  if (name[0] == '1' && name[1] == '\0')
    return;
  const unsigned id = VID.find(name, std::strlen(name));
  if (id == 0)
    throw inputError(std::string(name) + " undefined\n");
  HandleVarId(id);
}

void HandleVarId(VarId id) {
  assert(id >= 2 && id < static_cast<VarId>(ind));
  std::vector<VarId> &vars = tempmon.vars;
  // Factors usually come in declaration order: then this appends.
  if (vars.empty() || vars.back() < id) {
    vars.push_back(id);
    return;
  }
  auto at = std::lower_bound(vars.begin(), vars.end(), id);
  if (*at != id)
    vars.insert(at, id);
}

void HandleAlphaPower(unsigned long exponent) {
  AlphaPoly power(exponent);
  tempmon.coef->mult(&power);
}

void HandleCoef(const std::string &text) {
  AlphaPoly factor(text);
  tempmon.coef->mult(&factor);
}

void HandleTerm() {
  insertmon(tempmon);
  tempmon.vars.clear();
  // The next term starts with coefficient one; the value just stored was
  // copied, so the element is reused rather than replaced.
  std::fill(tempmon.coef->bits, tempmon.coef->bits + NumWords, word_t{0});
  tempmon.coef->bits[0] = 1;
}

void HandleSpec() {
  normalize(glopoly);
  freeTerms(specpoly);
  std::swap(specpoly, glopoly);
}

void HandleCircuit() {
  HandlePoly(glopoly);
  glopoly.clear();
}

void HandlePoly(Polynomial &p) {
  normalize(p);
  if (p.empty())
    return; // all terms cancelled: contributes nothing to a reduction
  if (!ideal.empty() && termLess(ideal.begin(ideal.size() - 1)->term, p.front().term))
    ideal.sorted = false;
  ideal.add(p);
  p.clear();
}

bool isWordVariable(const char *name) {
  const unsigned id = VID.find(name, std::strlen(name));
  if (id == 0)
    return false;
  for (std::size_t g = 0; g < ideal.size(); ++g) {
    VarList lead;
    termVars(ideal.begin(g)->term, lead);
    if (lead.size != 1 || lead.ids[0] != id)
      continue;
    for (const PolyTerm *t = ideal.begin(g); t != ideal.end(g); ++t)
      if (!coefPool.isOne(t->coef))
        return true;
  }
  return false;
}

void HandleProblem() {
  const ProblemHook &hook = problemHook();
  if (!hook) {
    reduce(specpoly, ideal);
    clear();
    return;
  }
  const Polynomial asRead = copyTerms(specpoly); // the reduction consumes specpoly
  reduce(specpoly, ideal);
  hook(SolvedProblem{asRead, specpoly, ideal, static_cast<VarId>(ind),
                     [](VarId id) { return DIV.get(id); }});
  clear(); // also drops the copy's coefficient references
}

void clear() { problem.reset(); }

void releaseProblemState() { problem.reset(); }
