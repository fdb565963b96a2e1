// Differential test of polyverify's reduction: thousands of small random
// problems go into one .alg file, the built polyverify verifies them in one
// run, and each of its result texts must equal the plain reference
// reduction's (tests/algebra/reference) for the same problem.
//
// The problems are seeded and reproducible; PV_DIFF_SEED and PV_DIFF_PROBLEMS
// in the environment choose another seed or count for exploring.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "alpha_poly.h"
#include "ref_polynomial.h"
#include "ref_reduce.h"

#ifndef PV_POLYVERIFY
#error "PV_POLYVERIFY must give the path of the polyverify program"
#endif

namespace {

struct FieldChoice {
  const char *minpoly; // canonical text, leading term first
  bool irreducible;
};

// Irreducibility checked with Ben-Or's test when the list was made; the
// degrees up to 10 are checked again by trial division (FieldListIsAsLabelled below).
const std::vector<FieldChoice> kSmallFields = {
    {"X^2+X+1", true},         {"X^3+X+1", true},           {"X^3+X^2+1", true},
    {"X^4+X+1", true},         {"X^4+X^3+1", true},         {"X^4+X^3+X^2+X+1", true},
    {"X^5+X^2+1", true},       {"X^5+X^4+X^3+X^2+1", true}, {"X^6+X+1", true},
    {"X^6+X^3+1", true},       {"X^7+X+1", true},           {"X^7+X^3+1", true},
    {"X^8+X^4+X^3+X+1", true}, {"X^8+X^4+X^3+X^2+1", true}, {"X^9+X^4+1", true},
    {"X^10+X^3+1", true},
};
const std::vector<FieldChoice> kLargeFields = {
    {"X^64+X^4+X^3+X+1", true},
    {"X^65+X^18+1", true},
    {"X^163+X^7+X^6+X^3+1", true},
};
// Rings with zero divisors: products of non-zero coefficients can vanish.
const std::vector<FieldChoice> kReducibleFields = {
    {"X^2+1", false},     {"X^3+1", false},         {"X^3+X", false},
    {"X^4+X^2+1", false}, {"X^5+X+1", false},       {"X^6+X^5+X^4+X^3+X^2+X+1", false},
    {"X^8+X^4+1", false}, {"X^8+X^7+X^2+X", false},
};

// Exponents of the terms of a canonical field text.
std::vector<unsigned long> termExponents(const std::string &text) {
  std::vector<unsigned long> exps;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t plus = text.find('+', at);
    if (plus == std::string::npos)
      plus = text.size();
    const std::string t = text.substr(at, plus - at);
    if (!t.empty())
      exps.push_back(t == "1" ? 0 : t == "X" ? 1 : std::stoul(t.substr(2)));
    at = plus + 1;
  }
  return exps;
}

int degreeOf(const FieldChoice &f) { return static_cast<int>(termExponents(f.minpoly).front()); }

// Defines the field; the field code warns on standard error about a
// reducible minimal polynomial, which is expected here.
void defineField(const FieldChoice &f) {
  if (f.irreducible) {
    AlphaPoly::setMinpoly(f.minpoly);
    return;
  }
  testing::internal::CaptureStderr();
  AlphaPoly::setMinpoly(f.minpoly);
  testing::internal::GetCapturedStderr();
}

// Own draws on mt19937_64 (whose output the standard fixes), so that a seed
// gives the same problems with every standard library.
class Rng {
public:
  explicit Rng(std::uint64_t seed) : gen_(seed) {}
  unsigned long range(unsigned long lo, unsigned long hi) { return lo + gen_() % (hi - lo + 1); }
  bool chance(int percent) { return static_cast<int>(gen_() % 100) < percent; }
  template <class T> const T &pick(const std::vector<T> &v) { return v[range(0, v.size() - 1)]; }
  template <class T> void shuffle(std::vector<T> &v) {
    for (std::size_t i = v.size(); i > 1; --i)
      std::swap(v[i - 1], v[range(0, i - 1)]);
  }

private:
  std::mt19937_64 gen_;
};

// --- The random problems, as data ------------------------------------------

// One factor of a coefficient literal: X^exp, or 1 (written "1^exp" when
// exp is not 1).
struct LitItem {
  bool isX;
  unsigned long exp;
};
using Literal = std::vector<LitItem>;

struct Factor {
  enum Kind { Var, Alpha, One } kind;
  std::string name;                // Var
  std::vector<unsigned long> exps; // as written; for Alpha the last counts, none means 1
};

struct Term {
  bool hasLit = false;
  Literal lit;
  std::vector<Factor> factors; // at least one
};
using Poly = std::vector<Term>;

struct Problem {
  FieldChoice field;
  std::vector<std::string> decls;
  std::vector<std::string> aux;
  Poly spec;
  std::vector<Poly> circuit;
};

// --- Evaluation as the statement actions do it ------------------------------

std::string canonical(const Literal &lit) {
  std::string text;
  for (const LitItem &item : lit) {
    if (!text.empty())
      text += '+';
    if (!item.isX)
      text += "1";
    else
      text += item.exp == 1 ? std::string("X") : "X^" + std::to_string(item.exp);
  }
  return text;
}

// Identifiers and names of a problem's declarations: identifiers from 2 in
// order, a name declared again takes its last identifier.
struct VarTable {
  std::vector<std::pair<std::string, unsigned>> ids;
  ref::Names names;

  explicit VarTable(const std::vector<std::string> &decls) {
    unsigned next = 2;
    for (const std::string &d : decls) {
      names[next] = d;
      bool found = false;
      for (auto &entry : ids)
        if (entry.first == d) {
          entry.second = next;
          found = true;
        }
      if (!found)
        ids.emplace_back(d, next);
      ++next;
    }
  }
  unsigned id(const std::string &name) const {
    for (const auto &entry : ids)
      if (entry.first == name)
        return entry.second;
    ADD_FAILURE() << "undeclared " << name;
    return 0;
  }
};

std::unique_ptr<AlphaPoly> coefOf(const Term &t) {
  auto coef = std::make_unique<AlphaPoly>(0UL);
  if (t.hasLit) {
    AlphaPoly lit(canonical(t.lit));
    coef->mult(&lit);
  }
  for (const Factor &f : t.factors) {
    if (f.kind == Factor::Alpha) {
      AlphaPoly power(f.exps.empty() ? 1UL : f.exps.back());
      coef->mult(&power);
    }
  }
  return coef;
}

ref::VarSet varsOf(const Term &t, const VarTable &table) {
  ref::VarSet vars;
  for (const Factor &f : t.factors)
    if (f.kind == Factor::Var)
      vars.insert(table.id(f.name));
  return vars;
}

ref::Polynomial buildPoly(const Poly &p, const VarTable &table) {
  ref::Polynomial out;
  for (const Term &t : p)
    ref::addTerm(out, varsOf(t, table), coefOf(t));
  return out;
}

// The reference's result for p; p's field must be the current one.
std::string referenceResult(const Problem &p, ref::ReduceStats &stats) {
  const VarTable table(p.decls);
  ref::Polynomial spec = buildPoly(p.spec, table);
  ref::Ideal ideal;
  for (const Poly &g : p.circuit)
    ref::addGenerator(ideal, buildPoly(g, table));
  return ref::reduce(spec, ideal, table.names, &stats);
}

// --- Text of a problem ------------------------------------------------------

class Writer {
public:
  explicit Writer(Rng &rng) : rng_(rng) {}

  std::string problem(const Problem &p) {
    std::string out;
    for (std::size_t i = 0; i < p.decls.size(); ++i)
      out += (i > 0 ? ", " : "") + p.decls[i] + (rng_.chance(5) ? "^2" : "");
    out += ";\n";
    for (std::size_t i = 0; i < p.aux.size(); ++i)
      out += (i > 0 ? ", " : "") + p.aux[i];
    out += ";\n";
    std::string field = p.field.minpoly;
    for (std::size_t at = field.find('+'); at != std::string::npos; at = field.find('+', at + 3))
      field.replace(at, 1, " + ");
    out += field + ";\n" + poly(p.spec) + ";\n";
    for (std::size_t i = 0; i < p.circuit.size(); ++i)
      out += (i > 0 ? ",\n" : "") + poly(p.circuit[i]);
    return out + ";\n";
  }

private:
  std::string poly(const Poly &p) {
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i)
      out += (i > 0 ? (rng_.chance(50) ? " + " : "+") : "") + term(p[i]);
    return out;
  }

  std::string term(const Term &t) {
    std::string out;
    if (t.hasLit) {
      out += "(";
      for (std::size_t i = 0; i < t.lit.size(); ++i) {
        const LitItem &item = t.lit[i];
        out += i > 0 ? " + " : "";
        if (item.isX)
          out += item.exp == 1 && rng_.chance(80) ? "X" : "X^" + std::to_string(item.exp);
        else
          out += item.exp == 1 ? "1" : "1^" + std::to_string(item.exp);
      }
      out += ")*";
    }
    for (std::size_t i = 0; i < t.factors.size(); ++i) {
      const Factor &f = t.factors[i];
      out += i > 0 ? "*" : "";
      out += f.kind == Factor::Var ? f.name : f.kind == Factor::Alpha ? "X" : "1";
      for (unsigned long e : f.exps)
        out += "^" + std::to_string(e);
    }
    return out;
  }

  Rng &rng_;
};

// --- Random problems ----------------------------------------------------------

const std::vector<std::string> kNamePool = {"a", "b",  "c",   "d",  "e", "f", "g",
                                            "h", "x1", "y_2", "3z", "q", "Y", "n10"};

class Maker {
public:
  explicit Maker(Rng &rng) : rng_(rng) {}

  // A new problem; defines its field, which stays current afterwards.
  Problem make() {
    Problem p;
    const int kind = static_cast<int>(rng_.range(0, 99));
    p.field = kind < 80   ? rng_.pick(kSmallFields)
              : kind < 88 ? rng_.pick(kLargeFields)
                          : rng_.pick(kReducibleFields);
    defineField(p.field);
    field_ = p.field;
    K_ = static_cast<unsigned long>(degreeOf(p.field));

    // Variables: declared in a shuffled order, sometimes one of them twice
    // (its last declaration counts), sometimes "X", which uses up an
    // identifier that no term refers to.
    std::vector<std::string> pool = kNamePool;
    rng_.shuffle(pool);
    names_.assign(pool.begin(), pool.begin() + static_cast<long>(rng_.range(1, 8)));
    p.decls = names_;
    if (rng_.chance(20))
      p.decls.insert(p.decls.begin() + static_cast<long>(rng_.range(0, p.decls.size())),
                     rng_.pick(names_));
    if (rng_.chance(5))
      p.decls.insert(p.decls.begin() + static_cast<long>(rng_.range(0, p.decls.size())), "X");
    p.aux = {rng_.chance(50) ? "t1" : rng_.pick(names_)};
    if (rng_.chance(30))
      p.aux.push_back("undeclared_aux");

    // A few coefficients recur, so that leading coefficients often agree.
    palette_.clear();
    for (int i = 0; i < 2; ++i)
      palette_.push_back(randomLiteral());

    const int generators = static_cast<int>(rng_.range(1, 6));
    for (int i = 0; i < generators; ++i)
      p.circuit.push_back(randomPoly());
    // Ties: the terms of an earlier generator with other coefficients, so
    // mostly the same leading term; read order must decide between them.
    if (rng_.chance(30)) {
      Poly tie = rng_.pick(p.circuit);
      for (Term &t : tie) {
        t.hasLit = rng_.chance(60);
        t.lit = rng_.chance(50) ? rng_.pick(palette_) : randomLiteral();
      }
      p.circuit.insert(p.circuit.begin() + static_cast<long>(rng_.range(0, p.circuit.size())), tie);
    }

    if (rng_.chance(40))
      p.spec = combination(p.circuit, VarTable(p.decls));
    else
      p.spec = randomPoly();
    return p;
  }

private:
  Factor varFactor(const std::string &name) {
    Factor f{Factor::Var, name, {}};
    if (rng_.chance(5))
      f.exps.push_back(rng_.range(0, 3)); // no effect on a variable
    return f;
  }

  Factor oneFactor() {
    Factor f{Factor::One, "", {}};
    if (rng_.chance(10))
      f.exps.push_back(rng_.range(2, 4));
    return f;
  }

  unsigned long randomExponent() {
    const int kind = static_cast<int>(rng_.range(0, 99));
    if (kind < 70)
      return rng_.range(1, K_ - 1);
    if (kind < 90)
      return rng_.range(K_, 3 * K_); // reduced modulo the minimal polynomial
    if (kind < 99)
      return rng_.range(3 * K_, 100000);
    return 2147483647;
  }

  Literal randomLiteral() {
    Literal lit;
    const int items = static_cast<int>(rng_.range(1, 3));
    for (int i = 0; i < items; ++i) {
      if (rng_.chance(20))
        lit.push_back({false, rng_.chance(80) ? 1UL : rng_.range(2, 5)});
      else
        lit.push_back({true, randomExponent()});
    }
    return lit;
  }

  // The minimal polynomial itself: zero in the field.
  Literal zeroLiteral() {
    Literal lit;
    for (unsigned long e : termExponents(field_.minpoly))
      lit.push_back({e != 0, e == 0 ? 1 : e});
    rng_.shuffle(lit);
    return lit;
  }

  // Literal of a field element (zero becomes the minimal polynomial).
  Literal literalOf(const AlphaPoly &value) {
    if (value.isZero())
      return zeroLiteral();
    Literal lit;
    for (unsigned long e : termExponents(value.toString()))
      lit.push_back({e != 0, e == 0 ? 1 : e});
    return lit;
  }

  std::vector<std::string> randomVars() {
    static const int kDegreeWeights[] = {10, 30, 25, 17, 12, 6}; // degrees 0..5
    int roll = static_cast<int>(rng_.range(0, 99));
    std::size_t degree = 0;
    while (roll >= kDegreeWeights[degree])
      roll -= kDegreeWeights[degree++];
    std::vector<std::string> vars = names_;
    rng_.shuffle(vars);
    vars.resize(std::min(degree, vars.size()));
    return vars;
  }

  Term randomTerm() {
    Term t;
    const int coef = static_cast<int>(rng_.range(0, 99));
    if (coef >= 40) {
      t.hasLit = true;
      t.lit = coef < 70 ? rng_.pick(palette_) : coef < 75 ? zeroLiteral() : randomLiteral();
    }
    for (const std::string &v : randomVars())
      t.factors.push_back(varFactor(v));
    if (!t.factors.empty() && rng_.chance(10))
      t.factors.push_back(varFactor(rng_.pick(t.factors).name)); // a*a is a
    if (rng_.chance(25)) {
      Factor x{Factor::Alpha, "X", {}};
      const int form = static_cast<int>(rng_.range(0, 9));
      if (form >= 2)
        x.exps.push_back(form == 2 ? 0 : randomExponent());
      if (form == 9)
        x.exps.push_back(rng_.range(0, 2 * K_)); // the last exponent counts
      t.factors.push_back(x);
    }
    if (t.factors.empty() || rng_.chance(5))
      t.factors.push_back(oneFactor());
    rng_.shuffle(t.factors);
    return t;
  }

  // Several terms; some repeat the variables of an earlier term (merging) or
  // the whole term (cancelling), and a few polynomials cancel completely.
  Poly randomPoly() {
    Poly p;
    const int terms = static_cast<int>(rng_.range(1, 5));
    for (int i = 0; i < terms; ++i) {
      if (!p.empty() && rng_.chance(10)) {
        const Term same = rng_.pick(p);
        p.push_back(same);
        continue;
      }
      Term t = randomTerm();
      if (!p.empty() && rng_.chance(15)) {
        const Term &earlier = rng_.pick(p);
        t.factors.clear();
        for (const Factor &f : earlier.factors)
          if (f.kind == Factor::Var)
            t.factors.push_back(varFactor(f.name));
        if (t.factors.empty())
          t.factors.push_back(oneFactor());
      }
      p.push_back(t);
    }
    if (rng_.chance(5)) {
      p.resize(1);
      const Term same = p.front();
      p.push_back(same);
    }
    rng_.shuffle(p);
    return p;
  }

  // A specification in the ideal, or close to it: c*m*g for one or two
  // generators g, a coefficient c and a term m, written out term by term,
  // sometimes with a few other terms added.
  Poly combination(const std::vector<Poly> &circuit, const VarTable &table) {
    Poly spec;
    const int parts = static_cast<int>(rng_.range(1, 2));
    for (int k = 0; k < parts; ++k) {
      const Poly &g = rng_.pick(circuit);
      AlphaPoly c(0UL);
      if (rng_.chance(60)) {
        AlphaPoly lit(canonical(rng_.chance(50) ? rng_.pick(palette_) : randomLiteral()));
        c.mult(&lit);
      }
      std::vector<std::string> m = randomVars();
      m.resize(std::min<std::size_t>(m.size(), 2));
      for (const Term &t : g) {
        Term product;
        std::unique_ptr<AlphaPoly> value = coefOf(t);
        value->mult(&c);
        product.hasLit = !value->isOne() || rng_.chance(10);
        product.lit = literalOf(*value);
        for (unsigned id : varsOf(t, table))
          product.factors.push_back(varFactor(table.names.at(id)));
        for (const std::string &v : m)
          product.factors.push_back(varFactor(v));
        if (product.factors.empty())
          product.factors.push_back(oneFactor());
        rng_.shuffle(product.factors);
        spec.push_back(product);
      }
    }
    const int noise = rng_.chance(50) ? 0 : static_cast<int>(rng_.range(1, 2));
    for (int i = 0; i < noise; ++i)
      spec.push_back(randomTerm());
    rng_.shuffle(spec);
    return spec;
  }

  Rng &rng_;
  FieldChoice field_{};
  unsigned long K_ = 2;
  std::vector<std::string> names_;
  std::vector<Literal> palette_;
};

// --- Running polyverify -------------------------------------------------------

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs polyverify on path; returns its standard output. Standard error goes
// to errPath. A minute of processor time ends a run that does not stop (the
// whole file takes well under a second, some seconds under the sanitizers).
std::string runPolyverify(const std::string &path, const std::string &errPath, int &status) {
  const std::string command =
      std::string("ulimit -t 60; exec '") + PV_POLYVERIFY + "' '" + path + "' 2>'" + errPath + "'";
  FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return "";
  }
  std::string out;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    out.append(buffer, n);
  const int raw = pclose(pipe);
  // As a shell reports it: 128 + the signal for a run that a signal ended.
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
  return out;
}

// Cuts the output into the texts that start with "FINAL RESULT: " at the
// start of a line; what precedes the first goes to head, the time line and
// what follows it to tail.
std::vector<std::string> splitResults(const std::string &out, std::string &head,
                                      std::string &tail) {
  const std::string mark = "FINAL RESULT: ";
  const std::string timeMark = "Total verification time is: ";
  std::vector<std::size_t> starts;
  for (std::size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at + 1))
    if (at == 0 || out[at - 1] == '\n')
      starts.push_back(at);
  std::size_t end = out.size();
  const std::size_t from = starts.empty() ? 0 : starts.back();
  for (std::size_t at = out.find(timeMark, from); at != std::string::npos;
       at = out.find(timeMark, at + 1))
    if (at == 0 || out[at - 1] == '\n') {
      end = at;
      break;
    }
  head = out.substr(0, starts.empty() ? end : starts.front());
  tail = out.substr(end);
  std::vector<std::string> results;
  for (std::size_t k = 0; k < starts.size(); ++k)
    results.push_back(
        out.substr(starts[k], (k + 1 < starts.size() ? starts[k + 1] : end) - starts[k]));
  return results;
}

std::uint64_t fromEnvironment(const char *name, std::uint64_t fallback) {
  const char *text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// Under AddressSanitizer polyverify pays a few milliseconds per problem for
// setting up and releasing its problem state, so fewer problems keep the
// run within some seconds there.
#if defined(__SANITIZE_ADDRESS__)
#define PV_DIFF_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PV_DIFF_ASAN 1
#endif
#endif
#ifdef PV_DIFF_ASAN
constexpr std::uint64_t kDefaultProblems = 2000;
#else
constexpr std::uint64_t kDefaultProblems = 3000;
#endif

// --- Tests --------------------------------------------------------------------

TEST(Differential, PolyverifyPrintsWhatTheReferenceReductionPrints) {
  const std::uint64_t seed = fromEnvironment("PV_DIFF_SEED", 20240611);
  const std::size_t count = fromEnvironment("PV_DIFF_PROBLEMS", kDefaultProblems);
  Rng rng(seed);
  Maker maker(rng);
  Writer writer(rng);
  std::vector<std::string> texts, expected;
  ref::ReduceStats stats;
  std::string file;
  for (std::size_t i = 0; i < count; ++i) {
    const Problem p = maker.make();
    texts.push_back(writer.problem(p));
    expected.push_back(referenceResult(p, stats));
    file += "// problem " + std::to_string(i) + "\n" + texts.back();
  }

  const std::string path = testing::TempDir() + "pv_differential_" + std::to_string(seed) + ".alg";
  const std::string errPath = path + ".err";
  std::ofstream(path, std::ios::binary) << file;
  int status = 0;
  const std::string out = runPolyverify(path, errPath, status);
  std::string head, tail;
  const std::vector<std::string> actual = splitResults(out, head, tail);

  SCOPED_TRACE("seed " + std::to_string(seed) + ", problems in " + path);
  EXPECT_EQ(status, 0) << readFile(errPath);
  EXPECT_EQ(head, "");
  EXPECT_EQ(tail.rfind("Total verification time is: ", 0), 0u) << tail;
  EXPECT_EQ(actual.size(), count);
  if (actual.size() < count)
    ADD_FAILURE() << "no result from problem " << actual.size() << " on:\n" << texts[actual.size()];
  int shown = 0, mismatches = 0;
  for (std::size_t i = 0; i < count && i < actual.size(); ++i) {
    if (actual[i] == expected[i])
      continue;
    ++mismatches;
    if (++shown <= 5)
      ADD_FAILURE() << "problem " << i << ":\n"
                    << texts[i] << "expected:\n"
                    << expected[i] << "actual:\n"
                    << actual[i];
  }
  EXPECT_EQ(mismatches, 0) << "of " << count << " problems";
  if (!HasFailure()) {
    std::remove(path.c_str());
    std::remove(errPath.c_str());
  }

  // The problems must reach every path of the reduction, not just agree.
  const long least = static_cast<long>(count / 100) + 1;
  EXPECT_GE(stats.byOne, least);
  EXPECT_GE(stats.byEqual, least);
  EXPECT_GE(stats.byInverse, least);
  EXPECT_GE(stats.merged, least);
  EXPECT_GE(stats.cancelled, least);
  EXPECT_GE(stats.constantMerges, least);
  EXPECT_GE(stats.zeroProducts, 1);
  EXPECT_GE(stats.toZero, least);
  EXPECT_GE(stats.leftReducible, least);
  std::printf("steps %ld: lead one %ld, equal %ld, inverted %ld; products inserted %ld, merged "
              "%ld, cancelled %ld, constants merged %ld, zero %ld; reduced to 0 %ld; reducible "
              "remainders %ld\n",
              stats.steps, stats.byOne, stats.byEqual, stats.byInverse, stats.inserted,
              stats.merged, stats.cancelled, stats.constantMerges, stats.zeroProducts, stats.toZero,
              stats.leftReducible);
  std::printf("polyverify: %s", tail.c_str());
}

// The field list is what it claims: trial division by every polynomial of
// degree 1 .. K/2 for the degrees up to 10.
TEST(Differential, FieldListIsAsLabelled) {
  auto bitsOf = [](const FieldChoice &f) {
    unsigned m = 0;
    for (unsigned long e : termExponents(f.minpoly))
      m |= 1u << e;
    return m;
  };
  auto degree = [](unsigned v) { return 31 - __builtin_clz(v); };
  auto divisible = [&](unsigned a, unsigned b) {
    while (a != 0 && degree(a) >= degree(b))
      a ^= b << (degree(a) - degree(b));
    return a == 0;
  };
  std::vector<FieldChoice> fields = kSmallFields;
  fields.insert(fields.end(), kReducibleFields.begin(), kReducibleFields.end());
  for (const FieldChoice &f : fields) {
    const unsigned m = bitsOf(f);
    bool irreducible = true;
    for (unsigned d = 2; degree(d) <= degree(m) / 2; ++d)
      irreducible = irreducible && !divisible(m, d);
    EXPECT_EQ(irreducible, f.irreducible) << f.minpoly;
  }
}

// The reference against results worked out by hand, in GF(8) = GF(2)[X] /
// (X^3+X+1) with a, b, c, d as identifiers 2 .. 5.
class Reference : public testing::Test {
protected:
  void SetUp() override { AlphaPoly::setMinpoly("X^3+X+1"); }

  static void add(ref::Polynomial &p, ref::VarSet vars, const char *coef = "1") {
    ref::addTerm(p, std::move(vars), std::make_unique<AlphaPoly>(std::string(coef)));
  }
  void generator(std::initializer_list<std::pair<ref::VarSet, const char *>> terms) {
    ref::Polynomial p;
    for (const auto &t : terms)
      add(p, t.first, t.second);
    ref::addGenerator(ideal, std::move(p));
  }
  std::string run() { return ref::reduce(spec, ideal, names); }

  ref::Names names = {{2, "a"}, {3, "b"}, {4, "c"}, {5, "d"}};
  ref::Polynomial spec;
  ref::Ideal ideal;
};

TEST_F(Reference, QuotientCoefficientAndMerging) {
  // a + b + c with X*a + b + X*c + 1: q = X^-1 = X^2+1; b*(X^2+1) merges
  // into b, c*(X^2+1)*X = c*(X^3+X) = c cancels c, (X^2+1) is appended.
  add(spec, {2});
  add(spec, {3});
  add(spec, {4});
  generator({{{2}, "X"}, {{3}, "1"}, {{4}, "X"}, {{}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: (X^2)*b+X^2+1\n\n");
}

TEST_F(Reference, SinglePassAndGeneratorOrder) {
  // The ideal is [b*d + 1, c + d] after ordering: b*c -> b*d through the
  // second generator; the first, which divides b*d, is behind already.
  add(spec, {3, 4});
  generator({{{4}, "1"}, {{5}, "1"}});
  generator({{{3, 5}, "1"}, {{}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: b*d\n");
}

TEST_F(Reference, ConstantsZeroAndEmptyIdeal) {
  add(spec, {}, "X");
  generator({{{2}, "1"}, {{2}, "1"}}); // cancels: not stored
  EXPECT_TRUE(ideal.empty());
  EXPECT_EQ(run(), "FINAL RESULT: X\n\n");
  spec.clear();
  add(spec, {2, 6}, "X+1");
  add(spec, {}, "1");
  EXPECT_EQ(run(), "FINAL RESULT: (X+1)*a*+1\n\n"); // identifier 6 has no name
  generator({{{2}, "X+1"}, {{}, "1"}});
  spec.clear();
  add(spec, {2, 6}, "X+1");
  add(spec, {6}, "1");
  EXPECT_EQ(run(), "FINAL RESULT: 0\n\n"); // (X+1)*a*6 -> 6, which cancels
}

} // namespace
