// The one way polyverify's code ends the process on a fatal input error:
// flushes standard output, then exits with the given status. The fuzzing
// build links its own definition, which returns control to the harness
// instead of ending the process.
#pragma once

[[noreturn]] void endProcess(int status);
