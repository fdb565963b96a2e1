// polyverify's command line: options, then exactly one problem file.
#pragma once

#include <cstdio>
#include <string>

struct CommandLine {
  std::string path;
  bool witness = false;   // --witness, -w
  bool sawOption = false; // some known option was given
};

// Fills cl; false for a wrong command line. A single argument is always
// the path, whatever it looks like, as it always was; "--" ends the options.
bool parseCommandLine(int argc, char **argv, CommandLine &cl);

// The usage text for a wrong command line: exactly "Usage: PROG input.alg"
// unless the command line held an option, in which case the options follow.
void printUsage(std::FILE *out, const char *prog, bool withOptions);
