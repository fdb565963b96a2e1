// Shared set-up of the algebra tests: a field, a clean problem state, and
// terms written as (identifiers, coefficient text).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "alpha_poly.h"
#include "monomial.h"
#include "polynomial.h"
#include "problem_state.h"
#include "variables.h"

class AlgebraTest : public testing::Test {
protected:
  // GF(8) = GF(2)[X] / (X^3 + X + 1) unless a test defines another field.
  void SetUp() override {
    releaseProblemState();
    DIV.clear();
    AlphaPoly::setMinpoly("X^3+X+1");
  }
  void TearDown() override { releaseProblemState(); }

  static monomial_ term(std::initializer_list<unsigned> vars, const std::string& coef = "1") {
    return monomial_{std::set<unsigned>(vars), new AlphaPoly(coef)};
  }

  // Polynomial text: "vars:coef" per term, e.g. "2,3:X+1 4:1 :X".
  static std::string show(const Polynomial& p) {
    std::string out;
    for (const monomial_& t : p) {
      if (!out.empty())
        out += ' ';
      std::string vars;
      for (unsigned v : t.vars)
        vars += (vars.empty() ? "" : ",") + std::to_string(v);
      out += vars + ":" + t.coef->toString();
    }
    return out;
  }

  static void add(Polynomial& p, std::initializer_list<unsigned> vars, const std::string& coef = "1") {
    monomial_ m = term(vars, coef);
    addTerm(p, m);
  }
};
