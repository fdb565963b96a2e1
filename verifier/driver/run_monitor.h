// polyverify's watch over long runs: progress lines on standard error and a
// memory budget, both fed by the reduction loop (reduce_monitor.h).
#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "reduce_monitor.h"

// Thrown when the resident memory passes the budget; what() is the message.
class MemoryBudgetExceeded : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class RunMonitor : public ReductionMonitor {
public:
  // progress: a line at the first check and then at most once a second;
  // autoProgress: the same, but only once the run has lasted a second;
  // budget: resident bytes that the run may use (0: no budget); program:
  // the name that starts every line.
  RunMonitor(bool progress, bool autoProgress, std::size_t budget,
             std::string program = "polyverify");

  void check(const ReductionPoint &point) override;
  void interrupted(const ReductionPoint &point) override;

  // For an out-of-memory end: where the reduction stood and what to do,
  // one line without its end; empty when no reduction was running.
  std::string outOfMemoryDetail() const;

private:
  using Clock = std::chrono::steady_clock;
  bool progress_, autoProgress_;
  std::string program_;
  std::size_t budget_;
  Clock::time_point start_, lastLine_;
  bool lineWritten_ = false;
  bool interrupted_ = false;
  ReductionPoint last_;
  std::string lastLeading_; // last_.leading may not outlive the problem
};

// Resident memory of this process in bytes (0 when it cannot be read).
std::size_t residentBytes();

// Physical memory of the machine in bytes (0 when it cannot be read).
std::size_t physicalMemoryBytes();

// Parses a size such as 4G, 512M, 100000K or 1048576 (K, M, G, T are powers
// of 1024; a trailing B or iB is allowed). Returns 0 for a bad or zero size.
std::size_t parseSize(const std::string &text);
