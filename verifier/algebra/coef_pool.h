// Coefficients of the terms of the current problem, stored side by side in
// one pool instead of one heap block each. A coefficient is a 32-bit handle;
// handle 0 is the field's one, which needs no storage, and gate-level
// circuits have one as almost every coefficient.
#pragma once

#include <cstdint>
#include <vector>

#include "field_state.h"

using Coef = std::uint32_t;

constexpr Coef kCoefOne = 0;

class CoefPool {
public:
  // Drops every coefficient and sizes the slots for the current field.
  void reset();

  // A handle holding v (NumWords words, not zero, not inside the pool).
  // One gives kCoefOne.
  Coef make(const word_t* v);
  // A handle of its own with the same value (one stays kCoefOne).
  Coef copy(Coef c);
  // A slot of its own with the same value, even for one: for sums built in
  // place.
  Coef own(Coef c);
  void release(Coef c);

  // The words of c; valid until the next make or copy.
  const word_t* at(Coef c) const { return store_.data() + std::size_t(c) * words_; }
  word_t* mutableAt(Coef c) { return store_.data() + std::size_t(c) * words_; }

  bool isOne(Coef c) const;
  int words() const { return words_; }

private:
  Coef slot();

  int words_ = 0;
  std::vector<word_t> store_; // slot 0 holds one
  std::vector<Coef> free_;
};

extern CoefPool coefPool;
