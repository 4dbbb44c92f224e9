// Solves of problems whose special ordered sets or indicator rows come with a quadratic
// objective or cones: nonlinear branch and bound with the sets as branching objects and the
// indicator rows linearised. Hand-checked optima; the set or indicator condition is checked in
// each solution, and the continuous relaxation is shown to leave them out.
#include <ostream>
#include <tuple>

#include "solve_fixture.h"

namespace solvetest {
namespace {

class SosConeSmoothSolve : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 1), 0);  // the summary lines, for failure messages
  }
  void Cone(std::vector<int> members) {
    const int type = TARQ_CONE_QUAD;
    const int beg[2] = {0, static_cast<int>(members.size())};
    ASSERT_EQ(TARQ_AddCones(prob_, 1, &type, beg, nullptr, members.data()), 0);
  }
  // The log of the last solve, for failure messages.
  std::string Log() const {
    std::string all;
    for (const std::string& line : lines_) all += line + "\n";
    return all;
  }
  void SolveOptimal(double objective, double tol = 1e-6) {
    lines_.clear();
    ASSERT_EQ(TARQ_Solve(prob_), 0) << Log();
    ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL) << Log();
    EXPECT_NEAR(DblAttr("BestObj"), objective, tol);
    EXPECT_NEAR(DblAttr("BestBnd"), objective, 1e-4);
    EXPECT_LE(DblAttr("BestGap"), 1e-4);
    EXPECT_EQ(IntAttr("HasMipSol"), 1);
    EXPECT_LE(DblAttr("PrimalInfMax"), 1e-6);
  }
  // How many of the columns are more than tol away from 0.
  static int NonZeros(const std::vector<double>& x, std::vector<int> cols, double tol = 1e-6) {
    int n = 0;
    for (int j : cols) n += std::fabs(x[static_cast<size_t>(j)]) > tol ? 1 : 0;
    return n;
  }
};

// min (a - 2)^2 + (b - 1.5)^2 + c^2  s.t.  a + b + c >= 3, all in [0, 10], continuous. Without
// the set the optimum is (2, 1.5, 0) with a and b non-zero. With at most one non-zero member:
// a alone must reach 3 (value 1 + 2.25 = 3.25), b alone 3 (4 + 2.25), c alone 3 (4 + 2.25 + 9):
// the optimum is (3, 0, 0). The constant 6.25 of the squares is left out of the objective.
TEST_F(SosConeSmoothSolve, Sos1OverContinuousColumnsWithQuadraticObjective) {
  Row({}, 3, kInf);
  Col(-4, 0, 10, 'C', {{0, 1}}, "a");
  Col(-3, 0, 10, 'C', {{0, 1}}, "b");
  Col(0, 0, 10, 'C', {{0, 1}}, "c");
  QuadObj({{0, 0, 1}, {1, 1, 1}, {2, 2, 1}});
  Sos(TARQ_SOS_TYPE1, {0, 1, 2});
  EXPECT_EQ(IntAttr("IsMIP"), 1);

  ASSERT_EQ(TARQ_SolveLp(prob_), 0);  // the relaxation leaves the set out
  ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), -6.25, 1e-6);
  auto x = Solution();
  EXPECT_EQ(NonZeros(x, {0, 1, 2}, 1e-4), 2);

  SolveOptimal(3.25 - 6.25);
  x = Solution();
  ASSERT_EQ(x.size(), 3u);
  EXPECT_NEAR(x[0], 3, 1e-6);
  EXPECT_NEAR(x[1], 0, 1e-6);
  EXPECT_NEAR(x[2], 0, 1e-6);
  EXPECT_LE(NonZeros(x, {0, 1, 2}), 1);
}

// x = sum i l_i over the breakpoints 0..3, sum l_i = 1, g = sum g_i l_i with g = 0, 1, 4, 9;
// minimise 4 (x - 1)^2 - g. With adjacent breakpoints g is the piecewise-linear interpolation and
// the optimum lies on [1, 2], where g = 3x - 2: x = 1.375, l_1 = 0.625, l_2 = 0.375, value
// 0.5625 - 4.125 + 2 = -1.5625. Any two breakpoints allow the chord g = 3x through l_0 and l_3:
// x = 1.375 again, value -3.5625. The constant 4 of the square is left out.
TEST_F(SosConeSmoothSolve, Sos2InterpolationWithASquare) {
  Row({}, 1, 1);  // sum l = 1
  Row({}, 0, 0);  // x - sum i l_i = 0
  const double g[4] = {0, 1, 4, 9};
  for (int i = 0; i < 4; ++i) Col(-g[i], 0, kInf, 'C', {{0, 1}, {1, -static_cast<double>(i)}});
  Col(-8, -kInf, kInf, 'C', {{1, 1}}, "x");
  QuadObj({{4, 4, 4}});

  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), -3.5625 - 4, 1e-5);

  Sos(TARQ_SOS_TYPE2, {0, 1, 2, 3});
  SolveOptimal(-1.5625 - 4, 1e-5);
  const auto x = Solution();
  EXPECT_NEAR(x[4], 1.375, 1e-5);
  EXPECT_NEAR(x[0], 0, 1e-6);
  EXPECT_NEAR(x[1], 0.625, 1e-5);
  EXPECT_NEAR(x[2], 0.375, 1e-5);
  EXPECT_NEAR(x[3], 0, 1e-6);
}

// min t + cost z  s.t.  t >= ||(x1, x2)||,  z = 1 -> x1 + x2 >= 2,  x1, x2 in [-5, 5] (so the
// row's activity is bounded and the indicator takes the big-M form). z = 1 gives
// x1 = x2 = 1, t = sqrt(2); z = 0 gives the origin.
TEST_F(SosConeSmoothSolve, IndicatorRowWithSecondOrderCone) {
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, -5, 5, 'C', {}, "x1");
  Col(0, -5, 5, 'C', {}, "x2");
  Col(0.5, 0, 1, 'B', {}, "z");
  Cone({0, 1, 2});
  Indicator(3, 1, {{1, 1}, {2, 1}}, 'G', 2);
  const double root2 = std::sqrt(2.0);
  struct Case {
    double zLower, zUpper, cost;
    int z;
    double objective;
  };
  // Both values forced, then z chosen by its cost: a reward of 2 pays for the norm, 1 does not.
  for (const Case c : {Case{1, 1, 0.5, 1, root2 + 0.5}, Case{0, 0, 0.5, 0, 0.0}, Case{0, 1, -2, 1, root2 - 2},
                       Case{0, 1, -1, 0, 0.0}}) {
    SCOPED_TRACE(testing::Message() << "z in [" << c.zLower << ", " << c.zUpper << "], cost " << c.cost);
    const int z = 3;
    ASSERT_EQ(TARQ_SetColLower(prob_, 1, &z, &c.zLower), 0);
    ASSERT_EQ(TARQ_SetColUpper(prob_, 1, &z, &c.zUpper), 0);
    ASSERT_EQ(TARQ_SetColObj(prob_, 1, &z, &c.cost), 0);
    SolveOptimal(c.objective);
    const auto x = Solution();
    EXPECT_NEAR(x[3], c.z, 1e-6);
    if (c.z == 1) {
      EXPECT_GE(x[1] + x[2], 2 - 1e-6);
      EXPECT_NEAR(x[1], 1, 1e-4);
      EXPECT_NEAR(x[2], 1, 1e-4);
    }
    EXPECT_NEAR(x[0], c.z == 1 ? root2 : 0, 1e-5);
  }
}

// min t - reward z  s.t.  t >= s exp(x / s) with s = 1,  z = 1 -> x >= 1,  x in [-5, 5]: z = 1
// costs t = e, z = 0 allows t = exp(-5). A reward of 3 pays for e - exp(-5), one of 2 does not.
TEST_F(SosConeSmoothSolve, IndicatorRowWithExponentialCone) {
  Col(1, -kInf, kInf, 'C', {}, "t");
  Col(0, 1, 1, 'C', {}, "s");
  Col(0, -5, 5, 'C', {}, "x");
  Col(0, 0, 1, 'B', {}, "z");
  const int type = TARQ_EXPCONE_PRIMAL;
  const int members[3] = {0, 1, 2};
  ASSERT_EQ(TARQ_AddExpCones(prob_, 1, &type, members), 0);
  Indicator(3, 1, {{2, 1}}, 'G', 1);
  for (const double reward : {3.0, 2.0}) {
    SCOPED_TRACE(testing::Message() << "reward " << reward);
    const int z = 3;
    const double cost = -reward;
    ASSERT_EQ(TARQ_SetColObj(prob_, 1, &z, &cost), 0);
    const bool on = reward == 3;
    SolveOptimal(on ? std::exp(1.0) - reward : std::exp(-5.0), 1e-5);
    const auto x = Solution();
    EXPECT_NEAR(x[3], on ? 1 : 0, 1e-9);
    EXPECT_NEAR(x[2], on ? 1 : -5, 1e-5);
  }
}

// The indicator row over free columns x, y (its activity is bounded on neither side, so every
// side takes the slack form) with min (x - 3)^2 + (y - 3)^2 + cost z; the constant 18 is left
// out. The row a x + b y (sense) rhs holds when z equals binVal.
struct SlackCase {
  int binVal;
  char sense;
  double a, b, rhs;
  double zLower, zUpper, cost;
  int z;            // optimal z
  double x, y;      // optimal point
};

void PrintTo(const SlackCase& c, std::ostream* os) {
  *os << "z = " << c.binVal << " -> " << c.a << " x + " << c.b << " y " << c.sense << " " << c.rhs << ", z in ["
      << c.zLower << ", " << c.zUpper << "], cost " << c.cost;
}

class IndicatorSlackForm : public SosConeSmoothSolve, public testing::WithParamInterface<SlackCase> {};

TEST_P(IndicatorSlackForm, HoldsTheRowOnlyWhenTheIndicatorIsOn) {
  const SlackCase c = GetParam();
  Col(-6, -kInf, kInf, 'C', {}, "x");
  Col(-6, -kInf, kInf, 'C', {}, "y");
  Col(c.cost, c.zLower, c.zUpper, 'B', {}, "z");
  QuadObj({{0, 0, 1}, {1, 1, 1}});
  Indicator(2, c.binVal, {{0, c.a}, {1, c.b}}, c.sense, c.rhs);

  ASSERT_EQ(TARQ_SolveLp(prob_), 0);  // the relaxation leaves the row out: the point (3, 3)
  EXPECT_NEAR(DblAttr("LpObjval"), -18 + c.cost * (c.cost < 0 ? c.zUpper : c.zLower), 1e-6);

  const double expected = (c.x - 3) * (c.x - 3) + (c.y - 3) * (c.y - 3) + c.cost * c.z - 18;
  SolveOptimal(expected, 1e-5);
  const auto x = Solution();
  ASSERT_EQ(x.size(), 3u);
  EXPECT_NEAR(x[0], c.x, 1e-5);
  EXPECT_NEAR(x[1], c.y, 1e-5);
  EXPECT_NEAR(x[2], c.z, 1e-9);
  if (c.z == c.binVal) {
    const double activity = c.a * x[0] + c.b * x[1];
    if (c.sense != 'G') {
      EXPECT_LE(activity, c.rhs + 1e-6);
    }
    if (c.sense != 'L') {
      EXPECT_GE(activity, c.rhs - 1e-6);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    SensesAndValues, IndicatorSlackForm,
    testing::Values(
        // z = 0 -> x + y <= 2: on, (3, 3) moves to (1, 1) at 8; off at a cost of 5 the point stays.
        SlackCase{0, 'L', 1, 1, 2, 0, 0, 5, 0, 1, 1}, SlackCase{0, 'L', 1, 1, 2, 1, 1, 5, 1, 3, 3},
        // chosen by the cost: 5 < 8 switches the row off, 10 > 8 keeps it on
        SlackCase{0, 'L', 1, 1, 2, 0, 1, 5, 1, 3, 3}, SlackCase{0, 'L', 1, 1, 2, 0, 1, 10, 0, 1, 1},
        // z = 1 -> x + y >= 10: (5, 5) at 8
        SlackCase{1, 'G', 1, 1, 10, 1, 1, 0, 1, 5, 5}, SlackCase{1, 'G', 1, 1, 10, 0, 0, 0, 0, 3, 3},
        // z = 1 -> x - y = 4 (both sides as slacks, the row's activity 0 below it when off):
        // (5, 1) at 8; and x - y = -4, activity above it when off: (1, 5)
        SlackCase{1, 'E', 1, -1, 4, 1, 1, 0, 1, 5, 1}, SlackCase{1, 'E', 1, -1, -4, 1, 1, 0, 1, 1, 5},
        SlackCase{1, 'E', 1, -1, 4, 0, 0, 0, 0, 3, 3}, SlackCase{1, 'E', 1, -1, -4, 0, 1, 9, 0, 3, 3},
        // a reward on z that pays for the row: -10 + 8 < 0
        SlackCase{1, 'E', 1, -1, 4, 0, 1, -10, 1, 5, 1}));

// A continuous problem with a set, a quadratic row and no integer column is solved by branch and
// bound: max a + b s.t. a^2 + b^2 <= 2 with at most one of a, b non-zero gives sqrt(2), where the
// relaxation gives 2 at a = b = 1.
TEST_F(SosConeSmoothSolve, SetWithQuadraticRowNeedsNoIntegerColumn) {
  Col(1, 0, kInf, 'C', {}, "a");
  Col(1, 0, kInf, 'C', {}, "b");
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  const int q[2] = {0, 1};
  const double one[2] = {1, 1};
  ASSERT_EQ(TARQ_AddQConstr(prob_, 0, nullptr, nullptr, 2, q, q, one, 'L', 2, "disc"), 0);
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 2, 1e-6);
  Sos(TARQ_SOS_TYPE1, {0, 1});
  SolveOptimal(std::sqrt(2.0), 1e-5);
  EXPECT_EQ(NonZeros(Solution(), {0, 1}), 1);
}

// min exp(a) + exp(b) - 4a - 3b over [0, 5]^2, a nonlinear objective: without the set a = ln 4,
// b = ln 3 (value 7 - 4 ln 4 - 3 ln 3); with at most one non-zero, a = ln 4 and b = 0 (value
// 5 - 4 ln 4) beats b alone (value 4 - 3 ln 3). Nonlinear functions are solved for a local
// optimum, which the status says.
TEST_F(SosConeSmoothSolve, Sos1WithNonlinearObjective) {
  Col(-4, 0, 5, 'C', {}, "a");
  Col(-3, 0, 5, 'C', {}, "b");
  const int program[6] = {TARQ_NL_HEADER, 0, -16, 1, -16, -10};  // exp(a) + exp(b)
  ASSERT_EQ(TARQ_SetNLObj(prob_, 6, 0, program, nullptr), 0);
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 7 - 4 * std::log(4.0) - 3 * std::log(3.0), 1e-6);
  Sos(TARQ_SOS_TYPE1, {0, 1});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_LOCALLY_OPTIMAL) << Log();
  EXPECT_NEAR(DblAttr("BestObj"), 5 - 4 * std::log(4.0), 1e-6);
  const auto x = Solution();
  EXPECT_NEAR(x[0], std::log(4.0), 1e-5);
  EXPECT_NEAR(x[1], 0, 1e-6);
}

// z = 1 -> x >= 2 with x in [0, 1] and a quadratic objective: infeasible with z fixed at 1 (the
// relaxations prove it), optimal at z = 0 once z is free.
TEST_F(SosConeSmoothSolve, IndicatorThatCannotHoldIsInfeasible) {
  Col(0, 0, 1, 'C', {}, "x");
  Col(1, 1, 1, 'B', {}, "z");
  QuadObj({{0, 0, 1}});
  Indicator(1, 1, {{0, 1}}, 'G', 2);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE) << Log();
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
  const int z = 1;
  const double zero = 0;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &z, &zero), 0);
  SolveOptimal(0);
}

// a + b >= 1.5 over [0, 1]^2 needs both non-zero: with a set of type 1 over them, and a
// quadratic objective, no point is left.
TEST_F(SosConeSmoothSolve, SetThatCannotHoldIsInfeasible) {
  Row({}, 1.5, kInf);
  Col(0, 0, 1, 'C', {{0, 1}}, "a");
  Col(0, 0, 1, 'C', {{0, 1}}, "b");
  QuadObj({{0, 0, 1}, {1, 1, 1}});
  Sos(TARQ_SOS_TYPE1, {0, 1});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE) << Log();
  EXPECT_EQ(IntAttr("HasMipSol"), 0);
}

// Branching on a set holds a member at 0 through its upper bound only: a set over a column that
// may be negative is refused, naming it, and so is nothing else.
TEST_F(SosConeSmoothSolve, SetOverColumnThatMayBeNegativeIsRefused) {
  Col(0, -1, 1, 'C', {}, "a");
  Col(0, 0, 1, 'C', {}, "b");
  QuadObj({{0, 0, 1}, {1, 1, 1}});
  Sos(TARQ_SOS_TYPE1, {0, 1});
  lines_.clear();
  EXPECT_EQ(TARQ_Solve(prob_), TARQ_RETCODE_INVALID);
  ASSERT_FALSE(lines_.empty());
  EXPECT_EQ(lines_.back(), "SOS constraints over columns that may be negative (column 'a') are not supported "
                           "together with quadratic, nonlinear or conic parts");
  const int a = 0;
  const double zero = 0;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &a, &zero), 0);
  SolveOptimal(0);
}

}  // namespace
}  // namespace solvetest
