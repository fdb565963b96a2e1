// Rewriting word powers as products of Frobenius words.
#include "word_powers.h"

#include <algorithm>
#include <map>

#include "error.h"

namespace net2alg {

std::string frobeniusName(const std::string &word, unsigned shift) {
  return word + "_sq" + std::to_string(shift);
}

ExactSpec exactPowers(const std::vector<SpecTerm> &terms, const std::set<std::string> &words,
                      unsigned degree, unsigned maxFactors) {
  ExactSpec out;
  std::set<std::pair<std::string, unsigned>> known;
  for (const SpecTerm &term : terms) {
    // The total exponent of each word, at the place of its first factor.
    std::map<std::string, unsigned long> exponent;
    for (const SpecFactor &f : term.factors)
      if (words.count(f.name)) {
        if (f.exponent == 0)
          fail("--spec: '" + f.text + "': a word's exponent must be at least 1");
        exponent[f.name] += f.exponent;
      }
    SpecTerm rewritten{term.coef, {}};
    for (const SpecFactor &f : term.factors) {
      if (!words.count(f.name)) {
        rewritten.factors.push_back(f);
        continue;
      }
      const auto it = exponent.find(f.name);
      if (it == exponent.end())
        continue; // a later factor of a word already written
      unsigned long e = it->second;
      exponent.erase(it);
      if (degree < 64) {
        const unsigned long order = (1ul << degree) - 1;
        e %= order;
        if (e == 0)
          e = order;
      }
      const unsigned factors = static_cast<unsigned>(__builtin_popcountl(e));
      if (factors > maxFactors)
        fail("--spec: " + f.name + "^" + std::to_string(e) + " is a product of " +
             std::to_string(factors) + " words " + f.name + "^(2^j), one per binary digit of " +
             std::to_string(e) + "; at most " + std::to_string(maxFactors) +
             " are allowed (--max-power-factors)");
      for (unsigned j = 64; j-- > 0;) {
        if (!(e >> j & 1))
          continue;
        if (j == 0) {
          rewritten.factors.push_back({f.name, 1, f.name});
          continue;
        }
        const std::string name = frobeniusName(f.name, j);
        rewritten.factors.push_back({name, 1, name});
        if (known.insert({f.name, j}).second)
          out.frobenius.push_back({f.name, j});
      }
    }
    out.terms.push_back(std::move(rewritten));
  }
  return out;
}

} // namespace net2alg
