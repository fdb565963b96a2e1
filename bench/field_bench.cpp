// Measures the field arithmetic: products through both multipliers and both
// reductions, inverses, large powers and the definition of a field with its
// irreducibility test. Not a test; run by hand:
//   build-field/bin/field_bench (built from tests/field/CMakeLists.txt)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "alpha_poly.h"
#include "clmul.h"
#include "reduction.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<AlphaPoly> randomElement(std::mt19937_64 &rng) {
  auto e = std::make_unique<AlphaPoly>(0UL);
  for (int i = 0; i < NumWords; ++i)
    e->bits[i] = rng();
  if (K % 64 != 0)
    e->bits[NumWords - 1] &= (word_t{1} << (K % 64)) - 1;
  return e;
}

void defineField(const std::string &minpoly) {
  const auto start = Clock::now();
  AlphaPoly::setMinpoly(minpoly);
  std::printf("  define K=%d (%s reduction): %.3f ms\n", K,
              fieldModulus.sparse() ? "sparse" : "table", 1e3 * secondsSince(start));
}

void benchField(const std::string &name, const std::string &minpoly) {
  std::printf("%s\n", name.c_str());
  for (bool table : {false, true}) {
    forceTableReduction(table);
    defineField(minpoly);
    std::mt19937_64 rng(1);
    auto a = randomElement(rng);
    auto b = randomElement(rng);
    for (bool portable : {false, true}) {
      forcePortableClmul(portable);
      if (!portable && !usingPclmul())
        continue;
      // Best of five runs: the machine may be shared.
      const int n = K > 1000 ? 200 : 100000;
      double best = 1e9;
      for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < n; ++i)
          a->mult(b.get());
        best = std::min(best, secondsSince(start) / n);
      }
      std::printf("  mult %-8s: %10.1f ns\n", portable ? "portable" : "pclmul", 1e9 * best);
    }
    forcePortableClmul(false);
    const int n = K > 1000 ? 10 : 2000;
    auto start = Clock::now();
    for (int i = 0; i < n; ++i)
      delete a->getInverse();
    std::printf("  inverse      : %10.1f us\n", 1e6 * secondsSince(start) / n);
    start = Clock::now();
    for (int i = 0; i < n; ++i)
      AlphaPoly big(~0UL - static_cast<unsigned long>(i));
    std::printf("  alpha^(2^64-1-i): %7.1f us\n", 1e6 * secondsSince(start) / n);
  }
  forceTableReduction(false);
}

} // namespace

int main() {
  std::printf("pclmul available: %s\n", usingPclmul() ? "yes" : "no");
  benchField("GF(2^163)", "X^163+X^7+X^6+X^3+1");
  benchField("GF(2^571)", "X^571+X^10+X^5+X^2+1");
  // At the degree limit; not necessarily irreducible (a warning may follow).
  benchField("K=16384 trinomial", "X^16384+X^8193+1");
  benchField("K=16384 sparse", "X^16384+X^9+X^5+X^3+1");
  return 0;
}
