// One element of the current field GF(2^K): a polynomial in alpha of degree
// below K over GF(2), bit-packed. Elements are handled through pointers; a
// copy is made explicitly with the pointer constructor.
#pragma once

#include <string>

#include "field_state.h"

class AlphaPoly {
public:
  explicit AlphaPoly(std::string text); // "X^3+X+1"; blanks and carets ignored
  explicit AlphaPoly(unsigned long n);  // alpha^n; 0 gives one
  explicit AlphaPoly(const AlphaPoly *other);
  ~AlphaPoly();
  AlphaPoly(const AlphaPoly &) = delete;
  AlphaPoly &operator=(const AlphaPoly &) = delete;

  void add(const AlphaPoly *other);  // this += other
  void mult(const AlphaPoly *other); // this *= other
  AlphaPoly *getInverse() const;     // new element this^-1 (one for zero)
  bool equals(const AlphaPoly *other) const;
  bool isZero() const;
  bool isOne() const;
  std::string toString() const;

  static void setMinpoly(std::string text);
  static void removeChars(std::string *text, std::string chars);

  word_t *bits; // NumWords words, owned
};
