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
  free_.clear();
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
  const Coef c = slot();
  std::copy(v, v + words_, mutableAt(c));
  return c;
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
  if (c != kCoefOne && --refs_[c] == 0)
    free_.push_back(c);
}

Coef CoefPool::slot() {
  Coef c;
  if (!free_.empty()) {
    c = free_.back();
    free_.pop_back();
  } else {
    c = static_cast<Coef>(refs_.size());
    refs_.push_back(0);
    store_.resize(store_.size() + words_);
  }
  refs_[c] = 1;
  return c;
}
