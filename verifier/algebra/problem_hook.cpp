// The hook after each problem; see problem_hook.h.
#include "problem_hook.h"

#include <utility>

namespace {

ProblemHook &hookSlot() {
  static ProblemHook hook;
  return hook;
}

} // namespace

void setProblemHook(ProblemHook hook) { hookSlot() = std::move(hook); }

const ProblemHook &problemHook() { return hookSlot(); }

Polynomial copyTerms(const Polynomial &p) {
  Polynomial copy(p);
  for (PolyTerm &t : copy)
    t.coef = coefPool.copy(t.coef);
  return copy;
}
