// Truth tables and the Moebius transform into algebraic normal form.
#include "anf.h"

#include <cassert>

namespace net2alg {

std::vector<std::uint32_t> anfFromTruthTable(TruthTable truth) {
  const std::size_t size = truth.size();
  assert(size != 0 && (size & (size - 1)) == 0);
  // In-place butterfly over GF(2): after the pass for input k, entry m holds
  // the XOR of the entries whose masks agree with m except possibly in bit k.
  // After all passes entry m is the coefficient of the monomial m.
  for (std::size_t bit = 1; bit < size; bit <<= 1)
    for (std::size_t m = 0; m < size; ++m)
      if (m & bit)
        truth[m] ^= truth[m ^ bit];
  std::vector<std::uint32_t> monomials;
  for (std::size_t m = 0; m < size; ++m)
    if (truth[m] & 1)
      monomials.push_back(static_cast<std::uint32_t>(m));
  return monomials;
}

TruthTable truthTableFromCover(const std::vector<std::string> &cubes, unsigned n, bool onSet) {
  assert(n <= kMaxNodeInputs);
  TruthTable truth(std::size_t{1} << n, onSet ? 0 : 1);
  const std::uint8_t inCube = onSet ? 1 : 0;
  for (const std::string &cube : cubes) {
    assert(cube.size() == n);
    // Fixed bits of the cube, and the positions of its don't cares; every
    // minterm of the cube is the fixed part plus a subset of the free bits.
    std::uint32_t fixed = 0;
    std::vector<std::uint32_t> freeBits;
    for (unsigned k = 0; k < n; ++k) {
      if (cube[k] == '1')
        fixed |= std::uint32_t{1} << k;
      else if (cube[k] == '-')
        freeBits.push_back(std::uint32_t{1} << k);
      else
        assert(cube[k] == '0');
    }
    const std::uint32_t subsets = std::uint32_t{1} << freeBits.size();
    for (std::uint32_t s = 0; s < subsets; ++s) {
      std::uint32_t m = fixed;
      for (std::size_t j = 0; j < freeBits.size(); ++j)
        if (s >> j & 1)
          m |= freeBits[j];
      truth[m] = inCube;
    }
  }
  return truth;
}

} // namespace net2alg
