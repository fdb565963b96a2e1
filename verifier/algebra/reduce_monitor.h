// A hook through which a program watches the reduction loop from outside the
// algebra: progress reports, a memory budget. reduce() calls the installed
// monitor when a problem's reduction starts and then every
// kReductionCheckSteps division steps; without a monitor the loop pays one
// test per step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Where a reduction stands.
struct ReductionPoint {
  std::size_t problem = 0;    // the problem's number in the file, from 1
  std::size_t generator = 0;  // the generator being tried, from 1
  std::size_t generators = 0; // generators of the problem
  std::string_view leading;   // highest variable of the current leading term
  std::size_t terms = 0;      // terms of the polynomial being reduced
  // Variables in the leading term of the generator being tried: 1 for a
  // gate whose polynomial leads with its own variable, as the single pass
  // needs; more when the variable order puts a fanin above its gate.
  std::uint32_t generatorLeadDegree = 0;
};

class ReductionMonitor {
public:
  virtual ~ReductionMonitor() = default;
  // At the start of each reduction and every kReductionCheckSteps steps.
  // May throw to end the run; the reduction releases what it holds.
  virtual void check(const ReductionPoint &point) = 0;
  // When an exception (such as std::bad_alloc) leaves the reduction: the
  // last point reached.
  virtual void interrupted(const ReductionPoint &point) = 0;
};

constexpr unsigned kReductionCheckSteps = 1024;

// Installs the monitor that reduce() reports to (nullptr: none). The caller
// keeps it alive while it is installed.
void setReductionMonitor(ReductionMonitor *monitor);
ReductionMonitor *reductionMonitor();
