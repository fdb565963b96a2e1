// Verifying one problem file.
#pragma once

#include <cstddef>

// Opens the file at path, parses it (every problem is verified and its
// result printed as soon as it has been read) and closes it. Returns 0
// when every problem of the file was read and verified; 1 when the file
// cannot be opened or is a directory ("Fail to locate file: <path>" is
// printed) or the parse stopped at a syntax error or an exhausted parser
// stack. Running out of memory throws std::bad_alloc to the caller.
int zelmain(const char *path);

// Verifies the problems of a text held in memory, as zelmain does for a
// file (the scanner starts afresh at line 1). Returns 0 when every problem
// was read and verified, 1 when the parse stopped at an error.
int verifyText(const char *text, std::size_t length);
