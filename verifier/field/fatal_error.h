// The one error that ends polyverify: the libraries throw it, only the
// program's main prints it and exits. It carries the exact text to print
// (with its final newline), the stream it goes to and the exit status.
#pragma once

#include <stdexcept>
#include <string>

// Every exit status of polyverify.
enum class ExitStatus {
  kOk = 0,           // every problem read and verified
  kInputError = 1,   // bad command line, missing file, syntax or input error
  kScannerFatal = 2, // the scanner cannot read its input or get its buffers
  kOutOfMemory = 3,  // memory, or a 32-bit limit of the term or name store, exhausted
};

enum class ErrorStream { kStdout, kStderr };

class FatalError : public std::runtime_error {
public:
  FatalError(std::string text, ErrorStream stream, ExitStatus status)
      : std::runtime_error(text), text_(std::move(text)), stream_(stream), status_(status) {}

  // The message exactly as printed, newline included.
  const std::string &text() const { return text_; }
  ErrorStream stream() const { return stream_; }
  ExitStatus status() const { return status_; }

private:
  std::string text_;
  ErrorStream stream_;
  ExitStatus status_;
};

// A fatal input error: text on standard output, status 1.
inline FatalError inputError(std::string text) {
  return FatalError(std::move(text), ErrorStream::kStdout, ExitStatus::kInputError);
}
