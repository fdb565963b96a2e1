// Measures net2alg's translation phase by phase on one netlist: reading,
// translating (registers, simplification, cone, names, graph), the order
// and the .alg text, each in processor time, best of a few runs.
//   translation_bench NETLIST Z A B POLY [MODEL] [RUNS]
// prints one line per phase: BENCH phase=NAME ms=T, then the total.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "alg_writer.h"
#include "error.h"
#include "heap.h"
#include "read_netlist.h"
#include "translation.h"

namespace {

double msSince(std::clock_t t0) { return 1000.0 * double(std::clock() - t0) / CLOCKS_PER_SEC; }

} // namespace

int main(int argc, char **argv) {
  // As net2alg and gfverify do; NET2ALG_SMALL_PAGES=1 measures without.
  if (!std::getenv("NET2ALG_SMALL_PAGES"))
    net2alg::reserveHugePageHeap(std::size_t(1) << 30);
  if (argc < 6) {
    std::fprintf(stderr, "usage: translation_bench NETLIST Z A B POLY [MODEL] [RUNS]\n");
    return 2;
  }
  net2alg::WordOptions words;
  words.z = argv[2];
  words.a = argv[3];
  words.b = argv[4];
  words.poly = argv[5];
  words.simplify = true;
  words.transparentFlops = true;
  const std::string model = argc > 6 ? argv[6] : "";
  const int runs = argc > 7 ? std::max(1, std::atoi(argv[7])) : 3;
  const char *const phases[] = {"read", "translate", "order", "write"};
  std::vector<double> best(4, 1e300);
  try {
    for (int run = 0; run < runs; ++run) {
      double ms[4];
      std::clock_t t0 = std::clock();
      const net2alg::Netlist nl = net2alg::readNetlistFile(argv[1], true, model);
      ms[0] = msSince(t0);
      t0 = std::clock();
      const net2alg::Translation t = net2alg::translate(nl, words);
      ms[1] = msSince(t0);
      t0 = std::clock();
      const std::vector<int> order = net2alg::computedOrder(t);
      ms[2] = msSince(t0);
      t0 = std::clock();
      std::ostringstream text;
      net2alg::writeAlg(t, order, text);
      ms[3] = msSince(t0);
      for (int p = 0; p < 4; ++p)
        best[p] = std::min(best[p], ms[p]);
    }
  } catch (const net2alg::InputError &e) {
    std::fprintf(stderr, "translation_bench: %s\n", e.what());
    return 1;
  }
  double total = 0;
  for (int p = 0; p < 4; ++p) {
    std::printf("BENCH phase=%s ms=%.0f\n", phases[p], best[p]);
    total += best[p];
  }
  std::printf("BENCH total_ms=%.0f\n", total);
  return 0;
}
