// Interface of the generated scanner of the .alg language.
#pragma once

#include <cstdio>

extern FILE *zelin;   // input stream; standard input when unset at the first call
extern char *zeltext; // text of the token just matched, valid until the next zellex()
extern int zelleng;   // its length
extern int zellineno; // current input line, from 1; runs on across problems

// Next token: NAME, EXPONENT, a single-character token or 0 at the end.
int zellex();

// Scanning a byte string instead of zelin (a buffer of the generated
// scanner; delete it when done).
struct yy_buffer_state;
yy_buffer_state *zel_scan_bytes(const char *bytes, int length);
void zel_delete_buffer(yy_buffer_state *buffer);

// Back to the normal start state and line 1, for scanning another input in
// the same process.
void resetScanner();

// A fatal scanner error: throws a FatalError with the message for standard
// error, status 2.
[[noreturn]] void scannerFatal(const char *msg);
