// The reduction, worked out by hand, one path at a time. (Empty
// specifications and ideals, zero products in rings and the printed forms of
// terms are golden cases.)
#include <string>

#include "algebra_fixture.h"
#include "reduce.h"

namespace {

class Reduce : public AlgebraTest {
protected:
  void SetUp() override {
    AlgebraTest::SetUp();
    for (const char *name : {"a", "b", "c", "d"})
      HandleDecl(name); // 2, 3, 4, 5
  }

  // Runs reduce on specpoly and ideal; returns what it printed.
  std::string run() {
    testing::internal::CaptureStdout();
    reduce(specpoly, ideal);
    return testing::internal::GetCapturedStdout();
  }

  void generator(std::initializer_list<std::pair<std::vector<VarId>, std::string>> terms) {
    Polynomial p;
    for (const auto &t : terms)
      p.push_back(polyTerm({}, t.second)), p.back().term = makeTerm(t.first.data(), t.first.size());
    HandlePoly(p);
  }
};

TEST_F(Reduce, LeadingCoefficientOneScalesTheTailByTheLeadingTerm) {
  // X*a*b reduced by a + X^2*c gives X^3*b*c = (X+1)*b*c.
  add(specpoly, {2, 3}, "X");
  generator({{{2}, "1"}, {{4}, "X^2"}});
  EXPECT_EQ(run(), "FINAL RESULT: (X+1)*b*c\n");
}

TEST_F(Reduce, EqualLeadingCoefficientsKeepTheTail) {
  add(specpoly, {2}, "X+1");
  generator({{{2}, "X+1"}, {{3}, "X^2"}, {{}, "X"}});
  EXPECT_EQ(run(), "FINAL RESULT: (X^2)*b+X\n\n");
}

TEST_F(Reduce, OtherLeadingCoefficientIsInverted) {
  // a reduced by X*a + c gives X^-1 * c = (X^2+1)*c.
  add(specpoly, {2});
  generator({{{2}, "X"}, {{4}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: (X^2+1)*c\n");
}

TEST_F(Reduce, ProductsMergeIntoExistingTermsAndCancel) {
  // a + b + c with a -> b + X*c + 1: b cancels, c becomes (X+1)*c, 1 appended.
  add(specpoly, {2});
  add(specpoly, {3});
  add(specpoly, {4});
  generator({{{2}, "1"}, {{3}, "1"}, {{4}, "X"}, {{}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: (X+1)*c+1\n\n");
}

TEST_F(Reduce, SameGeneratorIsTriedAgainOnTheNewLeadingTerm) {
  // a*b -> b*c (via a -> c), then b*c -> c (via b -> 1).
  add(specpoly, {2, 3});
  generator({{{2}, "1"}, {{4}, "1"}});
  generator({{{3}, "1"}, {{}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: c\n");
}

TEST_F(Reduce, SinglePassStopsAtTheFirstIrreducibleLeadingTerm) {
  // The ideal is [a + d, c + 1]. b is divisible by neither, so the pass
  // ends, and the lower term c stays although c + 1 would reduce it.
  add(specpoly, {3});
  add(specpoly, {4});
  generator({{{2}, "1"}, {{5}, "1"}});
  generator({{{4}, "1"}, {{}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: b+c\n");
}

TEST_F(Reduce, PassedGeneratorIsNotTriedAgain) {
  // [b*d + 1, c + d]: b*c -> b*d through the second generator, but the
  // first, which would divide b*d, is already behind.
  add(specpoly, {3, 4});
  generator({{{3, 5}, "1"}, {{}, "1"}});
  generator({{{4}, "1"}, {{5}, "1"}});
  EXPECT_EQ(run(), "FINAL RESULT: b*d\n");
}

} // namespace
