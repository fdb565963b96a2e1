// Errors of net2alg. Every problem with the netlist, the options or an order
// file is thrown as an InputError whose text is the one-line message that the
// program prints; the library code never exits by itself.
#pragma once

#include <stdexcept>
#include <string>

namespace net2alg {

struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void fail(const std::string &message) { throw InputError(message); }

} // namespace net2alg
