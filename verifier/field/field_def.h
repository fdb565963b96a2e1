// Canonical text of the terms of a minimal polynomial or coefficient literal.
#pragma once

#include <string>

// Appends the canonical text of the factor name^exponent ("X", "X^e" or "1")
// to out; throws a FatalError (status 1) for any other name or exponent 0.
void HandleMinpoly(std::string &out, const char *name, unsigned long exponent);
