// Buffered text output to a stdio stream: big circuits are written as many
// small pieces, and this keeps them to one fwrite per 64 KiB.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace algen {

class OutBuf {
public:
  explicit OutBuf(std::FILE *f) : f_(f), buf_(1 << 16) {}
  ~OutBuf() { flush(); }
  OutBuf(const OutBuf &) = delete;
  OutBuf &operator=(const OutBuf &) = delete;

  void put(char c) {
    if (len_ == buf_.size())
      flush();
    buf_[len_++] = c;
  }
  void put(const char *s) {
    while (*s)
      put(*s++);
  }
  void put(const std::string &s) { put(s.c_str()); }
  void num(uint64_t v) {
    char tmp[24];
    int n = 0;
    do
      tmp[n++] = static_cast<char>('0' + v % 10);
    while (v /= 10);
    while (n)
      put(tmp[--n]);
  }
  // Writes what is buffered; false once any write has failed.
  bool flush() {
    if (len_ && std::fwrite(buf_.data(), 1, len_, f_) != len_)
      ok_ = false;
    len_ = 0;
    return ok_;
  }

private:
  std::FILE *f_;
  std::vector<char> buf_;
  size_t len_ = 0;
  bool ok_ = true;
};

} // namespace algen
