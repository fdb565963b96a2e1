// Multivariate division of the specification by the circuit generators.
//
// Only the leading term of spec is ever tested. Generator i is tried on it;
// when the generator's leading term g divides it (g's variables are a subset
// of the leading term's), the leading term f is replaced by the products of
// the quotient term f/g with the remaining terms of the generator, and the
// same generator is tried again on the new leading term. When g does not
// divide it, the next generator is tried. A generator once passed is never
// tried again, so the pass ends when the leading term is divisible by no
// generator from the current index on; all lower terms stay unreduced.
//
// spec is held in a heap (term_heap.h) while it is reduced: every step takes
// the leading term and adds products below it, which the heap does in
// logarithmic time; equal terms are added up when they reach the top.
#include "reduce.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <exception>
#include <string>
#include <unordered_map>

#include "coeff_vector.h"
#include "poly_words.h"
#include "polynomial.h"
#include "problem_state.h"
#include "reduce_monitor.h"
#include "term_heap.h"

namespace {

ReductionMonitor *monitor = nullptr;
std::size_t problemsReduced = 0;

// Reports the reduction's progress to the monitor: at the start, every
// kReductionCheckSteps steps (step()), and when an exception leaves it.
class MonitorReports {
public:
  MonitorReports(const Ideal &gens, const std::size_t &i, const std::vector<VarId> &fvars,
                 const TermHeap &heap)
      : gens_(gens), i_(i), fvars_(fvars), heap_(heap), exceptions_(std::uncaught_exceptions()) {
    if (monitor)
      monitor->check(point());
  }
  MonitorReports(const MonitorReports &) = delete;
  MonitorReports &operator=(const MonitorReports &) = delete;
  ~MonitorReports() {
    if (monitor && std::uncaught_exceptions() > exceptions_)
      monitor->interrupted(point());
  }
  void step() {
    if (monitor && ++steps_ == kReductionCheckSteps) {
      steps_ = 0;
      monitor->check(point());
    }
  }

private:
  ReductionPoint point() const {
    ReductionPoint p;
    p.problem = problemsReduced;
    p.generators = gens_.size();
    p.generator = i_ < p.generators ? i_ + 1 : p.generators;
    VarList lead;
    if (!fvars_.empty()) {
      p.leading = DIV.get(fvars_.front());
    } else if (!heap_.empty()) { // before the first step: the specification's leading term
      termVars(heap_.top().term, lead);
      if (lead.size > 0)
        p.leading = DIV.get(lead.ids[0]);
    }
    p.terms = heap_.size() + 1; // with the leading term being divided
    if (i_ < p.generators)
      p.generatorLeadDegree = termDegree(gens_.begin(i_)->term);
    return p;
  }

  const Ideal &gens_;
  const std::size_t &i_;
  const std::vector<VarId> &fvars_;
  const TermHeap &heap_;
  const int exceptions_;
  unsigned steps_ = 0;
};

void endLine() {
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Does the term g divide the term with variables f? If so, quotient receives
// the variables of f that g lacks.
bool divides(const Term &g, const std::vector<VarId> &f, std::vector<VarId> &quotient) {
  VarList gv;
  termVars(g, gv);
  if (gv.size > f.size())
    return false;
  quotient.clear();
  std::size_t fi = 0;
  for (std::uint32_t gi = 0; gi < gv.size;) {
    if (fi == f.size() || f[fi] > gv.ids[gi])
      return false; // a variable of g is missing from f
    if (f[fi] < gv.ids[gi])
      quotient.push_back(f[fi++]);
    else {
      ++fi;
      ++gi;
    }
  }
  quotient.insert(quotient.end(), f.begin() + static_cast<std::ptrdiff_t>(fi), f.end());
  return true;
}

// The term with the variables of t and of quotient (both ascending).
Term productTerm(const Term &t, const std::vector<VarId> &quotient, std::vector<VarId> &scratch) {
  if (quotient.empty())
    return t;
  VarList tv;
  termVars(t, tv);
  scratch.resize(tv.size + quotient.size());
  const auto end =
      std::set_union(tv.ids, tv.ids + tv.size, quotient.begin(), quotient.end(), scratch.begin());
  return makeTerm(scratch.data(), static_cast<std::uint32_t>(end - scratch.begin()));
}

bool sameValue(Coef a, Coef b) {
  if (a == b)
    return true;
  const word_t *x = coefPool.at(a);
  const word_t *y = coefPool.at(b);
  return std::equal(x, x + coefPool.words(), y);
}

} // namespace

void sortGenerators(Ideal &gens) {
  std::stable_sort(gens.generators.begin(), gens.generators.end(),
                   [](const Generator &a, const Generator &b) {
                     return termLess(b.first->term, a.first->term);
                   });
  gens.sorted = true;
}

namespace {

bool summaryWanted = false;
ResultSink resultSink;
constexpr std::size_t kSummaryTerms = 1000;

// "X^0..X^7, X^9": the set bits of v as runs.
std::string powerRuns(const std::vector<word_t> &v) {
  std::string out;
  const int bits = static_cast<int>(v.size()) * 64;
  for (int e = 0; e < bits; ++e) {
    if (!(v[e / 64] >> (e % 64) & 1))
      continue;
    int last = e;
    while (last + 1 < bits && (v[(last + 1) / 64] >> ((last + 1) % 64) & 1))
      ++last;
    out += (out.empty() ? "X^" : ", X^") + std::to_string(e);
    if (last > e)
      out += "..X^" + std::to_string(last);
    e = last;
  }
  return out;
}

// One line on standard error that sums up a long remainder.
void printSummary(const Polynomial &rem) {
  std::unordered_map<VarId, std::size_t> uses;
  std::vector<word_t> powers(static_cast<std::size_t>(coefPool.words()), 0);
  for (const PolyTerm &t : rem) {
    VarList vars;
    termVars(t.term, vars);
    for (std::uint32_t k = 0; k < vars.size; ++k)
      ++uses[vars.ids[k]];
    const word_t *c = coefPool.at(t.coef);
    for (std::size_t w = 0; w < powers.size(); ++w)
      powers[w] |= c[w];
  }
  std::vector<std::pair<VarId, std::size_t>> ranked(uses.begin(), uses.end());
  const std::size_t top = std::min<std::size_t>(5, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(top), ranked.end(),
                    [](const auto &x, const auto &y) {
                      return x.second != y.second ? x.second > y.second : x.first < y.first;
                    });
  std::string most;
  for (std::size_t k = 0; k < top; ++k)
    most += (k ? ", " : "") + std::string(DIV.get(ranked[k].first)) + " (" +
            std::to_string(ranked[k].second) + ")";
  std::fflush(stdout);
  std::fprintf(stderr,
               "Summary: the remainder has %zu terms in %zu variables; powers of X in its "
               "coefficients: %s; most frequent variables (terms): %s\n",
               rem.size(), uses.size(), powerRuns(powers).c_str(), most.c_str());
}

void printResult(const Polynomial &spec) {
  std::fputs("FINAL RESULT: ", stdout);
  if (spec.empty()) {
    std::fputs("0", stdout);
    endLine();
    endLine();
    return;
  }
  for (std::size_t k = 0; k < spec.size(); ++k) {
    if (k > 0)
      std::fputc('+', stdout);
    printmonomial(spec[k]);
  }
  endLine();
}

} // namespace

void reduce(Polynomial &spec, Ideal &gens) {
  assert(strictlyDescending(spec.data(), spec.data() + spec.size()));
  if (!gens.sorted)
    sortGenerators(gens);
  assert(std::is_sorted(gens.generators.begin(), gens.generators.end(),
                        [](const Generator &a, const Generator &b) {
                          return termLess(b.first->term, a.first->term);
                        }));
  const int words = coefPool.words();
  std::vector<word_t> qbuf(words), tbuf(words);
  std::vector<VarId> fvars, quotient, scratch;

  TermHeap heap;
  heap.assign(std::move(spec));
  std::size_t i = 0;
  const std::size_t n = gens.size();
  ++problemsReduced;
  MonitorReports reports(gens, i, fvars, heap);
  PolyTerm f;
  while (i < n && popLeading(heap, f)) {
    reports.step();
    VarList fv;
    termVars(f.term, fv);
    fvars.assign(fv.ids, fv.ids + fv.size);
    while (i < n && !divides(gens.begin(i)->term, fvars, quotient))
      ++i;
    if (i == n) {
      heap.push(f); // divisible by no generator left: part of the remainder
      break;
    }
    const PolyTerm *g = gens.begin(i);
    // Quotient coefficient q = lc(f) / lc(g), avoiding the inversion when
    // lc(g) is one or equal to lc(f). q is a counted handle, so products
    // whose coefficient is q itself share it.
    Coef q;
    if (coefPool.isOne(g->coef)) {
      q = coefPool.copy(f.coef);
    } else if (sameValue(g->coef, f.coef)) {
      q = kCoefOne;
    } else {
      invertVector(coefPool.at(g->coef), qbuf.data());
      multExp(qbuf.data(), coefPool.at(f.coef));
      if (allZero(qbuf.data(), words)) {
        // Only where the minimal polynomial is reducible: every product is
        // zero, so f just goes.
        coefPool.release(f.coef);
        continue;
      }
      q = coefPool.make(qbuf.data());
    }
    coefPool.release(f.coef); // q*lc(g) equals f's term and would cancel it
    const bool qIsOne = coefPool.isOne(q);
    if (!qIsOne) // the pool may move while products are made
      std::copy(coefPool.at(q), coefPool.at(q) + words, qbuf.begin());
    // The products of the quotient term with the rest of the generator.
    for (const PolyTerm *t = g + 1; t != gens.end(i); ++t) {
      PolyTerm product;
      if (qIsOne) {
        product.coef = coefPool.copy(t->coef);
      } else if (t->coef == kCoefOne) {
        product.coef = coefPool.copy(q);
      } else {
        std::copy(coefPool.at(t->coef), coefPool.at(t->coef) + words, tbuf.begin());
        multExp(tbuf.data(), qbuf.data());
        if (allZero(tbuf.data(), words))
          continue; // a zero product adds nothing
        product.coef = coefPool.make(tbuf.data());
      }
      product.term = productTerm(t->term, quotient, scratch);
      heap.push(product);
    }
    coefPool.release(q);
  }

  // What is left, in descending order with equal terms merged.
  Polynomial remainder;
  PolyTerm r;
  while (popLeading(heap, r))
    remainder.push_back(r);
  spec = std::move(remainder);
  if (resultSink) {
    resultSink(spec);
    return;
  }
  printResult(spec);
  if (summaryWanted && spec.size() > kSummaryTerms)
    printSummary(spec);
}

void setReductionMonitor(ReductionMonitor *m) { monitor = m; }

ReductionMonitor *reductionMonitor() { return monitor; }

void setRemainderSummary(bool on) { summaryWanted = on; }

void setResultSink(ResultSink sink) { resultSink = std::move(sink); }

std::string termText(const PolyTerm &m) {
  VarList vars;
  termVars(m.term, vars);
  std::string text;
  if (vars.size == 0 || !coefPool.isOne(m.coef)) {
    text = stringFromChar(coefPool.at(m.coef));
    if (vars.size == 0)
      return text;
    text = "(" + text + ")*";
  }
  for (std::uint32_t k = 0; k < vars.size; ++k)
    text += (k > 0 ? "*" : "") + std::string(DIV.get(vars.ids[k]));
  return text;
}

void printmonomial(const PolyTerm &m) {
  VarList vars;
  termVars(m.term, vars);
  if (vars.size == 0) {
    const std::string text = stringFromChar(coefPool.at(m.coef));
    std::fwrite(text.data(), 1, text.size(), stdout);
    endLine();
    return;
  }
  if (!coefPool.isOne(m.coef)) {
    const std::string text = stringFromChar(coefPool.at(m.coef));
    std::fputc('(', stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputs(")*", stdout);
  }
  for (std::uint32_t k = 0; k < vars.size; ++k) {
    if (k > 0)
      std::fputc('*', stdout);
    const std::string_view name = DIV.get(vars.ids[k]);
    if (!name.empty()) // an identifier without a name prints as nothing
      std::fwrite(name.data(), 1, name.size(), stdout);
  }
}
