// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "command_line.h"
#include "problem_hook.h"
#include "process_exit.h"
#include "run_file.h"
#include "variables.h"
#include "witness.h"

// Exit status when memory runs out (after "polyverify: out of memory" on
// standard error): a reduction can grow without bound, and that must not
// look like a crash or like any verdict.
constexpr int kOutOfMemoryStatus = 3;

namespace {

// --witness: the witness lines after each non-zero result, the warning on
// standard error.
void printWitness(const SolvedProblem &problem) {
  const witness::Report report = witness::analyze(problem);
  for (const std::string &line : report.lines) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  std::fflush(stdout);
  if (!report.warning.empty()) {
    std::fputs(report.warning.c_str(), stderr);
    std::fputc('\n', stderr);
  }
}

} // namespace

int main(int argc, char** argv) {
  CommandLine options;
  if (!parseCommandLine(argc, argv, options)) {
    printUsage(stdout, argc > 0 && argv[0] != nullptr ? argv[0] : "", options.sawOption);
    endProcess(1);
  }
  if (options.witness)
    setProblemHook(printWitness);
  // Coefficients are owned through raw pointers in the problem state; free
  // them at exit, whichever way the process ends, so that leak checkers see
  // a clean heap.
  std::atexit(releaseProblemState);

  const std::clock_t t0 = std::clock();
  int status = 0;
  try {
    status = zelmain(options.path.c_str());
  } catch (const std::bad_alloc&) {
    // Whatever the failed step held has been released while unwinding.
    // The results printed so far stand; no time line follows.
    std::fflush(stdout);
    std::fputs("polyverify: out of memory\n", stderr);
    endProcess(kOutOfMemoryStatus);
  }
  const std::clock_t t1 = std::clock();
  const std::int64_t ms = static_cast<std::int64_t>(t1 - t0) / 1000;
  std::printf("Total verification time is: %lld ms.\n", static_cast<long long>(ms));
  endProcess(status);
}
