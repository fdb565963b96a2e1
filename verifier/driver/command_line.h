// polyverify's command line: options, then exactly one problem file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

struct CommandLine {
  std::string path;
  bool witness = false;      // --witness, -w
  bool summary = false;      // --summary
  bool progress = false;     // --progress
  std::size_t maxMemory = 0; // --max-memory SIZE, in bytes; 0: no budget
};

// Fills cl from the arguments. A single argument is always the path,
// whatever it looks like; otherwise arguments that start with "-" are
// options ("--" ends them) and exactly one other argument is the path.
// Returns false for a wrong command line: error is empty when no option was
// given (the plain usage line applies), else it says what is wrong.
bool parseCommandLine(int argc, char **argv, CommandLine &cl, std::string &error);

// "Usage: PROG input.alg", the line for a command line without options.
void printPlainUsage(std::FILE *out, const char *prog);

// "polyverify: ERROR", then the usage line with the options and their help.
void printOptionError(std::FILE *out, const char *prog, const std::string &error);
