// Tokens, comments and the messages of the scanner. (Line counting and
// unknown characters are golden cases.)
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "fatal_error.h"
#include "parser.hpp"
#include "scanner.h"

namespace {

struct Scan {
  std::string tokens; // one word per token, blank-separated
  std::string output; // what the scanner printed
  int lines;          // line number at the end
};

Scan scan(const std::string &text) {
  resetScanner();
  yy_buffer_state *buffer = zel_scan_bytes(text.data(), static_cast<int>(text.size()));
  Scan result;
  testing::internal::CaptureStdout();
  std::string fatal;
  try {
    for (int token; (token = zellex()) != 0;) {
      if (!result.tokens.empty())
        result.tokens += ' ';
      if (token == NAME)
        result.tokens += "NAME:" + std::string(zellval.text);
      else if (token == EXPONENT)
        result.tokens += "EXP:" + std::to_string(zellval.exp);
      else
        result.tokens += static_cast<char>(token);
    }
  } catch (const FatalError &e) {
    fatal = e.text();
  }
  result.output = testing::internal::GetCapturedStdout() + fatal;
  result.lines = zellineno;
  zel_delete_buffer(buffer);
  return result;
}

TEST(Scanner, TokensExponentsAndComments) {
  // Exponents keep their full 64-bit value; comments are skipped and do not
  // nest, so the "*/" of an outer one is a '*' and an unknown '/'.
  const std::pair<const char *, const char *> cases[] = {
      {"a_1b2 ^12 ^ x", "NAME:a_1b2 EXP:12 ^ NAME:x"},
      {"123abc x1y", "NAME:123abc NAME:x1y"},
      {"x^2^3 X^0", "NAME:x EXP:2 EXP:3 NAME:X EXP:0"},
      {"^ 3", "^ NAME:3"},
      {"!'()*+,;=^", "! ' ( ) * + , ; = ^"},
      {"^4294967296 ^18446744073709551615 ^000007",
       "EXP:4294967296 EXP:18446744073709551615 EXP:7"},
      {"a /* b /* c */ d", "NAME:a NAME:d"},
      {"/* a /* b */ c */", "NAME:c *"},
      {"/* a **/ b", "NAME:b"},
      {"a // b\nc", "NAME:a NAME:c"},
      {"a /* to the end", "NAME:a"},
      {"a // to the end", "NAME:a"}};
  for (const auto &[text, tokens] : cases)
    EXPECT_EQ(scan(text).tokens, tokens) << text;
  EXPECT_EQ(scan("/* a /* b */ c */").output, "Unknown character: line 1: /\n");
  EXPECT_EQ(scan("a\n^18446744073709551616").output,
            "Exponent out of range: line 2: ^18446744073709551616\n");
}

} // namespace
