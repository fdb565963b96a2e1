// Progress lines and the memory budget of a polyverify run.
#include "run_monitor.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <limits>

namespace {

std::string megabytes(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

std::string leadingName(const ReductionPoint &p) {
  return p.leading.empty() ? std::string("(a constant)") : std::string(p.leading);
}

// "problem 1, generator 12/300, leading variable x, 4567 terms"
std::string where(const ReductionPoint &p) {
  return "problem " + std::to_string(p.problem) + ", generator " + std::to_string(p.generator) +
         "/" + std::to_string(p.generators) + ", leading variable " + leadingName(p) + ", " +
         std::to_string(p.terms) + " terms";
}

std::string advice(const ReductionPoint &p) {
  if (p.generatorLeadDegree > 1)
    return "check the variable order: the generator's leading term is not its own gate "
           "variable, so the single pass multiplies out its fanins";
  return "optimise the netlist (e.g. yosys 'opt' or 'synth', or net2alg's simplification, "
         "on unless --no-simplify) and check the variable order (gates from the outputs "
         "towards the inputs, every gate above the primary inputs)";
}

} // namespace

RunMonitor::RunMonitor(bool progress, bool autoProgress, std::size_t budget, std::string program)
    : progress_(progress), autoProgress_(autoProgress), program_(std::move(program)),
      budget_(budget), start_(Clock::now()), lastLine_(start_) {}

void RunMonitor::check(const ReductionPoint &point) {
  if (progress_ || autoProgress_) {
    const Clock::time_point now = Clock::now();
    const bool due = lineWritten_ ? now - lastLine_ >= std::chrono::seconds(1)
                                  : progress_ || now - start_ >= std::chrono::seconds(1);
    if (due) {
      const std::string line =
          program_ + ": " + where(point) + ", " + megabytes(residentBytes()) + " resident\n";
      std::fflush(stdout); // results before progress when both go to one terminal
      std::fputs(line.c_str(), stderr);
      lineWritten_ = true;
      lastLine_ = now;
    }
  }
  if (budget_ != 0) {
    const std::size_t resident = residentBytes();
    if (resident > budget_)
      throw MemoryBudgetExceeded(program_ + ": " + where(point) + ": " + megabytes(resident) +
                                 " resident, over the memory budget of " + megabytes(budget_) +
                                 "; " + advice(point));
  }
}

void RunMonitor::interrupted(const ReductionPoint &point) {
  interrupted_ = true;
  last_ = point;
  lastLeading_ = leadingName(point);
  last_.leading = {};
}

std::string RunMonitor::outOfMemoryDetail() const {
  if (!interrupted_)
    return {};
  ReductionPoint p = last_;
  std::string text = program_ + ": problem " + std::to_string(p.problem) + ", generator " +
                     std::to_string(p.generator) + "/" + std::to_string(p.generators) +
                     ", leading variable " + lastLeading_ + ", " + std::to_string(p.terms) +
                     " terms; " + advice(p);
  return text;
}

std::size_t residentBytes() {
  FILE *statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr)
    return 0;
  unsigned long size = 0, resident = 0;
  const int got = std::fscanf(statm, "%lu %lu", &size, &resident);
  std::fclose(statm);
  if (got != 2)
    return 0;
  return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::size_t physicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGESIZE);
  return pages > 0 && size > 0 ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(size)
                               : 0;
}

std::size_t parseSize(const std::string &text) {
  std::size_t k = 0, value = 0;
  const std::size_t max = std::numeric_limits<std::size_t>::max();
  while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) {
    const std::size_t digit = static_cast<std::size_t>(text[k] - '0');
    if (value > (max - digit) / 10)
      return 0;
    value = value * 10 + digit;
    ++k;
  }
  if (k == 0)
    return 0;
  std::string unit = text.substr(k);
  for (char &c : unit)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const char *const units[] = {"", "K", "M", "G", "T"};
  for (int power = 0; power < 5; ++power) {
    const std::string u = units[power];
    if (unit != u && unit != u + "B" && (power == 0 || unit != u + "IB"))
      continue;
    for (int p = 0; p < power; ++p) {
      if (value > max / 1024)
        return 0;
      value *= 1024;
    }
    return value;
  }
  return 0;
}
