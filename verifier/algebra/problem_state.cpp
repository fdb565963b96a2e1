// The problem state and its reset.
#include "problem_state.h"

#include <cassert>

ProblemState problem;

void ProblemState::reset() {
  tempmon.vars.clear();
  tempmon.coef.reset();
  glopoly.clear();
  specpoly.clear();
  ideal.clear();
  termArena.clear();
  coefPool.reset(); // every coefficient of the problem goes at once
  vid.clear();
  div.clear();
  ind = 2;
}

void ProblemState::startField() {
  assert(fieldState.defined());
  assert(glopoly.empty() && specpoly.empty() && ideal.empty());
  tempmon.coef = std::make_unique<AlphaPoly>(0UL);
  coefPool.reset();
}
