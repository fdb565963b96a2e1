// Sanitising and uniquing of variable names.
#include "names.h"

#include <cctype>

namespace net2alg {

static bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string sanitizeName(const std::string &raw) {
  std::string text = raw;
  if (!text.empty() && text[0] == '\\')
    text.erase(0, 1);
  if (!text.empty() && text[0] == '$') {
    const std::size_t last = text.rfind('$');
    if (last + 1 < text.size())
      text.erase(0, last + 1);
  }
  // Every run of other characters becomes one '_'; none at the start or the
  // end, so that "a[3]" reads "a_3" rather than "a_3_".
  std::string name;
  bool pending = false;
  for (char c : text) {
    if (isNameChar(c)) {
      if (pending && !name.empty())
        name += '_';
      pending = false;
      name += c;
    } else {
      pending = true;
    }
  }
  if (name.empty())
    return "n";
  if (std::isdigit(static_cast<unsigned char>(name[0])))
    name.insert(0, "n");
  return name;
}

NameTable::NameTable(std::size_t expected) {
  used_.reserve(expected + 8);
  used_.insert("X");
  used_.insert("1");
}

void NameTable::reserve(const std::string &name) { used_.insert(name); }

std::string NameTable::claim(const std::string &base) {
  if (used_.insert(base).second)
    return base;
  unsigned &k = next_.emplace(base, 1).first->second;
  std::string name;
  do
    name = base + "_" + std::to_string(k++);
  while (used_.count(name));
  used_.insert(name);
  return name;
}

} // namespace net2alg
