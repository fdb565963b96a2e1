// AlphaPoly: construction, arithmetic and tests of field elements over the
// coefficient-vector routines.
#include "alpha_poly.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "coeff_vector.h"
#include "poly_text.h"
#include "poly_words.h"

namespace {

// A zeroed vector of the current width; one word even before any field is
// defined, so that no element ever holds a null or empty block.
word_t *newVector() { return new word_t[std::max(NumWords, 1)](); }

} // namespace

AlphaPoly::AlphaPoly(std::string text) : bits(nullptr) {
  removeChars(&text, " ^");
  // Parse before allocating: a parse error ends the process (or, in the
  // fuzzing build, unwinds) with nothing to release.
  std::vector<unsigned long> exps = readTermExponents(text);
  std::unique_ptr<word_t[]> v(newVector());
  if (NumWords >= 1) {
    // Terms below K set their bit (a repeated term counts once). Terms of K
    // or more are reduced: the distinct ones are added as powers of alpha.
    std::vector<unsigned long> high;
    for (unsigned long e : exps) {
      if (e < static_cast<unsigned long>(K))
        v[e / 64] |= word_t{1} << (e % 64);
      else
        high.push_back(e);
    }
    std::sort(high.begin(), high.end());
    high.erase(std::unique(high.begin(), high.end()), high.end());
    word_t power[kMaxWords];
    for (unsigned long e : high) {
      alphaPower(e, power);
      for (int i = 0; i < NumWords; ++i)
        v[i] ^= power[i];
    }
  }
  bits = v.release();
}

AlphaPoly::AlphaPoly(unsigned long n) : bits(newVector()) { alphaPower(n, bits); }

AlphaPoly::AlphaPoly(const AlphaPoly *other) : bits(newVector()) {
  std::copy(other->bits, other->bits + NumWords, bits);
}

AlphaPoly::~AlphaPoly() { delete[] bits; }

void AlphaPoly::add(const AlphaPoly *other) {
  for (int i = 0; i < NumWords; ++i)
    bits[i] ^= other->bits[i];
}

void AlphaPoly::mult(const AlphaPoly *other) { multExp(bits, other->bits); }

AlphaPoly *AlphaPoly::getInverse() const {
  auto *inverse = new AlphaPoly(0UL);
  invertVector(bits, inverse->bits);
  return inverse;
}

bool AlphaPoly::equals(const AlphaPoly *other) const {
  return std::equal(bits, bits + NumWords, other->bits);
}

bool AlphaPoly::isZero() const { return allZero(bits, NumWords); }

bool AlphaPoly::isOne() const {
  if (NumWords < 1)
    return true;
  return bits[0] == 1 && allZero(bits + 1, NumWords - 1);
}

std::string AlphaPoly::toString() const { return stringFromChar(bits); }

void AlphaPoly::removeChars(std::string *text, std::string chars) {
  text->erase(std::remove_if(text->begin(), text->end(),
                             [&chars](char c) { return chars.find(c) != std::string::npos; }),
              text->end());
}
