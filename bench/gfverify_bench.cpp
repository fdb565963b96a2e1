// Measures gfverify's own part on one BLIF netlist with the default words
// (Z = A*B on the top's two data inputs and its output): reading and
// translating the netlist, then the verification of the translation in two
// ways, through the .alg text (written to memory and parsed, as --keep-alg
// would write it) and built directly (what gfverify does), and the direct
// build alone. Prints one line per step:
//   BENCH step=NAME cpu_ms=T wall_ms=T
// and checks that both ways leave the same remainder and suspects.
//   gfverify_bench FILE.blif POLY [REPEATS]
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sstream>
#include <string>

#include "alg_writer.h"
#include "check.h"
#include "error.h"
#include "fatal_error.h"
#include "ports.h"
#include "problem_builder.h"
#include "problem_state.h"
#include "read_netlist.h"

namespace {

// Runs f `repeats` times and prints the best processor and wall times.
void measure(const char *step, int repeats, const std::function<void()> &f) {
  double cpu = 1e30, wall = 1e30;
  for (int r = 0; r < repeats; ++r) {
    const std::clock_t c0 = std::clock();
    const auto w0 = std::chrono::steady_clock::now();
    f();
    cpu = std::min(cpu, 1000.0 * double(std::clock() - c0) / CLOCKS_PER_SEC);
    wall = std::min(
        wall,
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w0).count());
  }
  std::printf("BENCH step=%s cpu_ms=%.1f wall_ms=%.1f\n", step, cpu, wall);
  std::fflush(stdout);
}

bool same(const gfverify::Remainder &x, const gfverify::Remainder &y) {
  return x.zero == y.zero && x.terms == y.terms && x.text == y.text && x.vars == y.vars &&
         x.suspects == y.suspects && x.suspectsInAll == y.suspectsInAll;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: gfverify_bench FILE.blif POLY [REPEATS]\n");
    return 2;
  }
  const int repeats = argc == 4 ? std::max(1, std::atoi(argv[3])) : 3;
  try {
    net2alg::Translation t;
    std::vector<int> order;
    measure("translate", 1, [&] {
      const net2alg::Netlist nl = net2alg::readNetlistFile(argv[1], true);
      std::string why;
      const std::vector<gfverify::Word> words =
          gfverify::defaultWords(gfverify::portsOf(nl), {}, why);
      if (words.empty())
        net2alg::fail(why);
      net2alg::WordOptions wo;
      wo.simplify = true;
      wo.transparentFlops = true;
      wo.poly = argv[2];
      wo.z = gfverify::bitList(nl, words[0].bits);
      wo.a = gfverify::bitList(nl, words[1].bits);
      wo.b = gfverify::bitList(nl, words[2].bits);
      t = net2alg::translate(nl, wo);
      order = net2alg::computedOrder(t);
    });
    std::string alg;
    measure("write_alg", repeats, [&] {
      std::ostringstream out;
      net2alg::writeAlg(t, order, out);
      alg = out.str();
    });
    gfverify::Remainder text, direct;
    measure("verify_text", repeats, [&] { text = gfverify::verifyAlg(alg); });
    measure("verify_direct", repeats, [&] { direct = gfverify::verifyTranslation(t, order); });
    measure("build_direct", repeats, [&] {
      problem.reset();
      gfverify::buildProblem(t, order);
      problem.reset();
    });
    std::printf("BENCH gates=%zu text_bytes=%zu remainder_terms=%zu same=%d\n", t.vars.size(),
                alg.size(), direct.terms, same(text, direct) ? 1 : 0);
    return same(text, direct) ? 0 : 1;
  } catch (const net2alg::InputError &e) {
    std::fprintf(stderr, "gfverify_bench: %s\n", e.what());
  } catch (const FatalError &e) {
    std::fprintf(stderr, "gfverify_bench: %s", e.text().c_str());
  }
  return 2;
}
