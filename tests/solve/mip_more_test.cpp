// MIP starts, node and time limits, and the statuses they leave.
#include "solve_fixture.h"

namespace solvetest {
namespace {

// A strongly correlated knapsack (value = weight + 10), hard for branch and bound without cuts.
void BuildHardKnapsack(tarq_prob* prob, int n) {
  ASSERT_EQ(TARQ_AddRow(prob, 0, nullptr, nullptr, 'L', 0, 0, "cap"), 0);
  double total = 0;
  for (int j = 0; j < n; ++j) {
    const double w = 20 + (j * 37) % 61;
    total += w;
    const int row = 0;
    ASSERT_EQ(TARQ_AddCol(prob, w + 10, 1, &row, &w, 'B', 0, 1, nullptr), 0);
  }
  const int row = 0;
  const double cap = std::floor(total / 2) + 0.5;
  ASSERT_EQ(TARQ_SetRowUpper(prob, 1, &row, &cap), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob, TARQ_MAXIMIZE), 0);
}

class MipControl : public SolveTest {
 protected:
  // Branch and bound alone: no presolve, cuts or heuristics.
  void Plain() {
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "CutLevel", 0), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "HeurLevel", 0), 0);
  }
};

TEST_F(MipControl, MipStartGivesTheFirstIncumbent) {
  Row({}, -kInf, 5);
  Col(5, 0, 1, 'B', {{0, 2}});
  Col(4, 0, 1, 'B', {{0, 3}});
  Col(3, 0, 1, 'B', {{0, 1}});
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  Plain();
  ASSERT_EQ(TARQ_SetIntParam(prob_, "NodeLimit", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);  // the root LP alone finds no integer point
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_NODELIMIT);

  const int cols[] = {0, 2};
  const double vals[] = {1, 1};  // a + c: value 8, partial start (b filled in by the engine)
  ASSERT_EQ(TARQ_AddMipStart(prob_, 2, cols, vals), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasMipSol"), 1);
  EXPECT_GE(DblAttr("BestObj"), 8 - 1e-9);

  // With starts switched off the start is ignored again.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "MipStartMode", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  // Complete starts only: the partial start is skipped.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "MipStartMode", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  // Reset with all forgets the start too.
  ASSERT_EQ(TARQ_SetIntParam(prob_, "MipStartMode", -1), 0);
  ASSERT_EQ(TARQ_Reset(prob_, 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
}

TEST_F(MipControl, NodeLimitStopsTheSearchWithABound) {
  BuildHardKnapsack(prob_, 40);
  Plain();
  ASSERT_EQ(TARQ_SetIntParam(prob_, "NodeLimit", 5), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_NODELIMIT);
  EXPECT_LE(IntAttr("NodeCnt"), 10);
  EXPECT_GT(DblAttr("BestBnd"), -kInf);
  if (IntAttr("HasMipSol") == 1) {
    EXPECT_GE(DblAttr("BestBnd"), DblAttr("BestObj") - 1e-6);
  }
}

TEST_F(MipControl, TimeLimitZeroStopsWithTheTimeoutStatus) {
  BuildHardKnapsack(prob_, 40);
  Plain();
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_TIMEOUT);
}

TEST_F(MipControl, GapToleranceStopsEarlyButIsReported) {
  BuildHardKnapsack(prob_, 30);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "RelGap", 0.5), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_LE(DblAttr("BestGap"), 0.5);
  EXPECT_GE(DblAttr("BestBnd"), DblAttr("BestObj") - 1e-6);
}

}  // namespace
}  // namespace solvetest
