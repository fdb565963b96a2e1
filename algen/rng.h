// Deterministic pseudo-random numbers for fault injection and simulation.
// splitmix64 with our own range mapping, so that the same seed gives the same
// circuit on every platform and library version.
#pragma once

#include <cstdint>

namespace algen {

class SplitMix64 {
public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }

  // A number in [0, n) for n > 0; the high half of a 128-bit product, so the
  // mapping is fixed by this code alone.
  uint64_t below(uint64_t n) {
    return static_cast<uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
  }

private:
  uint64_t state_;
};

} // namespace algen
