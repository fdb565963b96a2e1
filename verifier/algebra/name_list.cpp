// The identifier -> name list.
#include "name_list.h"

void NameList::set(unsigned id, const char *name, std::size_t len) {
  if (offsets_.size() == id) { // declarations number their names in turn
    offsets_.push_back(chars_.size());
  } else {
    if (offsets_.size() < id)
      offsets_.resize(std::size_t(id) + 1, kNone);
    offsets_[id] = chars_.size();
  }
  std::size_t rest = len;
  for (; rest >= 0x80; rest >>= 7)
    chars_.push_back(static_cast<char>(0x80 | (rest & 0x7F)));
  chars_.push_back(static_cast<char>(rest));
  chars_.insert(chars_.end(), name, name + len);
}

std::string_view NameList::get(unsigned id) const {
  if (id >= offsets_.size() || offsets_[id] == kNone)
    return {};
  const char *at = chars_.data() + offsets_[id];
  std::size_t len = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*at++);
    len |= std::size_t(byte & 0x7F) << shift;
    if (byte < 0x80)
      break;
  }
  return std::string_view(at, len);
}

void NameList::clear() {
  offsets_.clear();
  chars_.clear();
}
