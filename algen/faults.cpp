// Fault injection; see faults.h.
#include "faults.h"

#include "rng.h"

namespace algen {

namespace {

// Words of 64 random input vectors on which every candidate fault is judged.
constexpr unsigned kRounds = 4;
constexpr unsigned kMaxDraws = 2000;

class OutputSampler {
public:
  OutputSampler(const Netlist &n, uint64_t seed) : values_(n.numSignals()) {
    SplitMix64 rng(seed ^ 0x5eed5eed5eed5eedULL);
    inputs_.resize(kRounds * n.numInputs());
    for (uint64_t &w : inputs_)
      w = rng.next();
  }

  // The output words of n on all rounds, appended round by round.
  std::vector<uint64_t> outputs(const Netlist &n) {
    std::vector<uint64_t> out;
    out.reserve(kRounds * n.k);
    for (unsigned r = 0; r < kRounds; ++r) {
      for (Signal s = 0; s < n.numInputs(); ++s)
        values_[s] = inputs_[r * n.numInputs() + s];
      simulate(n, values_);
      for (Signal s : n.outputs)
        out.push_back(values_[s]);
    }
    return out;
  }

private:
  std::vector<uint64_t> inputs_, values_;
};

Fault drawFault(const Netlist &n, SplitMix64 &rng, const std::vector<bool> &used) {
  Fault f{};
  const Signal first = n.numInputs();
  do
    f.gate = first + static_cast<Signal>(rng.below(n.gates.size()));
  while (used[f.gate - first]);
  const Gate &g = n.gate(f.gate);
  if (rng.below(2) == 0) {
    f.kind = Fault::WrongType;
    f.oldType = g.type;
    static const GateType all[] = {GateType::And, GateType::Xor, GateType::Or};
    do
      f.newType = all[rng.below(3)];
    while (f.newType == g.type);
  } else {
    f.kind = Fault::WrongInput;
    f.input = static_cast<int>(rng.below(2));
    f.oldSource = f.input ? g.in1 : g.in0;
    // A signal made before the gate, other than both current inputs; there
    // are at least 2K >= 4 such signals.
    do
      f.newSource = static_cast<Signal>(rng.below(f.gate));
    while (f.newSource == g.in0 || f.newSource == g.in1);
  }
  return f;
}

void apply(Netlist &n, const Fault &f, bool undo) {
  Gate &g = n.gate(f.gate);
  if (f.kind == Fault::WrongType)
    g.type = undo ? f.oldType : f.newType;
  else
    (f.input ? g.in1 : g.in0) = undo ? f.oldSource : f.newSource;
}

} // namespace

bool injectFaults(Netlist &n, unsigned count, uint64_t seed, std::vector<Fault> &faults) {
  faults.clear();
  if (count == 0)
    return true;
  if (count > n.gates.size())
    return false;
  OutputSampler sampler(n, seed);
  const std::vector<uint64_t> good = sampler.outputs(n);
  std::vector<uint64_t> current = good;
  std::vector<bool> used(n.gates.size(), false);
  SplitMix64 rng(seed);
  uint64_t draws = 0;
  while (faults.size() < count) {
    if (++draws > uint64_t{kMaxDraws} * count) {
      for (auto it = faults.rbegin(); it != faults.rend(); ++it)
        apply(n, *it, true);
      faults.clear();
      return false;
    }
    const Fault f = drawFault(n, rng, used);
    apply(n, f, false);
    std::vector<uint64_t> out = sampler.outputs(n);
    if (out == current || out == good) {
      apply(n, f, true);
      continue;
    }
    used[f.gate - n.numInputs()] = true;
    current.swap(out);
    faults.push_back(f);
  }
  return true;
}

} // namespace algen
