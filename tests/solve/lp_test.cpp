// LP solves of small problems with hand-checked answers: values, objective, duals, reduced costs,
// row activities, statuses and the basis.
#include "solve_fixture.h"

namespace solvetest {
namespace {

// max 3x + 2y  s.t.  r0: x + y <= 4,  r1: x + 3y <= 7,  0 <= x <= 3,  y >= 0.
// Optimum x = 3, y = 1, objective 11 + 0.5 (constant); r0 binds with dual 2, x sits at its upper
// bound with reduced cost 3 - 2 = 1; r1 has activity 6 and dual 0.
class SmallLp : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Row({}, -kInf, 4, "r0");
    Row({}, -kInf, 7, "r1");
    Col(3, 0, 3, 'C', {{0, 1}, {1, 1}}, "x");
    Col(2, 0, kInf, 'C', {{0, 1}, {1, 3}}, "y");
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
    ASSERT_EQ(TARQ_SetObjConst(prob_, 0.5), 0);
  }
};

TEST_F(SmallLp, SolvesToTheHandCheckedOptimumWithDualsAndActivities) {
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(IntAttr("HasLpSol"), 1);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 11.5, 1e-9);
  std::vector<double> x(2), act(2), y(2), d(2);
  ASSERT_EQ(TARQ_GetLpSolution(prob_, x.data(), act.data(), y.data(), d.data()), 0);
  EXPECT_NEAR(x[0], 3, 1e-9);
  EXPECT_NEAR(x[1], 1, 1e-9);
  EXPECT_NEAR(act[0], 4, 1e-9);
  EXPECT_NEAR(act[1], 6, 1e-9);
  EXPECT_NEAR(y[0], 2, 1e-9);
  EXPECT_NEAR(y[1], 0, 1e-9);
  EXPECT_NEAR(d[0], 1, 1e-9);
  EXPECT_NEAR(d[1], 0, 1e-9);

  int cb[2], rb[2];
  ASSERT_EQ(TARQ_GetBasis(prob_, cb, rb), 0);
  EXPECT_EQ(cb[0], TARQ_BASIS_UPPER);
  EXPECT_EQ(cb[1], TARQ_BASIS_BASIC);
  EXPECT_EQ(rb[0], TARQ_BASIS_UPPER);
  EXPECT_EQ(rb[1], TARQ_BASIS_BASIC);
  EXPECT_EQ(IntAttr("HasBasis"), 1);
}

}  // namespace
}  // namespace solvetest
