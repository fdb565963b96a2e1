// Decimal numbers in net2alg's inputs and options.
#pragma once

#include <charconv>
#include <string_view>

namespace net2alg {

// Reads s as decimal digits only (no sign, no blanks), the whole text, and
// false when it is not one or exceeds max.
inline bool parseDecimal(std::string_view s, unsigned long max, unsigned long &value) {
  unsigned long v = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size() || v > max)
    return false;
  value = v;
  return true;
}

} // namespace net2alg
