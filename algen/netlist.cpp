// Gate names and the bit-parallel simulator; see netlist.h.
#include "netlist.h"

namespace algen {

const char *gateTypeName(GateType t) {
  switch (t) {
  case GateType::And:
    return "AND";
  case GateType::Xor:
    return "XOR";
  case GateType::Or:
    return "OR";
  }
  return "?";
}

void simulate(const Netlist &n, std::vector<uint64_t> &values) {
  Signal s = n.numInputs();
  for (const Gate &g : n.gates) {
    const uint64_t x = values[g.in0], y = values[g.in1];
    switch (g.type) {
    case GateType::And:
      values[s] = x & y;
      break;
    case GateType::Xor:
      values[s] = x ^ y;
      break;
    case GateType::Or:
      values[s] = x | y;
      break;
    }
    ++s;
  }
}

} // namespace algen
