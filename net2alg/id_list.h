// A short list of net ids that keeps up to four of them in place: the
// products and the supports of gate nodes rarely hold more, so a netlist of
// a million gates needs no allocation per product or per support.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <type_traits>

namespace net2alg {

class IdList {
public:
  using value_type = int;
  using iterator = int *;
  using const_iterator = const int *;
  using size_type = std::size_t;
  using reference = int &;
  using const_reference = const int &;

  IdList() = default;
  IdList(std::initializer_list<int> ids) { assign(ids.begin(), ids.end()); }
  template <class It, class = std::enable_if_t<!std::is_integral<It>::value>>
  IdList(It first, It last) {
    for (; first != last; ++first)
      push_back(*first);
  }
  IdList(const IdList &other) { assign(other.begin(), other.end()); }
  IdList(IdList &&other) noexcept { steal(other); }
  IdList &operator=(const IdList &other) {
    if (this != &other) {
      size_ = 0;
      assign(other.begin(), other.end());
    }
    return *this;
  }
  IdList &operator=(IdList &&other) noexcept {
    if (this != &other) {
      release();
      steal(other);
    }
    return *this;
  }
  ~IdList() { release(); }

  int *begin() { return data(); }
  int *end() { return data() + size_; }
  const int *begin() const { return data(); }
  const int *end() const { return data() + size_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  int &operator[](std::size_t k) { return data()[k]; }
  int operator[](std::size_t k) const { return data()[k]; }
  int front() const { return data()[0]; }
  int back() const { return data()[size_ - 1]; }
  void clear() { size_ = 0; }

  void reserve(std::size_t n) {
    if (n <= capacity_)
      return;
    int *grown = new int[n];
    std::memcpy(grown, data(), size_ * sizeof(int));
    const std::uint32_t size = size_;
    release();
    heap_ = grown;
    size_ = size;
    capacity_ = static_cast<std::uint32_t>(n);
  }
  void push_back(int id) {
    if (size_ == capacity_)
      reserve(2 * capacity_);
    data()[size_++] = id;
  }
  // Inserts [first, last) before `at` (an iterator of this list); the range
  // must not be part of this list.
  template <class It> void insert(int *at, It first, It last) {
    const std::size_t pos = static_cast<std::size_t>(at - data());
    const std::size_t n = static_cast<std::size_t>(std::distance(first, last));
    if (size_ + n > capacity_)
      reserve(std::max<std::size_t>(size_ + n, 2 * capacity_));
    int *d = data();
    std::memmove(d + pos + n, d + pos, (size_ - pos) * sizeof(int));
    std::copy(first, last, d + pos);
    size_ += static_cast<std::uint32_t>(n);
  }
  int *erase(int *first, int *last) {
    int *const e = end();
    std::memmove(first, last, static_cast<std::size_t>(e - last) * sizeof(int));
    size_ -= static_cast<std::uint32_t>(last - first);
    return first;
  }

  friend bool operator==(const IdList &x, const IdList &y) {
    return x.size_ == y.size_ && std::equal(x.begin(), x.end(), y.begin());
  }
  friend bool operator!=(const IdList &x, const IdList &y) { return !(x == y); }
  friend bool operator<(const IdList &x, const IdList &y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
  }
  friend std::ostream &operator<<(std::ostream &out, const IdList &ids) {
    out << '{';
    for (std::size_t k = 0; k < ids.size(); ++k)
      out << (k ? ", " : "") << ids[k];
    return out << '}';
  }

private:
  static constexpr std::uint32_t kInPlace = 4;
  int *data() { return capacity_ > kInPlace ? heap_ : inPlace_; }
  const int *data() const { return capacity_ > kInPlace ? heap_ : inPlace_; }
  template <class It> void assign(It first, It last) {
    reserve(static_cast<std::size_t>(last - first));
    std::copy(first, last, data());
    size_ = static_cast<std::uint32_t>(last - first);
  }
  void release() {
    if (capacity_ > kInPlace)
      delete[] heap_;
    capacity_ = kInPlace;
    size_ = 0;
  }
  void steal(IdList &other) {
    size_ = other.size_;
    capacity_ = other.capacity_;
    if (capacity_ > kInPlace)
      heap_ = other.heap_;
    else
      std::memcpy(inPlace_, other.inPlace_, sizeof inPlace_);
    other.capacity_ = kInPlace;
    other.size_ = 0;
  }

  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = kInPlace;
  union {
    int inPlace_[kInPlace];
    int *heap_;
  };
};

} // namespace net2alg
