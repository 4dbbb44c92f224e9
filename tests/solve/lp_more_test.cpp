// LP statuses, methods, warm starts, and what happens to results when the problem changes.
#include <algorithm>

#include "solve_fixture.h"

namespace solvetest {
namespace {

class LpStatus : public SolveTest {
 protected:
  // x0 + x1 >= 5 and x0 + x1 <= 3 over two non-negative columns of cost 1.
  void BuildContradiction() {
    Col(1, 0, kInf);
    Col(1, 0, kInf);
    Row({{0, 1}, {1, 1}}, 5, kInf);
    Row({{0, 1}, {1, 1}}, -kInf, 3);
  }
  // Drops the second row's bound and maximises: unbounded.
  void OpenUp() {
    int row = 1;
    double up = kInf;
    ASSERT_EQ(TARQ_SetRowUpper(prob_, 1, &row, &up), 0);
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  }
};

TEST_F(LpStatus, InfeasibleAndUnboundedAreToldApart) {
  BuildContradiction();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  std::vector<double> x(2);
  EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), TARQ_RETCODE_INVALID);

  OpenUp();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNBOUNDED);
  // Without presolve the simplex proves the same.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNBOUNDED);
}

TEST_F(LpStatus, EmptyProblemIsOptimalAtTheObjectiveConstant) {
  ASSERT_EQ(TARQ_SetObjConst(prob_, 2.5), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_DOUBLE_EQ(DblAttr("LpObjval"), 2.5);
  EXPECT_EQ(TARQ_GetSolution(prob_, nullptr), 0);
  // Rows without columns must hold 0.
  Row({}, 1, 2);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
}

TEST_F(LpStatus, EveryMethodReachesTheSameOptimum) {
  BuildTransport(prob_, 12);
  double reference = 0;
  for (int method : {-1, 0, 1, 2}) {
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", method), 0);
    ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL) << method;
    EXPECT_EQ(IntAttr("LpMethodUsed"), method < 0 ? 0 : method);
    if (method == -1) reference = DblAttr("LpObjval");
    EXPECT_NEAR(DblAttr("LpObjval"), reference, 1e-6 * std::fabs(reference)) << method;
  }
  EXPECT_GT(IntAttr("BarrierIter"), 0);
}

TEST_F(LpStatus, BarrierWithAndWithoutCrossover) {
  BuildTransport(prob_, 12);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const double reference = DblAttr("LpObjval");
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  for (int presolve : {0, 1}) {
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", presolve), 0);
    // Without crossover: the barrier's last point, near optimal, and no basis.
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 0), 0);
    ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL) << presolve;
    EXPECT_NEAR(DblAttr("LpObjval"), reference, 1e-6 * std::fabs(reference)) << presolve;
    EXPECT_GT(IntAttr("BarrierIter"), 0);
    EXPECT_EQ(IntAttr("SimplexIter"), 0);
    EXPECT_EQ(IntAttr("HasBasis"), 0);
    // With crossover: an optimal basis at the same objective.
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 1), 0);
    ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL) << presolve;
    EXPECT_NEAR(DblAttr("LpObjval"), reference, 1e-9 * std::fabs(reference)) << presolve;
    EXPECT_EQ(IntAttr("HasBasis"), 1);
  }
}

TEST_F(LpStatus, BarrierTellsInfeasibleAndUnbounded) {
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  BuildContradiction();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  // Without crossover nothing is proven: the barrier's "optimum" misses a row and is not taken.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 0), 0);
  lines_.clear();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNFINISHED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_TRUE(std::any_of(lines_.begin(), lines_.end(),
                          [](const std::string& l) { return l.find("Barrier: the last point misses") == 0; }));

  ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 1), 0);
  OpenUp();
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNBOUNDED);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNFINISHED);
}

// The barrier takes no problem without rows, and presolve can leave one: the simplex finishes it.
TEST_F(LpStatus, BarrierMethodFinishesProblemsWithoutRows) {
  Col(1, 1, 3);
  Col(2, -1, 4);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  for (int crossover : {0, 1}) {
    for (int presolve : {0, 1}) {
      ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", crossover), 0);
      ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", presolve), 0);
      ASSERT_EQ(TARQ_Solve(prob_), 0);
      EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL) << crossover << presolve;
      EXPECT_NEAR(DblAttr("LpObjval"), -1, 1e-9) << crossover << presolve;
    }
  }
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  int col = 0;
  double up = kInf;
  ASSERT_EQ(TARQ_SetColUpper(prob_, 1, &col, &up), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNBOUNDED);
}

TEST_F(LpStatus, BarrierIterationLimitEndsTheBarrier) {
  BuildTransport(prob_, 12);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 0), 0);
  for (int limit : {1, 2, 5}) {
    ASSERT_EQ(TARQ_SetIntParam(prob_, "BarIterLimit", limit), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNFINISHED);
    EXPECT_EQ(IntAttr("BarrierIter"), limit);
  }
  // The crossover finishes from wherever the barrier stopped.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Crossover", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_GT(IntAttr("SimplexIter"), 0);
}

TEST_F(LpStatus, PreviousAndGivenBasesWarmStartTheNextSolve) {
  BuildTransport(prob_, 15);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const int cold = IntAttr("SimplexIter");
  const double optimum = DblAttr("LpObjval");
  ASSERT_GT(cold, 10);
  std::vector<int> cb(225), rb(30);
  ASSERT_EQ(TARQ_GetBasis(prob_, cb.data(), rb.data()), 0);

  // The previous basis: re-solving an unchanged problem takes no iterations.
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("SimplexIter"), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), optimum, 1e-9);

  // A cost change keeps the basis: the re-solve needs far fewer iterations than a cold start.
  int col = 3;
  double cost = 40;
  ASSERT_EQ(TARQ_SetColObj(prob_, 1, &col, &cost), 0);
  EXPECT_EQ(IntAttr("HasBasis"), 1);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_LT(IntAttr("SimplexIter"), cold / 2);

  // A basis given to a fresh copy of the original problem.
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  cost = (0 * 7 + 3 * 13) % 17 + 1;
  ASSERT_EQ(TARQ_SetColObj(copy, 1, &col, &cost), 0);
  ASSERT_EQ(TARQ_Reset(copy, 0), 0);
  ASSERT_EQ(TARQ_SetBasis(copy, cb.data(), rb.data()), 0);
  ASSERT_EQ(TARQ_Solve(copy), 0);
  int iters = -1;
  double obj = 0;
  ASSERT_EQ(TARQ_GetIntAttr(copy, "SimplexIter", &iters), 0);
  ASSERT_EQ(TARQ_GetDblAttr(copy, "LpObjval", &obj), 0);
  EXPECT_EQ(iters, 0);
  EXPECT_NEAR(obj, optimum, 1e-9);
  // A slack basis is a cold start again.
  ASSERT_EQ(TARQ_SetSlackBasis(copy), 0);
  ASSERT_EQ(TARQ_Solve(copy), 0);
  ASSERT_EQ(TARQ_GetIntAttr(copy, "SimplexIter", &iters), 0);
  EXPECT_GT(iters, 10);
  TARQ_DeleteProb(&copy);
}

TEST_F(LpStatus, ChangesForgetTheSolutionButTheBasisFollowsAdditions) {
  Col(1, 0, 10);
  Col(2, 0, 10);
  Row({{0, 1}, {1, 1}}, 4, kInf);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 4, 1e-9);
  EXPECT_EQ(IntAttr("PoolSols"), 1);

  Col(0.5, 1, 10);  // a column with no entries: the solution is forgotten, the basis extended
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_EQ(IntAttr("PoolSols"), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);  // still describes the last solve
  std::vector<double> x(3);
  EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), TARQ_RETCODE_INVALID);
  int j = 0;
  double v = 0;
  EXPECT_EQ(TARQ_GetColInfo(prob_, "Value", 1, &j, &v), TARQ_RETCODE_INVALID);
  int cb[3] = {-1, -1, -1}, rb[1] = {-1};
  ASSERT_EQ(TARQ_GetBasis(prob_, cb, rb), 0);
  EXPECT_EQ(cb[2], TARQ_BASIS_LOWER);

  Row({{2, 1}}, -kInf, 5);
  int rb2[2] = {-1, -1};
  ASSERT_EQ(TARQ_GetBasis(prob_, nullptr, rb2), 0);
  EXPECT_EQ(rb2[1], TARQ_BASIS_BASIC);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 4.5, 1e-9);

  // Deleting a row forgets the basis; renaming forgets nothing.
  const char* name = "demand";
  ASSERT_EQ(TARQ_SetRowNames(prob_, 1, &j, &name), 0);
  EXPECT_EQ(IntAttr("HasLpSol"), 1);
  int last = 1;
  ASSERT_EQ(TARQ_DelRows(prob_, 1, &last), 0);
  EXPECT_EQ(IntAttr("HasBasis"), 0);
  EXPECT_EQ(TARQ_GetBasis(prob_, cb, rb), TARQ_RETCODE_INVALID);
}

TEST_F(LpStatus, InformationByNameReadsTheSolution) {
  Col(1, 0, kInf, 'C', {}, "x");
  Col(3, 0, kInf, 'C', {}, "y");
  Row({{0, 1}, {1, 2}}, 6, kInf, "need");
  // min x + 3y, x + 2y >= 6: x = 6, dual 1, reduced cost of y 3 - 2 = 1.
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  int cols[] = {1, 0};
  double v[2], d[2], s = 0, y = 0;
  ASSERT_EQ(TARQ_GetColInfo(prob_, "value", 2, cols, v), 0);
  ASSERT_EQ(TARQ_GetColInfo(prob_, "RedCost", 2, cols, d), 0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "SLACK", 1, nullptr, &s), 0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "Dual", 1, nullptr, &y), 0);
  EXPECT_NEAR(v[0], 0, 1e-9);
  EXPECT_NEAR(v[1], 6, 1e-9);
  EXPECT_NEAR(d[0], 1, 1e-9);
  EXPECT_NEAR(d[1], 0, 1e-9);
  EXPECT_NEAR(s, 6, 1e-9);
  EXPECT_NEAR(y, 1, 1e-9);
  int bad = 2;
  EXPECT_EQ(TARQ_GetColInfo(prob_, "Value", 1, &bad, v), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetColInfo(prob_, "Dual", 1, nullptr, v), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "RedCost", 1, nullptr, v), TARQ_RETCODE_INVALID);
}

TEST_F(LpStatus, SetLpSolutionInstallsValuesAndDerivesTheRest) {
  Col(1, 0, kInf);
  Col(3, 0, kInf);
  Row({{0, 1}, {1, 2}}, 6, kInf);
  const double x[] = {2, 2};
  const double y[] = {0.5};
  ASSERT_EQ(TARQ_SetLpSolution(prob_, x, nullptr, y, nullptr), 0);
  EXPECT_EQ(IntAttr("HasLpSol"), 1);
  double act = 0, d[2];
  ASSERT_EQ(TARQ_GetLpSolution(prob_, nullptr, &act, nullptr, d), 0);
  EXPECT_DOUBLE_EQ(act, 6);
  EXPECT_DOUBLE_EQ(d[0], 0.5);
  EXPECT_DOUBLE_EQ(d[1], 2);
  const double bad[] = {1, NAN};
  EXPECT_EQ(TARQ_SetLpSolution(prob_, bad, nullptr, nullptr, nullptr), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_SetLpSolution(prob_, nullptr, nullptr, nullptr, nullptr), TARQ_RETCODE_INVALID);
  double again[2];
  ASSERT_EQ(TARQ_GetSolution(prob_, again), 0);
  EXPECT_DOUBLE_EQ(again[1], 2);  // the failed calls changed nothing
}

TEST_F(LpStatus, TimeLimitZeroStopsWithTheTimeoutStatus) {
  BuildTransport(prob_, 30);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);

  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

}  // namespace
}  // namespace solvetest
