// The circuit model and its simulation; see circuit.h.
#include "circuit.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "coeff_vector.h"
#include "poly_words.h"

namespace witness {

namespace {

bool isOneVector(const word_t *v, int words) {
  if (v[0] != 1)
    return false;
  return allZero(v + 1, words - 1);
}

// out := the value of poly, where bitOf(v) gives bit v (0 or 1) and
// wordOf(v) the words of word v.
template <class BitOf, class WordOf>
void evalPoly(const Circuit &c, const Circuit::Poly &poly, BitOf bitOf, WordOf wordOf, word_t *out,
              word_t *scratch) {
  const int n = c.words();
  std::fill(out, out + n, word_t{0});
  for (std::uint32_t k = 0; k < poly.numTerms; ++k) {
    const Circuit::Term &t = c.term(poly.firstTerm + k);
    const Var *vars = c.vars(t);
    bool zero = false, product = false;
    for (std::uint32_t j = 0; j < t.numVars && !zero; ++j)
      if (c.isWord(vars[j]))
        product = true;
      else
        zero = bitOf(vars[j]) == 0;
    if (zero)
      continue;
    const word_t *coef = c.coef(t);
    if (!product) {
      if (coef == nullptr)
        out[0] ^= 1;
      else
        for (int w = 0; w < n; ++w)
          out[w] ^= coef[w];
      continue;
    }
    if (coef == nullptr) {
      std::fill(scratch, scratch + n, word_t{0});
      scratch[0] = 1;
    } else {
      std::copy(coef, coef + n, scratch);
    }
    for (std::uint32_t j = 0; j < t.numVars; ++j)
      if (c.isWord(vars[j]))
        multExp(scratch, wordOf(vars[j]));
    for (int w = 0; w < n; ++w)
      out[w] ^= scratch[w];
  }
}

// The value of a bit's definition: XOR of the ANDs of its terms.
template <class T, class BitOf>
T evalBits(const Circuit &c, const Circuit::Poly &poly, BitOf bitOf, T allOnes) {
  T sum = 0;
  for (std::uint32_t k = 0; k < poly.numTerms; ++k) {
    const Circuit::Term &t = c.term(poly.firstTerm + k);
    const Var *vars = c.vars(t);
    T product = allOnes;
    for (std::uint32_t j = 0; j < t.numVars; ++j)
      product &= bitOf(vars[j]);
    sum ^= product;
  }
  return sum;
}

} // namespace

// The usual file lists each gate above what it reads: every circuit
// polynomial's leading term is its gate's output alone, with coefficient
// one, and the leading variables rise from one polynomial to the next. Then
// every polynomial defines its leading variable (unless the specification
// reads another of its variables that it could be solved for), and the
// definitions from the last polynomial up are in dependency order (the
// other terms of a polynomial are lower than its leading one, so they hold
// only variables after its leading variable). The copy takes that for
// granted and does most of the work; a circuit that is otherwise is put
// back as copied and takes the general steps (chooseDefinitions,
// sortDefinitions, classify).
Circuit::Circuit(const SolvedProblem &p)
    : words_(coefPool.words()), endVar_(p.endVar), name_(p.name), def_(p.endVar, kInput),
      flags_(p.endVar, 0), position_(p.endVar, 0) {
  coefStore_.resize(words_); // index 0 stands for one and is never read
  std::size_t terms = p.spec.size();
  for (const Generator &g : p.circuit.generators)
    terms += g.size;
  termStart_.reserve(terms + 1);
  termStart_.push_back(0);
  termCoef_.reserve(terms);
  // Gates have terms of one or two variables, longer ones have a list in
  // termArena, and a gate of two inputs has at most three variables in two
  // terms (its output, then both inputs: an AND). Room for more would sit
  // unused in the analysis's memory (5 MB at 571 bits); copyCircuit grows
  // the array for a circuit that needs it.
  const std::size_t gateTerms = terms - p.spec.size();
  termVars_.reserve(2 * p.spec.size() + gateTerms + gateTerms / 2 + 2 * termArena.size() + 4096);
  polys_.reserve(p.circuit.size() + 1);
  spec_ = addPoly(p.spec.data(), p.spec.data() + p.spec.size());
  // The specification's variables, ascending, each once.
  Array<Var> specVars(termVars_.begin(), termVars_.end());
  std::sort(specVars.begin(), specVars.end());
  specVars.erase(std::unique(specVars.begin(), specVars.end()), specVars.end());
  for (Var v : specVars)
    flags_[v] |= kInSpec;
  // Per variable of the specification (read only for them): the one
  // circuit polynomial that holds it, 0 for none, kMany for several.
  RawArray<std::uint32_t> genOf(endVar_);
  readerStart_.assign(endVar_ + 1, 0);
  Array<std::uint32_t> coefTerms;
  if (copyCircuit(p.circuit, terms - p.spec.size(), coefTerms)) {
    readersOfLeads();
    for (Var v : specVars) {
      std::uint32_t by = def_[v] != kInput ? static_cast<std::uint32_t>(def_[v]) : 0;
      for (const Var *r = readersBegin(v); r != readersEnd(v); ++r) {
        const auto g = static_cast<std::uint32_t>(def_[*r]);
        if (by != g)
          by = by == 0 ? g : kMany;
      }
      genOf[v] = by;
    }
    if (specSolvesLeads(genOf, specVars)) {
      classifyWords(coefTerms);
      return;
    }
    readers_.clear();
  }
  // Back to the polynomials as copied.
  for (std::size_t g = spec_ + 1; g < polys_.size(); ++g) {
    --polys_[g].firstTerm;
    ++polys_[g].numTerms;
  }
  def_.assign(endVar_, kInput);
  position_.assign(endVar_, 0);
  order_.clear();
  markCircuit(genOf);
  chooseDefinitions(genOf, specVars);
  sortDefinitions();
  classify();
  buildReaders();
}

std::string Circuit::name(Var v) const { return std::string(name_(v)); }

std::uint32_t Circuit::addPoly(const PolyTerm *begin, const PolyTerm *end) {
  const Poly poly{static_cast<std::uint32_t>(termCoef_.size()),
                  static_cast<std::uint32_t>(end - begin)};
  for (const PolyTerm *t = begin; t != end; ++t) {
    VarList vl;
    termVars(t->term, vl);
    termVars_.insert(termVars_.end(), vl.ids, vl.ids + vl.size);
    for (std::uint32_t j = 0; j < vl.size; ++j)
      flags_[vl.ids[j]] |= kUsed;
    std::uint32_t coef = kOne;
    if (t->coef != kCoefOne && !coefPool.isOne(t->coef)) {
      coef = static_cast<std::uint32_t>(coefStore_.size() / words_);
      const word_t *value = coefPool.at(t->coef);
      coefStore_.insert(coefStore_.end(), value, value + words_);
    }
    termStart_.push_back(static_cast<std::uint32_t>(termVars_.size()));
    termCoef_.push_back(coef);
  }
  polys_.push_back(poly);
  return static_cast<std::uint32_t>(polys_.size() - 1);
}

// As addPoly for every circuit polynomial, writing the arrays in place (a
// 571-bit multiplier has over a million terms), and the terms whose
// coefficient is not one (coefTerms). Each polynomial is taken to define
// its leading variable (def_, position_, order_: the last polynomial's
// first, its range without the leading term, which counts as leading
// (flags_)), and readerStart_[v] counts the other terms' variables. True
// when the circuit is usual (see the constructor).
bool Circuit::copyCircuit(const Ideal &circuit, std::size_t circuitTerms,
                          Array<std::uint32_t> &coefTerms) {
  const std::size_t gens = circuit.size();
  const auto terms0 = static_cast<std::uint32_t>(termCoef_.size());
  const std::size_t terms = circuitTerms;
  std::size_t atAll = termVars_.size(); // where the next term's variables go
  termCoef_.resize(terms0 + terms);
  termStart_.resize(terms0 + terms + 1);
  std::uint32_t kAll = terms0; // the next term
  // A term of one or two variables (nearly all of them) is decoded without
  // branches: both slots are written and the next term overwrites what does
  // not belong to this one; a missing variable stands for the one present
  // (counted zero times), or for the unused variable 0.
  auto copyTerms = [&](const PolyTerm *from, const PolyTerm *end) {
    // Locals, which the stores below cannot alias.
    std::size_t at = atAll;
    const std::uint32_t k0 = kAll;
    const auto n = static_cast<std::uint32_t>(end - from);
    Var *vars = termVars_.data();
    std::uint32_t *const counts = readerStart_.data();
    std::uint32_t *const coefOut = termCoef_.data() + k0, *const startOut =
                                                              termStart_.data() + k0 + 1;
    for (std::uint32_t j = 0; j < n; ++j) {
      const PolyTerm &t = from[j];
      if (t.term.ext == 0) {
        // The key holds ~id for each variable present, 0 for none.
        const auto high = static_cast<std::uint32_t>(t.term.key >> 32);
        const auto low = static_cast<std::uint32_t>(t.term.key);
        const std::uint32_t has0 = high != 0 ? 1 : 0, has1 = low != 0 ? 1 : 0;
        const Var v0 = ~high & (0U - has0);
        const Var v1 = (~low & (0U - has1)) | (v0 & (has1 - 1U));
        vars[at] = v0;
        vars[at + 1] = v1;
        counts[v0] += has0;
        counts[v1] += has1;
        at += has0 + has1;
      } else {
        const VarId *list = termArena.data() + (t.term.ext - 1);
        // Room for this list and two variables for each term after it in
        // this call (see room below).
        const std::size_t need = list[0] + 2 * (n - j);
        if (termVars_.size() - at < need) {
          termVars_.resize(at + need);
          vars = termVars_.data();
        }
        for (VarId i = 0; i < list[0]; ++i) {
          vars[at++] = list[1 + i];
          ++counts[list[1 + i]];
        }
      }
      std::uint32_t coef = kOne;
      if (t.coef != kCoefOne && !coefPool.isOne(t.coef)) {
        coef = static_cast<std::uint32_t>(coefStore_.size() / words_);
        const word_t *value = coefPool.at(t.coef);
        coefStore_.insert(coefStore_.end(), value, value + words_);
        coefTerms.push_back(k0 + j);
      }
      coefOut[j] = coef;
      startOut[j] = static_cast<std::uint32_t>(at);
    }
    atAll = at;
    kAll = k0 + n;
  };

  // A block of polynomials at a time (their ranges and leading terms, then
  // their terms), so that the terms are read from memory once.
  constexpr std::size_t kBlock = 1024;
  order_.resize(gens);
  std::uint32_t usual = 1;
  Var previous = 0;
  std::uint32_t next = terms0;
  // Locals, which the stores below cannot alias.
  const Generator *generators = circuit.generators.data();
  const Var endVar = endVar_;
  const std::uint32_t firstPoly = spec_ + 1;
  Var *order = order_.data();
  polys_.resize(firstPoly + gens);
  Poly *polys = polys_.data() + firstPoly;
  std::int32_t *def = def_.data();
  std::uint32_t *position = position_.data(), *counts = readerStart_.data();
  std::uint8_t *flags = flags_.data();
  // A term of one or two variables takes two places while it is decoded:
  // before a block, room for two variables a term, within the constructor's
  // reserve while it lasts (growing past it reallocates).
  auto room = [&](std::size_t blockTerms) {
    const std::size_t need = atAll + 2 * blockTerms + 2;
    if (termVars_.size() < need)
      termVars_.resize(std::max(need, termVars_.capacity()));
  };
  for (std::size_t i0 = 0; i0 < gens; i0 += kBlock) {
    const std::size_t i1 = std::min(gens, i0 + kBlock);
    const std::uint32_t blockStart = next;
    const PolyTerm *end = generators[i0].first;
    bool joined = true; // the block's terms lie one after another
    for (std::size_t i = i0; i < i1; ++i) {
      const PolyTerm *first = generators[i].first;
      const std::uint32_t size = generators[i].size;
      joined &= first == end;
      end = first + size;
      polys[i] = {next + 1, size - 1};
      next += size;
      // The leading term: one variable, coefficient one, after the
      // previous polynomial's; anything else (variable 0 stands in) makes
      // the circuit unusual.
      const std::uint64_t key = first->term.key;
      const auto high = static_cast<std::uint32_t>(key >> 32);
      const std::uint32_t ok = (first->term.ext == 0) & (high != 0) &
                               (static_cast<std::uint32_t>(key) == 0) & (~high > previous) &
                               (~high < endVar) & (first->coef == kCoefOne);
      const Var own = ~high & (0U - ok);
      usual &= ok;
      previous = own;
      const auto at = static_cast<std::uint32_t>(gens - 1 - i);
      order[at] = own;
      def[own] = static_cast<std::int32_t>(firstPoly + i);
      position[own] = at;
      flags[own] |= kLeadsOne;
      --counts[own]; // the copy counts it
    }
    room(next - blockStart);
    if (joined)
      copyTerms(generators[i0].first, end);
    else
      for (std::size_t i = i0; i < i1; ++i)
        copyTerms(generators[i].first, generators[i].first + generators[i].size);
  }
  termVars_.resize(atAll);
  return usual != 0;
}

// For a usual circuit: the readers (as buildReaders) from the counts of the
// copy, and the used variables: those of the specification, the defined
// ones and those read.
void Circuit::readersOfLeads() {
  // Locals, which the stores below cannot alias.
  const Var endVar = endVar_;
  std::uint32_t *start = readerStart_.data();
  std::uint8_t *flags = flags_.data();
  const std::int32_t *def = def_.data();
  // Each count becomes the end of its variable's list; filling from the
  // end, the last polynomial first, leaves it the list's start.
  std::uint32_t sum = 0;
  for (Var v = 0; v < endVar; ++v) {
    const std::uint32_t n = start[v];
    sum += n;
    start[v] = sum;
    flags[v] |= (n != 0 || def[v] != kInput) ? kUsed : 0;
  }
  start[endVar] = sum;
  readers_.resize(sum);
  Var *readers = readers_.data();
  const Var *vars = termVars_.data(), *order = order_.data();
  const std::uint32_t *termStart = termStart_.data();
  const Poly *polys = polys_.data() + spec_ + 1;
  const std::size_t gens = order_.size();
  for (std::size_t i = 0; i < gens; ++i) {
    const Var v = order[gens - 1 - i];
    const std::uint32_t b = termStart[polys[i].firstTerm],
                        e = termStart[polys[i].firstTerm + polys[i].numTerms];
    if (e - b == 2) { // a gate of two inputs
      readers[--start[vars[b]]] = v;
      readers[--start[vars[b + 1]]] = v;
    } else {
      for (std::uint32_t j = b; j < e; ++j)
        readers[--start[vars[j]]] = v;
    }
  }
}

// For a circuit that is not usual: the used variables, how many leading
// terms start with each variable, and genOf, from the copy.
void Circuit::markCircuit(RawArray<std::uint32_t> &genOf) {
  for (Var v = 0; v < endVar_; ++v) {
    flags_[v] &= static_cast<std::uint8_t>(~kLeads);
    if ((flags_[v] & kInSpec) != 0)
      genOf[v] = 0;
  }
  for (std::uint32_t g = spec_ + 1; g < polys_.size(); ++g) {
    const Poly &poly = polys_[g];
    const Term lead = term(poly.firstTerm);
    if (lead.numVars > 0) {
      std::uint8_t &f = flags_[termVars_[lead.firstVar]];
      f |= (f & kLeadsOne) != 0 ? kLeadsMany : kLeadsOne;
    }
    for (std::uint32_t j = termStart_[poly.firstTerm];
         j < termStart_[poly.firstTerm + poly.numTerms]; ++j) {
      const Var v = termVars_[j];
      flags_[v] |= kUsed;
      if ((flags_[v] & kInSpec) != 0 && genOf[v] != g)
        genOf[v] = genOf[v] == 0 ? g : kMany;
    }
  }
}

// The circuit polynomial whose range holds term k (not a leading term of
// a usual circuit).
std::uint32_t Circuit::polyOfTerm(std::uint32_t k) const {
  const auto after =
      std::upper_bound(polys_.begin() + spec_ + 1, polys_.end(), k,
                       [](std::uint32_t t, const Poly &poly) { return t < poly.firstTerm; });
  return static_cast<std::uint32_t>(after - polys_.begin() - 1);
}

// Is v a term of its own in polynomial g that occurs in no other term?
bool Circuit::lone(std::uint32_t g, Var v) const {
  const Poly &poly = polys_[g];
  bool alone = false;
  for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms; ++k)
    alone = alone || (term(k).numVars == 1 && termVars_[termStart_[k]] == v);
  for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms && alone; ++k)
    for (std::uint32_t j = 0; j < term(k).numVars; ++j)
      alone = alone && (term(k).numVars == 1 || termVars_[termStart_[k] + j] != v);
  return alone;
}

// For a usual circuit: does chooseDefinitions's first step (the words of
// the specification) solve only polynomials for their leading variables?
// It solves polynomial g for v when g is the one circuit polynomial that
// holds v and v is lone in it, trying the specification's variables in
// ascending order; the leading variable is g's lowest. (Whether g's range
// still holds its leading term does not change whether another variable
// is lone in it.)
bool Circuit::specSolvesLeads(const RawArray<std::uint32_t> &genOf,
                              const Array<Var> &specVars) const {
  const std::size_t gens = order_.size();
  for (Var v : specVars) {
    const std::uint32_t g = genOf[v];
    if (g == 0 || g == kMany)
      continue;
    const Var own = order_[gens - (g - spec_)];
    if (v == own || ((flags_[own] & kInSpec) != 0 && genOf[own] == g))
      continue;
    if (lone(g, v))
      return false;
  }
  return true;
}

// For a usual circuit: the words are the variables whose definitions have
// a coefficient other than one and, recursively, their readers (classify's
// rule without a pass over every definition).
void Circuit::classifyWords(const Array<std::uint32_t> &coefTerms) {
  const std::size_t gens = order_.size();
  for (std::uint32_t k : coefTerms) {
    const Var v = order_[gens - (polyOfTerm(k) - spec_)];
    if ((flags_[v] & kWord) == 0) {
      flags_[v] |= kWord;
      wordOrder_.push_back(v);
    }
  }
  for (std::size_t i = 0; i < wordOrder_.size(); ++i)
    for (const Var *r = readersBegin(wordOrder_[i]); r != readersEnd(wordOrder_[i]); ++r)
      if ((flags_[*r] & kWord) == 0) {
        flags_[*r] |= kWord;
        wordOrder_.push_back(*r);
      }
  std::sort(wordOrder_.begin(), wordOrder_.end(),
            [&](Var a, Var b) { return position_[a] < position_[b]; });
  for (Var v : wordOrder_)
    wordSlots_.push_back({v, wordCount_++});
  std::sort(wordSlots_.begin(), wordSlots_.end());
}

// A circuit polynomial defines its leading variable when its leading term is
// that variable alone, the variable occurs in no other of its terms and
// leads no other polynomial: the usual case of a gate below its output in
// the variable order. Otherwise (the order puts a variable the gate reads
// above it), it defines one of its variables that is a term of its own and
// occurs nowhere else in it, preferring one that the specification reads
// (the words) or that leads no other polynomial (an output leads only its own
// gate's polynomial, if any; a wire read by several gates leads theirs), then
// the highest. A polynomial that defines
// nothing is a constraint that a simulated assignment must satisfy.
// Whatever the choice, every assignment computed from the definitions makes
// every defining polynomial zero, so a failing assignment is a true
// counterexample.
void Circuit::chooseDefinitions(const RawArray<std::uint32_t> &genOf, const Array<Var> &specVars) {
  // The circuit's polynomials are 1 .. gens (0 is the specification).
  const auto gens = static_cast<std::uint32_t>(polys_.size() - 1);
  Array<std::uint32_t> count; // per variable, for the second pass only
  // The variable g defines: in the first pass only its leading variable.
  auto choose = [&](std::uint32_t g, bool firstPass) -> Var {
    const Poly &poly = polys_[g];
    const Term lead = term(poly.firstTerm);
    const Var own = lead.numVars > 0 ? termVars_[lead.firstVar] : 0;
    if (firstPass) {
      // Every other term is lower, so it holds only variables below own:
      // a lone leading variable occurs nowhere else.
      const bool alone = lead.numVars == 1 && def_[own] == kInput;
      return alone && (leads(own) == 1 || (flags_[own] & kInSpec) != 0) ? own : 0;
    }
    for (std::uint32_t k = 0; k < poly.numTerms; ++k) {
      const Term t = term(poly.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        ++count[termVars_[t.firstVar + j]];
    }
    Var chosen = 0, fallback = 0;
    for (std::uint32_t k = 0; k < poly.numTerms && chosen == 0; ++k) {
      const Term t = term(poly.firstTerm + k);
      if (t.numVars != 1)
        continue;
      const Var v = termVars_[t.firstVar];
      if (count[v] != 1 || def_[v] != kInput)
        continue;
      if (leads(v) == (v == own ? 1U : 0U) || (flags_[v] & kInSpec) != 0)
        chosen = v;
      else if (fallback == 0)
        fallback = v;
    }
    for (std::uint32_t k = 0; k < poly.numTerms; ++k) {
      const Term t = term(poly.firstTerm + k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        count[termVars_[t.firstVar + j]] = 0;
    }
    return chosen != 0 ? chosen : fallback;
  };
  // First the words of the specification: a variable that the
  // specification reads and that occurs in one circuit polynomial only,
  // as a term of its own, is defined by it.
  Array<std::uint8_t> done(polys_.size(), 0);
  for (Var v : specVars) {
    const std::uint32_t g = genOf[v];
    if (g != 0 && g != kMany && !done[g] && lone(g, v) && solveFor(g, v))
      done[g] = 1;
  }
  Array<std::uint32_t> rest;
  for (std::uint32_t g = 1; g <= gens; ++g) {
    if (done[g])
      continue;
    const Var v = choose(g, true);
    if (v == 0 || !solveFor(g, v))
      rest.push_back(g);
  }
  if (!rest.empty())
    count.assign(endVar_, 0);
  for (std::uint32_t g : rest) {
    const Var v = choose(g, false);
    if (v == 0 || !solveFor(g, v)) {
      constraints_.push_back(g);
      constraintVars_.push_back(0);
    }
  }
}

// Makes poly the definition of v: v's term c*v goes, every other coefficient
// is divided by c. False (nothing changed) when c has no inverse, which
// happens only when the minimal polynomial is reducible.
bool Circuit::solveFor(std::uint32_t g, Var v) {
  Poly &poly = polys_[g];
  std::uint32_t at = poly.firstTerm;
  while (!(term(at).numVars == 1 && termVars_[termStart_[at]] == v))
    ++at;
  const std::uint32_t c = termCoef_[at];
  if (c != kOne) {
    Array<word_t> inverse(words_), check(words_);
    invertVector(coefStore_.data() + std::size_t(c) * words_, inverse.data());
    std::copy(inverse.begin(), inverse.end(), check.begin());
    multExp(check.data(), coefStore_.data() + std::size_t(c) * words_);
    if (!isOneVector(check.data(), words_))
      return false;
    for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms; ++k) {
      if (k == at)
        continue;
      if (termCoef_[k] == kOne) {
        termCoef_[k] = static_cast<std::uint32_t>(coefStore_.size() / words_);
        coefStore_.insert(coefStore_.end(), inverse.begin(), inverse.end());
      } else {
        multExp(coefStore_.data() + std::size_t(termCoef_[k]) * words_, inverse.data());
      }
    }
  }
  // Move the defining term to the front and leave it out of the range.
  // The terms become: the defining one, those after the first up to it, the
  // first, the rest; their variables are laid out again in that order.
  if (at != poly.firstTerm) {
    const std::uint32_t first = poly.firstTerm;
    scratchVars_.assign(termVars_.begin() + termStart_[first],
                        termVars_.begin() + termStart_[at + 1]);
    scratchCoef_.assign(termCoef_.begin() + first, termCoef_.begin() + at + 1);
    scratchStart_.assign(termStart_.begin() + first, termStart_.begin() + at + 2);
    const std::uint32_t base = termStart_[first];
    std::uint32_t out = base;
    auto placeFrom = [&](std::uint32_t k, std::uint32_t from) {
      const std::uint32_t b = scratchStart_[from - first] - base;
      const std::uint32_t e = scratchStart_[from - first + 1] - base;
      std::copy(scratchVars_.begin() + b, scratchVars_.begin() + e, termVars_.begin() + out);
      termCoef_[k] = scratchCoef_[from - first];
      termStart_[k] = out;
      out += e - b;
    };
    placeFrom(first, at);
    for (std::uint32_t k = first + 1; k < at; ++k)
      placeFrom(k, k);
    placeFrom(at, first);
  }
  ++poly.firstTerm;
  --poly.numTerms;
  def_[v] = static_cast<std::int32_t>(g);
  return true;
}

// A file in a suitable order lists every gate above what it reads, so its
// definitions taken from the last one up are in dependency order already.
bool Circuit::sortedByReadOrder() {
  Array<std::uint8_t> placed(endVar_, 0);
  for (std::size_t i = polys_.size(); i-- > 0;) {
    const Var v = definedBy(static_cast<std::uint32_t>(i));
    if (v == 0)
      continue;
    const Poly &poly = polys_[i];
    for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms; ++k)
      for (std::uint32_t j = 0; j < term(k).numVars; ++j) {
        const Var u = termVars_[termStart_[k] + j];
        if (def_[u] != kInput && !placed[u])
          return false;
      }
    placed[v] = 1;
    position_[v] = static_cast<std::uint32_t>(order_.size());
    order_.push_back(v);
  }
  return true;
}

// Depth-first over the definitions, without recursion: a variable goes into
// the order once everything its definition reads is there.
void Circuit::sortDefinitions() {
  if (sortedByReadOrder())
    return;
  order_.clear();
  enum : std::uint8_t { kNew, kOpen, kDone };
  struct Frame {
    Var v;
    std::uint32_t term, var; // the next variable to visit: term index, variable in it
  };
  Array<std::uint8_t> state(endVar_, kNew);
  Array<Frame> stack;
  for (Var root = 0; root < endVar_; ++root) {
    if (def_[root] == kInput || state[root] != kNew)
      continue;
    state[root] = kOpen;
    stack.push_back({root, 0, 0});
    while (!stack.empty()) {
      Frame &f = stack.back();
      const Poly &poly = polys_[def_[f.v]];
      while (f.term < poly.numTerms && f.var == term(poly.firstTerm + f.term).numVars) {
        ++f.term;
        f.var = 0;
      }
      if (f.term == poly.numTerms) {
        state[f.v] = kDone;
        position_[f.v] = static_cast<std::uint32_t>(order_.size());
        order_.push_back(f.v);
        stack.pop_back();
        continue;
      }
      const Var u = termVars_[termStart_[poly.firstTerm + f.term] + f.var++];
      if (def_[u] == kInput || state[u] == kDone)
        continue;
      if (state[u] == kOpen) {
        // A cycle (only under an order that hides the circuit's structure):
        // the definition that closes it becomes a constraint.
        const Var v = f.v;
        constraints_.push_back(static_cast<std::uint32_t>(def_[v]));
        constraintVars_.push_back(v);
        def_[v] = kInput;
        state[v] = kDone;
        stack.pop_back();
        continue;
      }
      state[u] = kOpen;
      stack.push_back({u, 0, 0});
    }
  }
}

// Also counts the readers of every variable (its occurrences in
// definitions) for buildReaders, in the same pass.
void Circuit::classify() {
  readerStart_.assign(endVar_ + 1, 0);
  for (Var v : order_) {
    const Poly &poly = polys_[def_[v]];
    bool isWordVar = false;
    for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms; ++k) {
      const Term t = term(k);
      isWordVar = isWordVar || t.coef != kOne;
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        const Var u = termVars_[t.firstVar + j];
        isWordVar = isWordVar || (flags_[u] & kWord) != 0;
        ++readerStart_[u + 1];
      }
    }
    if (isWordVar) {
      flags_[v] |= kWord;
      wordSlots_.push_back({v, wordCount_++});
      wordOrder_.push_back(v);
    }
  }
  std::sort(wordSlots_.begin(), wordSlots_.end());
}

// The defining term of a solved polynomial sits just before its range.
Var Circuit::definedBy(std::uint32_t g) const {
  const Poly &poly = polys_[g];
  if (g == spec_ || poly.firstTerm == 0 || term(poly.firstTerm - 1).numVars != 1)
    return 0;
  const Var v = termVars_[termStart_[poly.firstTerm - 1]];
  return def_[v] == static_cast<std::int32_t>(g) ? v : 0;
}

std::uint32_t Circuit::wordSlot(Var v) const {
  const auto at =
      std::lower_bound(wordSlots_.begin(), wordSlots_.end(), v,
                       [](const std::pair<Var, std::uint32_t> &w, Var u) { return w.first < u; });
  return at != wordSlots_.end() && at->first == v ? at->second : 0;
}

// The counts come from classify.
void Circuit::buildReaders() {
  for (Var v = 0; v < endVar_; ++v)
    readerStart_[v + 1] += readerStart_[v];
  readers_.resize(readerStart_[endVar_]);
  // Filling moves each start to the next one's; one shift puts them back.
  for (Var v : order_) {
    const Poly &poly = polys_[def_[v]];
    for (std::uint32_t k = poly.firstTerm; k < poly.firstTerm + poly.numTerms; ++k) {
      const Term t = term(k);
      for (std::uint32_t j = 0; j < t.numVars; ++j)
        readers_[readerStart_[termVars_[t.firstVar + j]]++] = v;
    }
  }
  std::copy_backward(readerStart_.begin(), readerStart_.end() - 1, readerStart_.end());
  readerStart_[0] = 0;
}

OutputForm outputForm(const Circuit &c) {
  OutputForm form;
  const Circuit::Poly &spec = c.spec();
  // The specification's variables, each as often as it occurs.
  std::vector<Var> uses;
  for (std::uint32_t k = 0; k < spec.numTerms; ++k) {
    const Circuit::Term &t = c.term(spec.firstTerm + k);
    uses.insert(uses.end(), c.vars(t), c.vars(t) + t.numVars);
  }
  std::sort(uses.begin(), uses.end());
  for (std::uint32_t k = 0; k < spec.numTerms && form.word == 0; ++k) {
    const Circuit::Term &t = c.term(spec.firstTerm + k);
    if (t.numVars != 1 || !c.isWord(c.vars(t)[0]))
      continue;
    const auto once = std::equal_range(uses.begin(), uses.end(), c.vars(t)[0]);
    if (once.second - once.first != 1)
      continue;
    const int n = c.words();
    Array<word_t> inverse(n, 0), check(n);
    if (c.coef(t) == nullptr) {
      inverse[0] = 1;
    } else {
      invertVector(c.coef(t), inverse.data());
      std::copy(inverse.begin(), inverse.end(), check.begin());
      multExp(check.data(), c.coef(t));
      if (check[0] != 1 || !allZero(check.data() + 1, n - 1))
        continue;
    }
    form.word = c.vars(t)[0];
    form.term = k;
    form.inverse = inverse;
  }
  if (form.word == 0)
    return form;
  form.bitOf.assign(std::size_t(c.words()) * 64, 0);
  const Circuit::Poly &def = c.definition(form.word);
  for (std::uint32_t k = 0; k < def.numTerms; ++k) {
    const Circuit::Term &t = c.term(def.firstTerm + k);
    const word_t *coef = c.coef(t);
    if (t.numVars != 1 || c.isWord(c.vars(t)[0]))
      continue;
    int bit = -1, set = 0;
    for (int w = 0; w < c.words(); ++w)
      for (int b = 0; b < 64; ++b)
        if (coef == nullptr ? (w == 0 && b == 0) : ((coef[w] >> b) & 1) != 0) {
          bit = 64 * w + b;
          ++set;
        }
    if (set == 1)
      form.bitOf[bit] = c.vars(t)[0];
  }
  return form;
}

void evaluate(const Circuit &c, const Circuit::Poly &poly, const Valuation &val, word_t *out) {
  Array<word_t> scratch(c.words());
  evalPoly(
      c, poly, [&](Var v) { return val.bit[v]; }, [&](Var v) { return val.wordValue(c, v); }, out,
      scratch.data());
}

namespace {

// Transposes the 64 x 64 bit matrix a: bit j of a[i] becomes bit i of a[j].
void transpose64(std::uint64_t *a) {
  std::uint64_t m = 0x00000000FFFFFFFFULL;
  for (int j = 32; j != 0; j >>= 1, m ^= m << j)
    for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const std::uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
      a[k] ^= t << j;
      a[k | j] ^= t;
    }
}

// The usual word definition is a sum of bits, each times X^i (Z = z0 +
// X*z1 + ...): then bit i of the word in lane l is the sum of the lanes l
// of its bits, so acc[i] := the sum of the lane words of those bits
// (64 * words entries) gives all 64 values at once, transposed. False, acc
// undefined, when def has another kind of term.
bool sumOfBits(const Circuit &c, const Circuit::Poly &def, const std::uint64_t *bits,
               Array<std::uint64_t> &acc) {
  const int n = c.words();
  std::fill(acc.begin(), acc.end(), std::uint64_t{0});
  for (std::uint32_t k = 0; k < def.numTerms; ++k) {
    const Circuit::Term &t = c.term(def.firstTerm + k);
    if (t.numVars != 1 || c.isWord(c.vars(t)[0]))
      return false;
    const word_t *coef = c.coef(t);
    int bit = 0;
    if (coef != nullptr) {
      int set = 0;
      for (int w = 0; w < n; ++w)
        if (coef[w] != 0) {
          if ((coef[w] & (coef[w] - 1)) != 0)
            return false;
          bit = 64 * w + __builtin_ctzll(coef[w]);
          ++set;
        }
      if (set != 1)
        return false;
    }
    acc[bit] ^= bits[c.vars(t)[0]];
  }
  return true;
}

// The words and the specification of out, whose bits are simulated: words
// that are sums of bits for all lanes at once, the rest lane by lane.
void simulateWords(const Circuit &c, LaneValuation &out) {
  const int n = c.words();
  const std::size_t stride = std::size_t(c.wordCount()) * n; // per lane
  out.words.assign(64 * stride, 0);
  Array<word_t> value(n), scratch(n);
  Array<std::uint64_t> acc(std::size_t(64) * n);
  for (Var v : c.wordOrder()) {
    const Circuit::Poly &def = c.definition(v);
    word_t *slot = out.words.data() + std::size_t(c.wordSlot(v)) * n;
    if (sumOfBits(c, def, out.bits.data(), acc)) {
      for (int w = 0; w < n; ++w) {
        transpose64(acc.data() + 64 * w);
        for (unsigned lane = 0; lane < 64; ++lane)
          slot[lane * stride + w] = acc[64 * w + lane];
      }
      continue;
    }
    for (unsigned lane = 0; lane < 64; ++lane) {
      const word_t *words = out.words.data() + lane * stride;
      auto bitOf = [&](Var u) { return (out.bits[u] >> lane) & 1; };
      auto wordOf = [&](Var u) -> const word_t * { return words + std::size_t(c.wordSlot(u)) * n; };
      evalPoly(c, def, bitOf, wordOf, slot + lane * stride, scratch.data());
    }
  }
  out.failing = 0;
  for (unsigned lane = 0; lane < 64; ++lane) {
    const word_t *words = out.words.data() + lane * stride;
    auto bitOf = [&](Var v) { return (out.bits[v] >> lane) & 1; };
    auto wordOf = [&](Var v) -> const word_t * { return words + std::size_t(c.wordSlot(v)) * n; };
    evalPoly(c, c.spec(), bitOf, wordOf, value.data(), scratch.data());
    bool fails = !allZero(value.data(), n);
    for (std::size_t i = 0; fails && i < c.constraints().size(); ++i) {
      evalPoly(c, c.poly(c.constraints()[i]), bitOf, wordOf, value.data(), scratch.data());
      if (c.constraintVar(i) != 0)
        value[0] ^= bitOf(c.constraintVar(i));
      fails = allZero(value.data(), n);
    }
    if (fails)
      out.failing |= std::uint64_t{1} << lane;
  }
}

} // namespace

void simulateLanes(const Circuit &c, LaneValuation &out) {
  out.bits.resize(c.endVar());
  auto laneBits = [&](Var v) { return out.bits[v]; };
  for (Var v : c.order())
    if (!c.isWord(v))
      out.bits[v] = evalBits<std::uint64_t>(c, c.definition(v), laneBits, ~std::uint64_t{0});
  simulateWords(c, out);
}

void simulateLanes(const Circuit &c, LaneValuation &a, LaneValuation &b) {
  a.bits.resize(c.endVar());
  b.bits.resize(c.endVar());
  std::uint64_t *bitsA = a.bits.data(), *bitsB = b.bits.data();
  // One pass over the definitions for both: the walk over the terms, not
  // the logic, is most of a pass.
  for (Var v : c.order()) {
    if (c.isWord(v))
      continue;
    const Circuit::Poly &def = c.definition(v);
    std::uint64_t sumA = 0, sumB = 0;
    for (std::uint32_t k = 0; k < def.numTerms; ++k) {
      const Circuit::Term &t = c.term(def.firstTerm + k);
      const Var *vars = c.vars(t);
      std::uint64_t productA = ~std::uint64_t{0}, productB = ~std::uint64_t{0};
      for (std::uint32_t j = 0; j < t.numVars; ++j) {
        productA &= bitsA[vars[j]];
        productB &= bitsB[vars[j]];
      }
      sumA ^= productA;
      sumB ^= productB;
    }
    bitsA[v] = sumA;
    bitsB[v] = sumB;
  }
  simulateWords(c, a);
  simulateWords(c, b);
}

namespace {

// Bit `lane` of words[0 .. count), as bits 0 .. count - 1.
std::uint64_t gatherBits(const std::uint64_t *words, unsigned count, unsigned lane) {
  std::uint64_t word = 0;
  for (unsigned k = 0; k < count; ++k)
    word |= ((words[k] >> lane) & 1) << k;
  return word;
}

#if defined(__x86_64__)
// Eight words tested at once: a sixth of the time of the portable loop
// (the witnesses' valuations of a large circuit are millions of bits).
__attribute__((target("avx512f"))) void gatherLaneAvx512(const std::uint64_t *bits,
                                                          std::size_t groups, unsigned lane,
                                                          std::uint64_t *out) {
  const __m512i mask = _mm512_set1_epi64(static_cast<long long>(std::uint64_t{1} << lane));
  for (std::size_t g = 0; g < groups; ++g) {
    std::uint64_t word = 0;
    for (unsigned k = 0; k < 8; ++k)
      word |= std::uint64_t{_mm512_test_epi64_mask(_mm512_loadu_si512(bits + 64 * g + 8 * k), mask)}
              << (8 * k);
    out[g] = word;
  }
}
#endif

// out[g] := bit `lane` of bits[64 g .. 64 g + 64), for g < groups.
void gatherLane(const std::uint64_t *bits, std::size_t groups, unsigned lane,
                std::uint64_t *out) {
#if defined(__x86_64__)
  static const bool avx512 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0;
  }();
  if (avx512) {
    gatherLaneAvx512(bits, groups, lane, out);
    return;
  }
#endif
  for (std::size_t g = 0; g < groups; ++g)
    out[g] = gatherBits(bits + 64 * g, 64, lane);
}

} // namespace

std::vector<Valuation> laneValuations(const Circuit &c, const LaneValuation &lanes,
                                      const std::vector<unsigned> &which) {
  std::vector<Valuation> vals(which.size());
  const std::size_t size = std::size_t(c.wordCount()) * c.words();
  for (std::size_t i = 0; i < which.size(); ++i) {
    vals[i].bit.assign(c.endVar());
    vals[i].word.assign(lanes.words.begin() + which[i] * size,
                        lanes.words.begin() + (which[i] + 1) * size);
  }
  // Each 64 variables' lane words give a valuation one word of bits.
  const std::uint64_t *bits = lanes.bits.data();
  const Var end = c.endVar();
  const std::size_t full = end / 64;
  for (std::size_t i = 0; i < vals.size(); ++i) {
    std::uint64_t *out = vals[i].bit.words();
    const unsigned shift = which[i];
    gatherLane(bits, full, shift, out);
    if (end % 64 != 0)
      out[full] = gatherBits(bits + 64 * full, end % 64, shift);
  }
  return vals;
}

} // namespace witness
