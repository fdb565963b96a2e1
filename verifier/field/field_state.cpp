// The width state of the current field and its modulus. All zero / null until
// the first field is defined; only AlphaPoly::setMinpoly changes them.
#include "field_state.h"

#include "reduction.h"

int K = 0;
int NumChars = 0;
int lastCharBuffer = 0;
int NumWords = 0;
AlphaPoly **exponents = nullptr;

Modulus fieldModulus;
