// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "alpha_poly.h"
#include "field_def.h"
#include "problem_state.h"
#include "variables.h"

void endProblem() { HandleProblem(); }

void auxName(char* name) { std::free(name); }

void declareName(char* name) {
  HandleDecl(name);
  std::free(name);
}

void firstFieldTerm(char* name) {
  minpolyString.clear();
  HandleMinpoly(minpolyString, name, lastExp);
  std::free(name);
}

void nextFieldTerm(char* name) {
  minpolyString += '+';
  HandleMinpoly(minpolyString, name, lastExp);
  std::free(name);
}

void endField() {
  AlphaPoly::setMinpoly(minpolyString);
  HandleField();
}

void endSpec() { HandleSpec(); }

void endCircuitPoly() { HandleCircuit(); }

void endTerm() { HandleTerm(); }

void termFactor(char* name) {
  HandleVar(name);
  std::free(name);
}

void firstCoefTerm(char* name) {
  tmpMinpoly.clear();
  HandleMinpoly(tmpMinpoly, name, lastExp);
  std::free(name);
}

void nextCoefTerm(char* name) {
  tmpMinpoly += '+';
  HandleMinpoly(tmpMinpoly, name, lastExp);
  std::free(name);
}

void endCoef() { HandleCoef(tmpMinpoly); }

char* nameFactor(const char* text) {
  char* copy = strdup(text);
  if (copy == nullptr)
    throw std::bad_alloc();
  lastExp = 1;
  return copy;
}

char* powerFactor(char* name, unsigned long exponent) {
  lastExp = exponent;
  return name;
}
