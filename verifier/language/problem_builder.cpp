// The steps of building a problem, over the problem handlers of the algebra.
#include "problem_builder.h"

#include "alpha_poly.h"
#include "variables.h"

namespace builder {

VarId declare(const char *name) { return HandleDecl(name); }

void defineField(const std::string &minpoly) {
  AlphaPoly::setMinpoly(minpoly);
  HandleField();
}

void variable(VarId id) { HandleVarId(id); }

void factor(const char *name, unsigned long exponent) { HandleVar(name, exponent); }

void alphaPower(unsigned long exponent) { HandleAlphaPower(exponent); }

void coefficient(const std::string &text) { HandleCoef(text); }

void endTerm() { HandleTerm(); }

void endSpecification() { HandleSpec(); }

void endCircuitPolynomial() { HandleCircuit(); }

void endProblem() { HandleProblem(); }

} // namespace builder
