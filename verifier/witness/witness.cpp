// Witness search and the report lines; see witness.h.
#include "witness.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "circuit.h"
#include "coeff_vector.h"
#include "huge_alloc.h"
#include "poly_words.h"
#include "suspects.h"

namespace witness {

namespace {

// "0x..." with bit i the coefficient of X^i.
std::string hex(const word_t *v, int words) {
  int top = words - 1;
  while (top > 0 && v[top] == 0)
    --top;
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v[top]));
  std::string s = buf;
  for (int w = top - 1; w >= 0; --w) {
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v[w]));
    s += buf;
  }
  return s;
}

std::string joinNames(const Circuit &c, const Array<Var> &vars, std::size_t limit,
                      const char *sep) {
  std::string s;
  for (std::size_t i = 0; i < vars.size() && i < limit; ++i) {
    if (i > 0)
      s += sep;
    s += c.name(vars[i]);
  }
  return s;
}

class Search {
public:
  Search(const Circuit &c, const Limits &limits) : c_(c), limits_(limits) {
    for (Var v = 0; v < c.endVar(); ++v)
      if (c.isInput(v) && c.isUsed(v))
        inputs_.push_back(v);
  }

  // Candidates from the least-degree terms of a remainder that holds only
  // inputs: with a term's variables at 1 and all other inputs at 0, every
  // other term has a variable at 0. They are simulated together, one lane
  // each, and in the same pass the first round of random assignments (the
  // walk over the circuit, not the logic, is most of a pass): it counts as
  // that round when more witnesses are wanted.
  void fromRemainder(const Polynomial &remainder) {
    std::uint32_t least = ~0U;
    for (const PolyTerm &t : remainder)
      least = std::min(least, termDegree(t.term));
    LaneValuation lanes, next;
    lanes.bits.assign(c_.endVar(), 0);
    unsigned used = 0;
    for (const PolyTerm &t : remainder) {
      if (used == std::min(64U, limits_.witnesses))
        break;
      if (termDegree(t.term) != least)
        continue;
      VarList vl;
      termVars(t.term, vl);
      for (std::uint32_t j = 0; j < vl.size; ++j)
        lanes.bits[vl.ids[j]] |= std::uint64_t{1} << used;
      ++used;
    }
    next.bits.assign(c_.endVar(), 0);
    drawRound(next);
    simulateLanes(c_, lanes, next);
    keep(lanes, used == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << used) - 1);
    if (found_.size() < limits_.witnesses) {
      keep(next, ~std::uint64_t{0});
      tried_ = 1;
    }
  }

  // Random assignments, 64 per round, until enough witnesses are found or
  // the rounds (with any taken by fromRemainder) run out.
  void random(unsigned rounds) {
    LaneValuation lanes;
    lanes.bits.assign(c_.endVar(), 0);
    for (; tried_ < rounds && found_.size() < limits_.witnesses; ++tried_) {
      drawRound(lanes);
      simulateLanes(c_, lanes);
      keep(lanes, ~std::uint64_t{0});
    }
  }

  const std::vector<Array<Var>> &ones() const { return ones_; }
  const std::vector<Valuation> &found() const { return found_; }
  unsigned roundsTried() const { return tried_; }

private:
  void drawRound(LaneValuation &lanes) {
    for (Var v : inputs_)
      lanes.bits[v] = rng_();
  }

  // Keeps the failing lanes of those in mask, new assignments only.
  void keep(const LaneValuation &lanes, std::uint64_t mask) {
    std::vector<unsigned> taken;
    for (unsigned lane = 0; lane < 64 && ones_.size() < limits_.witnesses; ++lane) {
      if (((lanes.failing & mask) >> lane & 1) == 0)
        continue;
      Array<Var> ones;
      for (Var v : inputs_)
        if ((lanes.bits[v] >> lane) & 1)
          ones.push_back(v);
      if (std::find(ones_.begin(), ones_.end(), ones) != ones_.end())
        continue;
      ones_.push_back(ones);
      taken.push_back(lane);
    }
    if (taken.empty())
      return;
    std::vector<Valuation> vals = laneValuations(c_, lanes, taken);
    for (Valuation &val : vals)
      found_.push_back(std::move(val));
  }

  const Circuit &c_;
  const Limits &limits_;
  Array<Var> inputs_;
  std::mt19937_64 rng_{limits_.seed};
  std::vector<Array<Var>> ones_;
  std::vector<Valuation> found_;
  unsigned tried_ = 0;
};

// The value the specification c*W + S expects for W: zero when
// W = S/c = W + spec/c.
Array<word_t> expectedOutput(const Circuit &c, const OutputForm &form, const Valuation &val) {
  Array<word_t> expected(c.words());
  evaluate(c, c.spec(), val, expected.data());
  multExp(expected.data(), form.inverse.data());
  const word_t *got = val.wordValue(c, form.word);
  for (int w = 0; w < c.words(); ++w)
    expected[w] ^= got[w];
  return expected;
}

// The output bits that differ from the expected value: their variables to
// vars (when they have one), their text to text.
void wrongBits(const Circuit &c, const OutputForm &form, const Valuation &val, Array<Var> &vars,
               std::string *text) {
  const Array<word_t> expected = expectedOutput(c, form, val);
  const word_t *got = val.wordValue(c, form.word);
  for (int b = 0; b < 64 * c.words(); ++b)
    if (((got[b / 64] ^ expected[b / 64]) >> (b % 64)) & 1) {
      const Var v = form.bitOf[b];
      if (v != 0)
        vars.push_back(v);
      if (text != nullptr)
        *text += " " + (v != 0 ? c.name(v) : "X^" + std::to_string(b));
    }
}

// The VALUES line and, for an output word, the OUTPUT line.
void describe(const Circuit &c, const OutputForm &form, const Valuation &val, Report &report) {
  const int n = c.words();
  Array<word_t> spec(n);
  evaluate(c, c.spec(), val, spec.data());
  std::string line = "VALUES:";
  for (Var v = 0; v < c.endVar(); ++v)
    if (!c.isInput(v) && c.isWord(v))
      line += " " + c.name(v) + " = " + hex(val.wordValue(c, v), n);
  line += " specification = " + hex(spec.data(), n);
  report.lines.push_back(line);
  if (form.word == 0)
    return;
  line = "OUTPUT: " + c.name(form.word) + " = " + hex(val.wordValue(c, form.word), n) +
         " expected " + hex(expectedOutput(c, form, val).data(), n) + " wrong bits:";
  Array<Var> unused;
  wrongBits(c, form, val, unused, &line);
  report.lines.push_back(line);
}

Report analyzeProblem(const SolvedProblem &p, const Limits &limits) {
  Report report;
  if (p.remainder.empty())
    return report;
  const Circuit c(p);

  // Circuit variables left in the remainder: the reduction stopped early.
  Array<Var> inner;
  Array<std::uint8_t> seen(p.endVar, 0);
  for (const PolyTerm &t : p.remainder) {
    VarList vl;
    termVars(t.term, vl);
    for (std::uint32_t j = 0; j < vl.size; ++j)
      if (c.isCircuitVariable(vl.ids[j]) && !seen[vl.ids[j]]) {
        seen[vl.ids[j]] = 1;
        inner.push_back(vl.ids[j]);
      }
  }
  auto noWitness = [&](const std::string &why) {
    report.lines.push_back("NO WITNESS: " + why);
    if (!inner.empty())
      report.warning = "Warning: the remainder still holds circuit variables (" +
                       joinNames(c, inner, limits.namedVariables, ", ") +
                       (inner.size() > limits.namedVariables ? ", ..." : "") +
                       "); the variable order may have stopped the reduction early, so the "
                       "result does not show a fault";
    return report;
  };
  Search search(c, limits);
  bool onlyInputs = true;
  for (Var v : inner)
    onlyInputs = onlyInputs && c.isInput(v);
  if (onlyInputs)
    search.fromRemainder(p.remainder);
  search.random(search.found().empty() ? limits.rounds : limits.extraRounds);
  if (search.found().empty())
    return noWitness(std::string(onlyInputs ? "the remainder's candidates do not confirm"
                                            : "the remainder holds circuit variables") +
                     ", and none of " + std::to_string(64 * search.roundsTried()) +
                     " random assignments makes the specification non-zero");

  Array<Var> ones = search.ones().front();
  std::sort(ones.begin(), ones.end());
  report.lines.push_back("WITNESS:" + std::string(ones.empty() ? "" : " ") +
                         joinNames(c, ones, ones.size(), " "));
  const OutputForm form = outputForm(c);
  describe(c, form, search.found().front(), report);

  // A suspect lies in the fan-in cone of every wrong output bit of every
  // witness; without an output word, in that of some variable of the
  // specification.
  Array<Var> targets;
  if (form.word != 0)
    for (const Valuation &val : search.found())
      wrongBits(c, form, val, targets, nullptr);
  std::sort(targets.begin(), targets.end());
  targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
  const bool reachAll = !targets.empty();
  if (!reachAll) {
    const Circuit::Poly &spec = c.spec();
    for (std::uint32_t k = 0; k < spec.numTerms; ++k) {
      const Circuit::Term &t = c.term(spec.firstTerm + k);
      targets.insert(targets.end(), c.vars(t), c.vars(t) + t.numVars);
    }
  }
  const Array<Var> suspects = findSuspects(c, search.found(), targets, reachAll);
  report.lines.push_back("SUSPECTS:" + std::string(suspects.empty() ? "" : " ") +
                         joinNames(c, suspects, limits.listedSuspects, " "));
  if (suspects.size() > limits.listedSuspects)
    report.lines.push_back("SUSPECTS IN ALL: " + std::to_string(suspects.size()));
  return report;
}

} // namespace

void reuseFreedMemory() { hugeKeepFreed(std::size_t(128) << 20); }

Report analyze(const SolvedProblem &p, const Limits &limits) {
  Report report = analyzeProblem(p, limits);
  releaseBlocks(); // every array of the analysis is gone
  return report;
}

} // namespace witness
