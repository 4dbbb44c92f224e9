// MIP solves of small problems with hand-checked answers: knapsack optimum, pool, MIP start,
// infeasibility, and the LP relaxation of a MIP.
#include "solve_fixture.h"

namespace solvetest {
namespace {

// max 5a + 4b + 3c  s.t.  2a + 3b + c <= 5, a, b, c binary: optimum a = b = 1, c = 0, value 9.
// The LP relaxation takes a = 1, c = 1, b = 2/3: value 8 + 8/3.
class Knapsack : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Row({}, -kInf, 5, "cap");
    Col(5, 0, 1, 'B', {{0, 2}}, "a");
    Col(4, 0, 1, 'B', {{0, 3}}, "b");
    Col(3, 0, 1, 'B', {{0, 1}}, "c");
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  }
};

TEST_F(Knapsack, FindsTheOptimumAndReportsMipAttributes) {
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(IntAttr("HasMipSol"), 1);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_NEAR(DblAttr("BestObj"), 9, 1e-9);
  EXPECT_NEAR(DblAttr("BestBnd"), 9, 1e-6);
  EXPECT_NEAR(DblAttr("BestGap"), 0, 1e-6);
  auto x = Solution();
  EXPECT_NEAR(x[0], 1, 1e-9);
  EXPECT_NEAR(x[1], 1, 1e-9);
  EXPECT_NEAR(x[2], 0, 1e-9);
  double act = 0;
  int row = 0;
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "Slack", 1, &row, &act), 0);
  EXPECT_NEAR(act, 5, 1e-9);
  // A MIP solve leaves no duals.
  double dual = 0;
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "Dual", 1, &row, &dual), TARQ_RETCODE_INVALID);
  std::vector<double> y(1);
  EXPECT_EQ(TARQ_GetLpSolution(prob_, nullptr, nullptr, y.data(), nullptr), TARQ_RETCODE_INVALID);
  EXPECT_GE(IntAttr("PoolSols"), 1);
  double best = 0;
  ASSERT_EQ(TARQ_GetPoolObjVal(prob_, 0, &best), 0);
  EXPECT_NEAR(best, 9, 1e-9);
}

TEST_F(Knapsack, SolveLpSolvesTheRelaxation) {
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(IntAttr("IsRelaxSolved"), 1);
  EXPECT_NEAR(DblAttr("LpObjval"), 8 + 8.0 / 3, 1e-9);
  auto x = Solution();
  EXPECT_NEAR(x[1], 2.0 / 3, 1e-9);
}

TEST_F(Knapsack, PoolHoldsDistinctFeasibleSolutionsBestFirst) {
  int n = 0;
  for (int presolve : {1, 0}) {  // with and without branch and cut's preprocessing
    SCOPED_TRACE(presolve);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", presolve), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    n = IntAttr("PoolSols");
    // Preprocessing leads the search straight to the optimum here; without it, to others first.
    ASSERT_GE(n, presolve ? 1 : 2);
    double previous = 1e30;
    std::vector<std::vector<double>> seen;
    for (int k = 0; k < n; ++k) {
      double obj = 0;
      std::vector<double> x(3);
      ASSERT_EQ(TARQ_GetPoolObjVal(prob_, k, &obj), 0);
      ASSERT_EQ(TARQ_GetPoolSolution(prob_, k, 3, nullptr, x.data()), 0);
      EXPECT_LE(obj, previous + 1e-9);
      previous = obj;
      EXPECT_NEAR(obj, 5 * x[0] + 4 * x[1] + 3 * x[2], 1e-9);
      EXPECT_LE(2 * x[0] + 3 * x[1] + x[2], 5 + 1e-9);
      for (const auto& other : seen) EXPECT_NE(other, x);
      seen.push_back(x);
    }
  }
  double previous = 0;
  int list[] = {2, 0};
  double two[2];
  ASSERT_EQ(TARQ_GetPoolSolution(prob_, 0, 2, list, two), 0);
  EXPECT_NEAR(two[0], 0, 1e-9);
  EXPECT_NEAR(two[1], 1, 1e-9);
  EXPECT_EQ(TARQ_GetPoolSolution(prob_, n, 3, nullptr, two), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetPoolSolution(prob_, -1, 3, nullptr, two), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetPoolSolution(prob_, 0, 4, nullptr, two), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetPoolObjVal(prob_, n, &previous), TARQ_RETCODE_INVALID);
}

TEST_F(Knapsack, InfeasibleWhenTheRowAsksForMoreThanFits) {
  int row = 0;
  double lo = 6;
  ASSERT_EQ(TARQ_SetRowLower(prob_, 1, &row, &lo), 0);  // 6 <= 2a + 3b + c <= 5
  double up = 7;
  ASSERT_EQ(TARQ_SetRowUpper(prob_, 1, &row, &up), 0);  // 6 <= ... <= 7: only a = b = c = 1 fits
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  lo = 6.5;
  ASSERT_EQ(TARQ_SetRowLower(prob_, 1, &row, &lo), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  std::vector<double> x(3);
  EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), TARQ_RETCODE_INVALID);
}

}  // namespace
}  // namespace solvetest
