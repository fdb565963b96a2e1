// The grammar's lists are left-recursive: long ones parse in constant stack.
// (Accepted and rejected inputs, results and the order of actions and
// messages are golden cases.)
#include <gtest/gtest.h>

#include <string>

#include "parse.h"
#include "problem_state.h"
#include "scanner.h"

namespace {

TEST(Parser, LongListsParseInConstantStack) {
  // 20000 variables, a 20000-term specification and as many generators.
  std::string vars, spec, circuit;
  for (int i = 0; i < 20000; ++i) {
    const std::string v = "v" + std::to_string(i);
    vars += (i ? ", " : "") + v;
    spec += (i ? " + " : "") + v;
    circuit += (i ? ", " : "") + v + " + 1";
  }
  const std::string text = vars + ";\nv0;\nX^2+X+1;\n" + spec + ";\n" + circuit + ";\n";
  problem.reset();
  resetScanner();
  yy_buffer_state *buffer = zel_scan_bytes(text.data(), static_cast<int>(text.size()));
  testing::internal::CaptureStdout();
  EXPECT_EQ(zelparse(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "FINAL RESULT: 0\n\n"); // ones cancel in pairs
  zel_delete_buffer(buffer);
  problem.reset();
}

} // namespace
