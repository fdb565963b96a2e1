// Verifying one problem file.
#pragma once

// Opens the file at path, parses it (every problem is verified and its
// result printed as soon as it has been read) and closes it. Returns 0
// when every problem of the file was read and verified; 1 when the file
// cannot be opened or is a directory ("Fail to locate file: <path>" is
// printed) or the parse stopped at a syntax error or an exhausted parser
// stack. Running out of memory throws std::bad_alloc to the caller.
int zelmain(const char *path);
