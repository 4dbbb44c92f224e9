// Solving problems with nonlinear rows and objectives through the C interface: optima of classic
// test problems (Hock and Schittkowski's collection, by number), the start point rules, evaluation
// errors, limits, and a mixed-integer problem checked against enumeration.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "nonlinear/nl_problem_fixture.h"

namespace {

using postfix::C;
using postfix::E;
using postfix::X;

class NlSolveTest : public NlProblemTest {
 protected:
  int IntAttr(const char* name) {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0);
    return v;
  }
  double DblAttr(const char* name) {
    double v = NAN;
    EXPECT_EQ(TARQ_GetDblAttr(prob_, name, &v), 0);
    return v;
  }
  std::vector<double> Values() {
    int n = 0;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, "Cols", &n), 0);
    std::vector<double> x(static_cast<size_t>(n));
    EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), 0);
    return x;
  }
  // Solves and checks the objective against a published optimum: relative 1e-6, or absolute 1e-6
  // for an optimum of 0.
  void ExpectOptimum(double best) {
    ASSERT_EQ(TARQ_Solve(prob_), 0) << log_;
    ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_LOCALLY_OPTIMAL) << log_;
    const double obj = DblAttr("LpObjval");
    EXPECT_LE(std::fabs(obj - best), 1e-6 * std::max(1.0, std::fabs(best))) << obj << " vs " << best;
  }

};

constexpr double kFree = 1e30;

TEST_F(NlSolveTest, HS1_RosenbrockWithABound) {
  Cols({-kFree, -1.5}, {kFree, kFree}, {-2, 1});
  Objective(100 * postfix::Sqr(X(1) - postfix::Sqr(X(0))) + postfix::Sqr(1.0 - X(0)));
  ExpectOptimum(0.0);
  const auto x = Values();
  EXPECT_NEAR(x[0], 1.0, 1e-5);
  EXPECT_NEAR(x[1], 1.0, 1e-5);
}

TEST_F(NlSolveTest, HS5_SineWithBounds) {
  Cols({-1.5, -3}, {4, 3}, {0, 0});
  Objective(postfix::Sin(X(0) + X(1)) + postfix::Sqr(X(0) - X(1)) + (-1.5) * X(0) + 2.5 * X(1) + 1.0);
  ExpectOptimum(-std::sqrt(3.0) / 2 - M_PI / 3);
}

TEST_F(NlSolveTest, HS7_LogarithmWithAnEquality) {
  Cols({-kFree, -kFree}, {kFree, kFree}, {2, 2});
  Objective(postfix::Log(postfix::Sqr(X(0)) + 1.0) - X(1));
  Row(postfix::Sqr(postfix::Sqr(X(0)) + 1.0) + postfix::Sqr(X(1)), 'E', 4);
  ExpectOptimum(-std::sqrt(3.0));
}

TEST_F(NlSolveTest, HS71_ProductsWithInequalityEqualityAndBounds) {
  Cols({1, 1, 1, 1}, {5, 5, 5, 5}, {1, 5, 5, 1});
  Objective(X(0) * X(3) * (X(0) + X(1) + X(2)) + X(2));
  Row(X(0) * X(1) * X(2) * X(3), 'G', 25);
  Row(postfix::Sqr(X(0)) + postfix::Sqr(X(1)) + postfix::Sqr(X(2)) + postfix::Sqr(X(3)), 'E', 40);
  ExpectOptimum(17.0140173);
  // Row activities and duals are reported; the product row is active at the optimum.
  double act = 0, dual = 0;
  const int row = 0;
  ASSERT_EQ(TARQ_GetNLConstrInfo(prob_, "Slack", 1, &row, &act), 0);
  ASSERT_EQ(TARQ_GetNLConstrInfo(prob_, "Dual", 1, &row, &dual), 0);
  EXPECT_NEAR(act, 25.0, 1e-6);
  EXPECT_GT(dual, 0.0);  // a 'G' row that binds in a minimisation
}

TEST_F(NlSolveTest, HS80_ExponentialOfAProductWithThreeEqualities) {
  Cols({-2.3, -2.3, -3.2, -3.2, -3.2}, {2.3, 2.3, 3.2, 3.2, 3.2}, {-2, 2, 2, -1, -1});
  Objective(postfix::Exp(X(0) * X(1) * X(2) * X(3) * X(4)));
  E sum = postfix::Sqr(X(0));
  for (int j = 1; j < 5; ++j) sum = sum + postfix::Sqr(X(j));
  Row(sum, 'E', 10);
  Row(X(1) * X(2) - 5 * (X(3) * X(4)), 'E', 0);
  Row(postfix::Pow(X(0), 3) + postfix::Pow(X(1), 3), 'E', -1);
  ExpectOptimum(0.0539498478);
}

TEST_F(NlSolveTest, StartsFromThePrimalStartElseTheMipStartElseNearestToZero) {
  // Two local minima of (x^2 - 1)^2: the start decides which one is found.
  Cols({-3}, {3}, {});
  Objective(postfix::Sqr(postfix::Sqr(X(0)) - 1.0));
  const double minus = -2, plus = 2;
  const int col = 0;
  ASSERT_EQ(TARQ_AddMipStart(prob_, 1, &col, &minus), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(Values()[0], -1.0, 1e-6);
  ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, 1, &col, &plus), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(Values()[0], 1.0, 1e-6);
  EXPECT_NE(log_.find("local optimum"), std::string::npos) << log_;
}

TEST_F(NlSolveTest, DomainErrorsMakeTheEngineStepBack) {
  // min x - 2 log(x) from x = 5 (optimum x = 2): Newton's first step overshoots below 0 unless
  // the engine steps back when log cannot be evaluated.
  Cols({-10}, {10}, {5});
  Objective(X(0) - 2 * postfix::Log(X(0)));
  ExpectOptimum(2 - 2 * std::log(2.0));
  EXPECT_NEAR(Values()[0], 2.0, 1e-6);
  EXPECT_TRUE(std::isfinite(DblAttr("LpObjval")));
}

TEST_F(NlSolveTest, AnUndefinedStartEndsWithoutASolutionNotWithANaN) {
  Cols({-10}, {-1}, {});
  Objective(postfix::Log(X(0)));  // log of a negative number everywhere
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NE(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NE(IntAttr("LpStatus"), TARQ_STATUS_LOCALLY_OPTIMAL);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

TEST_F(NlSolveTest, MixedIntegerProblemMatchesEnumeration) {
  const double best = AddSmallMinlp();
  ASSERT_EQ(TARQ_Solve(prob_), 0) << log_;
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_LOCALLY_OPTIMAL) << log_;
  EXPECT_NEAR(DblAttr("BestObj"), best, 1e-6 * std::max(1.0, std::fabs(best)));
  const auto x = Values();
  EXPECT_EQ(x[0], std::round(x[0]));
}

}  // namespace
