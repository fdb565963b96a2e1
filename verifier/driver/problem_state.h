// The process-wide state of the problem being read and verified. It starts
// empty before main runs; clear() resets the per-problem part after every
// problem.
#pragma once

#include <string>
#include <vector>

#include "monomial.h"
#include "name_list.h"
#include "name_table.h"

static_assert(sizeof(unsigned long) == 8, "exponents are unsigned 64-bit values");

extern NameTable VID;               // variable name -> identifier (current problem)
extern NameList DIV;                // identifier -> name; never emptied
extern int ind;                     // identifier of the next declared variable, from 2
extern monomial_ tempmon;           // term under construction
extern Polynomial glopoly;          // polynomial under construction
extern Polynomial specpoly;         // specification polynomial
extern Ideal ideal;                 // circuit generators by descending leading term
extern unsigned long lastExp;       // exponent of the latest factor, 1 when none was written
extern std::string minpolyString;   // canonical text of the field's minimal polynomial
extern std::string tmpMinpoly;      // canonical text of the coefficient being read
