// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <cassert>
#include <string>

#include "alpha_poly.h"
#include "field_def.h"
#include "variables.h"

namespace {

std::string factorName;  // the name of the factor being read
std::string minpolyText; // canonical text of the field's minimal polynomial
std::string coefText;    // canonical text of the coefficient being read

} // namespace

void endProblem() { HandleProblem(); }

void auxName(Factor) {}

void declareName(Factor factor) { HandleDecl(factor.name); }

void firstFieldTerm(Factor factor) {
  minpolyText.clear();
  HandleMinpoly(minpolyText, factor.name, factor.exponent);
}

void nextFieldTerm(Factor factor) {
  minpolyText += '+';
  HandleMinpoly(minpolyText, factor.name, factor.exponent);
}

void endField() {
  AlphaPoly::setMinpoly(minpolyText);
  HandleField();
}

void endSpec() { HandleSpec(); }

void endCircuitPoly() { HandleCircuit(); }

void endTerm() { HandleTerm(); }

void termFactor(Factor factor) { HandleVar(factor.name, factor.exponent); }

void firstCoefTerm(Factor factor) {
  coefText.clear();
  HandleMinpoly(coefText, factor.name, factor.exponent);
}

void nextCoefTerm(Factor factor) {
  coefText += '+';
  HandleMinpoly(coefText, factor.name, factor.exponent);
}

void endCoef() { HandleCoef(coefText); }

Factor nameFactor(const char* text) {
  factorName.assign(text);
  return Factor{factorName.c_str(), 1};
}
