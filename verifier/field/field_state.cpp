// The state of the current field and its modulus.
#include "field_state.h"

#include "alpha_poly.h"
#include "reduction.h"

FieldState fieldState;
Modulus fieldModulus;

void FieldState::reset() {
  if (exponents != nullptr) {
    for (int i = 0; i <= k; ++i)
      delete exponents[i];
    delete[] exponents;
    exponents = nullptr;
  }
  k = numWords = 0;
  fieldModulus = Modulus();
}
