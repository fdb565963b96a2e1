// polyverify --witness against an independent simulator: for faulty algen
// multipliers of every kind, the printed witness must make the circuit's Z
// differ from the fault-free circuit's Z (the simulator of the algen tests
// runs both), the printed words must be the simulated ones, and for one
// fault (a wrong input or a wrong gate type) the injected gate must be a
// suspect, with two others at most. Also: a remainder of more than
// 10,000 terms, orders that stop the reduction early (a witness by random
// simulation for a faulty circuit; none, with the warning, for a correct one).
#include "alg_sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

namespace {

std::string capture(const std::string &command) {
  std::string out;
  std::FILE *p = popen(command.c_str(), "r");
  char buf[65536];
  for (std::size_t n; p != nullptr && (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
    out.append(buf, n);
  if (p != nullptr)
    pclose(p);
  return out;
}

std::string algen(const std::string &kind, unsigned k, unsigned bugs, unsigned seed) {
  return capture(std::string(ALGEN) + " --kind " + kind + " --k " + std::to_string(k) + " --bug " +
                 std::to_string(bugs) + " --seed " + std::to_string(seed));
}

struct Output {
  std::string out, err;
};

Output polyverify(const std::string &problem, const std::string &name) {
  // The process id keeps runs of this test in other build trees apart.
  const std::string path = ::testing::TempDir() + name + "_" + std::to_string(getpid()) + ".alg";
  std::ofstream(path) << problem;
  return {capture(std::string(POLYVERIFY) + " -w " + path + " 2>" + path + ".err"),
          capture("cat " + path + ".err")};
}

// The rest of the line that starts with key, or "?" when there is none.
std::string field(const std::string &out, const std::string &key) {
  const std::string text = "\n" + out;
  const std::size_t at = text.find("\n" + key);
  if (at == std::string::npos)
    return "?";
  const std::size_t from = at + 1 + key.size();
  return text.substr(from, text.find('\n', from) - from);
}

std::vector<std::string> words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;)
    w.push_back(s);
  return w;
}

// polyverify's hex form of bits (bit i = coefficient of X^i).
std::string hex(const std::vector<int> &bits) {
  std::string s;
  for (std::size_t i = 0; i < bits.size(); i += 4) {
    int digit = 0;
    for (std::size_t j = 0; j < 4 && i + j < bits.size(); ++j)
      digit |= bits[i + j] << j;
    s.insert(s.begin(), "0123456789abcdef"[digit]);
  }
  s.erase(0, std::min(s.find_first_not_of('0'), s.size() - 1));
  return "0x" + s;
}

// The input words and Z of circuit c with the inputs named in ones at 1.
struct Words {
  std::vector<int> a, b, z;
};
Words simulateOnes(const AlgCircuit &c, const std::vector<std::string> &ones) {
  auto isOne = [&](unsigned var) {
    return std::find(ones.begin(), ones.end(), c.vars[var]) != ones.end();
  };
  Words w;
  std::vector<uint64_t> a, b;
  for (unsigned i = 0; i < c.k; ++i) {
    w.a.push_back(isOne(c.aBits[i]));
    w.b.push_back(isOne(c.bBits[i]));
    a.push_back(w.a.back());
    b.push_back(w.b.back());
  }
  for (uint64_t bit : simulate(c, a, b))
    w.z.push_back(static_cast<int>(bit & 1));
  return w;
}

// Checks the witness polyverify printed for faulty against the simulator.
void checkWitness(const std::string &faulty, const std::string &correct, const Output &run) {
  AlgCircuit bad, good;
  ASSERT_EQ(parseAlg(faulty, bad), "");
  ASSERT_EQ(parseAlg(correct, good), "");
  ASSERT_NE(field(run.out, "WITNESS:"), "?") << run.out.substr(0, 2000);
  const std::vector<std::string> ones = words(field(run.out, "WITNESS:"));
  for (const std::string &name : ones)
    EXPECT_TRUE(name[0] == 'a' || name[0] == 'b') << name << " is no input";
  const Words got = simulateOnes(bad, ones), want = simulateOnes(good, ones);
  EXPECT_NE(got.z, want.z) << "the witness does not fail";
  const std::vector<std::string> values = words(field(run.out, "VALUES:"));
  auto value = [&](const std::string &name) {
    const auto it = std::find(values.begin(), values.end(), name);
    return it + 2 < values.end() ? it[2] : "?";
  };
  EXPECT_EQ(value("A"), hex(got.a));
  EXPECT_EQ(value("B"), hex(got.b));
  EXPECT_EQ(value("Z"), hex(got.z));
  EXPECT_EQ(
      field(run.out, "OUTPUT: Z = "),
      hex(got.z) + " expected " + hex(want.z) + " wrong bits:" + [&] {
        std::string s;
        for (unsigned i = 0; i < bad.k; ++i)
          if (got.z[i] != want.z[i])
            s += " " + bad.vars[bad.zBits[i]];
        return s;
      }());
}

// The gate named in algen's "// fault: NAME ..." line.
std::string faultyGate(const std::string &problem) {
  const std::string line = field(problem, "// fault: ");
  return line.substr(0, line.find(' '));
}

struct Case {
  const char *kind;
  unsigned k, bugs, seed;
  std::size_t minTerms; // of the remainder
};

// Seeds 1 give algen's faults of a wrong input, seeds 6 of a wrong gate type.
// Montgomery K=96 seed 21: a wrong input early in the reduction chain, whose
// flip reaches most of the circuit through the next quotient bit.
const Case kCases[] = {
    {"mastrovito", 8, 1, 1, 1},   {"montgomery", 16, 1, 2, 1},     {"karatsuba", 16, 1, 3, 1},
    {"mastrovito", 32, 2, 4, 1},  {"montgomery", 32, 3, 5, 1},     {"karatsuba", 24, 3, 6, 1},
    {"mastrovito", 163, 1, 2, 1}, {"karatsuba", 128, 1, 7, 10001}, {"mastrovito", 32, 1, 6, 1},
    {"montgomery", 32, 1, 6, 1},  {"karatsuba", 32, 1, 6, 1},      {"mastrovito", 64, 1, 1, 1},
    {"montgomery", 64, 1, 1, 1},  {"karatsuba", 64, 1, 1, 1},      {"montgomery", 48, 1, 7, 1},
    {"montgomery", 96, 1, 21, 1},
};

TEST(Witness, FaultyMultipliersAgainstTheSimulator) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(std::string(c.kind) + " K=" + std::to_string(c.k) + " bugs " +
                 std::to_string(c.bugs) + " seed " + std::to_string(c.seed));
    const std::string faulty = algen(c.kind, c.k, c.bugs, c.seed);
    const Output run = polyverify(faulty, c.kind);
    const std::string remainder = field(run.out, "FINAL RESULT: ");
    EXPECT_GE(std::count(remainder.begin(), remainder.end(), '+') + 1, long(c.minTerms));
    checkWitness(faulty, algen(c.kind, c.k, 0, c.seed), run);
    const std::vector<std::string> suspects = words(field(run.out, "SUSPECTS:"));
    // One faulty gate: it is listed, among a few others at most (the flip
    // test alone lists its whole XOR tree, 50 to 130 gates at 32-64 bits).
    if (c.bugs == 1) {
      EXPECT_EQ(std::count(suspects.begin(), suspects.end(), faultyGate(faulty)), 1)
          << faultyGate(faulty) << " is no suspect";
      EXPECT_LE(suspects.size(), 3u) << field(run.out, "SUSPECTS:");
    }
    EXPECT_LE(suspects.size(), 50u);
    EXPECT_EQ(run.err, "");
  }
}

// The declared variables in another order: all of them shuffled, or one
// input moved to the top (the pass stops early; the remainder holds gates).
std::string reorder(const std::string &problem, bool all, unsigned seed) {
  std::size_t from = 0;
  while (problem.compare(from, 2, "//") == 0)
    from = problem.find('\n', from) + 1;
  const std::size_t end = problem.find(';', from);
  std::vector<std::string> names;
  std::istringstream in(problem.substr(from, end - from));
  for (std::string s; std::getline(in, s, ',');)
    names.push_back(s.substr(s.find_first_not_of(' ')));
  std::mt19937 rng(seed);
  if (all) {
    std::shuffle(names.begin(), names.end(), rng);
  } else {
    const auto input = std::find(names.begin(), names.end(), "a1");
    std::rotate(names.begin() + 1, input, input + 1);
  }
  std::string line;
  for (const std::string &n : names)
    line += (line.empty() ? "" : ", ") + n;
  return problem.substr(0, from) + line + problem.substr(end);
}

TEST(Witness, OrdersThatStopTheReductionEarly) {
  // A faulty circuit: the random simulation finds the witness.
  const std::string faulty = algen("mastrovito", 16, 1, 3);
  const Output found = polyverify(reorder(faulty, false, 0), "input_on_top");
  EXPECT_NE(field(found.out, "FINAL RESULT: ").find("*g"), std::string::npos);
  checkWitness(faulty, algen("mastrovito", 16, 0, 3), found);

  // A correct circuit: no witness, and the warning.
  for (bool all : {false, true}) {
    const Output none = polyverify(reorder(algen("karatsuba", 8, 0, 1), all, 5), "correct");
    EXPECT_NE(field(none.out, "FINAL RESULT: "), "0");
    EXPECT_EQ(field(none.out, "WITNESS:"), "?");
    EXPECT_NE(field(none.out, "NO WITNESS: "), "?");
    EXPECT_EQ(none.err.rfind("Warning: the remainder still holds circuit variables (", 0), 0u)
        << none.err;
  }
}

} // namespace
