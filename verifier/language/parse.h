// Entry of the generated parser of the .alg language.
#pragma once

// Parses the whole input of the scanner, running the statement action of
// every rule as it completes. Returns 0 when the input was accepted, 1
// after a syntax error, 2 when the parser stack was exhausted.
int zelparse();

// Prints "ERROR:line <line>: <msg>" on standard output; returns 1.
int zelerror(const char *msg);
