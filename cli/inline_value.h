// The --name=value form of a valued option, shared by every program's
// command line: a long option may carry its value after '=' instead of in
// the next argument.
#pragma once

#include <string>

namespace cli {

// When `arg` is a long option with '=' in it, cuts it to the name, puts what
// follows into `value` and returns true. Otherwise leaves both alone.
inline bool splitInlineValue(std::string &arg, std::string &value) {
  const std::size_t eq = arg.find('=');
  if (arg.compare(0, 2, "--") != 0 || eq == std::string::npos)
    return false;
  value = arg.substr(eq + 1);
  arg.erase(eq);
  return true;
}

} // namespace cli
