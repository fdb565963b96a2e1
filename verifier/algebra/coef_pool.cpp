// The coefficient pool.
#include "coef_pool.h"

#include <algorithm>
#include <cassert>

CoefPool coefPool;

void CoefPool::reset() {
  words_ = NumWords > 0 ? NumWords : 1;
  store_.assign(words_, 0);
  store_[0] = 1;
  refs_.assign(1, 0);
  shared_.assign(1, 0);
  free_.clear();
  sharedTable_.clear();
  sharedCount_ = 0;
}

bool CoefPool::isOne(Coef c) const {
  if (c == kCoefOne)
    return true;
  const word_t *v = at(c);
  if (v[0] != 1)
    return false;
  for (int i = 1; i < words_; ++i)
    if (v[i] != 0)
      return false;
  return true;
}

bool CoefPool::isZero(Coef c) const {
  const word_t *v = at(c);
  for (int i = 0; i < words_; ++i)
    if (v[i] != 0)
      return false;
  return true;
}

void CoefPool::addTo(Coef sum, Coef c) {
  word_t *s = mutableAt(sum);
  const word_t *v = at(c);
  for (int i = 0; i < words_; ++i)
    s[i] ^= v[i];
}

Coef CoefPool::make(const word_t *v) {
  assert(fieldState.defined() && words_ == NumWords);
  bool one = v[0] == 1;
  for (int i = 1; one && i < words_; ++i)
    one = v[i] == 0;
  if (one)
    return kCoefOne;
  assert(v < store_.data() || v >= store_.data() + store_.size());
  if (2 * (sharedCount_ + 1) > sharedTable_.size())
    growShared();
  const std::uint32_t hash = hashOf(v);
  const std::size_t mask = sharedTable_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Shared &e = sharedTable_[i];
    if (e.coef == 0) {
      const Coef c = slot();
      std::copy(v, v + words_, store_.data() + std::size_t(c) * words_);
      e = Shared{c, hash};
      shared_[c] = 1;
      ++sharedCount_;
      return c;
    }
    if (e.hash == hash && std::equal(v, v + words_, at(e.coef))) {
      ++refs_[e.coef];
      return e.coef;
    }
  }
}

std::uint32_t CoefPool::hashOf(const word_t *v) const {
  std::uint64_t h = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < words_; ++i)
    h = (h ^ v[i]) * 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

void CoefPool::growShared() {
  std::vector<Shared> old;
  old.swap(sharedTable_);
  sharedTable_.assign(old.empty() ? 64 : 2 * old.size(), Shared{0, 0});
  const std::size_t mask = sharedTable_.size() - 1;
  for (const Shared &e : old) {
    if (e.coef == 0)
      continue;
    std::size_t i = e.hash & mask;
    while (sharedTable_[i].coef != 0)
      i = (i + 1) & mask;
    sharedTable_[i] = e;
  }
}

void CoefPool::unshare(Coef c) {
  // c has just lost its last reference, so at() would refuse it; its value
  // is still in its slot.
  const std::size_t mask = sharedTable_.size() - 1;
  std::size_t i = hashOf(store_.data() + std::size_t(c) * words_) & mask;
  while (sharedTable_[i].coef != c)
    i = (i + 1) & mask;
  // Backward shift: move up every later entry of the run that may take
  // the freed place, so that no lookup stops early.
  for (std::size_t j = (i + 1) & mask; sharedTable_[j].coef != 0; j = (j + 1) & mask) {
    const std::size_t home = sharedTable_[j].hash & mask;
    const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
    if (!stays) {
      sharedTable_[i] = sharedTable_[j];
      i = j;
    }
  }
  sharedTable_[i] = Shared{0, 0};
  shared_[c] = 0;
  --sharedCount_;
}

Coef CoefPool::copy(Coef c) {
  assert(live(c));
  if (c != kCoefOne)
    ++refs_[c];
  return c;
}

Coef CoefPool::own(Coef c) {
  const Coef d = slot(); // may move the store: read c only afterwards
  std::copy(at(c), at(c) + words_, mutableAt(d));
  return d;
}

void CoefPool::release(Coef c) {
  assert(live(c));
  if (c != kCoefOne && --refs_[c] == 0) {
    if (shared_[c])
      unshare(c);
    free_.push_back(c);
  }
}

Coef CoefPool::slot() {
  Coef c;
  if (!free_.empty()) {
    c = free_.back();
    free_.pop_back();
  } else {
    c = static_cast<Coef>(refs_.size());
    refs_.push_back(0);
    shared_.push_back(0);
    store_.resize(store_.size() + words_);
  }
  refs_[c] = 1;
  return c;
}
