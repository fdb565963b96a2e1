// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run. Every fatal error of
// the libraries arrives here as an exception and is printed here.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "command_line.h"
#include "fatal_error.h"
#include "problem_hook.h"
#include "reduce.h"
#include "run_file.h"
#include "run_monitor.h"
#include "variables.h"
#include "witness.h"

namespace {

int statusCode(ExitStatus status) { return static_cast<int>(status); }

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

int main(int argc, char **argv) {
  const char *prog = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  CommandLine options;
  std::string usageError;
  if (!parseCommandLine(argc, argv, options, usageError)) {
    if (usageError.empty())
      printPlainUsage(stdout, prog);
    else
      printOptionError(stderr, prog, usageError);
    std::fflush(stdout);
    return statusCode(ExitStatus::kInputError);
  }
  setRemainderSummary(options.summary);
  if (options.witness) {
    setProblemHook(printWitness);
    // Under a memory budget the verifier's freed blocks are not kept.
    if (options.maxMemory == 0)
      witness::reuseFreedMemory();
  }
  // Coefficients are owned through raw pointers in the problem state; free
  // them at exit, whichever way the process ends, so that leak checkers see
  // a clean heap.
  std::atexit(releaseProblemState);

  // Progress and the budget watch the reduction; a terminal on standard
  // error gets progress lines once a run passes a second.
  std::unique_ptr<RunMonitor> monitor;
  const bool terminal = isatty(STDERR_FILENO) == 1;
  if (options.progress || options.maxMemory != 0 || terminal) {
    monitor = std::make_unique<RunMonitor>(options.progress, terminal, options.maxMemory);
    setReductionMonitor(monitor.get());
  }

  const std::clock_t t0 = std::clock();
  int status = 0;
  try {
    status = zelmain(options.path.c_str());
  } catch (const FatalError &e) {
    // The message goes to its stream, then what was printed before it is
    // flushed. No time line follows.
    std::fputs(e.text().c_str(), e.stream() == ErrorStream::kStdout ? stdout : stderr);
    std::fflush(stdout);
    return statusCode(e.status());
  } catch (const std::bad_alloc &) {
    // Whatever the failed step held has been released while unwinding.
    // The results printed so far stand; no time line follows.
    std::fflush(stdout);
    std::fputs("polyverify: out of memory\n", stderr);
    const std::string detail = monitor ? monitor->outOfMemoryDetail() : std::string();
    if (!detail.empty())
      std::fprintf(stderr, "%s\n", detail.c_str());
    return statusCode(ExitStatus::kOutOfMemory);
  } catch (const MemoryBudgetExceeded &e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    return statusCode(ExitStatus::kOutOfMemory);
  }
  const std::clock_t t1 = std::clock();
  const std::int64_t ms = static_cast<std::int64_t>(t1 - t0) / 1000;
  std::printf("Total verification time is: %lld ms.\n", static_cast<long long>(ms));
  std::fflush(stdout);
  return status;
}
