// The problem state and its reset.
#include "problem_state.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace {
constexpr std::size_t kReserveCap = std::size_t(1) << 24; // generators reserved at most
} // namespace

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
  // A gate-level circuit has about one generator per declared variable:
  // room for them at once spares the copies of a growing array. The room
  // is only address space until it is written; it is a hint, so a failure
  // to get it changes nothing.
  try {
    ideal.generators.reserve(std::min<std::size_t>(static_cast<std::size_t>(ind), kReserveCap));
  } catch (const std::bad_alloc &) {
  }
}
