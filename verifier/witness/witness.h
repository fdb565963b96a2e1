// For a problem whose remainder is not zero: a failing assignment of the
// circuit's inputs confirmed by simulation (a witness), the values of the
// words under it, the wrong output bits and the gates that can explain the
// fault (suspects). The lines are returned, not printed, so that the
// program decides where they go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "problem_hook.h"

namespace witness {

struct Limits {
  unsigned witnesses = 8;   // failing assignments the suspects must explain
  unsigned rounds = 64;     // random simulation: rounds of 64 assignments
  unsigned extraRounds = 2; // rounds for more witnesses once one is found
  std::uint64_t seed = 0x9e3779b97f4a7c15ULL;
  unsigned listedSuspects = 50; // suspects named on the SUSPECTS line
  unsigned namedVariables = 5;  // circuit variables named in the warning
};

struct Report {
  std::vector<std::string> lines; // for standard output, without line ends
  std::string warning;            // for standard error; empty: none
};

// Nothing for a zero remainder. Otherwise "WITNESS: ..." with the
// "VALUES: ...", "OUTPUT: ..." and "SUSPECTS: ..." lines, or
// "NO WITNESS: reason" and, when the remainder holds circuit variables,
// the warning.
Report analyze(const SolvedProblem &p, const Limits &limits = Limits());

// Call before the verification when every problem will be analysed: the
// large blocks the verifier frees (tens of megabytes while a large problem
// is read) then stay mapped, up to a bound, and the analysis's arrays take
// them instead of fresh memory, whose first touch costs more than the work
// on it. Resident memory during the verification grows by at most that
// bound (so a run under a memory budget should not call it).
void reuseFreedMemory();

} // namespace witness
