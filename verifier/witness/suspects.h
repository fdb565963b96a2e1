// Suspect gates: the bits whose value, flipped at a failing assignment,
// makes the specification zero there.
#pragma once

#include <vector>

#include "circuit.h"

namespace witness {

// The bits (defined variables that are not words) in the fan-in cone of
// every variable of targets (reachAll) or of some (not reachAll) whose flip, with its fan-out
// simulated again, makes the specification zero under every valuation of failing; of those, the
// ones that a repair of that gate alone explains, if any (keepRepairable). Listed with the
// gates of one chain (each one's only reader the next) together, chains by their last gate, inputs
// side first.
Array<Var> findSuspects(const Circuit &c, const std::vector<Valuation> &failing,
                        const Array<Var> &targets, bool reachAll);

} // namespace witness
