// The state of the problem being read and verified, owned by one object.
// The short names the handlers and the reduction use (VID, tempmon, ...)
// refer into it. reset() is the one way back to the empty state: after each
// problem, and whenever a caller needs a fresh start (tests, the fuzzer).
#pragma once

#include <memory>

#include "alpha_poly.h"
#include "monomial.h"
#include "name_list.h"
#include "name_table.h"

struct ProblemState {
  NameTable vid;       // variable name -> identifier
  NameList div;        // identifier -> name, for printing results
  int ind = 2;         // identifier of the next declared variable, from 2
  monomial_ tempmon;   // term under construction
  Polynomial glopoly;  // polynomial under construction
  Polynomial specpoly; // specification polynomial
  Ideal ideal;         // circuit generators by descending leading term

  // Empties everything above, releases tempmon's coefficient and every
  // coefficient and term of the problem (the pool and the term arena).
  void reset();
  // After a field has been defined: a fresh coefficient one for tempmon and
  // coefficient storage of the field's width. The problem holds no
  // coefficient yet.
  void startField();
};

extern ProblemState problem;

inline NameTable &VID = problem.vid;
inline NameList &DIV = problem.div;
inline int &ind = problem.ind;
inline monomial_ &tempmon = problem.tempmon;
inline Polynomial &glopoly = problem.glopoly;
inline Polynomial &specpoly = problem.specpoly;
inline Ideal &ideal = problem.ideal;
