// Identifier -> variable name, for printing results. The names lie back to
// back in one string; a name given again to an identifier replaces it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class NameList {
public:
  void set(unsigned id, const char *name, std::size_t len);
  // The name of id; empty when id has none.
  std::string_view get(unsigned id) const;
  void clear();

private:
  struct Span {
    std::size_t offset;
    std::size_t len;
  };
  std::vector<Span> spans_;
  std::string chars_;
};
