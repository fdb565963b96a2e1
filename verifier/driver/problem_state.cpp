// Definitions and start values of the process-wide problem state.
#include "problem_state.h"

NameTable VID;
NameList DIV;
int ind = 2;
monomial_ tempmon;
Polynomial glopoly;
Polynomial specpoly;
Ideal ideal;
unsigned long lastExp = 0;
std::string minpolyString;
std::string tmpMinpoly;
