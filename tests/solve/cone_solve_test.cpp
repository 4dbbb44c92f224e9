// Solves of problems with second-order and exponential cones, with hand-checked optima; the
// measure of how far a point misses a cone.
#include "solve/cone_blocks.h"
#include "solve_fixture.h"

namespace solvetest {
namespace {

class ConeSolve : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Quiet();
  }
  void Cone(int type, std::vector<int> members) {
    const int beg[2] = {0, static_cast<int>(members.size())};
    ASSERT_EQ(TARQ_AddCones(prob_, 1, &type, beg, nullptr, members.data()), 0);
  }
  void ExpCone(int type, std::vector<int> members) {
    ASSERT_EQ(TARQ_AddExpCones(prob_, 1, &type, members.data()), 0);
  }
  void SolveContinuous(double objective, double tol = 1e-7) {
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
    EXPECT_NEAR(DblAttr("LpObjval"), objective, tol);
    EXPECT_LE(DblAttr("PrimalInfMax"), 1e-6);
  }
  void SolveMixed(double objective, double tol = 1e-6) {
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
    EXPECT_NEAR(DblAttr("BestObj"), objective, tol);
    EXPECT_NEAR(DblAttr("BestBnd"), objective, 1e-4);
    EXPECT_LE(DblAttr("BestGap"), 1e-4);
  }
};

// min t  s.t.  t >= ||(x, y)||,  x + y = 2:  x = y = 1, t = sqrt(2).
TEST_F(ConeSolve, QuadraticConeReachesTheNormOfTheClosestPoint) {
  Row({}, 2, 2);
  Col(1, -kInf, kInf, 'C', {}, "t");  // free: the cone gives t >= 0
  Col(0, -kInf, kInf, 'C', {{0, 1}}, "x");
  Col(0, -kInf, kInf, 'C', {{0, 1}}, "y");
  Cone(TARQ_CONE_QUAD, {0, 1, 2});
  SolveContinuous(std::sqrt(2.0));
  const auto x = Solution();
  EXPECT_NEAR(x[1], 1, 1e-6);
  EXPECT_NEAR(x[2], 1, 1e-6);
}

// min a + b  s.t.  2 a b >= z^2,  z = 2:  a = b = sqrt(2), value 2 sqrt(2).
TEST_F(ConeSolve, RotatedConeBalancesItsTwoHeads) {
  Col(1, -kInf, kInf, 'C', {}, "a");
  Col(1, -kInf, kInf, 'C', {}, "b");
  Col(0, 2, 2, 'C', {}, "z");
  Cone(TARQ_CONE_RQUAD, {0, 1, 2});
  SolveContinuous(2 * std::sqrt(2.0));
  const auto x = Solution();
  EXPECT_NEAR(x[0], std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(x[1], std::sqrt(2.0), 1e-6);
}

// The same with z integer in [1.5, 3] (a fractional bound, which branching must not contradict):
// z = 2, where the rotated cone's linear outer rows a + b >= sqrt(2) |z| of the mixed-integer
// form hold with equality, so they cut nothing off.
TEST_F(ConeSolve, MixedIntegerRotatedConeMeetsItsOuterRowsExactly) {
  Col(1, -kInf, kInf, 'C', {}, "a");
  Col(1, -kInf, kInf, 'C', {}, "b");
  Col(0, 1.5, 3, 'I', {}, "z");
  Cone(TARQ_CONE_RQUAD, {0, 1, 2});
  SolveMixed(2 * std::sqrt(2.0));
  const auto x = Solution();
  EXPECT_NEAR(x[0], std::sqrt(2.0), 1e-5);
  EXPECT_NEAR(x[1], std::sqrt(2.0), 1e-5);
  EXPECT_NEAR(x[2], 2, 1e-9);
}

// max x2  s.t.  1 >= x1 exp(x2 / x1):  x2 <= x1 log(1 / x1), largest at x1 = 1/e, value 1/e.
TEST_F(ConeSolve, PrimalExponentialConeMaximisesTheEntropyTerm) {
  Col(0, 1, 1, 'C', {}, "x0");
  Col(0, -kInf, kInf, 'C', {}, "x1");
  Col(1, -kInf, kInf, 'C', {}, "x2");
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  ExpCone(TARQ_EXPCONE_PRIMAL, {0, 1, 2});
  SolveContinuous(std::exp(-1.0));
  EXPECT_NEAR(Solution()[1], std::exp(-1.0), 1e-5);
}

// min x0  s.t.  x0 >= -x2 exp(x1 / x2 - 1),  x1 = 1, x2 = -1:  x0 = exp(-2). And listed in
// another column order, the cone still reads its members by position.
TEST_F(ConeSolve, DualExponentialConeReadsItsMembersByPosition) {
  Col(0, -1, -1, 'C', {}, "x2");
  Col(1, -kInf, kInf, 'C', {}, "x0");
  Col(0, 1, 1, 'C', {}, "x1");
  ExpCone(TARQ_EXPCONE_DUAL, {1, 2, 0});
  SolveContinuous(std::exp(-2.0));
}

// min t  s.t.  t >= ||(x - 0.6, y - 1.3)||,  x, y integer:  x = y = 1, t = 0.5.
TEST_F(ConeSolve, MixedIntegerConeFindsTheNearestLatticePoint) {
  Row({}, -0.6, -0.6);  // u - x = -0.6
  Row({}, -1.3, -1.3);  // v - y = -1.3
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, -5, 5, 'I', {{0, -1}}, "x");
  Col(0, -5, 5, 'I', {{1, -1}}, "y");
  Col(0, -kInf, kInf, 'C', {{0, 1}}, "u");
  Col(0, -kInf, kInf, 'C', {{1, 1}}, "v");
  Cone(TARQ_CONE_QUAD, {0, 3, 4});
  SolveMixed(0.5);
  const auto x = Solution();
  EXPECT_NEAR(x[1], 1, 1e-9);
  EXPECT_NEAR(x[2], 1, 1e-9);
}

// min t  s.t.  t >= ||(x, y)||,  x, y integer in [-2, 2]: the relaxation's optimum is the apex,
// where the cone is not differentiable in its norm form.
TEST_F(ConeSolve, MixedIntegerOptimumAtTheApex) {
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, -2, 2, 'I', {}, "x");
  Col(0, -2, 2, 'I', {}, "y");
  Cone(TARQ_CONE_QUAD, {0, 1, 2});
  SolveMixed(0, 1e-6);
  const auto x = Solution();
  EXPECT_NEAR(x[1], 0, 1e-9);
  EXPECT_NEAR(x[2], 0, 1e-9);
  // The continuous problem at the apex too.
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 0, 1e-6);
}

// min t - 2z  s.t.  t >= ||(x1, x2)||,  x1 + x2 - 12 z >= -10,  z binary: the relaxation's
// optimum is the apex at z = 5/6, where the squared form of the cone has no gradient; the
// integer optimum is z = 1, x1 = x2 = 1, t = sqrt(2). With the relaxations cut short by an
// iteration limit of 2 nothing is proven, and the problem is not called infeasible.
TEST_F(ConeSolve, MixedIntegerRelaxationOptimumAtTheApex) {
  Row({}, -10, kInf);
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, -5, 5, 'C', {{0, 1}}, "x1");
  Col(0, -5, 5, 'C', {{0, 1}}, "x2");
  Col(-2, 0, 1, 'B', {{0, -12}}, "z");
  Cone(TARQ_CONE_QUAD, {0, 1, 2});
  SolveMixed(std::sqrt(2.0) - 2);
  const auto x = Solution();
  EXPECT_NEAR(x[1], 1, 1e-5);
  EXPECT_NEAR(x[2], 1, 1e-5);
  EXPECT_NEAR(x[3], 1, 1e-9);

  ASSERT_EQ(TARQ_SetIntParam(prob_, "NLPIterLimit", 2), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 1), 0);
  lines_.clear();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_NUMERICAL);
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  bool noted = false;
  for (const std::string& line : lines_) noted = noted || line.find("node relaxation(s) failed") != std::string::npos;
  EXPECT_TRUE(noted);
}

TEST_F(ConeSolve, InfeasibleConeIsReported) {
  // t <= 1 but t >= ||(2, 0)||.
  Col(1, -kInf, 1, 'C', {}, "t");
  Col(0, 2, 2, 'C', {}, "x");
  Col(0, 0, 0, 'C', {}, "y");
  Cone(TARQ_CONE_QUAD, {0, 1, 2});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

TEST_F(ConeSolve, TimeLimitStopsTheSolve) {
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, 1, 1, 'C', {}, "x");
  Col(0, 1, 1, 'C', {}, "y");
  Cone(TARQ_CONE_QUAD, {0, 1, 2});
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 100), 0);
  SolveContinuous(std::sqrt(2.0));
}

// The violation is measured in each cone's own terms.
TEST(ConeViolation, MeasuresEachConeInItsOwnTerms) {
  tarq_solver::SosConeStore s;
  s.cones.type = {TARQ_CONE_QUAD, TARQ_CONE_RQUAD};
  s.cones.col = {0, 1, 2, 3, 4, 5};
  s.cones.begin = {0, 3, 6};
  std::vector<double> x{5, 3, 4, 1, 2, 2};  // ||(3, 4)|| = 5; 2 * 1 * 2 = 2^2
  EXPECT_NEAR(tarq_solver::MaxConeViolation(s, x.data()), 0, 1e-12);
  x[0] = 4.5;  // misses the norm by 0.5
  EXPECT_NEAR(tarq_solver::MaxConeViolation(s, x.data()), 0.5, 1e-12);
  x[0] = 5;
  x[5] = 3;  // 2 a b = 4 < 9: the rotated cone as a norm cone: sqrt((1-2)^2/2 + 9) - 3/sqrt(2)
  EXPECT_NEAR(tarq_solver::MaxConeViolation(s, x.data()), std::sqrt(9.5) - 3 / std::sqrt(2.0), 1e-12);
  x[5] = 2;
  x[3] = -1;  // a head below zero
  EXPECT_GT(tarq_solver::MaxConeViolation(s, x.data()), 0.9);

  tarq_solver::SosConeStore e;
  e.expCones.type = {TARQ_EXPCONE_PRIMAL};
  e.expCones.col = {0, 1, 2};
  std::vector<double> y{std::exp(1.0), 1, 1};
  EXPECT_NEAR(tarq_solver::MaxConeViolation(e, y.data()), 0, 1e-12);
  y[0] = 2;  // relative to the head: (e - 2) / 2
  EXPECT_NEAR(tarq_solver::MaxConeViolation(e, y.data()), (std::exp(1.0) - 2) / 2, 1e-12);
  y = {1, 0, -3};  // the closure at x1 = 0
  EXPECT_NEAR(tarq_solver::MaxConeViolation(e, y.data()), 0, 1e-12);
  y = {1, 0, 0.5};
  EXPECT_NEAR(tarq_solver::MaxConeViolation(e, y.data()), 0.5, 1e-12);
}

}  // namespace
}  // namespace solvetest
