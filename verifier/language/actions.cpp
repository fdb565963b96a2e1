// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <cassert>
#include <string>

#include "alpha_poly.h"
#include "field_def.h"
#include "variables.h"

std::string minpolyString;
std::string tmpMinpoly;

namespace {
std::string factorName; // the name of the factor being read
} // namespace

void endProblem() { HandleProblem(); }

void auxName(Factor) {}

void declareName(Factor factor) { HandleDecl(factor.name); }

void firstFieldTerm(Factor factor) {
  minpolyString.clear();
  HandleMinpoly(minpolyString, factor.name, factor.exponent);
}

void nextFieldTerm(Factor factor) {
  minpolyString += '+';
  HandleMinpoly(minpolyString, factor.name, factor.exponent);
}

void endField() {
  AlphaPoly::setMinpoly(minpolyString);
  HandleField();
}

void endSpec() { HandleSpec(); }

void endCircuitPoly() { HandleCircuit(); }

void endTerm() { HandleTerm(); }

void termFactor(Factor factor) { HandleVar(factor.name, factor.exponent); }

void firstCoefTerm(Factor factor) {
  tmpMinpoly.clear();
  HandleMinpoly(tmpMinpoly, factor.name, factor.exponent);
}

void nextCoefTerm(Factor factor) {
  tmpMinpoly += '+';
  HandleMinpoly(tmpMinpoly, factor.name, factor.exponent);
}

void endCoef() { HandleCoef(tmpMinpoly); }

Factor nameFactor(const char *text) {
  factorName.assign(text);
  return Factor{factorName.c_str(), 1};
}
