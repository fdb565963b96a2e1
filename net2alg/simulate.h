// A cheap check of a translation before any reduction: random input vectors
// through the circuit, and the specification evaluated in GF(2^K) with its
// word powers taken exactly. When the check fails, the same vectors with
// the bit order of some words reversed tell whether the ports may be in the
// bit-reflected convention (GCM's, where bit 0 of a port is the
// coefficient of x^(K-1)).
#pragma once

#include <string>
#include <vector>

#include "translation.h"

namespace net2alg {

struct SimulationCheck {
  unsigned vectors = 64;
  unsigned failing = 0;              // vectors on which the specification is not 0
  std::vector<std::string> reversed; // the fewest words whose reversal makes every vector pass
};

// 64 vectors from a fixed seed; `reversed` stays empty when the check
// passes, or when no reversal of the words makes it pass.
SimulationCheck simulateSpec(const Translation &t);

} // namespace net2alg
