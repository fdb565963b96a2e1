// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <string>

#include "alpha_poly.h"
#include "field_def.h"
#include "problem_state.h"
#include "variables.h"

void endProblem() { HandleProblem(); }

void auxName(const char*) {}

void declareName(const char* name) {
  HandleDecl(name);
}

void firstFieldTerm(const char* name) {
  minpolyString.clear();
  HandleMinpoly(minpolyString, name, lastExp);
}

void nextFieldTerm(const char* name) {
  minpolyString += '+';
  HandleMinpoly(minpolyString, name, lastExp);
}

void endField() {
  AlphaPoly::setMinpoly(minpolyString);
  HandleField();
}

void endSpec() { HandleSpec(); }

void endCircuitPoly() { HandleCircuit(); }

void endTerm() { HandleTerm(); }

void termFactor(const char* name) {
  HandleVar(name);
}

void firstCoefTerm(const char* name) {
  tmpMinpoly.clear();
  HandleMinpoly(tmpMinpoly, name, lastExp);
}

void nextCoefTerm(const char* name) {
  tmpMinpoly += '+';
  HandleMinpoly(tmpMinpoly, name, lastExp);
}

void endCoef() { HandleCoef(tmpMinpoly); }

namespace {
std::string factorName; // the name of the factor being read
} // namespace

const char* nameFactor(const char* text) {
  factorName.assign(text);
  lastExp = 1;
  return factorName.c_str();
}

const char* powerFactor(const char* name, unsigned long exponent) {
  lastExp = exponent;
  return name;
}
