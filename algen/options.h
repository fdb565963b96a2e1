// Command line of algen.
#pragma once

#include "multipliers.h"

#include <cstdint>
#include <string>

namespace algen {

struct Options {
  Kind kind = Kind::Mastrovito;
  unsigned k = 0; // 0: not given
  std::string poly;
  bool havePoly = false;
  unsigned bugs = 0;
  uint64_t seed = 1;
  std::string output; // empty: standard output
  std::string graph;  // empty: no graph
  bool help = false;
};

extern const char *const kUsage;

// Fills o from the arguments; returns "" or a one-line reason for refusing
// them.
std::string parseOptions(int argc, char **argv, Options &o);

} // namespace algen
