// Statement actions: what each recognised rule passes on, and in which order.
#include "actions.h"

#include <cassert>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "field_def.h"
#include "problem_builder.h"
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

// Variables that a term of the specification holds with degree above one
// (A^2, A*A): the language reads every variable as a bit, so A^2 is A, and
// that is wrong for a word over GF(2^K). Checked when the problem ends.
bool inSpec = false;
std::vector<std::pair<std::string, unsigned long>> termFactors; // the specification term being read
std::vector<std::pair<std::string, unsigned long>> powered;     // name, degree in its term

void notePower(const char *name, unsigned long exponent) {
  if (!inSpec || (name[0] == 'X' && name[1] == '\0') || (name[0] == '1' && name[1] == '\0'))
    return;
  unsigned long degree = exponent;
  for (const auto &[earlier, earlierDegree] : termFactors)
    if (earlier == name)
      degree += earlierDegree; // A*A and A^2*A: the degrees add up
  termFactors.push_back({name, exponent});
  if (degree >= 2)
    powered.push_back({name, degree});
}

// One line on standard error for the first word with a power in the
// specification.
void warnWordPowers() {
  for (const auto &[name, degree] : powered)
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
  termFactors.clear();
  inSpec = false;
}

} // namespace

void endProblem() {
  warnWordPowers();
  builder::endProblem();
}

void auxName(Factor factor) { static_cast<void>(nameOf(factor)); }

void declareName(Factor factor) { builder::declare(nameOf(factor)); }

void firstFieldTerm(Factor factor) {
  minpolyString.clear();
  HandleMinpoly(minpolyString, nameOf(factor), factor.exponent);
}

void nextFieldTerm(Factor factor) {
  minpolyString += '+';
  HandleMinpoly(minpolyString, nameOf(factor), factor.exponent);
}

void endField() {
  builder::defineField(minpolyString);
  termFactors.clear(); // left over when an earlier parse stopped inside a term
  powered.clear();
  inSpec = true;
}

void endSpec() {
  inSpec = false;
  builder::endSpecification();
}

void endCircuitPoly() { builder::endCircuitPolynomial(); }

void endTerm() {
  termFactors.clear();
  builder::endTerm();
}

void termFactor(Factor factor) {
  notePower(nameOf(factor), factor.exponent);
  builder::factor(nameOf(factor), factor.exponent);
}

void firstCoefTerm(Factor factor) {
  tmpMinpoly.clear();
  HandleMinpoly(tmpMinpoly, nameOf(factor), factor.exponent);
}

void nextCoefTerm(Factor factor) {
  tmpMinpoly += '+';
  HandleMinpoly(tmpMinpoly, nameOf(factor), factor.exponent);
}

void endCoef() { builder::coefficient(tmpMinpoly); }

Factor nameFactor(const char *text) {
  factorName.assign(text);
  return Factor{factorName.c_str(), 1, ++lastSerial};
}
