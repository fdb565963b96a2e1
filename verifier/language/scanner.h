// Interface of the generated scanner of the .alg language.
#pragma once

#include <cstdio>

extern FILE* zelin;    // input stream; standard input when unset at the first call
extern char* zeltext;  // text of the token just matched, valid until the next zellex()
extern int zelleng;    // its length
extern int zellineno;  // current input line, from 1; never reset

// Next token: NAME, EXPONENT, a single-character token or 0 at the end.
int zellex();

// A fatal scanner error: the message on standard error, status 2.
[[noreturn]] void scannerFatal(const char* msg);
