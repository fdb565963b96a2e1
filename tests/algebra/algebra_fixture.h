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
