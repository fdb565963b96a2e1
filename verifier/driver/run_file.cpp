// Opening the problem file and running the parser over it.
#include "run_file.h"

#include <cstdio>

#include "parse.h"
#include "scanner.h"

int zelmain(const char* path) {
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) {
    std::fputs("Fail to locate file: ", stdout);
    std::fputs(path, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return 1;
  }
  zelin = file;
  const int result = zelparse();
  std::fclose(file);
  return result == 0 ? 0 : 1;
}
