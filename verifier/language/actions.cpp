// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "alpha_poly.h"
#include "field_def.h"
#include "problem_state.h"
#include "variables.h"

namespace {

// Variables that a term of the specification holds with degree above one
// (A^2, A*A): the language reads every variable as a bit, so A^2 is A, and
// that is wrong for a word over GF(2^K). Checked when the problem ends.
bool inSpec = false;
std::vector<std::string> termNames;                    // the factors of the spec term being read
std::vector<std::pair<std::string, unsigned long>> powered; // name, degree in its term

void notePower(const char* name) {
  if (!inSpec || (name[0] == 'X' && name[1] == '\0') || (name[0] == '1' && name[1] == '\0'))
    return;
  unsigned long degree = lastExp;
  for (const std::string& earlier : termNames)
    if (earlier == name)
      degree += 1; // A*A and A^2*A: the degrees add up
  termNames.push_back(name);
  if (degree >= 2)
    powered.push_back({name, degree});
}

// One line on standard error for the first word with a power in the spec.
void warnWordPowers() {
  for (const auto& [name, degree] : powered)
    if (isWordVariable(name.c_str())) {
      std::fflush(stdout);
      std::fprintf(stderr,
                   "Warning: the specification holds %s^%lu, which is read as %s (A^2 = A, as for "
                   "bits); but %s is a word (its polynomial has coefficients other than 0 and 1), "
                   "so the result does not verify a power of a word\n",
                   name.c_str(), degree, name.c_str(), name.c_str());
      break;
    }
  powered.clear();
  termNames.clear();
  inSpec = false;
}

} // namespace

void endProblem() {
  warnWordPowers();
  HandleProblem();
}

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
  termNames.clear(); // left over when an earlier parse stopped inside a term
  powered.clear();
  inSpec = true;
}

void endSpec() {
  inSpec = false;
  HandleSpec();
}

void endCircuitPoly() { HandleCircuit(); }

void endTerm() {
  termNames.clear();
  HandleTerm();
}

void termFactor(char* name) {
  notePower(name);
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
