// insertmon and the statement handlers that build a problem.
#include <utility>

#include "algebra_fixture.h"
#include "fatal_error.h"
#include "reduce.h"

namespace {

using Insertmon = AlgebraTest;

TEST_F(Insertmon, PlacesTermsInOrderWhateverTheArrivalOrder) {
  // a, b, c are 2, 3, 4; inserted as c, ab, b, abc, a.
  for (auto vars : {std::vector<VarId>{4}, {2, 3}, {3}, {2, 3, 4}, {2}}) {
    tempmon.vars = vars;
    insertmon(tempmon);
    EXPECT_EQ(tempmon.vars, vars); // left for the caller to empty
  }
  normalize(glopoly);
  EXPECT_EQ(show(glopoly), "2,3,4:1 2,3:1 2:1 3:1 4:1");
}

TEST_F(Insertmon, SortingKeepsEqualTermsTogetherAcrossLongRuns) {
  // Many equal terms scattered among others: every pair cancels, and the
  // X terms survive with the sum of their coefficients.
  for (int round = 0; round < 50; ++round) {
    add(glopoly, {5}, "1");
    add(glopoly, {2, 3, 4}, "X");
    add(glopoly, {3}, "X^2");
  }
  normalize(glopoly);
  EXPECT_TRUE(glopoly.empty()); // 50 copies of each: an even count cancels
  add(glopoly, {3}, "X^2");
  add(glopoly, {2, 3, 4}, "X");
  add(glopoly, {3}, "1");
  EXPECT_EQ(show(glopoly), "2,3,4:X 3:X^2+1");
}

TEST_F(Insertmon, MergesEqualTermsAndNeverStoresAZeroCoefficient) {
  // One term added per step, then the polynomial; constants stay at the end,
  // and X^3+X+1 is zero in this field.
  const struct {
    std::vector<VarId> vars;
    const char *coef, *after;
  } steps[] = {{{2, 3}, "X", "2,3:X"},  {{4}, "1", "2,3:X 4:1"}, {{2, 3}, "1", "2,3:X+1 4:1"},
               {{4}, "1", "2,3:X+1"},   {{2, 3}, "X+1", ""},     {{3}, "1", "3:1"},
               {{}, "X", "3:1 :X"},     {{}, "1", "3:1 :X+1"},   {{}, "X+1", "3:1"},
               {{2}, "X^3+X+1", "3:1"}, {{2}, "X", "2:X 3:1"},   {{2}, "X^3+X+1", "2:X 3:1"}};
  for (const auto &step : steps) {
    add(glopoly, step.vars, step.coef);
    EXPECT_EQ(show(glopoly), step.after) << step.coef;
  }
}

using Handlers = AlgebraTest;

TEST_F(Handlers, FactorsBuildTheTermUnderConstruction) {
  HandleDecl("a");
  HandleDecl("b");
  HandleField();
  HandleVar("X", 1);
  HandleVar("X", 5); // X^5 = X^2+X+1
  HandleVar("b", 7); // an exponent on a variable has no effect
  HandleVar("b", 1);
  HandleVar("1", 1);
  HandleCoef("X+1");
  EXPECT_EQ(tempmon.vars, (std::vector<VarId>{3}));
  // X * X^5 * (X+1) = X^7 + X^6 = 1 + X^2+1 = X^2
  EXPECT_EQ(tempmon.coef->toString(), "X^2");
  HandleVar("X", 0);
  EXPECT_EQ(tempmon.coef->toString(), "X^2");
  HandleTerm();
  EXPECT_TRUE(tempmon.vars.empty());
  EXPECT_TRUE(tempmon.coef->isOne());
  EXPECT_EQ(show(glopoly), "3:X^2");
}

TEST_F(Handlers, RedeclaredNameTakesItsLastIdentifier) {
  HandleDecl("a");
  HandleDecl("b");
  HandleDecl("a");
  EXPECT_EQ(VID.find("a", 1), 4u);
  EXPECT_EQ(VID.find("b", 1), 3u);
  EXPECT_EQ(VID.find("c", 1), 0u);
  for (VarId id : {2u, 3u, 4u, 5u})
    EXPECT_EQ(DIV.get(id), id == 5 ? "" : id == 3 ? "b" : "a");
  EXPECT_EQ(ind, 5);
}

TEST_F(Handlers, UndefinedNameEndsTheProcess) {
  HandleDecl("a");
  HandleField();
  EXPECT_THROW(HandleVar("b", 1), FatalError);
}

TEST_F(Handlers, ClearResetsTheWholeProblem) {
  HandleDecl("a");
  HandleField();
  add(glopoly, {2});
  add(specpoly, {2});
  Polynomial p;
  add(p, {2});
  HandlePoly(p);
  tempmon.vars = {2};
  clear();
  EXPECT_TRUE(glopoly.empty() && specpoly.empty() && ideal.empty() && VID.size() == 0);
  EXPECT_TRUE(tempmon.vars.empty() && tempmon.coef == nullptr && termArena.empty());
  EXPECT_EQ(ind, 2);
  EXPECT_EQ(DIV.get(2), "");
}

TEST_F(Handlers, SpecAndCircuitPolynomialsMoveOutOfGlopoly) {
  add(glopoly, {2});
  HandleSpec();
  EXPECT_TRUE(glopoly.empty());
  EXPECT_EQ(show(specpoly), "2:1");
  add(glopoly, {3});
  HandleCircuit();
  EXPECT_TRUE(glopoly.empty());
  ASSERT_EQ(ideal.size(), 1u);
  EXPECT_EQ(showGenerator(0), "3:1");
}

using HandlePolyOrder = AlgebraTest;

TEST_F(HandlePolyOrder, KeepsLeadingTermsNonIncreasingAndReadOrderForTies) {
  auto generator = [this](const std::vector<VarId> &lead, const std::string &tailCoef) {
    Polynomial p;
    add(p, lead);
    add(p, {}, tailCoef);
    HandlePoly(p);
    EXPECT_TRUE(p.empty());
  };
  generator({3}, "1");
  generator({4}, "1");
  generator({3}, "X");   // equal to the first: after it
  generator({2}, "1");   // greater than all: to the front
  generator({3}, "X^2"); // after the other two with lead 3
  generator({5}, "1");
  EXPECT_FALSE(ideal.sorted); // the first out-of-order generator marks it
  sortGenerators(ideal);
  std::string order;
  for (std::size_t i = 0; i < ideal.size(); ++i)
    order += showGenerator(i) + " | ";
  EXPECT_EQ(order, "2:1 :1 | 3:1 :1 | 3:1 :X | 3:1 :X^2 | 4:1 :1 | 5:1 :1 | ");
}

TEST_F(HandlePolyOrder, EmptyPolynomialIsNotStored) {
  Polynomial p;
  HandlePoly(p);
  EXPECT_TRUE(ideal.empty());
  add(glopoly, {2});
  add(glopoly, {2}); // x + x
  HandleCircuit();
  EXPECT_TRUE(ideal.empty());
}

} // namespace
