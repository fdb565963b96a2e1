// Opening the problem file and running the parser over it.
#include "run_file.h"

#include <sys/stat.h>

#include <cstdio>

#include "parse.h"
#include "scanner.h"

namespace {

// A directory opens for reading on Linux but fails at the first read, which
// the scanner would report as a fatal read error; it is no problem file, so
// it is treated like a path that does not exist.
bool isDirectory(FILE *file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

int zelmain(const char *path) {
  FILE *file = std::fopen(path, "r");
  if (file != nullptr && isDirectory(file)) {
    std::fclose(file);
    file = nullptr;
  }
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
  zelin = nullptr;
  return result == 0 ? 0 : 1;
}

int verifyText(const char *text, std::size_t length) {
  resetScanner();
  yy_buffer_state *buffer = zel_scan_bytes(text, static_cast<int>(length));
  int result = 1;
  try {
    result = zelparse();
  } catch (...) {
    zel_delete_buffer(buffer);
    throw;
  }
  zel_delete_buffer(buffer);
  return result == 0 ? 0 : 1;
}
