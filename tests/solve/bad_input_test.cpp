// Every result and solve function on bad input: results before a solve, null handles, bad
// indices and codes. Each returns a non-zero code and leaves the problem usable.
#include "solve_fixture.h"

namespace solvetest {
namespace {

TEST_F(SolveTest, ReadingResultsBeforeASolveReturnsInvalid) {
  Col(1, 0, 1, 'C', {}, "x");
  Row({{0, 1}}, 0, 1, "r");
  double d[2];
  int i[2];
  const std::string file = testing::TempDir() + "tarq_unused.out";
  struct Case {
    const char* what;
    int rc;
  } cases[] = {
      {"GetSolution", TARQ_GetSolution(prob_, d)},
      {"GetLpSolution", TARQ_GetLpSolution(prob_, d, nullptr, nullptr, nullptr)},
      {"GetBasis", TARQ_GetBasis(prob_, i, i)},
      {"GetColBasis", TARQ_GetColBasis(prob_, 1, nullptr, i)},
      {"GetRowBasis", TARQ_GetRowBasis(prob_, 1, nullptr, i)},
      {"GetPoolObjVal", TARQ_GetPoolObjVal(prob_, 0, d)},
      {"GetPoolSolution", TARQ_GetPoolSolution(prob_, 0, 1, nullptr, d)},
      {"Value", TARQ_GetColInfo(prob_, "Value", 1, nullptr, d)},
      {"RedCost", TARQ_GetColInfo(prob_, "RedCost", 1, nullptr, d)},
      {"Slack", TARQ_GetRowInfo(prob_, "Slack", 1, nullptr, d)},
      {"Dual", TARQ_GetRowInfo(prob_, "Dual", 1, nullptr, d)},
      {"GetColLowerIIS", TARQ_GetColLowerIIS(prob_, 1, nullptr, i)},
      {"GetRowUpperIIS", TARQ_GetRowUpperIIS(prob_, 1, nullptr, i)},
      {"LoadTuneParam", TARQ_LoadTuneParam(prob_, 0)},
      {"WriteSol", TARQ_WriteSol(prob_, file.c_str())},
      {"WriteJsonSol", TARQ_WriteJsonSol(prob_, file.c_str())},
      {"WritePoolSol", TARQ_WritePoolSol(prob_, 0, file.c_str())},
      {"WriteBasis", TARQ_WriteBasis(prob_, file.c_str())},
      {"WriteIIS", TARQ_WriteIIS(prob_, file.c_str())},
      {"WriteRelax", TARQ_WriteRelax(prob_, file.c_str())},
      {"WriteTuneParam", TARQ_WriteTuneParam(prob_, 0, file.c_str())},
  };
  for (const Case& c : cases) EXPECT_EQ(c.rc, TARQ_RETCODE_INVALID) << c.what;
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNSTARTED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_EQ(DblAttr("LpObjval"), 1e30);
  ASSERT_EQ(TARQ_Solve(prob_), 0);  // still usable
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
}

TEST_F(SolveTest, NullHandlesAndBadArgumentsReturnInvalid) {
  Col(1, 0, 1);
  Col(1, 0, 1);
  Row({{0, 1}, {1, 1}}, 1, kInf);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  double d[4] = {0, 0, 0, 0};
  int i[4] = {0, 0, 0, 0};
  const int badCodes[] = {TARQ_BASIS_LOWER, 7};
  const int goodCodes[] = {TARQ_BASIS_LOWER, TARQ_BASIS_BASIC};
  const int row[] = {TARQ_BASIS_LOWER};
  const int outOfRange[] = {0, 2};
  struct Case {
    const char* what;
    int rc;
  } cases[] = {
      {"Solve(null)", TARQ_Solve(nullptr)},
      {"SolveLp(null)", TARQ_SolveLp(nullptr)},
      {"ComputeIIS(null)", TARQ_ComputeIIS(nullptr)},
      {"FeasRelax(null)", TARQ_FeasRelax(nullptr, nullptr, nullptr, nullptr, nullptr)},
      {"Tune(null)", TARQ_Tune(nullptr)},
      {"GetSolution(null)", TARQ_GetSolution(nullptr, d)},
      {"GetSolution(null array)", TARQ_GetSolution(prob_, nullptr)},
      {"SetBasis(bad code)", TARQ_SetBasis(prob_, badCodes, row)},
      {"SetBasis(null rows)", TARQ_SetBasis(prob_, goodCodes, nullptr)},
      {"GetColBasis(out of range)", TARQ_GetColBasis(prob_, 2, outOfRange, i)},
      {"GetColBasis(negative count)", TARQ_GetColBasis(prob_, -1, nullptr, i)},
      {"GetColBasis(too many)", TARQ_GetColBasis(prob_, 3, nullptr, i)},
      {"GetPoolObjVal(null)", TARQ_GetPoolObjVal(prob_, 0, nullptr)},
      {"GetPoolSolution(index)", TARQ_GetPoolSolution(prob_, 1, 2, nullptr, d)},
      {"GetColInfo(unknown name)", TARQ_GetColInfo(prob_, "Values", 2, nullptr, d)},
      {"GetColInfo(null name)", TARQ_GetColInfo(prob_, nullptr, 2, nullptr, d)},
      {"Reset(2)", TARQ_Reset(prob_, 2)},
      {"LoadTuneParam(null)", TARQ_LoadTuneParam(nullptr, 0)},
      {"SetSlackBasis(null)", TARQ_SetSlackBasis(nullptr)},
      {"GetBasis(null)", TARQ_GetBasis(nullptr, i, i)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.rc, TARQ_RETCODE_INVALID) << c.what;
  // The results of the solve are intact.
  EXPECT_EQ(IntAttr("HasLpSol"), 1);
  ASSERT_EQ(TARQ_GetBasis(prob_, i, i + 2), 0);
  EXPECT_EQ(i[0] == TARQ_BASIS_BASIC || i[1] == TARQ_BASIS_BASIC || i[2] == TARQ_BASIS_BASIC, true);
}

}  // namespace
}  // namespace solvetest
