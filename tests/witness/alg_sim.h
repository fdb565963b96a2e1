// Test-side reader and simulator of generated multiplier problems, for
// checking witnesses independently of polyverify. It reads
// the .alg text independently of algen's own structures: variables, field,
// specification, the word definitions of Z, A and B and the gate polynomials
// over GF(2), and evaluates the gates on 64 input vectors at a time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct AlgCircuit {
  std::vector<std::string> vars; // in declaration order
  std::map<std::string, unsigned> index;
  std::vector<unsigned> minpoly; // exponents of the field polynomial
  unsigned k = 0;
  std::string spec; // the specification without blanks
  // Variable index of bit i of each word, from its definition X^i.
  std::vector<unsigned> zBits, aBits, bBits;
  struct GatePoly {
    unsigned out;
    std::vector<std::vector<unsigned>> terms; // GF(2) products of variables
    bool one = false;                         // constant term 1
  };
  std::vector<GatePoly> gates; // in file order
  unsigned faultLines = 0;     // "// fault:" comment lines
};

// Returns "" or what is wrong with the text.
std::string parseAlg(const std::string &text, AlgCircuit &c);

// Output words of Z's bits for the given input words (64 vectors per word).
std::vector<uint64_t> simulate(const AlgCircuit &c, const std::vector<uint64_t> &a,
                               const std::vector<uint64_t> &b);
