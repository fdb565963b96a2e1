// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run. Every fatal error of
// the libraries arrives here as an exception and is printed here.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "fatal_error.h"
#include "run_file.h"
#include "variables.h"

namespace {

int statusCode(ExitStatus status) { return static_cast<int>(status); }

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fputs("Usage: ", stdout);
    std::fputs(argc > 0 && argv[0] != nullptr ? argv[0] : "", stdout);
    std::fputs(" input.alg\n", stdout);
    std::fflush(stdout);
    return statusCode(ExitStatus::kInputError);
  }
  // Coefficients are owned through raw pointers in the problem state; free
  // them at exit, whichever way the process ends, so that leak checkers see
  // a clean heap.
  std::atexit(releaseProblemState);

  const std::clock_t t0 = std::clock();
  int status = 0;
  try {
    status = zelmain(argv[1]);
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
    return statusCode(ExitStatus::kOutOfMemory);
  }
  const std::clock_t t1 = std::clock();
  const std::int64_t ms = static_cast<std::int64_t>(t1 - t0) / 1000;
  std::printf("Total verification time is: %lld ms.\n", static_cast<long long>(ms));
  std::fflush(stdout);
  return status;
}
