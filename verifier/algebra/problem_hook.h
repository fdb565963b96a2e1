// An optional step after each problem's result line: a program that wants
// more than the remainder (polyverify's --witness) installs a hook, and the
// problem handler passes it the problem as it stands after the reduction,
// before the per-problem state is cleared. Without a hook nothing is copied.
#pragma once

#include <functional>
#include <string_view>

#include "monomial.h"

struct SolvedProblem {
  const Polynomial &spec;          // the specification polynomial as read
  const Polynomial &remainder;     // what the reduction left (empty: verified)
  const Ideal &circuit;            // the circuit generators, in reduction order
  VarId endVar;                    // the problem's identifiers are 2 .. endVar - 1
  std::string_view (*name)(VarId); // a variable's name
};

using ProblemHook = std::function<void(const SolvedProblem &)>;

// Installs hook (an empty function removes it).
void setProblemHook(ProblemHook hook);

// The installed hook; empty when there is none.
const ProblemHook &problemHook();

// A copy of p whose terms hold their own references to the same
// coefficients.
Polynomial copyTerms(const Polynomial &p);
