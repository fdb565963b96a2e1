// Rabin's irreducibility test: m of degree K is irreducible iff m divides
// x^(2^K) - x and gcd(x^(2^(K/p)) - x, m) = 1 for every prime p dividing K.
#include "irreducible.h"

#include <algorithm>
#include <vector>

#include "clmul.h"
#include "poly_words.h"

namespace {

std::vector<int> primeFactors(int n) {
  std::vector<int> primes;
  for (int p = 2; p * p <= n; ++p) {
    if (n % p != 0)
      continue;
    primes.push_back(p);
    while (n % p == 0)
      n /= p;
  }
  if (n > 1)
    primes.push_back(n);
  return primes;
}

// True when gcd(u, m) = 1. u has m.words() words; Euclid by shifted XORs.
bool coprimeWithModulus(const std::vector<word_t> &u, const Modulus &m) {
  const int n = wordsForBit(m.degree());
  std::vector<word_t> a(m.poly(), m.poly() + n);
  std::vector<word_t> b(n, 0);
  std::copy(u.begin(), u.end(), b.begin());
  int da = m.degree();
  int db = polyDegree(b.data(), n);
  while (db >= 0) {
    while (da >= db) {
      xorShifted(a.data(), n, b.data(), wordsForBit(db), da - db);
      da = polyDegree(a.data(), wordsForBit(da));
    }
    std::swap(a, b);
    std::swap(da, db);
  }
  return da == 0;
}

} // namespace

bool isIrreducible(const Modulus &m) {
  const int k = m.degree();
  if (k == 1)
    return true;
  const int n = m.words();
  std::vector<int> checkpoints;
  for (int p : primeFactors(k))
    checkpoints.push_back(k / p);

  std::vector<word_t> x(n, 0);
  x[0] = 2;
  std::vector<word_t> h = x; // x^(2^i) mod m
  std::vector<word_t> square(2 * n);
  for (int i = 1; i <= k; ++i) {
    clsquareWords(h.data(), n, square.data());
    m.reduce(square.data(), 2 * n);
    std::copy(square.begin(), square.begin() + n, h.begin());
    if (std::find(checkpoints.begin(), checkpoints.end(), i) != checkpoints.end()) {
      std::vector<word_t> diff = h;
      diff[0] ^= 2;
      if (!coprimeWithModulus(diff, m))
        return false;
    }
  }
  return h == x;
}
