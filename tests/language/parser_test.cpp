// The grammar: accepted and rejected inputs, results of zelparse, and the
// order in which actions run relative to the scanner.
#include <gtest/gtest.h>

#include <string>

#include "alpha_poly.h"
#include "fatal_error.h"
#include "parse.h"
#include "problem_state.h"
#include "scanner.h"
#include "variables.h"

namespace {

struct Parse {
  int result;
  std::string output;
};

Parse parse(const std::string& text) {
  releaseProblemState();
  resetScanner();
  yy_buffer_state* buffer = zel_scan_bytes(text.data(), static_cast<int>(text.size()));
  testing::internal::CaptureStdout();
  Parse p;
  std::string fatal;
  try {
    p.result = zelparse();
  } catch (const FatalError& e) {
    p.result = static_cast<int>(e.status());
    fatal = e.text();
  }
  p.output = testing::internal::GetCapturedStdout() + fatal;
  zel_delete_buffer(buffer);
  releaseProblemState();
  return p;
}

const std::string kExample = "z, a, b;\na, b;\nX^2 + X + 1;\nz + (X + 1)*a*b;\n"
                             "z + (X + 1)*a*b, a + b + 1;\n";

TEST(Parser, AcceptsProblemsOneAfterTheOther) {
  Parse once = parse(kExample);
  EXPECT_EQ(once.result, 0);
  EXPECT_EQ(once.output, "FINAL RESULT: 0\n\n");
  Parse twice = parse(kExample + "// again\n" + kExample);
  EXPECT_EQ(twice.result, 0);
  EXPECT_EQ(twice.output, "FINAL RESULT: 0\n\nFINAL RESULT: 0\n\n");
}

TEST(Parser, SyntaxErrorsStopTheParse) {
  const std::string head = "z, a;\na;\nX^2+X+1;\n";
  for (const std::string& text :
       {head + "z + (X+1);\nz;\n", head + "z + a*(X+1)*a;\nz;\n", head + "z + a^ 2;\nz;\n",
        head + "z + a!;\nz;\n", head + "z + a';\nz;\n", head + "z = a;\nz;\n", head + "z ^ a;\nz;\n"}) {
    Parse p = parse(text);
    EXPECT_EQ(p.result, 1) << text;
    EXPECT_EQ(p.output, "ERROR:line 4: syntax error\n") << text;
  }
  EXPECT_EQ(parse("").output, "ERROR:line 1: syntax error\n");
  EXPECT_EQ(parse("z, a, b; ; X^2+X+1; z; z;").output, "ERROR:line 1: syntax error\n");
}

TEST(Parser, CoefficientAloneNeedsAFactor) {
  Parse p = parse("z;z;X^2+X+1;\n(X+1)*1 + z;\nz + (X)*1;\n");
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.output, "FINAL RESULT: 1\n\n"); // z -> X, and X+1 + X = 1
}

TEST(Parser, IncompleteLastProblemFailsAfterEarlierResults) {
  Parse p = parse(kExample + "z, a;\na;\nX^2+X+1;\nz;\nz\n\n");
  EXPECT_EQ(p.result, 1);
  EXPECT_EQ(p.output, "FINAL RESULT: 0\n\nERROR:line 12: syntax error\n");
}

TEST(Parser, ResultComesBeforeTheScannerReadsOn) {
  Parse p = parse(kExample.substr(0, kExample.size() - 1) + "#");
  EXPECT_EQ(p.output, "FINAL RESULT: 0\n\nUnknown character: line 5: #\n");
}

TEST(Parser, FactorIsHandledBeforeTheSyntaxErrorAfterIt) {
  EXPECT_EQ(parse("z, b;\na;\nX^2+X+1;\nz + a b;\nz;\n").output, "a undefined\n");
  // With "a" declared, the same text is only a syntax error.
  EXPECT_EQ(parse("z, a, b;\na;\nX^2+X+1;\nz + a b;\nz;\n").output, "ERROR:line 4: syntax error\n");
}

TEST(Parser, LongListsParseInConstantStack) {
  // 20000 variables, a 20000-term specification and as many generators.
  std::string vars, spec, circuit;
  for (int i = 0; i < 20000; ++i) {
    const std::string v = "v" + std::to_string(i);
    vars += (i ? ", " : "") + v;
    spec += (i ? " + " : "") + v;
    circuit += (i ? ", " : "") + v + " + 1";
  }
  Parse p = parse(vars + ";\nv0;\nX^2+X+1;\n" + spec + ";\n" + circuit + ";\n");
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.output, "FINAL RESULT: 0\n\n"); // 20000 ones cancel in pairs
}

} // namespace
