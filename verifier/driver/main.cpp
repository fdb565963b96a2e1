// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "process_exit.h"
#include "run_file.h"
#include "variables.h"

int main(int argc, char** argv) {
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
  const int status = zelmain(argv[1]);
  const std::clock_t t1 = std::clock();
  const std::int64_t ms = static_cast<std::int64_t>(t1 - t0) / 1000;
  std::printf("Total verification time is: %lld ms.\n", static_cast<long long>(ms));
  endProcess(status);
}
