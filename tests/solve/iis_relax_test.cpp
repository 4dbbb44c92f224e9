// IIS computation (checked by re-solving: the set is infeasible, and feasible without any one of
// its members) and feasibility relaxation.
#include <cmath>
#include <fstream>
#include <sstream>

#include "solve_fixture.h"

namespace solvetest {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// r0: x + y >= 10 with x <= 3, y <= 4 is infeasible; r1 and z have nothing to do with it.
class Infeasible : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Row({}, 10, kInf, "r0");
    Row({}, -kInf, 100, "r1");
    Row({}, 1, kInf, "r2");
    Col(1, 0, 3, 'C', {{0, 1}, {1, 1}}, "x");
    Col(1, 0, 4, 'C', {{0, 1}, {1, -1}}, "y");
    Col(1, 0, 5, 'C', {{2, 1}}, "z");
  }

  struct Iis {
    std::vector<int> colLow, colUp, rowLow, rowUp;
  };
  Iis Read() {
    Iis s{std::vector<int>(3), std::vector<int>(3), std::vector<int>(3), std::vector<int>(3)};
    EXPECT_EQ(TARQ_GetColLowerIIS(prob_, 3, nullptr, s.colLow.data()), 0);
    EXPECT_EQ(TARQ_GetColUpperIIS(prob_, 3, nullptr, s.colUp.data()), 0);
    EXPECT_EQ(TARQ_GetRowLowerIIS(prob_, 3, nullptr, s.rowLow.data()), 0);
    EXPECT_EQ(TARQ_GetRowUpperIIS(prob_, 3, nullptr, s.rowUp.data()), 0);
    return s;
  }

  // Status of a copy of the problem that keeps only the bounds the predicate keeps.
  template <class Keep>
  int StatusKeeping(Keep keep) {
    tarq_prob* copy = nullptr;
    EXPECT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
    EXPECT_EQ(TARQ_ReplaceColObj(copy, 0, nullptr, nullptr), 0);  // feasibility only
    for (int k = 0; k < 3; ++k) {
      double lo = -kInf, up = kInf;
      int rc = 0;
      if (!keep(false, false, k)) rc |= TARQ_SetColLower(copy, 1, &k, &lo);
      if (!keep(false, true, k)) rc |= TARQ_SetColUpper(copy, 1, &k, &up);
      if (!keep(true, false, k)) rc |= TARQ_SetRowLower(copy, 1, &k, &lo);
      if (!keep(true, true, k)) rc |= TARQ_SetRowUpper(copy, 1, &k, &up);
      EXPECT_EQ(rc, 0);
    }
    EXPECT_EQ(TARQ_Solve(copy), 0);
    int status = -1;
    TARQ_GetIntAttr(copy, "LpStatus", &status);
    TARQ_DeleteProb(&copy);
    return status;
  }
};

TEST_F(Infeasible, IisIsTheBindingRowAndTheTwoUpperBounds) {
  ASSERT_EQ(TARQ_ComputeIIS(prob_), 0);
  EXPECT_EQ(IntAttr("HasIIS"), 1);
  EXPECT_EQ(IntAttr("IsMinIIS"), 1);
  EXPECT_EQ(IntAttr("IISCols"), 2);
  EXPECT_EQ(IntAttr("IISRows"), 1);
  EXPECT_GE(DblAttr("IISTime"), 0);
  Iis s = Read();
  EXPECT_EQ(s.colLow, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(s.colUp, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(s.rowLow, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(s.rowUp, (std::vector<int>{0, 0, 0}));

  auto member = [&s](bool row, bool upper, int k) {
    return (row ? (upper ? s.rowUp : s.rowLow) : (upper ? s.colUp : s.colLow))[k] != 0;
  };
  // The IIS alone is infeasible...
  EXPECT_EQ(StatusKeeping(member), TARQ_STATUS_INFEASIBLE);
  // ...and dropping any one member makes it feasible.
  for (bool row : {false, true}) {
    for (bool upper : {false, true}) {
      for (int k = 0; k < 3; ++k) {
        if (!member(row, upper, k)) continue;
        EXPECT_EQ(StatusKeeping(
                      [&](bool r, bool u, int j) { return member(r, u, j) && !(r == row && u == upper && j == k); }),
                  TARQ_STATUS_OPTIMAL)
            << row << upper << k;
      }
    }
  }

  const std::string path = testing::TempDir() + "tarq_test.iis";
  ASSERT_EQ(TARQ_WriteIIS(prob_, path.c_str()), 0);
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("r0"), std::string::npos);
  EXPECT_EQ(text.find("r1"), std::string::npos);
  EXPECT_EQ(text.find("r2"), std::string::npos);
  EXPECT_EQ(text.find("z", text.find("Subject To")), std::string::npos);

  // The IIS is forgotten when the problem changes.
  int k = 2;
  double lo = 2;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &k, &lo), 0);
  EXPECT_EQ(IntAttr("HasIIS"), 0);
  EXPECT_EQ(TARQ_GetColUpperIIS(prob_, 3, nullptr, s.colUp.data()), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_WriteIIS(prob_, path.c_str()), TARQ_RETCODE_INVALID);
}

TEST_F(Infeasible, IntegralityCanBePartOfTheReason) {
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  Row({}, 1, 1, "odd");
  Col(0, -5, 5, 'I', {{0, 2}}, "n");  // 2n = 1 has no integer solution
  ASSERT_EQ(TARQ_ComputeIIS(prob_), 0);
  int low = 0, up = 0, cl = 1, cu = 1;
  ASSERT_EQ(TARQ_GetRowLowerIIS(prob_, 1, nullptr, &low), 0);
  ASSERT_EQ(TARQ_GetRowUpperIIS(prob_, 1, nullptr, &up), 0);
  ASSERT_EQ(TARQ_GetColLowerIIS(prob_, 1, nullptr, &cl), 0);
  ASSERT_EQ(TARQ_GetColUpperIIS(prob_, 1, nullptr, &cu), 0);
  EXPECT_EQ(low + up + cl + cu, 2);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(up, 1);
}

TEST_F(Infeasible, FeasibleProblemsHaveNoIis) {
  int k = 0;
  double lo = 5;
  ASSERT_EQ(TARQ_SetRowLower(prob_, 1, &k, &lo), 0);
  EXPECT_EQ(TARQ_ComputeIIS(prob_), TARQ_RETCODE_INVALID);
  EXPECT_EQ(IntAttr("HasIIS"), 0);
  int s[3];
  EXPECT_EQ(TARQ_GetSOSIIS(prob_, 0, nullptr, s), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_GetIndicatorIIS(prob_, 0, nullptr, s), TARQ_RETCODE_INVALID);
}

TEST_F(Infeasible, RelaxingRowsCostsTheShortfall) {
  const double rowPen[] = {1, 1, 1};
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, rowPen, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 3, 1e-9);  // x + y reaches 7 of 10
  auto x = Solution();
  EXPECT_NEAR(x[0], 3, 1e-9);
  EXPECT_NEAR(x[1], 4, 1e-9);
  double act[3];
  ASSERT_EQ(TARQ_GetLpSolution(prob_, nullptr, act, nullptr, nullptr), 0);
  EXPECT_NEAR(act[0], 7, 1e-9);
  EXPECT_GE(act[2], 1 - 1e-9);
  EXPECT_EQ(IntAttr("Cols"), 3);  // the problem itself is unchanged
  EXPECT_EQ(IntAttr("Rows"), 3);

  const std::string path = testing::TempDir() + "tarq_test.relax";
  ASSERT_EQ(TARQ_SetIntParam(prob_, "RelaxFileType", 1), 0);
  ASSERT_EQ(TARQ_WriteRelax(prob_, path.c_str()), 0);
  EXPECT_NE(ReadFile(path).find("ArtL_r0"), std::string::npos);
}

TEST_F(Infeasible, RelaxingBoundsPicksTheCheapestAndSkipsUnrelaxable) {
  const double low[] = {1, 1, 1};
  double up[] = {1, 2, 1};
  ASSERT_EQ(TARQ_FeasRelax(prob_, low, up, nullptr, nullptr), 0);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 3, 1e-9);  // x's upper bound moves by 3
  EXPECT_NEAR(Solution()[0], 6, 1e-9);

  up[0] = kInf;  // x's upper bound is not relaxable: y's moves, at twice the price
  ASSERT_EQ(TARQ_FeasRelax(prob_, low, up, nullptr, nullptr), 0);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 6, 1e-9);
  EXPECT_NEAR(Solution()[1], 7, 1e-9);

  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, nullptr, nullptr), 0);  // nothing relaxable
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 0);
}

TEST_F(Infeasible, CountingViolationsNeedsALimitOnThem) {
  const double up[] = {1, 1, 1};
  ASSERT_EQ(TARQ_SetIntParam(prob_, "FeasRelaxMode", 2), 0);
  Quiet();
  // Nothing that stays hard limits how far x, y and z may pass their upper bounds: no count is
  // possible, the bounds stay hard and the problem (an LP then) stays infeasible.
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, up, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_NE(std::find(lines_.begin(), lines_.end(),
                      "FeasRelax: 3 relaxable bounds cannot be counted, since the bounds that stay hard do not limit "
                      "how far they can be violated; they stay hard: upper bound of column 0, upper bound of "
                      "column 1, upper bound of column 2"),
            lines_.end());
  // A hard row x - y <= 100 with y's upper bound hard limits x: x <= 104 passes 3 by at most 101.
  const double upX[] = {1, -1, -1};
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, upX, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 1, 1e-9);
  EXPECT_GE(Solution()[0], 6 - 1e-6);
}

// Mode 1 prices each violation squared. Moving x's upper bound by u at price 1 and y's by w at
// price 2, with u + w = 3, costs u^2 + 2 w^2: least at u = 2, w = 1 (6), where mode 0 moves x's
// bound alone (3). With x integer and equal prices the continuous optimum (1.5 each, 4.5) is not
// integral: branch and bound finds u = 1 or 2 (5).
TEST_F(Infeasible, SquaredViolationsSpreadTheShortfall) {
  Quiet();
  ASSERT_EQ(TARQ_SetIntParam(prob_, "FeasRelaxMode", 1), 0);
  double up[] = {1, 2, -1};
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, up, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 6, 1e-6);
  auto x = Solution();
  EXPECT_NEAR(x[0], 5, 1e-6);
  EXPECT_NEAR(x[1], 5, 1e-6);
  EXPECT_GE(x[2], 1 - 1e-6);
  double act[3];
  ASSERT_EQ(TARQ_GetLpSolution(prob_, nullptr, act, nullptr, nullptr), 0);
  EXPECT_NEAR(act[0], 10, 1e-6);

  // A row's shortfall squared: r0 short by 3 at price 2 (the interior point stops within its
  // tolerances: 1e-6 relative).
  const double rowPen[] = {2, -1, -1};
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, rowPen, nullptr), 0);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 18, 18e-6);

  const int k = 0;
  ASSERT_EQ(TARQ_SetColType(prob_, 1, &k, "I"), 0);
  up[1] = 1;
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, up, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 5, 1e-6);
  x = Solution();
  EXPECT_TRUE(std::fabs(x[0] - 4) < 1e-6 || std::fabs(x[0] - 5) < 1e-6) << x[0];
  EXPECT_NEAR(x[0] + x[1], 10, 1e-6);
  EXPECT_EQ(IntAttr("Cols"), 3);  // the problem is unchanged
  EXPECT_EQ(IntAttr("QElems"), 0);

  // Branch and bound holds a set's members at 0 through their upper bounds: a member that may be
  // negative is refused, not silently misplaced.
  Sos(1, {1, 2});
  const int z = 2;
  const double minus = -5;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &z, &minus), 0);
  lines_.clear();
  EXPECT_EQ(TARQ_FeasRelax(prob_, nullptr, up, nullptr, nullptr), TARQ_RETCODE_INVALID);
  EXPECT_NE(std::find(lines_.begin(), lines_.end(),
                      "SOS constraints over columns that may be negative (column 'z') are not supported in the "
                      "relaxation of squared violations"),
            lines_.end());
  const double zero = 0;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &z, &zero), 0);
  // z >= 1 is hard, so the set holds y at 0 and x alone passes its bound, by 7.
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, up, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 49, 49e-6);
  EXPECT_NEAR(Solution()[1], 0, 1e-6);
}

// x >= 5, y >= 5 and x + y <= 6 over x, y in [0, 10], all three rows relaxable at prices 2, 2, 3:
// the least weighted violation (mode 0) moves the bounds by 4 in all at price 2 (8); the least
// weighted count (mode 2) gives up one row of price 2.
TEST_F(SolveTest, RelaxationModesWeighAmountsOrCounts) {
  Quiet();
  Row({}, 5, kInf, "x5");
  Row({}, 5, kInf, "y5");
  Row({}, -kInf, 6, "sum");
  Col(1, 0, 10, 'C', {{0, 1}, {2, 1}}, "x");
  Col(1, 0, 10, 'C', {{1, 1}, {2, 1}}, "y");
  const double pen[] = {2, 2, 3};
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, pen, nullptr), 0);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 8, 1e-9);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "FeasRelaxMode", 2), 0);
  ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, pen, nullptr), 0);
  EXPECT_EQ(IntAttr("HasFeasRelaxSol"), 1);
  EXPECT_NEAR(DblAttr("FeasRelaxObj"), 2, 1e-9);
  const auto x = Solution();
  const int met = (x[0] >= 5 - 1e-6) + (x[1] >= 5 - 1e-6) + (x[0] + x[1] <= 6 + 1e-6);
  EXPECT_EQ(met, 2);                 // exactly one row given up...
  EXPECT_LE(x[0] + x[1], 6 + 1e-6);  // ...and not the dear one
  EXPECT_EQ(IntAttr("Cols"), 2);     // the problem is unchanged
  EXPECT_EQ(IntAttr("Rows"), 3);
}

// The relaxed problem a relaxation file holds is the one the relaxation's mode solved: read back
// and solved, it reaches the relaxation's objective (mode 2 with its counting binaries, mode 1
// with its squared violations).
TEST_F(SolveTest, RelaxationFilesHoldTheProblemTheModeSolved) {
  Quiet();
  Row({}, 5, kInf, "x5");
  Row({}, 5, kInf, "y5");
  Row({}, -kInf, 6, "sum");
  Col(1, 0, 10, 'C', {{0, 1}, {2, 1}}, "x");
  Col(1, 0, 10, 'C', {{1, 1}, {2, 1}}, "y");
  const double pen[] = {2, 2, 3};
  const std::string path = testing::TempDir() + "tarq_modes.relax";
  for (int mode : {0, 2, 1}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "FeasRelaxMode", mode), 0);
    ASSERT_EQ(TARQ_FeasRelax(prob_, nullptr, nullptr, pen, nullptr), 0);
    ASSERT_EQ(IntAttr("HasFeasRelaxSol"), 1);
    const double relaxObj = DblAttr("FeasRelaxObj");
    ASSERT_EQ(TARQ_WriteRelax(prob_, path.c_str()), 0);

    tarq_prob* back = nullptr;
    ASSERT_EQ(TARQ_CreateProb(env_, &back), 0);
    ASSERT_EQ(TARQ_SetIntParam(back, "LogLevel", 0), 0);
    ASSERT_EQ(TARQ_ReadMps(back, path.c_str()), 0);
    int ints = -1, qelems = -1;
    ASSERT_EQ(TARQ_GetIntAttr(back, "Ints", &ints), 0);
    ASSERT_EQ(TARQ_GetIntAttr(back, "QElems", &qelems), 0);
    EXPECT_EQ(ints > 0, mode == 2);
    EXPECT_EQ(qelems > 0, mode == 1);
    ASSERT_EQ(TARQ_Solve(back), 0);
    double obj = 0;
    ASSERT_EQ(TARQ_GetDblAttr(back, mode == 2 ? "BestObj" : "LpObjval", &obj), 0);
    EXPECT_NEAR(obj, relaxObj, 1e-5 * (1 + std::fabs(relaxObj)));
    TARQ_DeleteProb(&back);
  }
}

}  // namespace
}  // namespace solvetest
