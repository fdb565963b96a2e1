// Polynomial recovery, verification in process, witnesses and suspects.
#include "check.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "error.h"
#include "fatal_error.h"
#include "field_def.h"
#include "problem_builder.h"
#include "problem_hook.h"
#include "problem_state.h"
#include "reduce.h"
#include "run_file.h"
#include "simulate.h"
#include "witness.h"

namespace gfverify {

using net2alg::AlgVariable;
using net2alg::GfField;
using net2alg::Translation;

namespace {

bool nonZero(const GfField::Element &e) {
  return std::any_of(e.begin(), e.end(), [](word_t w) { return w != 0; });
}

std::uint64_t next(std::uint64_t &state) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return state;
}

// The lanes whose specification is not zero.
std::uint64_t failingLanes(const Translation &t, const GfField &field,
                           const std::vector<std::uint64_t> &values, std::uint64_t lanes) {
  std::uint64_t failing = 0;
  for (unsigned lane = 0; lane < 64; ++lane)
    if (lanes >> lane & 1 &&
        nonZero(net2alg::evaluateSpec(t, field, wordValues(t, field, values, lane))))
      failing |= std::uint64_t{1} << lane;
  return failing;
}

} // namespace

std::string recoverPolynomial(const Translation &t, std::string &why) {
  const std::size_t k = t.vars[0].tail.size();
  if (t.wordNames.size() != 3 || t.vars[1].tail.size() != k || t.vars[2].tail.size() != k ||
      k < 2) {
    why = "--poly auto needs two operand words and a result of one width (at least 2 bits); "
          "give --poly";
    return {};
  }
  // Lane 0 only: A = x^(K-1), B = x, every other input 0.
  std::vector<std::uint64_t> values(t.vars.size(), 0);
  values[static_cast<std::size_t>(t.vars[1].tail[k - 1].vars[0])] = 1;
  values[static_cast<std::size_t>(t.vars[2].tail[1].vars[0])] = 1;
  net2alg::simulateGates(t, values);
  std::string text = "X^" + std::to_string(k);
  for (std::size_t i = k; i-- > 0;)
    if (values[static_cast<std::size_t>(t.vars[0].tail[i].vars[0])] & 1)
      text += i == 0 ? "+1" : i == 1 ? "+X" : "+X^" + std::to_string(i);
  if (text.size() < 3 || text.compare(text.size() - 2, 2, "+1") != 0) {
    why = "the netlist gives x^(K-1) * x = x^K mod " + text +
          ", whose constant term is 0: no field's polynomial; give --poly";
    return {};
  }
  const GfField field(net2alg::parseFieldPolynomial(text));
  if (!field.irreducible()) {
    why = "the netlist gives x^(K-1) * x = x^K mod " + text +
          ", which is not irreducible; give --poly";
    return {};
  }
  return text;
}

namespace {

// Feeds a coefficient in .alg syntax ("X^9+X^2+1"; of several exponents on
// one factor the last counts) to the builder in the canonical text that the
// language reads from it.
void coefficient(const std::string &text) {
  std::string canonical, factor;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t plus = std::min(text.find('+', start), text.size());
    factor = text.substr(start, plus - start);
    const std::size_t caret = factor.find('^');
    const std::size_t last = factor.rfind('^');
    const unsigned long exponent =
        caret == std::string::npos ? 1 : std::stoul(factor.substr(last + 1));
    if (!canonical.empty())
      canonical += '+';
    HandleMinpoly(canonical, factor.substr(0, caret).c_str(), exponent);
    start = plus + 1;
  }
  builder::coefficient(canonical);
}

// Runs `build`, which builds one problem and ends it, with the remainder and
// the suspects caught on their way out.
Remainder verifyWith(const std::function<void()> &build) {
  Remainder r;
  bool reduced = false;
  setResultSink([&](const Polynomial &rem) {
    reduced = true;
    r.zero = rem.empty();
    r.terms = rem.size();
    for (std::size_t k = 0; k < rem.size() && k < 32; ++k) {
      const std::string term = termText(rem[k]);
      if (k < 6)
        r.text += (k ? "+" : "") + term;
      std::vector<std::string> names;
      std::size_t start = term.front() == '(' ? term.find(")*") + 2 : 0;
      while (start < term.size()) {
        const std::size_t star = std::min(term.find('*', start), term.size());
        names.push_back(term.substr(start, star - start));
        start = star + 1;
      }
      r.vars.push_back(names);
    }
    if (rem.size() > 6)
      r.text += "+... (" + std::to_string(rem.size()) + " terms)";
  });
  setProblemHook([&](const SolvedProblem &p) {
    if (p.remainder.empty())
      return;
    for (const std::string &line : witness::analyze(p).lines) {
      std::istringstream words(line);
      std::string word;
      words >> word;
      if (word == "SUSPECTS:") {
        while (words >> word)
          r.suspects.push_back(word);
        r.suspectsInAll = r.suspects.size();
      } else if (line.rfind("SUSPECTS IN ALL: ", 0) == 0) {
        r.suspectsInAll = std::stoul(line.substr(17));
      }
    }
  });
  const auto unhook = [] {
    setResultSink(nullptr);
    setProblemHook(nullptr);
    problem.reset();
  };
  problem.reset();
  try {
    build();
  } catch (...) {
    unhook();
    throw;
  }
  unhook();
  if (!reduced)
    net2alg::fail("internal error: the verifier did not read the translated problem");
  return r;
}

} // namespace

void buildProblem(const Translation &t, const std::vector<int> &order) {
  // The order jumps through the translation's arrays, and a name or a
  // term's variables are one or two pointers further: their loads would
  // wait on each other and on the builder's calls, so the loops start those
  // of the variables a few places ahead (the prefetches are written out in
  // the loops: behind a helper function the compiler may drop them as calls
  // without effect). Halves the time of the loops at 571 bits.
  constexpr std::size_t kAhead = 8;
  const auto at = [&](std::size_t i) -> const AlgVariable & {
    return t.vars[static_cast<std::size_t>(order[i])];
  };
  std::vector<VarId> id(t.vars.size(), 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i + 2 * kAhead < order.size())
      __builtin_prefetch(&at(i + 2 * kAhead));
    if (i + kAhead < order.size())
      __builtin_prefetch(at(i + kAhead).name.data());
    id[static_cast<std::size_t>(order[i])] = builder::declare(at(i).name.c_str());
  }
  builder::defineField(t.field.text);

  // The specification as the problem states it (word powers made exact):
  // its factors are X, 1 and the words.
  std::set<std::string> words;
  std::map<std::string, VarId> wordId;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    if (t.vars[v].kind == AlgVariable::kWord) {
      words.insert(t.vars[v].name);
      wordId[t.vars[v].name] = id[v];
    }
  for (const net2alg::SpecTerm &term : net2alg::parseSpec(t.spec, words)) {
    if (!term.coef.empty())
      coefficient(term.coef);
    for (const net2alg::SpecFactor &f : term.factors) {
      const auto it = wordId.find(f.name);
      if (it != wordId.end())
        builder::variable(it->second);
      else
        builder::factor(f.name.c_str(), f.exponent);
    }
    builder::endTerm();
  }
  builder::endSpecification();

  // The polynomials of the words and gates, highest leading variable first;
  // each is the variable plus its tail (the builder puts the terms in order).
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i + 2 * kAhead < order.size())
      __builtin_prefetch(&at(i + 2 * kAhead));
    if (i + kAhead < order.size())
      __builtin_prefetch(at(i + kAhead).tail.data());
    if (i + kAhead / 2 < order.size())
      for (const net2alg::AlgTerm &term : at(i + kAhead / 2).tail)
        __builtin_prefetch(term.vars.begin());
    const int v = order[i];
    const AlgVariable &var = at(i);
    if (var.kind == AlgVariable::kInput)
      continue;
    builder::variable(id[static_cast<std::size_t>(v)]);
    builder::endTerm();
    for (const net2alg::AlgTerm &term : var.tail) {
      if (term.coef >= 0)
        coefficient(t.coefs[static_cast<std::size_t>(term.coef)]);
      else if (term.alpha > 0)
        builder::alphaPower(term.alpha);
      for (int u : term.vars)
        builder::variable(id[static_cast<std::size_t>(u)]);
      builder::endTerm();
    }
    builder::endCircuitPolynomial();
  }
}

Remainder verifyTranslation(const Translation &t, const std::vector<int> &order) {
  return verifyWith([&] {
    buildProblem(t, order);
    builder::endProblem();
  });
}

Remainder verifyAlg(const std::string &alg) {
  return verifyWith([&] {
    if (verifyText(alg.data(), alg.size()) != 0)
      net2alg::fail("internal error: the verifier did not read the translated problem");
  });
}

std::vector<std::uint64_t> randomVectors(const Translation &t, std::uint64_t seed) {
  std::vector<std::uint64_t> values(t.vars.size(), 0);
  std::uint64_t state = seed | 1;
  for (std::size_t v = 0; v < t.vars.size(); ++v)
    if (t.vars[v].kind == AlgVariable::kInput)
      values[v] = next(state);
  net2alg::simulateGates(t, values);
  return values;
}

Witness findWitness(const Translation &t, const Remainder &r, unsigned rounds) {
  Witness w;
  const GfField field(t.field);
  std::vector<int> byName;
  for (unsigned round = 0; round < rounds; ++round) {
    std::vector<std::uint64_t> values = randomVectors(t, 0x9e3779b97f4a7c15ull + round * 7919);
    // Rounds 1, 2, ...: the variables of remainder term round-1 set to 1 on
    // every vector (the inputs among them; a gate keeps its value).
    if (round >= 1 && round - 1 < r.vars.size()) {
      for (const std::string &name : r.vars[round - 1])
        for (std::size_t v = 0; v < t.vars.size(); ++v)
          if (t.vars[v].kind == AlgVariable::kInput && t.vars[v].name == name)
            values[v] = ~std::uint64_t{0};
      net2alg::simulateGates(t, values);
    }
    w.tried += 64;
    const std::uint64_t failing = failingLanes(t, field, values, ~std::uint64_t{0});
    if (failing) {
      w.found = true;
      w.values = std::move(values);
      w.failingLanes = failing;
      w.lane = static_cast<unsigned>(__builtin_ctzll(failing));
      return w;
    }
  }
  return w;
}

bool resultIsExplicit(const Translation &t) {
  int zTerms = 0;
  for (const net2alg::SpecTerm &term : t.specTerms)
    for (const net2alg::SpecFactor &f : term.factors)
      if (f.name == "Z") {
        if (term.factors.size() != 1 || !term.coef.empty() || f.exponent != 1)
          return false;
        ++zTerms;
      }
  return zTerms == 1;
}

std::vector<GfField::Element> wordValues(const Translation &t, const GfField &field,
                                         const std::vector<std::uint64_t> &values, unsigned lane) {
  std::vector<GfField::Element> words;
  for (std::size_t w = 0; w < t.wordNames.size(); ++w)
    words.push_back(net2alg::wordValue(t, field, values, static_cast<int>(w), lane));
  return words;
}

GfField::Element expectedResult(const Translation &t, const GfField &field,
                                std::vector<GfField::Element> words) {
  words[0] = field.zero();
  return net2alg::evaluateSpec(t, field, words);
}

} // namespace gfverify
