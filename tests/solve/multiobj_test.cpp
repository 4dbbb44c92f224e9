// Multi-objective solves: lexicographic by priority, blended by weight, tolerances kept by the
// later levels, per-objective attributes, and the objective functions' argument checks.
#include "solve_fixture.h"

namespace solvetest {
namespace {

// x, y in [0, 10] with x + y <= 10.
class MultiObj : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Col(0, 0, 10, 'C', {}, "x");
    Col(0, 0, 10, 'C', {}, "y");
    Row({{0, 1}, {1, 1}}, -kInf, 10, "cap");
  }
  // Objective index: sense * (cx x + cy y) + constant, with a priority.
  void Objective(int index, double cx, double cy, int sense, int priority, double constant = 0) {
    const double c[] = {cx, cy};
    ASSERT_EQ(TARQ_MultiObjSetColObj(prob_, index, 2, nullptr, c), 0);
    ASSERT_EQ(TARQ_MultiObjSetObjSense(prob_, index, sense), 0);
    ASSERT_EQ(TARQ_MultiObjSetObjConst(prob_, index, constant), 0);
    ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, index, "MultiObjPriority", priority), 0);
  }
  double ObjAttr(int index, const char* name) {
    double v = NAN;
    EXPECT_EQ(TARQ_MultiObjGetDblAttr(prob_, index, name, &v), 0);
    return v;
  }
};

TEST_F(MultiObj, HigherPriorityIsOptimisedFirstAndKeptByLaterLevels) {
  Objective(0, 0, 1, TARQ_MAXIMIZE, 1);     // max y, second
  Objective(1, 1, 0, TARQ_MAXIMIZE, 5, 2);  // max x + 2, first
  EXPECT_EQ(IntAttr("MultiObjs"), 2);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  auto x = Solution();
  EXPECT_NEAR(x[0], 10, 1e-9);
  EXPECT_NEAR(x[1], 0, 1e-9);
  EXPECT_NEAR(ObjAttr(1, "LpObjval"), 12, 1e-9);
  EXPECT_NEAR(ObjAttr(0, "LpObjval"), 0, 1e-9);
  EXPECT_NEAR(DblAttr("LpObjval"), 12, 1e-9);  // the first objective of the highest priority
  int status = -1;
  ASSERT_EQ(TARQ_MultiObjGetIntAttr(prob_, 0, "LpStatus", &status), 0);
  EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
  double pool = 0;
  ASSERT_EQ(TARQ_MultiObjGetPoolObjVal(prob_, 1, 0, &pool), 0);
  EXPECT_NEAR(pool, 12, 1e-9);
  ASSERT_EQ(TARQ_MultiObjGetPoolObjVal(prob_, 0, 0, &pool), 0);
  EXPECT_NEAR(pool, 0, 1e-9);

  // An absolute tolerance of 3 on the first level leaves room for the second.
  ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, 1, "multiobjabstol", 3), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  x = Solution();
  EXPECT_NEAR(x[0], 7, 1e-7);
  EXPECT_NEAR(x[1], 3, 1e-7);
  // A relative tolerance of 0.5 of the optimum 12: x + 2 >= 6.
  ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, 1, "MultiObjAbsTol", 0), 0);
  ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, 1, "MultiObjRelTol", 0.5), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  x = Solution();
  EXPECT_NEAR(x[1], 6, 1e-7);
}

TEST_F(MultiObj, ObjectivesOfOnePriorityAreBlendedByWeight) {
  Objective(0, 1, 0, TARQ_MAXIMIZE, 0);
  Objective(1, 0, 1, TARQ_MAXIMIZE, 0);
  ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, 1, "MultiObjWeight", 2), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  auto x = Solution();
  EXPECT_NEAR(x[1], 10, 1e-9);  // max x + 2y
  ASSERT_EQ(TARQ_MultiObjSetObjParam(prob_, 0, "MultiObjWeight", 3), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  x = Solution();
  EXPECT_NEAR(x[0], 10, 1e-9);  // max 3x + 2y
}

TEST_F(MultiObj, IntegerLevelsUseBranchAndCut) {
  int cols[] = {0, 1};
  char types[] = {'I', 'I'};
  ASSERT_EQ(TARQ_SetColType(prob_, 2, cols, types), 0);
  double up = 9.5;
  int row = 0;
  ASSERT_EQ(TARQ_SetRowUpper(prob_, 1, &row, &up), 0);
  Objective(0, 1, 0, TARQ_MAXIMIZE, 2);
  Objective(1, 1, 1, TARQ_MINIMIZE, 1);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  auto x = Solution();
  EXPECT_NEAR(x[0], 9, 1e-9);
  EXPECT_NEAR(x[1], 0, 1e-9);
  EXPECT_NEAR(ObjAttr(1, "BestObj"), 9, 1e-9);
}

TEST_F(MultiObj, SettersGettersAndDeletion) {
  Objective(2, 1.5, -1, TARQ_MINIMIZE, 4, 7);
  EXPECT_EQ(IntAttr("MultiObjs"), 1);  // only index 2 exists
  double c[2];
  ASSERT_EQ(TARQ_MultiObjGetColObj(prob_, 2, 2, nullptr, c), 0);
  EXPECT_EQ(c[0], 1.5);
  EXPECT_EQ(c[1], -1);
  EXPECT_EQ(ObjAttr(2, "ObjConst"), 7);
  double v = 0;
  ASSERT_EQ(TARQ_MultiObjGetObjParam(prob_, 2, "MultiObjPriority", &v), 0);
  EXPECT_EQ(v, 4);
  ASSERT_EQ(TARQ_MultiObjResetObjParam(prob_, 2), 0);
  ASSERT_EQ(TARQ_MultiObjGetObjParam(prob_, 2, "MultiObjPriority", &v), 0);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(TARQ_MultiObjGetObjParam(prob_, 2, "MultiObjWeight", &v), 0);
  EXPECT_EQ(v, 1);

  // Each objective's solver parameters start as a copy of the problem's.
  int level = -1;
  ASSERT_EQ(TARQ_MultiObjSetIntParam(prob_, 2, "LpMethod", 1), 0);
  ASSERT_EQ(TARQ_MultiObjGetIntParam(prob_, 2, "LpMethod", &level), 0);
  EXPECT_EQ(level, 1);
  ASSERT_EQ(TARQ_GetIntParam(prob_, "LpMethod", &level), 0);
  EXPECT_EQ(level, -1);
  ASSERT_EQ(TARQ_MultiObjSetDblParam(prob_, 2, "TimeLimit", 5), 0);
  ASSERT_EQ(TARQ_MultiObjGetDblParam(prob_, 2, "timelimit", &v), 0);
  EXPECT_EQ(v, 5);
  ASSERT_EQ(TARQ_MultiObjResetParam(prob_, 2), 0);
  ASSERT_EQ(TARQ_MultiObjGetDblParam(prob_, 2, "TimeLimit", &v), 0);
  EXPECT_EQ(v, 1e30);

  // Deleting a column removes its coefficient from every objective.
  int first = 0;
  ASSERT_EQ(TARQ_DelCols(prob_, 1, &first), 0);
  ASSERT_EQ(TARQ_MultiObjGetColObj(prob_, 2, 1, nullptr, c), 0);
  EXPECT_EQ(c[0], -1);

  ASSERT_EQ(TARQ_MultiObjDelColObj(prob_, 2), 0);
  EXPECT_EQ(IntAttr("MultiObjs"), 0);
  EXPECT_EQ(TARQ_MultiObjDelColObj(prob_, 2), TARQ_RETCODE_INVALID);
  // Without objectives the ordinary objective is solved again.
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
}

TEST_F(MultiObj, BadArgumentsChangeNothing) {
  Objective(0, 1, 1, TARQ_MINIMIZE, 0);
  const double c[] = {1, 2, 3};
  const int badList[] = {0, 5};
  double v = 0;
  int n = 0;
  struct Case {
    const char* what;
    int rc;
  } cases[] = {
      {"negative index", TARQ_MultiObjSetColObj(prob_, -1, 2, nullptr, c)},
      {"too many columns", TARQ_MultiObjSetColObj(prob_, 0, 3, nullptr, c)},
      {"column out of range", TARQ_MultiObjSetColObj(prob_, 0, 2, badList, c)},
      {"bad sense", TARQ_MultiObjSetObjSense(prob_, 0, 2)},
      {"NaN constant", TARQ_MultiObjSetObjConst(prob_, 0, NAN)},
      {"unknown objective parameter", TARQ_MultiObjSetObjParam(prob_, 0, "Weight", 1)},
      {"fractional priority", TARQ_MultiObjSetObjParam(prob_, 0, "MultiObjPriority", 1.5)},
      {"negative tolerance", TARQ_MultiObjSetObjParam(prob_, 0, "MultiObjAbsTol", -1)},
      {"null parameter name", TARQ_MultiObjSetObjParam(prob_, 0, nullptr, 1)},
      {"missing objective read", TARQ_MultiObjGetObjParam(prob_, 3, "MultiObjWeight", &v)},
      {"missing objective coefficients", TARQ_MultiObjGetColObj(prob_, 1, 2, nullptr, &v)},
      {"attribute of another kind", TARQ_MultiObjGetIntAttr(prob_, 0, "ObjConst", &n)},
      {"unknown attribute", TARQ_MultiObjGetDblAttr(prob_, 0, "Nonsense", &v)},
      {"solver parameter out of range", TARQ_MultiObjSetIntParam(prob_, 0, "LpMethod", 7)},
      {"solver parameter of another kind", TARQ_MultiObjSetDblParam(prob_, 0, "LpMethod", 1)},
      {"pool before a solve", TARQ_MultiObjGetPoolObjVal(prob_, 0, 0, &v)},
      {"null problem", TARQ_MultiObjSetObjSense(nullptr, 0, 1)},
  };
  for (const Case& k : cases) EXPECT_EQ(k.rc, TARQ_RETCODE_INVALID) << k.what;
  EXPECT_EQ(IntAttr("MultiObjs"), 1);
  double got[2];
  ASSERT_EQ(TARQ_MultiObjGetColObj(prob_, 0, 2, nullptr, got), 0);
  EXPECT_EQ(got[0], 1);
  EXPECT_EQ(got[1], 1);
}

}  // namespace
}  // namespace solvetest
