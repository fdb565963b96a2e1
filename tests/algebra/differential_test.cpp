// Differential test of polyverify's reduction: thousands of small random
// problems go into one .alg file, the built polyverify verifies them in one
// run, and each of its result texts must equal the plain reference
// reduction's (tests/algebra/reference) for the same problem.
//
// The problems are seeded and reproducible; PV_DIFF_SEED and PV_DIFF_PROBLEMS
// in the environment choose another seed or count for exploring. The
// reference itself is checked through the product, whose reductions
// reduce_test works out by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "alpha_poly.h"
#include "poly_text.h"
#include "ref_polynomial.h"
#include "ref_reduce.h"

#ifndef PV_POLYVERIFY
#error "PV_POLYVERIFY must give the path of the polyverify program"
#endif

namespace {

// Irreducible moduli (the field tests check the field laws on such moduli)
// of degree 2 .. 10 and some wide ones, then rings with zero divisors, where
// products of non-zero coefficients can vanish.
const std::vector<std::string> kSmallFields = {
    "X^2+X+1",         "X^3+X+1",           "X^3+X^2+1", "X^4+X+1",
    "X^4+X^3+1",       "X^4+X^3+X^2+X+1",   "X^5+X^2+1", "X^5+X^4+X^3+X^2+1",
    "X^6+X+1",         "X^6+X^3+1",         "X^7+X+1",   "X^7+X^3+1",
    "X^8+X^4+X^3+X+1", "X^8+X^4+X^3+X^2+1", "X^9+X^4+1", "X^10+X^3+1"};
const std::vector<std::string> kLargeFields = {"X^64+X^4+X^3+X+1", "X^65+X^18+1",
                                               "X^163+X^7+X^6+X^3+1"};
const std::vector<std::string> kReducibleFields = {
    "X^2+1",     "X^3+1",        "X^3+X", "X^4+X^2+1", "X^5+X+1", "X^6+X^5+X^4+X^3+X^2+X+1",
    "X^8+X^4+1", "X^8+X^7+X^2+X"};

// Exponents of the terms of a canonical field text, leading term first.
std::vector<unsigned long> termExponents(std::string text) {
  AlphaPoly::removeChars(&text, "^");
  return readTermExponents(text);
}

// Defines the field, silencing the warning about a reducible modulus.
void defineField(const std::string &minpoly) {
  testing::internal::CaptureStderr();
  AlphaPoly::setMinpoly(minpoly);
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
  std::string field;
  std::vector<std::string> decls;
  std::vector<std::string> aux;
  Poly spec;
  std::vector<Poly> circuit;
};

// --- Evaluation as the statement actions do it ------------------------------

std::string canonical(const Literal &lit) {
  std::string text;
  for (const LitItem &item : lit) // an X item's exponent is at least 1
    text += (text.empty() ? "" : "+") + termText(item.isX ? item.exp : 0);
  return text;
}

// Identifiers and names of a problem's declarations: identifiers from 2 in
// order, a name declared again takes its last identifier.
struct VarTable {
  std::map<std::string, unsigned> ids;
  ref::Names names;

  explicit VarTable(const std::vector<std::string> &decls) {
    unsigned next = 2;
    for (const std::string &d : decls) {
      names[next] = d;
      ids[d] = next++;
    }
  }
  unsigned id(const std::string &name) const { return ids.at(name); }
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

std::string termText(const Term &t, Rng &rng) {
  std::string out;
  if (t.hasLit) {
    out += "(";
    for (std::size_t i = 0; i < t.lit.size(); ++i) {
      const LitItem &item = t.lit[i];
      // X^1 written as X mostly, 1^1 always as 1
      const bool bare = item.exp == 1 && (!item.isX || rng.chance(80));
      out += (i > 0 ? " + " : "") + std::string(item.isX ? "X" : "1") +
             (bare ? "" : "^" + std::to_string(item.exp));
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

std::string polyText(const Poly &p, Rng &rng) {
  std::string out;
  for (std::size_t i = 0; i < p.size(); ++i)
    out += (i > 0 ? (rng.chance(50) ? " + " : "+") : "") + termText(p[i], rng);
  return out;
}

std::string problemText(const Problem &p, Rng &rng) {
  std::string out;
  for (std::size_t i = 0; i < p.decls.size(); ++i)
    out += (i > 0 ? ", " : "") + p.decls[i] + (rng.chance(5) ? "^2" : "");
  out += ";\n";
  for (std::size_t i = 0; i < p.aux.size(); ++i)
    out += (i > 0 ? ", " : "") + p.aux[i];
  out += ";\n";
  std::string field = p.field;
  for (std::size_t at = field.find('+'); at != std::string::npos; at = field.find('+', at + 3))
    field.replace(at, 1, " + ");
  out += field + ";\n" + polyText(p.spec, rng) + ";\n";
  for (std::size_t i = 0; i < p.circuit.size(); ++i)
    out += (i > 0 ? ",\n" : "") + polyText(p.circuit[i], rng);
  return out + ";\n";
}

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
    K_ = termExponents(p.field).front();

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
  // A factor, sometimes with an exponent (which has no effect on a variable).
  Factor factor(Factor::Kind kind, const std::string &name, int percent, unsigned long lo,
                unsigned long hi) {
    Factor f{kind, name, {}};
    if (rng_.chance(percent))
      f.exps.push_back(rng_.range(lo, hi));
    return f;
  }
  Factor varFactor(const std::string &name) { return factor(Factor::Var, name, 5, 0, 3); }
  Factor oneFactor() { return factor(Factor::One, "", 10, 2, 4); }

  unsigned long randomExponent() {
    // Mostly below the degree, else reduced modulo the minimal polynomial.
    const int kind = static_cast<int>(rng_.range(0, 99));
    return kind < 70   ? rng_.range(1, K_ - 1)
           : kind < 90 ? rng_.range(K_, 3 * K_)
           : kind < 99 ? rng_.range(3 * K_, 100000)
                       : 2147483647;
  }

  Literal randomLiteral() {
    Literal lit(rng_.range(1, 3));
    for (LitItem &item : lit)
      item = rng_.chance(20) ? LitItem{false, rng_.chance(80) ? 1UL : rng_.range(2, 5)}
                             : LitItem{true, randomExponent()};
    return lit;
  }

  // Literal of a field element's text, shuffled; the minimal polynomial
  // itself for zero.
  Literal literalOf(const std::string &canonicalText) {
    Literal lit;
    for (unsigned long e : termExponents(canonicalText.empty() ? field_ : canonicalText))
      lit.push_back({e != 0, e == 0 ? 1 : e});
    rng_.shuffle(lit);
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
      t.lit = coef < 70 ? rng_.pick(palette_) : coef < 75 ? literalOf("") : randomLiteral();
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
        p.push_back(Term(rng_.pick(p)));
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
    if (rng_.chance(5))
      p.assign(2, Term(p.front()));
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
        product.lit = literalOf(value->toString());
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
  std::string field_;
  unsigned long K_ = 2;
  std::vector<std::string> names_;
  std::vector<Literal> palette_;
};

// --- Running polyverify -------------------------------------------------------

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs polyverify on path, its output going to path.out and path.err;
// returns its status as a shell reports it (128 + the signal that ended it).
// A minute of processor time ends a run that does not stop (the whole file
// takes well under a second, some seconds under the sanitizers).
int runPolyverify(const std::string &path) {
  const int raw = std::system(("ulimit -t 60; exec '" + std::string(PV_POLYVERIFY) + "' '" + path +
                               "' >'" + path + ".out' 2>'" + path + ".err'")
                                  .c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

std::uint64_t fromEnvironment(const char *name, std::uint64_t fallback) {
  const char *text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// Under AddressSanitizer polyverify pays a few milliseconds per problem for
// its problem state, so fewer problems keep the run within some seconds.
#ifdef __SANITIZE_ADDRESS__
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
  std::vector<std::string> texts, expected;
  ref::ReduceStats stats;
  std::string file;
  for (std::size_t i = 0; i < count; ++i) {
    const Problem p = maker.make();
    texts.push_back(problemText(p, rng));
    expected.push_back(referenceResult(p, stats));
    file += "// problem " + std::to_string(i) + "\n" + texts.back();
  }

  // The process id keeps concurrent runs (two builds' test suites) apart.
  const std::string path = testing::TempDir() + "pv_differential_" + std::to_string(seed) + "_" +
                           std::to_string(getpid()) + ".alg";
  std::ofstream(path, std::ios::binary) << file;
  const int status = runPolyverify(path);
  const std::string out = readFile(path + ".out");

  SCOPED_TRACE("seed " + std::to_string(seed) + ", problems in " + path);
  EXPECT_EQ(status, 0) << readFile(path + ".err");
  // The results follow each other; the first that differs is reported.
  std::size_t at = 0, i = 0;
  for (; i < count && out.compare(at, expected[i].size(), expected[i]) == 0; ++i)
    at += expected[i].size();
  if (i < count)
    ADD_FAILURE() << "problem " << i << ":\n"
                  << texts[i] << "expected:\n"
                  << expected[i] << "actual:\n"
                  << out.substr(at, out.find("\nFINAL RESULT: ", at) - at);
  else
    EXPECT_EQ(out.rfind("Total verification time is: ", at), at) << out.substr(at);
  if (!HasFailure())
    for (const char *suffix : {"", ".out", ".err"})
      std::remove((path + suffix).c_str());

  // The problems must reach every path of the reduction, not just agree.
  const long least = static_cast<long>(count / 100) + 1;
  const std::pair<const char *, long> counters[] = {
      {"byOne", stats.byOne},         {"byEqual", stats.byEqual},
      {"byInverse", stats.byInverse}, {"merged", stats.merged},
      {"cancelled", stats.cancelled}, {"constantMerges", stats.constantMerges},
      {"toZero", stats.toZero},       {"leftReducible", stats.leftReducible}};
  for (const auto &[name, value] : counters)
    EXPECT_GE(value, least) << name;
  EXPECT_GE(stats.zeroProducts, 1);
}

} // namespace
