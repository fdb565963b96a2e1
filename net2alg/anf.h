// Boolean functions of a few inputs as truth tables, and their conversion
// into algebraic normal form (ANF) over GF(2): a sum of products of inputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace net2alg {

// Largest support of a BLIF cover, counted after dropping the inputs that no
// cube tests. The truth table and the ANF of an n-input function have up to
// 2^n entries, so the limit keeps one node within a few megabytes.
constexpr unsigned kMaxCoverInputs = 16;

// Largest number of inputs of any node (the widest cell, a 16-way mux, has
// 20); the truth table of such a node takes 2^20 bytes.
constexpr unsigned kMaxNodeInputs = 20;

// truth[m] is the value (0 or 1) for the input assignment m: bit k of m is
// the value of input k. The size is 2^n for a function of n inputs.
using TruthTable = std::vector<std::uint8_t>;

// The ANF of a function: the monomials whose coefficient is 1, each given as
// the mask of its inputs (mask 0 is the constant 1), in ascending order.
// Computed by the Moebius transform; the table's size must be a power of 2.
std::vector<std::uint32_t> anfFromTruthTable(TruthTable truth);

// Truth table of a BLIF cover of width n. Each cube is a string of n
// characters '0', '1' or '-' (don't care). The function is 1 on the union of
// the cubes when onSet is true (output column "1"), and 0 on that union and 1
// elsewhere when onSet is false (output column "0"). No cubes: constant 0 for
// an on-set cover. Cubes must have the right width and characters.
TruthTable truthTableFromCover(const std::vector<std::string> &cubes, unsigned n, bool onSet);

} // namespace net2alg
