// Test definition of the process exit hook; see trapped_exit.h.
#include "trapped_exit.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "process_exit.h"

namespace {
bool trapped = false;
}

void endProcess(int status) {
  std::fflush(stdout);
  if (trapped)
    throw ProcessExit{status};
  std::exit(status);
}

int runTrapped(const std::function<void()> &body, std::string &out) {
  int status = -1;
  testing::internal::CaptureStdout();
  trapped = true;
  try {
    body();
  } catch (const ProcessExit &e) {
    status = e.status;
  }
  trapped = false;
  out = testing::internal::GetCapturedStdout();
  return status;
}
