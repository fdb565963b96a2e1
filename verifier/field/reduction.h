// Reduction modulo the minimal polynomial m of degree K. Sparse moduli (a few
// terms, all low enough that two passes suffice: the usual trinomials and
// pentanomials) fold the high part down by shifts and XORs. All others clear
// the high part 64 bits at a time, top down: a table indexed by a byte gives
// the byte of the quotient that clears it (and what that does to the bytes
// below), and the 64-bit quotient digit times m is subtracted with one row of
// carry-less products.
#pragma once

#include <vector>

#include "field_state.h"

class Modulus {
public:
  // m has degree `degree` (bit `degree` set, 2 <= degree <= kMaxFieldDegree)
  // and wordsForBit(degree) words.
  void build(const word_t *m, int degree);

  // Reduces p (pw words, any content) modulo m in place: afterwards every bit
  // at position degree or above is zero and the residue is p[0 .. words()).
  void reduce(word_t *p, int pw) const;

  // v := v * x mod m, for a reduced v of words() words.
  void mulX(word_t *v) const;

  int degree() const { return degree_; }
  // Words of a reduced vector: wordsForBit(degree - 1).
  int words() const { return words_; }
  // m itself, wordsForBit(degree) words.
  const word_t *poly() const { return poly_.data(); }
  bool sparse() const { return sparse_; }

private:
  void reduceSparse(word_t *p, int pw) const;
  void reduceTable(word_t *p, int pw) const;

  int degree_ = 0;
  int words_ = 0;
  std::vector<word_t> poly_;
  std::vector<word_t> low_;   // m without its leading term, words_ words
  std::vector<int> lowTerms_; // exponents of m below the leading one, descending
  bool sparse_ = false;
  // For every byte v, the q of degree below 8 whose product q*m has the
  // bits K .. K+7 equal to v, and the bits K-56 .. K+7 of that product.
  std::vector<unsigned char> quotientByte_;
  std::vector<word_t> window_;
};

// The modulus of the current field; setMinpoly replaces it.
extern Modulus fieldModulus;

// true: build every later modulus with the table, sparse or not; false: choose
// by the shape of m. For tests and measurements; takes effect at the next
// Modulus::build.
void forceTableReduction(bool force);
