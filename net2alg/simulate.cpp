// Bit-parallel simulation of the translated circuit (one bit of a 64-bit
// word per vector) and the specification evaluated per vector.
#include "simulate.h"

namespace net2alg {

GfField::Element evaluateSpec(const Translation &t, const GfField &field,
                              const std::vector<GfField::Element> &words) {
  GfField::Element sum = field.zero();
  for (const SpecTerm &term : t.specTerms) {
    GfField::Element value = term.coef.empty() ? field.one() : field.fromText(term.coef);
    for (const SpecFactor &f : term.factors) {
      if (f.name == "X")
        value = field.mul(value, field.alphaPower(f.exponent));
      for (std::size_t w = 0; w < t.wordNames.size(); ++w)
        if (f.name == t.wordNames[w])
          value = field.mul(value, field.power(words[w], f.exponent));
    }
    for (std::size_t k = 0; k < sum.size(); ++k)
      sum[k] ^= value[k];
  }
  return sum;
}

void simulateGates(const Translation &t, std::vector<std::uint64_t> &values) {
  // Gates in the order of the graph's sort: every variable after those its
  // polynomial uses.
  for (int v : stackTopologicalOrder(t.graph)) {
    if (t.vars[v].kind != AlgVariable::kGate)
      continue;
    std::uint64_t x = 0;
    for (const AlgTerm &term : t.vars[v].tail) {
      std::uint64_t product = ~std::uint64_t{0};
      for (int u : term.vars)
        product &= values[u];
      x ^= product;
    }
    values[v] = x;
  }
}

GfField::Element wordValue(const Translation &t, const GfField &field,
                           const std::vector<std::uint64_t> &values, int word, unsigned vec,
                           bool reversed) {
  GfField::Element value = field.zero();
  const std::vector<AlgTerm> &bits = t.vars[word].tail;
  const std::size_t n = bits.size();
  for (std::size_t k = 0; k < n; ++k)
    if (values[bits[k].vars[0]] >> vec & 1) {
      const std::size_t at = reversed ? n - 1 - k : k;
      value[at / 64] |= word_t{1} << (at % 64);
    }
  return value;
}

SimulationCheck simulateSpec(const Translation &t) {
  SimulationCheck check;
  // Input values from a fixed xorshift generator.
  std::vector<std::uint64_t> value(t.vars.size(), 0);
  std::uint64_t state = 0x9e3779b97f4a7c15ull;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    if (t.vars[v].kind == AlgVariable::kInput) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      value[v] = state;
    }
  simulateGates(t, value);

  // The words in the order the hint names them: the operands, then Z.
  const std::size_t n = t.wordNames.size();
  const auto hintWord = [n](std::size_t k) { return (k + 1) % n; };
  const GfField field(t.field);
  // The number of vectors that fail with the words of `mask` (bits in
  // hintOrder) reversed.
  const auto failing = [&](unsigned mask) {
    unsigned count = 0;
    std::vector<GfField::Element> words(n, field.zero());
    for (unsigned vec = 0; vec < check.vectors; ++vec) {
      for (std::size_t k = 0; k < n; ++k) {
        GfField::Element w =
            wordValue(t, field, value, static_cast<int>(hintWord(k)), vec, mask >> k & 1);
        words[hintWord(k)].swap(w);
      }
      const GfField::Element r = evaluateSpec(t, field, words);
      for (word_t x : r)
        if (x) {
          ++count;
          break;
        }
    }
    return count;
  };
  check.failing = failing(0);
  if (check.failing == 0 || n > 8)
    return check;
  // The fewest words reversed first.
  for (unsigned size = 1; size <= n; ++size)
    for (unsigned mask = 1; mask < 1u << n; ++mask) {
      if (static_cast<unsigned>(__builtin_popcount(mask)) != size || failing(mask) != 0)
        continue;
      for (std::size_t k = 0; k < n; ++k)
        if (mask >> k & 1)
          check.reversed.push_back(t.wordNames[hintWord(k)]);
      return check;
    }
  return check;
}

} // namespace net2alg
