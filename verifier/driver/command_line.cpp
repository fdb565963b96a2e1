// polyverify's command line; see command_line.h.
#include "command_line.h"

#include <cstring>

#include "inline_value.h"
#include "run_monitor.h"

namespace {

// The options, one row each: a flag sets its member; an option with a
// value reads it with `read`, which returns what is wrong with a bad value
// (empty when it is good).
struct Option {
  const char *longName;
  const char *shortName; // "" when there is none
  bool CommandLine::*flag;
  std::string (*read)(CommandLine &, const std::string &);
  const char *help;
};

std::string readMaxMemory(CommandLine &cl, const std::string &value) {
  cl.maxMemory = parseSize(value);
  return cl.maxMemory != 0 ? "" : "'" + value + "' is not a size, such as 4G or 512M";
}

const Option kOptions[] = {
    {"--witness", "-w", &CommandLine::witness, nullptr,
     "after a non-zero remainder: a failing input confirmed by simulation\n"
     "                    (WITNESS:), the word values and the suspect gates"},
    {"--summary", "", &CommandLine::summary, nullptr,
     "one line on standard error after a remainder of more than 1,000 terms"},
    {"--progress", "", &CommandLine::progress, nullptr,
     "a progress line on standard error at most once a second"},
    {"--max-memory", "", nullptr, readMaxMemory,
     "SIZE: end with status 3 when the run's resident memory passes SIZE (4G, 512M)"},
};

const Option *findOption(const std::string &name) {
  for (const Option &o : kOptions)
    if (name == o.longName || (o.shortName[0] != '\0' && name == o.shortName))
      return &o;
  return nullptr;
}

} // namespace

bool parseCommandLine(int argc, char **argv, CommandLine &cl, std::string &error) {
  error.clear();
  if (argc == 2) {
    cl.path = argv[1];
    return true;
  }
  int paths = 0;
  bool optionsEnded = false, sawOption = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      cl.path = arg;
      ++paths;
      continue;
    }
    sawOption = true;
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string value;
    const bool inlineValue = cli::splitInlineValue(arg, value);
    const Option *o = findOption(arg);
    if (o == nullptr || (o->flag != nullptr && inlineValue)) {
      error = "unknown option '" + std::string(argv[i]) + "'";
      return false;
    }
    if (o->flag != nullptr) {
      cl.*(o->flag) = true;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    const std::string wrong = o->read(cl, value);
    if (!wrong.empty()) {
      error = arg + ": " + wrong;
      return false;
    }
  }
  if (paths == 1)
    return true;
  if (sawOption)
    error = paths == 0 ? "no input file" : "more than one input file";
  return false;
}

void printPlainUsage(std::FILE *out, const char *prog) {
  std::fputs("Usage: ", out);
  std::fputs(prog, out);
  std::fputs(" input.alg\n", out);
}

void printOptionError(std::FILE *out, const char *prog, const std::string &error) {
  std::fprintf(out, "polyverify: %s\nUsage: %s [options] input.alg\n", error.c_str(), prog);
  for (const Option &o : kOptions)
    std::fprintf(out, "  %-3s %-13s %s\n",
                 o.shortName[0] != '\0' ? (std::string(o.shortName) + ",").c_str() : "", o.longName,
                 o.help);
}
