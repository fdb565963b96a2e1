// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "process_exit.h"
#include "reduce.h"
#include "run_file.h"
#include "variables.h"

// Exit status when memory runs out (after "polyverify: out of memory" on
// standard error): a reduction can grow without bound, and that must not
// look like a crash or like any verdict.
constexpr int kOutOfMemoryStatus = 3;

int main(int argc, char** argv) {
  // polyverify --summary FILE: a summary line after long remainders.
  if (argc == 3 && std::strcmp(argv[1], "--summary") == 0) {
    setRemainderSummary(true);
    argv[1] = argv[2];
    argc = 2;
  }
  if (argc != 2) {
    std::fputs("Usage: ", stdout);
    std::fputs(argc > 0 && argv[0] != nullptr ? argv[0] : "", stdout);
    std::fputs(" input.alg\n", stdout);
    endProcess(1);
  }
  // Coefficients are owned through raw pointers in the problem state; free
  // them at exit, whichever way the process ends, so that leak checkers see
  // a clean heap.
  std::atexit(releaseProblemState);

  const std::clock_t t0 = std::clock();
  int status = 0;
  try {
    status = zelmain(argv[1]);
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
