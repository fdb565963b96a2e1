// Measures polyverify --witness on one problem file: runs the verification
// with a hook that times the witness search and keeps every suspect (the
// program prints at most 50). After polyverify's own lines, one line per
// problem with a non-zero remainder:
//   BENCH witness=0|1 suspects=N witness_ms=T list=NAME,NAME,...
// and at the end: BENCH total_ms=T (processor time of the whole run).
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "problem_hook.h"
#include "run_file.h"
#include "witness.h"

namespace {

double msSince(std::clock_t t0) { return 1000.0 * double(std::clock() - t0) / CLOCKS_PER_SEC; }

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: witness_bench FILE.alg\n");
    return 2;
  }
  witness::Limits limits;
  limits.listedSuspects = ~0U;
  std::string lines;
  witness::reuseFreedMemory(); // as polyverify --witness does
  setProblemHook([&](const SolvedProblem &p) {
    const std::clock_t t0 = std::clock();
    const witness::Report r = witness::analyze(p, limits);
    const double ms = msSince(t0);
    if (r.lines.empty())
      return;
    const bool found = r.lines.front().rfind("WITNESS:", 0) == 0;
    std::string list;
    std::size_t count = 0;
    for (const std::string &line : r.lines)
      if (line.rfind("SUSPECTS:", 0) == 0)
        for (std::size_t at = 9; at < line.size();) {
          const std::size_t end = std::min(line.find(' ', at + 1), line.size());
          list += (list.empty() ? "" : ",") + line.substr(at + 1, end - at - 1);
          ++count;
          at = end;
        }
    char head[96];
    std::snprintf(head, sizeof head,
                  "BENCH witness=%d suspects=%zu witness_ms=%.1f list=", found ? 1 : 0, count, ms);
    lines += head + list + "\n";
  });
  const std::clock_t t0 = std::clock();
  const int status = zelmain(argv[1]);
  const double total = msSince(t0);
  std::fputs(lines.c_str(), stdout);
  std::printf("BENCH total_ms=%.1f\n", total);
  return status;
}
