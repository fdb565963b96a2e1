// A cheap check of a translation before any reduction: random input vectors
// through the circuit, and the specification evaluated in GF(2^K) with its
// word powers taken exactly. When the check fails, the same vectors with
// the bit order of some words reversed tell whether the ports may be in the
// bit-reflected convention (GCM's, where bit 0 of a port is the
// coefficient of x^(K-1)). The pieces are public for gfverify, which
// simulates chosen vectors (the field's polynomial, witnesses).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gf_field.h"
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

// 64 vectors at once, one per bit: `values` holds a value per variable, of
// which those of the inputs are read; the gates' values are filled in.
void simulateGates(const Translation &t, std::vector<std::uint64_t> &values);

// The value of word variable `word` (an index into t.vars below
// t.wordNames.size()) on vector `vec`, its bits reversed with `reversed`.
GfField::Element wordValue(const Translation &t, const GfField &field,
                           const std::vector<std::uint64_t> &values, int word, unsigned vec,
                           bool reversed = false);

// The specification's value for the words (t.wordNames, in that order).
GfField::Element evaluateSpec(const Translation &t, const GfField &field,
                              const std::vector<GfField::Element> &words);

} // namespace net2alg
