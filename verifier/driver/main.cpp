// Entry of polyverify: checks the command line, verifies the problems of
// one file and reports the processor time of the run.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "process_exit.h"
#include "run_file.h"
#include "run_monitor.h"
#include "variables.h"

// Exit status when memory runs out (after "polyverify: out of memory" on
// standard error) or the memory budget is exceeded: a reduction can grow
// without bound, and that must not look like a crash or like any verdict.
constexpr int kOutOfMemoryStatus = 3;

namespace {

struct Options {
  const char *path = nullptr;
  bool progress = false;
  std::size_t maxMemory = 0; // bytes; 0: no budget
};

const char *const kOptionsUsage = " [--progress] [--max-memory SIZE] input.alg\n";

[[noreturn]] void optionError(const char *prog, const std::string &message) {
  std::fprintf(stderr, "polyverify: %s\nUsage: %s%s", message.c_str(), prog, kOptionsUsage);
  endProcess(1);
}

// A single argument is always the file, whatever it looks like. Otherwise
// arguments that start with "--" are options and the one other argument is
// the file; without any option, a wrong count prints the plain usage line.
Options parseCommandLine(int argc, char **argv) {
  const char *prog = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  Options options;
  bool anyOption = false;
  for (int i = 1; i < argc && argc != 2; ++i)
    anyOption = anyOption || std::strncmp(argv[i], "--", 2) == 0;
  if (!anyOption) {
    if (argc != 2) {
      std::fputs("Usage: ", stdout);
      std::fputs(prog, stdout);
      std::fputs(" input.alg\n", stdout);
      endProcess(1);
    }
    options.path = argv[1];
    return options;
  }
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.compare(0, 2, "--") != 0) {
      if (options.path != nullptr)
        optionError(prog, "more than one input file");
      options.path = argv[i];
      continue;
    }
    std::string value;
    const std::size_t eq = arg.find('=');
    const bool inlineValue = eq != std::string::npos;
    if (inlineValue) {
      value = arg.substr(eq + 1);
      arg.erase(eq);
    }
    if (arg == "--progress" && !inlineValue) {
      options.progress = true;
    } else if (arg == "--max-memory") {
      if (!inlineValue) {
        if (i + 1 >= argc)
          optionError(prog, "--max-memory needs a size, such as 4G");
        value = argv[++i];
      }
      options.maxMemory = parseSize(value);
      if (options.maxMemory == 0)
        optionError(prog, "--max-memory: '" + value + "' is not a size, such as 4G or 512M");
    } else {
      optionError(prog, "unknown option '" + std::string(argv[i]) + "'");
    }
  }
  if (options.path == nullptr)
    optionError(prog, "no input file");
  return options;
}

} // namespace

int main(int argc, char **argv) {
  const Options options = parseCommandLine(argc, argv);
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
    status = zelmain(options.path);
  } catch (const std::bad_alloc &) {
    // Whatever the failed step held has been released while unwinding.
    // The results printed so far stand; no time line follows.
    std::fflush(stdout);
    std::fputs("polyverify: out of memory\n", stderr);
    const std::string detail = monitor ? monitor->outOfMemoryDetail() : std::string();
    if (!detail.empty())
      std::fprintf(stderr, "%s\n", detail.c_str());
    endProcess(kOutOfMemoryStatus);
  } catch (const MemoryBudgetExceeded &e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    endProcess(kOutOfMemoryStatus);
  }
  const std::clock_t t1 = std::clock();
  const std::int64_t ms = static_cast<std::int64_t>(t1 - t0) / 1000;
  std::printf("Total verification time is: %lld ms.\n", static_cast<long long>(ms));
  endProcess(status);
}
