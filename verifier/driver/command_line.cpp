// polyverify's command line; see command_line.h.
#include "command_line.h"

#include <cstring>

namespace {

// The options, one row each: a flag option sets its member to true.
struct Option {
  const char *longName;
  const char *shortName;
  bool CommandLine::*flag;
  const char *help;
};

const Option kOptions[] = {
    {"--witness", "-w", &CommandLine::witness,
     "after a non-zero remainder, print a failing input confirmed by simulation\n"
     "                   (WITNESS:), the word values and the suspect gates"},
};

const Option *findOption(const char *arg) {
  for (const Option &o : kOptions)
    if (std::strcmp(arg, o.longName) == 0 || std::strcmp(arg, o.shortName) == 0)
      return &o;
  return nullptr;
}

} // namespace

bool parseCommandLine(int argc, char **argv, CommandLine &cl) {
  if (argc == 2) {
    cl.path = argv[1];
    return true;
  }
  int paths = 0;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const Option *o = optionsEnded ? nullptr : findOption(argv[i]);
    if (o != nullptr) {
      cl.*(o->flag) = true;
      cl.sawOption = true;
    } else if (!optionsEnded && std::strcmp(argv[i], "--") == 0) {
      optionsEnded = true;
    } else {
      cl.path = argv[i];
      ++paths;
    }
  }
  return paths == 1;
}

void printUsage(std::FILE *out, const char *prog, bool withOptions) {
  std::fputs("Usage: ", out);
  std::fputs(prog, out);
  std::fputs(withOptions ? " [options] input.alg\n" : " input.alg\n", out);
  if (!withOptions)
    return;
  for (const Option &o : kOptions)
    std::fprintf(out, "  %s, %-11s %s\n", o.shortName, o.longName, o.help);
}
