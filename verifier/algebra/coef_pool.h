// Coefficients of the terms of the current problem, stored side by side in
// one pool instead of one heap block each. A coefficient is a 32-bit handle;
// handle 0 is the field's one, which needs no storage, and gate-level
// circuits have one as almost every coefficient. Handles are counted
// references: the reduction hands the same quotient coefficient to every
// product of a step, so a copy costs a counter, not a vector.
//
// Values made with make() are kept once: a product whose value the pool
// holds already gets another reference to it. A multiplier's reduction
// makes about K^2 products alpha^i * alpha^j with only about 2K distinct
// values, so this keeps the pool at kilobytes instead of K^2 slots of K
// bits. Slots from own() are private to their owner and are not shared.
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

#include "field_state.h"
#include "huge_alloc.h"

using Coef = std::uint32_t;

constexpr Coef kCoefOne = 0;

class CoefPool {
public:
  // Drops every coefficient and sizes the slots for the current field.
  void reset();

  // A new handle holding v (NumWords words, not inside the pool). One gives
  // kCoefOne.
  Coef make(const word_t *v);
  // Another reference to the value of c. The value is shared: only own()
  // gives a slot that may be changed.
  Coef copy(Coef c);
  // A slot of its own with the value of c, even for one: for sums built in
  // place.
  Coef own(Coef c);
  void release(Coef c);

  // The words of c; valid until the next make or own.
  const word_t *at(Coef c) const {
    assert(live(c));
    return store_.data() + std::size_t(c) * words_;
  }
  // Only for a slot that own() returned and nothing else refers to.
  word_t *mutableAt(Coef c) {
    assert(c != kCoefOne && live(c) && !shared_[c]);
    return store_.data() + std::size_t(c) * words_;
  }
  // c is one, or a handle that has not been released since make/own/copy.
  bool live(Coef c) const { return c == kCoefOne || (c < refs_.size() && refs_[c] > 0); }

  bool isOne(Coef c) const;
  bool isZero(Coef c) const;
  // sum += c, for a slot that own() returned.
  void addTo(Coef sum, Coef c);
  int words() const { return words_; }

private:
  // An entry of the table of shared values (open addressing, linear
  // probing, at most half full).
  struct Shared {
    Coef coef; // 0: empty
    std::uint32_t hash;
  };

  Coef slot();
  std::uint32_t hashOf(const word_t *v) const;
  void growShared();
  void unshare(Coef c);

  int words_ = 0;
  std::vector<word_t, HugeAllocator<word_t>> store_; // slot 0 holds one
  std::vector<std::uint32_t> refs_;                  // references per slot
  std::vector<std::uint8_t> shared_;                 // 1: the slot is in sharedTable_
  std::vector<Coef> free_;
  std::vector<Shared> sharedTable_;
  std::size_t sharedCount_ = 0;
};

extern CoefPool coefPool;
