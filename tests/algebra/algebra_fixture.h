// Shared set-up of the algebra tests: a field, a clean problem state, and
// terms written as (identifiers, coefficient text).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "alpha_poly.h"
#include "coeff_vector.h"
#include "monomial.h"
#include "polynomial.h"
#include "problem_state.h"
#include "variables.h"

class AlgebraTest : public testing::Test {
protected:
  // GF(8) = GF(2)[X] / (X^3 + X + 1) unless a test defines another field.
  void SetUp() override {
    problem.reset();
    AlphaPoly::setMinpoly("X^3+X+1");
    HandleField();
  }
  void TearDown() override { problem.reset(); }

  static Term term(std::initializer_list<VarId> vars) {
    std::vector<VarId> ids(vars);
    return makeTerm(ids.data(), static_cast<std::uint32_t>(ids.size()));
  }

  static PolyTerm polyTerm(std::initializer_list<VarId> vars, const std::string &coef = "1") {
    AlphaPoly value(coef);
    return PolyTerm{term(vars), coefPool.make(value.bits)};
  }

  // Polynomial text: "vars:coef" per term, e.g. "2,3:X+1 4:1 :X".
  static std::string show(const PolyTerm *begin, const PolyTerm *end) {
    std::string out;
    for (const PolyTerm *t = begin; t != end; ++t) {
      if (!out.empty())
        out += ' ';
      VarList vars;
      termVars(t->term, vars);
      for (std::uint32_t k = 0; k < vars.size; ++k)
        out += (k ? "," : "") + std::to_string(vars.ids[k]);
      out += ":" + stringFromChar(coefPool.at(t->coef));
    }
    return out;
  }
  static std::string show(const Polynomial &p) { return show(p.data(), p.data() + p.size()); }
  static std::string showGenerator(std::size_t i) { return show(ideal.begin(i), ideal.end(i)); }

  // Adds a term the way the parser does (through tempmon and insertmon),
  // then puts p in order as completing a polynomial does.
  static void add(Polynomial &p, const std::vector<VarId> &vars, const std::string &coef = "1") {
    tempmon.vars = vars;
    AlphaPoly value(coef);
    tempmon.coef->mult(&value);
    const std::size_t before = glopoly.size();
    insertmon(tempmon);
    if (&p != &glopoly && glopoly.size() > before) {
      p.push_back(glopoly.back());
      glopoly.pop_back();
    }
    tempmon.vars.clear();
    tempmon.coef->bits[0] = 1;
    for (int w = 1; w < NumWords; ++w)
      tempmon.coef->bits[w] = 0;
    normalize(p);
  }
};
