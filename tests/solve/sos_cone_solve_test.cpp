// Solves of problems with special ordered sets and indicator rows, with hand-checked optima; IIS
// over them.
#include "solve_fixture.h"

namespace solvetest {
namespace {

class SosConeSolve : public SolveTest {
 protected:
  void SolveOptimal(double objective) {
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
    EXPECT_NEAR(DblAttr("BestObj"), objective, 1e-6);
  }
};

// max 2a + 3b + c  s.t.  a + b + c <= 2, each in [0, 1.5]. Without the set: b = 1.5, a = 0.5,
// value 5.5; with at most one non-zero member: b = 1.5, value 4.5. All columns are continuous.
TEST_F(SosConeSolve, Sos1KeepsOneMemberNonZeroWithContinuousColumns) {
  Row({}, -kInf, 2);
  for (double c : {2.0, 3.0, 1.0}) Col(c, 0, 1.5, 'C', {{0, 1}});
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 5.5, 1e-9);  // the relaxation leaves the set out
  Sos(TARQ_SOS_TYPE1, {0, 1, 2});
  SolveOptimal(4.5);
  const auto x = Solution();
  EXPECT_NEAR(x[0], 0, 1e-9);
  EXPECT_NEAR(x[1], 1.5, 1e-9);
  EXPECT_NEAR(x[2], 0, 1e-9);
  EXPECT_NEAR(DblAttr("BestBnd"), 4.5, 1e-6);
}

// A piecewise-linear f over the breakpoints 0, 1, 2, 3 with values 0, 1, 4, 9: x = sum i l_i,
// f = sum f_i l_i, sum l_i = 1, x = 1.5, maximise f. Convex combinations of any breakpoints
// give 4.5 (l_0 = l_3 = 1/2); adjacent ones only give f(1.5) = 2.5.
class PiecewiseLinear : public SosConeSolve {
 protected:
  void SetUp() override {
    SosConeSolve::SetUp();
    Row({}, 1, 1);      // sum l = 1
    Row({}, 1.5, 1.5);  // sum i l_i = x = 1.5
    const double f[4] = {0, 1, 4, 9};
    for (int i = 0; i < 4; ++i) Col(f[i], 0, kInf, 'C', {{0, 1}, {1, static_cast<double>(i)}});
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  }
};

TEST_F(PiecewiseLinear, Sos2AllowsOnlyAdjacentBreakpoints) {
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 4.5, 1e-9);
  Sos(TARQ_SOS_TYPE2, {0, 1, 2, 3});
  SolveOptimal(2.5);
  const auto x = Solution();
  EXPECT_NEAR(x[1], 0.5, 1e-7);
  EXPECT_NEAR(x[2], 0.5, 1e-7);
}

// The members listed out of order: adjacency follows the weights, not the list. In list order
// l_3 and l_0 would be neighbours and 4.5 would be allowed.
TEST_F(PiecewiseLinear, Sos2AdjacencyFollowsWeights) {
  const std::vector<double> weights{3, 0, 2, 1};
  Sos(TARQ_SOS_TYPE2, {3, 0, 2, 1}, &weights);
  SolveOptimal(2.5);
}

TEST_F(PiecewiseLinear, Sos1PicksTheBestSingleBreakpointThatFits) {
  // Only one l non-zero: it must be 1 at x = 1.5, which no breakpoint is: infeasible.
  Sos(TARQ_SOS_TYPE1, {0, 1, 2, 3});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE);
}

// One indicator row on x in [0, 10] (or with x <= 10 as a row, so the row's activity is not
// bounded by the column bounds and the slack form is used), z binary fixed to a value.
struct IndicatorCase {
  int binVal;
  char sense;
  double bound;
  int zValue;
  int objSense;
  bool boundedColumn;
  double expected;  // optimal x
};

class IndicatorSolve : public SosConeSolve, public testing::WithParamInterface<IndicatorCase> {};

TEST_P(IndicatorSolve, HoldsTheRowExactlyWhenTheIndicatorTakesItsValue) {
  const IndicatorCase c = GetParam();
  Col(1, 0, c.boundedColumn ? 10 : kInf, 'C', {}, "x");
  Col(0, c.zValue, c.zValue, 'B', {}, "z");
  if (!c.boundedColumn) Row({{0, 1}}, -kInf, 10);
  ASSERT_EQ(TARQ_SetObjSense(prob_, c.objSense), 0);
  Indicator(1, c.binVal, {{0, 1}}, c.sense, c.bound);
  SolveOptimal(c.expected);
  const auto x = Solution();
  ASSERT_EQ(x.size(), 2u);
  EXPECT_NEAR(x[0], c.expected, 1e-7);
  EXPECT_EQ(IntAttr("Cols"), 2);
  EXPECT_EQ(IntAttr("Rows"), c.boundedColumn ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    BothValuesAllSenses, IndicatorSolve,
    testing::Values(
        // on: the row binds
        IndicatorCase{1, 'L', 3, 1, TARQ_MAXIMIZE, true, 3}, IndicatorCase{1, 'L', 3, 1, TARQ_MAXIMIZE, false, 3},
        IndicatorCase{0, 'L', 3, 0, TARQ_MAXIMIZE, true, 3}, IndicatorCase{0, 'L', 3, 0, TARQ_MAXIMIZE, false, 3},
        IndicatorCase{1, 'G', 4, 1, TARQ_MINIMIZE, true, 4}, IndicatorCase{1, 'G', 4, 1, TARQ_MINIMIZE, false, 4},
        IndicatorCase{0, 'G', 4, 0, TARQ_MINIMIZE, true, 4}, IndicatorCase{0, 'G', 4, 0, TARQ_MINIMIZE, false, 4},
        IndicatorCase{1, 'E', 5, 1, TARQ_MAXIMIZE, true, 5}, IndicatorCase{1, 'E', 5, 1, TARQ_MINIMIZE, false, 5},
        IndicatorCase{0, 'E', 5, 0, TARQ_MINIMIZE, true, 5}, IndicatorCase{0, 'E', 5, 0, TARQ_MAXIMIZE, false, 5},
        // off: the row does not bind
        IndicatorCase{1, 'L', 3, 0, TARQ_MAXIMIZE, true, 10}, IndicatorCase{0, 'L', 3, 1, TARQ_MAXIMIZE, false, 10},
        IndicatorCase{1, 'G', 4, 0, TARQ_MINIMIZE, false, 0}, IndicatorCase{0, 'G', 4, 1, TARQ_MINIMIZE, true, 0},
        IndicatorCase{1, 'E', 5, 0, TARQ_MAXIMIZE, false, 10}, IndicatorCase{0, 'E', 5, 1, TARQ_MINIMIZE, true, 0}));

// The indicator chosen by the objective: max x - p z with z = 0 -> x <= 3 (binVal 0). z = 1 frees
// x up to 10 at the price p: worth it for p = 5 (value 5), not for p = 8 (value 3).
TEST_F(SosConeSolve, IndicatorValueIsChosenByTheObjective) {
  for (double price : {5.0, 8.0}) {
    const int all[2] = {0, 1};
    ASSERT_EQ(TARQ_DelCols(prob_, IntAttr("Cols"), all), 0);
    Col(1, 0, kInf, 'C', {}, "x");
    Col(-price, 0, 1, 'B', {}, "z");
    ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
    Row({{0, 1}}, -kInf, 10);
    Indicator(1, 0, {{0, 1}}, 'L', 3);
    SolveOptimal(price == 5 ? 5 : 3);
    const auto x = Solution();
    EXPECT_NEAR(x[1], price == 5 ? 1 : 0, 1e-9);
    ASSERT_EQ(TARQ_DelRows(prob_, 1, all), 0);
  }
}

// a, b >= 1 cannot both be non-zero: the two lower bounds and the set are the IIS; the column c,
// its row and a second set over b and c are not in it.
TEST_F(SosConeSolve, IisContainsTheSetThatMakesBoundsConflict) {
  Row({}, -kInf, 3);
  Col(1, 1, 2, 'C', {}, "a");
  Col(1, 1, 2, 'C', {}, "b");
  Col(1, 0, 5, 'C', {{0, 1}}, "c");
  Sos(TARQ_SOS_TYPE2, {1, 2});
  Sos(TARQ_SOS_TYPE1, {0, 1});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE);
  ASSERT_EQ(TARQ_ComputeIIS(prob_), 0);
  EXPECT_EQ(IntAttr("IISSOSs"), 1);
  EXPECT_EQ(IntAttr("IISIndicators"), 0);
  EXPECT_EQ(IntAttr("IISCols"), 2);
  EXPECT_EQ(IntAttr("IISRows"), 0);
  std::vector<int> sos(2, -1), lower(3, -1);
  ASSERT_EQ(TARQ_GetSOSIIS(prob_, 2, nullptr, sos.data()), 0);
  EXPECT_EQ(sos, (std::vector<int>{0, 1}));
  ASSERT_EQ(TARQ_GetColLowerIIS(prob_, 3, nullptr, lower.data()), 0);
  EXPECT_EQ(lower, (std::vector<int>{1, 1, 0}));
  const int bad = 2;
  EXPECT_EQ(TARQ_GetSOSIIS(prob_, 1, &bad, sos.data()), TARQ_RETCODE_INVALID);
  std::vector<int> ind(1, -1);
  EXPECT_EQ(TARQ_GetIndicatorIIS(prob_, 0, nullptr, ind.data()), 0);
  // After a change of the sets the memberships are gone.
  const int second = 1;
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, &second), 0);
  EXPECT_EQ(TARQ_GetSOSIIS(prob_, 1, nullptr, sos.data()), TARQ_RETCODE_INVALID);
}

// z = 1 forces x <= 3, but x >= 5: z's lower bound, x's lower bound and the indicator; a second
// indicator on y (the slack form: y has no upper bound) stays out. With x unbounded above the
// conflicting indicator takes the slack form too.
class IndicatorIis : public SosConeSolve, public testing::WithParamInterface<double> {};

TEST_P(IndicatorIis, ContainsTheIndicatorThatConflictsWithBounds) {
  Col(0, 5, GetParam(), 'C', {}, "x");
  Col(0, 1, 1, 'B', {}, "z");
  Col(1, 0, kInf, 'C', {}, "y");
  Indicator(1, 1, {{2, 1}}, 'L', 4);
  Indicator(1, 1, {{0, 1}}, 'L', 3);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE);
  ASSERT_EQ(TARQ_ComputeIIS(prob_), 0);
  EXPECT_EQ(IntAttr("IISIndicators"), 1);
  EXPECT_EQ(IntAttr("IISSOSs"), 0);
  std::vector<int> ind(2, -1), lower(3, -1);
  ASSERT_EQ(TARQ_GetIndicatorIIS(prob_, 2, nullptr, ind.data()), 0);
  EXPECT_EQ(ind, (std::vector<int>{0, 1}));
  ASSERT_EQ(TARQ_GetColLowerIIS(prob_, 3, nullptr, lower.data()), 0);
  EXPECT_EQ(lower, (std::vector<int>{1, 1, 0}));
}

INSTANTIATE_TEST_SUITE_P(BigMAndSlackForms, IndicatorIis, testing::Values(10.0, kInf));

}  // namespace
}  // namespace solvetest
