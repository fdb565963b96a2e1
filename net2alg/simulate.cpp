// Bit-parallel simulation of the translated circuit (one bit of a 64-bit
// word per vector) and the specification evaluated per vector.
#include "simulate.h"

#include <cstdint>

#include "gf_field.h"

namespace net2alg {
namespace {

// The value of the specification on one vector, the words given.
GfField::Element evaluate(const GfField &field, const std::vector<SpecTerm> &terms,
                          const std::vector<std::string> &names,
                          const std::vector<GfField::Element> &words) {
  GfField::Element sum = field.zero();
  for (const SpecTerm &term : terms) {
    GfField::Element value = term.coef.empty() ? field.one() : field.fromText(term.coef);
    for (const SpecFactor &f : term.factors) {
      if (f.name == "X")
        value = field.mul(value, field.alphaPower(f.exponent));
      for (std::size_t w = 0; w < names.size(); ++w)
        if (f.name == names[w])
          value = field.mul(value, field.power(words[w], f.exponent));
    }
    for (std::size_t k = 0; k < sum.size(); ++k)
      sum[k] ^= value[k];
  }
  return sum;
}

} // namespace

SimulationCheck simulateSpec(const Translation &t) {
  SimulationCheck check;
  // Input values from a fixed xorshift generator; gates in the order of the
  // graph's sort (every variable after those its polynomial uses).
  std::vector<std::uint64_t> value(t.vars.size(), 0);
  std::uint64_t state = 0x9e3779b97f4a7c15ull;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    if (t.vars[v].kind == AlgVariable::kInput) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      value[v] = state;
    }
  for (int v : stackTopologicalOrder(t.graph)) {
    if (t.vars[v].kind != AlgVariable::kGate)
      continue;
    std::uint64_t x = 0;
    for (const AlgTerm &term : t.vars[v].tail) {
      std::uint64_t product = ~std::uint64_t{0};
      for (int u : term.vars)
        product &= value[u];
      x ^= product;
    }
    value[v] = x;
  }

  // The words of the specification: Z, A and B, each the bits of its tail.
  std::vector<std::string> names;
  std::vector<std::vector<int>> bits;
  for (const char *w : {"A", "B", "Z"})
    for (std::size_t v = 0; v < t.vars.size() && v < 3; ++v)
      if (t.vars[v].name == w) {
        names.push_back(w);
        bits.emplace_back();
        for (const AlgTerm &term : t.vars[v].tail)
          bits.back().push_back(term.vars[0]);
      }
  const GfField field(t.field);
  // The number of vectors that fail with the words of `mask` reversed.
  const auto failing = [&](unsigned mask) {
    unsigned count = 0;
    std::vector<GfField::Element> words(names.size());
    for (unsigned vec = 0; vec < check.vectors; ++vec) {
      for (std::size_t w = 0; w < names.size(); ++w) {
        words[w] = field.zero();
        const std::size_t n = bits[w].size();
        for (std::size_t k = 0; k < n; ++k)
          if (value[bits[w][k]] >> vec & 1) {
            const std::size_t at = mask >> w & 1 ? n - 1 - k : k;
            words[w][at / 64] |= word_t{1} << (at % 64);
          }
      }
      const GfField::Element r = evaluate(field, t.specTerms, names, words);
      for (word_t x : r)
        if (x) {
          ++count;
          break;
        }
    }
    return count;
  };
  check.failing = failing(0);
  if (check.failing == 0)
    return check;
  // The fewest words reversed first.
  for (unsigned size = 1; size <= names.size(); ++size)
    for (unsigned mask = 1; mask < 1u << names.size(); ++mask) {
      if (static_cast<unsigned>(__builtin_popcount(mask)) != size || failing(mask) != 0)
        continue;
      for (std::size_t w = 0; w < names.size(); ++w)
        if (mask >> w & 1)
          check.reversed.push_back(names[w]);
      return check;
    }
  return check;
}

} // namespace net2alg
