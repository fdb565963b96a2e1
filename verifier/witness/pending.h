// The positions in the dependency order that an event-driven simulation
// still has to recompute, taken lowest first. A flip's fan-out is often a
// few bits spread over the whole order (a path through an XOR tree), so a
// summary bit per word of positions leads to the next word with work
// instead of a scan over the empty words between them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "blocks.h"

namespace witness {

class PendingPositions {
public:
  // Room for positions 0 .. positions - 1, none pending.
  void reset(std::size_t positions) {
    words_.assign(positions / 64 + 1, 0);
    summary_.assign(words_.size() / 64 + 1, 0);
    low_ = words_.size();
    count_ = 0;
  }
  bool empty() const { return count_ == 0; }
  std::size_t size() const { return count_; }

  void add(std::size_t pos) {
    const std::uint64_t bit = std::uint64_t{1} << (pos % 64);
    std::uint64_t &word = words_[pos / 64];
    if ((word & bit) != 0)
      return;
    word |= bit;
    summary_[pos / 4096] |= std::uint64_t{1} << (pos / 64 % 64);
    ++count_;
    if (pos / 64 < low_)
      low_ = pos / 64;
  }

  // The lowest pending position, taken off (not empty). A simulation adds
  // only positions after the one it recomputes: readers come after what
  // they read.
  std::size_t take() {
    std::size_t w = low_;
    while (words_[w] == 0) {
      // A summary bit outlives its word's last position: cleared here.
      std::size_t s = w / 64;
      summary_[s] &= ~(std::uint64_t{1} << (w % 64));
      std::uint64_t m = summary_[s] & (~std::uint64_t{0} << (w % 64));
      while (m == 0)
        m = summary_[++s];
      w = 64 * s + static_cast<unsigned>(__builtin_ctzll(m));
    }
    low_ = w;
    const unsigned bit = static_cast<unsigned>(__builtin_ctzll(words_[w]));
    words_[w] &= words_[w] - 1;
    if (--count_ == 0)
      low_ = words_.size();
    return 64 * w + bit;
  }

  // Drops every pending position.
  void clear() {
    for (std::size_t s = low_ / 64; count_ != 0; ++s) {
      for (std::uint64_t m = summary_[s]; m != 0; m &= m - 1) {
        std::uint64_t &word = words_[64 * s + static_cast<unsigned>(__builtin_ctzll(m))];
        count_ -= static_cast<std::size_t>(__builtin_popcountll(word));
        word = 0;
      }
      summary_[s] = 0;
    }
    low_ = words_.size();
  }

private:
  Array<std::uint64_t> words_;   // bit per position
  Array<std::uint64_t> summary_; // bit per word of words_ that may be non-zero
  std::size_t low_ = 0;          // no position pending in a word below it
  std::size_t count_ = 0;
};

} // namespace witness
