// The identifier -> name list.
#include "name_list.h"

void NameList::set(unsigned id, const char *name, std::size_t len) {
  if (spans_.size() == id) { // declarations number their names in turn
    spans_.push_back(Span{chars_.size(), len});
  } else {
    if (spans_.size() < id)
      spans_.resize(std::size_t(id) + 1, Span{0, 0});
    spans_[id] = Span{chars_.size(), len};
  }
  chars_.append(name, len);
}

std::string_view NameList::get(unsigned id) const {
  if (id >= spans_.size())
    return {};
  return std::string_view(chars_.data() + spans_[id].offset, spans_[id].len);
}

void NameList::clear() {
  spans_.clear();
  chars_.clear();
}
