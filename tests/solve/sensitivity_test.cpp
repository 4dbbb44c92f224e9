// Ranging of an optimal basis: a textbook LP whose ranges are worked out by hand, and what the
// getters say when there are no ranges.
#include "solve_fixture.h"

namespace solvetest {
namespace {

// max 3x + 5y + z + 2w + 0v
//   r0: x + v <= 4,  r1: 2y <= 12,  r2: 3x + 2y + 4z + w <= 18
//   x, y >= 0,  z in [0, 1],  w in [0, 1],  v fixed at 1.
// Optimum x = 5/3, y = 6, z = 0 (at its lower bound), w = 1 (at its upper bound); duals 0, 1.5, 1.
class Textbook : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Quiet();
    Row({}, -kInf, 4, "r0");
    Row({}, -kInf, 12, "r1");
    Row({}, -kInf, 18, "r2");
    Col(3, 0, kInf, 'C', {{0, 1}, {2, 3}}, "x");
    Col(5, 0, kInf, 'C', {{1, 2}, {2, 2}}, "y");
    Col(1, 0, 1, 'C', {{2, 4}}, "z");
    Col(2, 0, 1, 'C', {{2, 1}}, "w");
    Col(0, 1, 1, 'C', {{0, 1}}, "v");
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "ReqSensitivity", 1), 0);
  }
  std::vector<double> Cols(const char* info) {
    std::vector<double> v(5, NAN);
    EXPECT_EQ(TARQ_GetColInfo(prob_, info, 5, nullptr, v.data()), 0) << info;
    return v;
  }
  std::vector<double> Rows(const char* info) {
    std::vector<double> v(3, NAN);
    EXPECT_EQ(TARQ_GetRowInfo(prob_, info, 3, nullptr, v.data()), 0) << info;
    return v;
  }
  static void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << what << " " << k;
  }
};

TEST_F(Textbook, RangesMatchTheHandComputedOnes) {
  for (int presolve : {0, 1}) {
    SCOPED_TRACE(presolve);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", presolve), 0);
    ASSERT_EQ(TARQ_Reset(prob_, 1), 0);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
    EXPECT_NEAR(DblAttr("LpObjval"), 37, 1e-9);
    ASSERT_EQ(IntAttr("HasSensitivity"), 1);
    // Costs: x's row of the tableau meets the slacks of r1 and r2, z and w; y's only r1's slack.
    ExpectNear(Cols("SAObjLow"), {0.75, 2, -kInf, 1, -kInf}, "SAObjLow");
    ExpectNear(Cols("SAObjUp"), {6, kInf, 4, kInf, kInf}, "SAObjUp");
    // Right-hand sides: r0 is slack (its bound may fall to the activity 8/3); r1 and r2 move
    // until x reaches 0 or uses up its room in r0 (4 - v = 3).
    ExpectNear(Rows("SARHSLow"), {8.0 / 3, 8, 13}, "SARHSLow");
    ExpectNear(Rows("SARHSUp"), {kInf, 17, 22}, "SARHSUp");
    // Bounds: basic x and y may have them anywhere on either side of their values; z's lower
    // bound moves x within [0, 3] and stops at z's upper bound 1; w's upper bound likewise, and
    // stops at its lower bound 0; v's lower bound may fall freely and rise to its upper.
    ExpectNear(Cols("SALBLow"), {-kInf, -kInf, -1, -kInf, -kInf}, "SALBLow");
    ExpectNear(Cols("SALBUp"), {5.0 / 3, 6, 1, 1, 1}, "SALBUp");
    ExpectNear(Cols("SAUBLow"), {5.0 / 3, 6, 0, 0, 1}, "SAUBLow");
    ExpectNear(Cols("SAUBUp"), {kInf, kInf, kInf, 6, kInf}, "SAUBUp");
  }
}

TEST_F(Textbook, NoRangesWithoutAnOptimalLpSolve) {
  double v[5];
  EXPECT_EQ(TARQ_GetColInfo(prob_, "SAObjLow", 5, nullptr, v), TARQ_RETCODE_INVALID);  // not solved
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob_, "SAObjLow", 5, nullptr, v), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "SAObjLow", 3, nullptr, v), TARQ_RETCODE_INVALID);   // a column's range
  EXPECT_EQ(TARQ_GetColInfo(prob_, "SARHSLow", 5, nullptr, v), TARQ_RETCODE_INVALID);  // a row's range

  const int r1 = 1;
  const double tight = -1;  // 2y <= -1 cannot hold with y >= 0
  ASSERT_EQ(TARQ_SetRowUpper(prob_, 1, &r1, &tight), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob_, "SAObjLow", 5, nullptr, v), TARQ_RETCODE_INVALID);  // changed since
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasSensitivity"), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "SARHSUp", 3, nullptr, v), TARQ_RETCODE_INVALID);

  const double back = 12;
  ASSERT_EQ(TARQ_SetRowUpper(prob_, 1, &r1, &back), 0);
  const int z = 2;
  const char integer = 'I';
  ASSERT_EQ(TARQ_SetColType(prob_, 1, &z, &integer), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(IntAttr("HasSensitivity"), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob_, "SAUBUp", 5, nullptr, v), TARQ_RETCODE_INVALID);
  EXPECT_NE(std::find(lines_.begin(), lines_.end(),
                      "ReqSensitivity: ranges come from LP solves only; this MIP solve leaves none"),
            lines_.end());
}

}  // namespace
}  // namespace solvetest
