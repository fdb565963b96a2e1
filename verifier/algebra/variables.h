// Handlers that build one problem in the problem state: the variable table,
// the term and polynomial under construction, the specification polynomial
// and the circuit ideal, and the reset between problems. The statement
// actions of the input language call nothing else of the algebra, so the
// containers behind these handlers can change without touching the parser.
#pragma once

#include <string>

#include "monomial.h"

// Declares a variable: it receives the next identifier (a name declared
// again takes the new one, and so its place in the term order).
void HandleDecl(const char* name);

// After the field has been defined: gives tempmon a fresh coefficient one
// of the new field, releasing the one it held before.
void HandleField();

// One factor of the term under construction: "X" multiplies its
// coefficient by alpha^lastExp, "1" does nothing, any other name adds that
// declared variable. An undeclared name prints "<name> undefined" and ends
// the process with status 1.
void HandleVar(const char* name);

// A parenthesised coefficient (canonical field text): multiplied into the
// coefficient of the term under construction.
void HandleCoef(const std::string& text);

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
void HandlePoly(Polynomial& p);

// Completes a problem: reduces specpoly modulo the ideal, prints the
// result, passes the problem to the installed problem hook (problem_hook.h)
// if there is one, then clears the problem state.
void HandleProblem();

// Resets the per-problem state: empties tempmon's variables, glopoly,
// specpoly, the ideal and VID (releasing all their coefficients) and sets
// ind back to 2. DIV, lastExp, the texts and tempmon's coefficient stay.
void clear();

// clear(), and also frees tempmon's coefficient: leaves nothing on the
// heap that the problem state owns. Run at process exit.
void releaseProblemState();
