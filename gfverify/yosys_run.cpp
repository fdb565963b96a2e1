// yosys as a subprocess.
#include "yosys_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

extern char **environ;

namespace gfverify {

const char *const kDefaultScript = "proc; opt_dff; opt_expr -fine; opt_clean; techmap; opt_clean";

namespace {

// A file name in a yosys script: in double quotes, which yosys strips.
std::string quoted(const std::string &path) { return "\"" + path + "\""; }

bool endsWith(const std::string &s, const std::string &tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::string yosysScript(const std::vector<std::string> &files, const std::string &top,
                        const std::string &passes, const std::string &blifPath) {
  std::string script;
  for (const std::string &f : files)
    script += std::string("read_verilog ") + (endsWith(f, ".sv") ? "-sv " : "") + quoted(f) + "; ";
  script += top.empty() ? "hierarchy -check -auto-top; " : "hierarchy -check -top " + top + "; ";
  script += passes + "; write_blif -cname " + quoted(blifPath);
  return script;
}

std::string findOnPath(const std::string &program) {
  const char *path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos)
      end = dirs.size();
    const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
    const std::string candidate = dir + "/" + program;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  return {};
}

std::string runYosys(const std::string &yosys, const std::string &script,
                     const std::string &logPath, double &cpuSeconds) {
  cpuSeconds = 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::string a0 = yosys, a1 = "-q", a2 = "-p", a3 = script;
  char *argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
  pid_t pid;
  const int spawned = posix_spawn(&pid, yosys.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return "cannot run " + yosys;
  int status = 0;
  struct rusage usage {};
  while (wait4(pid, &status, 0, &usage) < 0) {
  }
  cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return {};
  // yosys's own message: its first ERROR line (and what follows on it).
  std::ifstream log(logPath);
  std::string line, first;
  while (std::getline(log, line)) {
    const std::size_t at = line.find("ERROR:");
    if (at != std::string::npos) {
      first = line.substr(at);
      break;
    }
    if (first.empty() && !line.empty())
      first = line;
  }
  if (WIFSIGNALED(status))
    return "yosys was killed by signal " + std::to_string(WTERMSIG(status)) +
           (first.empty() ? "" : ": " + first);
  return first.empty() ? "yosys failed with status " + std::to_string(WEXITSTATUS(status))
                       : "yosys: " + first;
}

} // namespace gfverify
