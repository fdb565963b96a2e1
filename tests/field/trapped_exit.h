// The field tests' own definition of endProcess (it replaces the one of
// pv_exit at link time): while exits are trapped, a fatal error unwinds with a
// ProcessExit carrying the status, as in the fuzzing build; otherwise it
// flushes standard output and exits as usual.
#pragma once

#include <functional>
#include <string>

struct ProcessExit {
  int status;
};

// Runs body with exits trapped; returns the status it ended with (-1 when it
// returned normally) and stores what it wrote to standard output in out.
int runTrapped(const std::function<void()> &body, std::string &out);
