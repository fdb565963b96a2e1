// Suspects that one gate-level repair can explain. A gate g is kept when,
// over a fixed seeded set of simulated input vectors (random ones and the
// failing witnesses), some change of g alone makes the specification zero
// on every vector where a change of g can:
//   - g computes another function of the same inputs, or
//   - one input of g is rewired to another existing signal outside g's
//     fan-out (a bit or an input).
// Per vector, g's required value is the value (its own or its flip, with
// the fan-out simulated again) that makes the specification zero; both:
// either will do; neither: another fault shows there, and the vector is
// left out (with a single fault this never happens to the faulty gate, and
// with several it lets a gate near one fault stay). With a single faulty
// gate, that gate's correct value turns the circuit into the correct one,
// so it always stays; the other gates of its cone see an error that is no
// function of their own inputs and drop out.
#pragma once

#include <cstdint>
#include <vector>

#include "circuit.h"

namespace witness {

struct RepairLimits {
  // Words of 64 random input vectors; the failing assignments take the
  // first lanes of one more word, whose other lanes are random too.
  unsigned randomWords = 1;
  std::uint64_t seed = 0x2545f4914f6cdd1dULL;
  unsigned maxArity = 6; // a gate with more distinct inputs is kept
  // Work bounds. A flip that reaches more than fanOut bits is judged
  // through a cut instead (see repair.cpp): a bit that all its changes
  // pass, whose own flip is simulated whole, once per word of vectors, for
  // every gate behind it (an early gate of a long chain, as in
  // Montgomery's reduction, whose fan-out is much of the circuit); cutWork
  // bounds the bits re-simulated by those flips, and a gate whose cut's
  // flip does not fit stays unjudged. flipWork bounds the bits
  // re-simulated by all other flips, scanWork the signals compared by the
  // rewiring scans; when one runs out, the gates not yet judged stay.
  std::uint64_t fanOut = 2048;
  std::uint64_t flipWork = 1'000'000;
  std::uint64_t scanWork = 10'000'000;
  std::uint64_t cutWork = 500'000;
};

// Removes from suspects (bits of c) the gates that no repair of that one
// gate explains; the order of the others is kept. Nothing changes when no
// suspect has such a repair (several faults, or a fault of another kind,
// such as a missing gate: the flip test's list is then all there is), or
// when c has constraints (polynomials that define no variable).
void keepRepairable(const Circuit &c, const std::vector<Valuation> &failing, Array<Var> &suspects,
                    const RepairLimits &limits = RepairLimits());

} // namespace witness
