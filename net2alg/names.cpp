// Sanitising and uniquing of variable names.
#include "names.h"

#include <algorithm>
#include <cctype>
#include <functional>

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
  names_.reserve(expected + 8);
  index_.reserve(expected + 8);
  take("X");
  take("1");
}

bool NameTable::taken(std::string_view name) const {
  return index_.find(name, NameIndex::hashOf(name), names_) != NameIndex::kNone;
}

bool NameTable::take(std::string_view name) {
  const std::uint64_t hash = NameIndex::hashOf(name);
  if (index_.find(name, hash, names_) != NameIndex::kNone)
    return false;
  if (blockUsed_ + name.size() > blockSize_) {
    blockSize_ = std::max<std::size_t>(std::size_t{1} << 20, name.size());
    blocks_.push_back(std::make_unique<char[]>(blockSize_));
    blockUsed_ = 0;
  }
  char *copy = blocks_.back().get() + blockUsed_;
  std::copy(name.begin(), name.end(), copy);
  blockUsed_ += name.size();
  names_.emplace_back(copy, name.size());
  index_.add(hash);
  return true;
}

void NameTable::reserve(const std::string &name) { take(name); }

std::string NameTable::claim(const std::string &base) {
  if (take(base))
    return base;
  unsigned &k = next_.emplace(base, 1).first->second;
  std::string name;
  do
    name = base + "_" + std::to_string(k++);
  while (!take(name));
  return name;
}

} // namespace net2alg
