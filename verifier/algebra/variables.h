// Handlers that build one problem in the problem state: the variable table,
// the term and polynomial under construction, the specification polynomial
// and the circuit ideal, and the reset between problems. The statement
// actions of the input language call nothing else of the algebra, so the
// containers behind these handlers can change without touching the parser.
#pragma once

#include <string>

#include "monomial.h"

// Declares a variable: it receives the next identifier, which is returned
// (a name declared again takes the new one, and so its place in the term
// order).
VarId HandleDecl(const char *name);

// After the field has been defined: gives tempmon a fresh coefficient one
// of the new field (ProblemState::startField).
void HandleField();

// One factor name^exponent of the term under construction: "X" multiplies
// its coefficient by alpha^exponent, "1" does nothing, any other name adds
// that declared variable (x^e = x for a Boolean x, so e does not matter). An undeclared name throws
// a FatalError that prints
// "<name> undefined", status 1.
void HandleVar(const char *name, unsigned long exponent);

// The same for a variable given by its identifier (declared, so no lookup)
// and for the factor X^exponent.
void HandleVarId(VarId id);
void HandleAlphaPower(unsigned long exponent);

// A parenthesised coefficient (canonical field text): multiplied into the
// coefficient of the term under construction.
void HandleCoef(const std::string &text);

// Completes a term: adds tempmon to glopoly and starts a new term with
// coefficient one.
void HandleTerm();

// Completes the specification polynomial: glopoly moves into specpoly.
void HandleSpec();

// Completes a circuit polynomial: glopoly moves into the ideal.
void HandleCircuit();

// Moves p into the ideal, which keeps its generators in non-increasing
// order of leading terms, generators with equal leading terms in read order;
// p is left empty. An empty p (all its terms cancelled) contributes nothing
// to a reduction and is not stored.
void HandlePoly(Polynomial &p);

// True when a circuit polynomial led by the declared variable `name` (a
// term of that variable alone) has a coefficient other than one: the
// variable is a word over GF(2^K) rather than a bit.
bool isWordVariable(const char *name);

// Completes a problem: reduces specpoly modulo the ideal, prints the
// result, passes the problem to the installed problem hook (problem_hook.h)
// if there is one, then clears the problem state.
void HandleProblem();

// Both reset the problem state (ProblemState::reset): after a problem, and
// at process exit so that nothing the problem state owns is left on the heap.
void clear();
void releaseProblemState();
