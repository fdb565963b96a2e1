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

std::string factorName;       // the name of the factor being read
unsigned long lastSerial = 0; // serial of the latest nameFactor

// The name of factor, which must be the latest one made.
const char *nameOf(const Factor &factor) {
  assert(factor.serial == lastSerial);
  return factor.name;
}

} // namespace

void endProblem() { HandleProblem(); }

void auxName(Factor factor) { static_cast<void>(nameOf(factor)); }

void declareName(Factor factor) { HandleDecl(nameOf(factor)); }

void firstFieldTerm(Factor factor) {
  minpolyString.clear();
  HandleMinpoly(minpolyString, nameOf(factor), factor.exponent);
}

void nextFieldTerm(Factor factor) {
  minpolyString += '+';
  HandleMinpoly(minpolyString, nameOf(factor), factor.exponent);
}

void endField() {
  AlphaPoly::setMinpoly(minpolyString);
  HandleField();
}

void endSpec() { HandleSpec(); }

void endCircuitPoly() { HandleCircuit(); }

void endTerm() { HandleTerm(); }

void termFactor(Factor factor) { HandleVar(nameOf(factor), factor.exponent); }

void firstCoefTerm(Factor factor) {
  tmpMinpoly.clear();
  HandleMinpoly(tmpMinpoly, nameOf(factor), factor.exponent);
}

void nextCoefTerm(Factor factor) {
  tmpMinpoly += '+';
  HandleMinpoly(tmpMinpoly, nameOf(factor), factor.exponent);
}

void endCoef() { HandleCoef(tmpMinpoly); }

Factor nameFactor(const char *text) {
  factorName.assign(text);
  return Factor{factorName.c_str(), 1, ++lastSerial};
}
