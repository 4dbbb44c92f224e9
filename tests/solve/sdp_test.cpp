// Semidefinite solves through the C interface: small problems whose optima are known by hand,
// in both mappings (LMI rows only; PSD columns), with equalities, bounds and ranges, the
// solution getters, infeasible and unbounded problems, limits and refusals.
#include <cmath>
#include <numeric>
#include <string_view>

#include "solve_fixture.h"

namespace solvetest {
namespace {

class SdpSolve : public SolveTest {
 protected:
  int Mat(int dim, std::vector<std::tuple<int, int, double>> elems) {
    const Triplets t = Split(elems);
    const std::vector<int>& r = t.r;
    const std::vector<int>& c = t.c;
    const std::vector<double>& v = t.v;
    int before = IntAttr("SymMats");
    EXPECT_EQ(TARQ_AddSymMat(prob_, dim, static_cast<int>(r.size()), r.data(), c.data(), v.data()), 0);
    return before;
  }
  int Eye(int dim, double v = 1.0) {
    std::vector<std::tuple<int, int, double>> e;
    for (int i = 0; i < dim; ++i) e.emplace_back(i, i, v);
    return Mat(dim, e);
  }
  void Lmi(int dim, std::vector<std::pair<int, int>> terms, int constMat) {
    std::vector<int> cols, mats;
    for (auto [c, m] : terms) {
      cols.push_back(c);
      mats.push_back(m);
    }
    ASSERT_EQ(TARQ_AddLMIConstr(prob_, dim, static_cast<int>(cols.size()), cols.data(), mats.data(), constMat, nullptr),
              0);
  }
  void PsdRow(std::vector<std::pair<int, double>> lin, std::vector<std::pair<int, int>> psd, double lo, double up) {
    std::vector<int> cols, pcols, mats;
    std::vector<double> vals;
    for (auto [c, v] : lin) {
      cols.push_back(c);
      vals.push_back(v);
    }
    for (auto [k, m] : psd) {
      pcols.push_back(k);
      mats.push_back(m);
    }
    ASSERT_EQ(TARQ_AddPSDConstr(prob_, static_cast<int>(cols.size()), cols.data(), vals.data(),
                                static_cast<int>(pcols.size()), pcols.data(), mats.data(), 0, lo, up, nullptr),
              0);
  }
  std::vector<double> Info(int (*get)(tarq_prob*, const char*, int, double*), const char* name, int idx, int dim) {
    std::vector<double> m(static_cast<size_t>(dim) * dim, NAN);
    EXPECT_EQ(get(prob_, name, idx, m.data()), 0) << name;
    return m;
  }
  void Solve() {
    Quiet();
    ASSERT_EQ(TARQ_Solve(prob_), 0);
  }
};

// min x  s.t. [[x, 1], [1, x]] >= 0: x = 1; the LMI's dual Z = [[.5, -.5], [-.5, .5]] prices x
// at c - <I, Z> = 0.
TEST_F(SdpSolve, LmiOptimumWithSlackDualAndReducedCost) {
  Col(1, -kInf, kInf);
  const int off = Mat(2, {{1, 0, 1.0}});
  Lmi(2, {{0, Eye(2)}}, off);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 1.0, 1e-7);
  EXPECT_GT(IntAttr("BarrierIter"), 0);
  const auto slack = Info(TARQ_GetLMIConstrInfo, "Slack", 0, 2);
  EXPECT_NEAR(slack[0], 1.0, 1e-6);
  EXPECT_NEAR(slack[1], 1.0, 1e-12);
  const auto dual = Info(TARQ_GetLMIConstrInfo, "Dual", 0, 2);
  EXPECT_NEAR(dual[0], 0.5, 1e-6);
  EXPECT_NEAR(dual[1], -0.5, 1e-6);
  EXPECT_EQ(dual[1], dual[2]);
  double red = NAN;
  ASSERT_EQ(TARQ_GetLpSolution(prob_, nullptr, nullptr, nullptr, &red), 0);
  EXPECT_NEAR(red, 0.0, 1e-6);
  // Packed: (0,0), (1,0), (1,1).
  std::vector<double> s(3), z(3);
  ASSERT_EQ(TARQ_GetLMISolution(prob_, s.data(), z.data()), 0);
  EXPECT_NEAR(s[2], 1.0, 1e-6);
  EXPECT_NEAR(z[1], -0.5, 1e-6);
}

// The same LMI maximising -x gives the same point; the dual is negated like row duals.
TEST_F(SdpSolve, MaximisationNegatesTheDuals) {
  Col(-1, -kInf, kInf);
  const int off = Mat(2, {{0, 1, 1.0}});
  Lmi(2, {{0, Eye(2)}}, off);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  Solve();
  EXPECT_NEAR(DblAttr("LpObjval"), -1.0, 1e-7);
  EXPECT_NEAR(Info(TARQ_GetLMIConstrInfo, "Dual", 0, 2)[0], -0.5, 1e-6);
}

// min x + z/2 with [[x, 1], [1, x]] >= 0, x + z = 3, z >= 0: the equality is eliminated; the
// optimum is x = 1, z = 2 and the row's dual is 1/2.
TEST_F(SdpSolve, EqualityRowsOfLmiProblemsAreExact) {
  Col(1, -kInf, kInf);
  Col(0.5, 0, kInf);
  const int off = Mat(2, {{1, 0, 1.0}});
  Lmi(2, {{0, Eye(2)}}, off);
  Row({{0, 1}, {1, 1}}, 3, 3);
  Solve();
  ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 2.0, 1e-6);
  const auto x = Solution();
  EXPECT_NEAR(x[0], 1.0, 1e-6);
  EXPECT_NEAR(x[1], 2.0, 1e-6);
  double dual = NAN;
  ASSERT_EQ(TARQ_GetLpSolution(prob_, nullptr, nullptr, &dual, nullptr), 0);
  EXPECT_NEAR(dual, 0.5, 1e-6);
}

// Max-cut relaxation of the triangle: max <L/4, X>, X_ii = 1, X >= 0 has value 9/4 at X_ij = -1/2.
TEST_F(SdpSolve, MaxCutOfTheTriangleOverAPsdColumn) {
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 3, "X"), 0);
  std::vector<std::tuple<int, int, double>> lap;
  for (int i = 0; i < 3; ++i) lap.emplace_back(i, i, 0.5);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < i; ++j) lap.emplace_back(i, j, -0.25);
  }
  const int l = Mat(3, lap);
  int col = 0;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob_, 1, &col, &l), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  for (int i = 0; i < 3; ++i) PsdRow({}, {{0, Mat(3, {{i, i, 1.0}})}}, 1, 1);
  Solve();
  ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 2.25, 1e-6);
  const auto x = Info(TARQ_GetPSDColInfo, "Value", 0, 3);
  EXPECT_NEAR(x[0], 1.0, 1e-6);
  EXPECT_NEAR(x[1], -0.5, 1e-5);
  EXPECT_NEAR(x[5], -0.5, 1e-5);
  // Row activities are the diagonal; the dual S = C - sum y_i E_ii is negative semidefinite at a
  // maximum, and complementary to X: <S, X> = 0.
  std::vector<double> act(3);
  int list[3] = {0, 1, 2};
  ASSERT_EQ(TARQ_GetPSDConstrInfo(prob_, "Slack", 3, list, act.data()), 0);
  EXPECT_NEAR(act[2], 1.0, 1e-6);
  const auto s = Info(TARQ_GetPSDColInfo, "Dual", 0, 3);
  EXPECT_NEAR(std::inner_product(s.begin(), s.end(), x.begin(), 0.0), 0.0, 1e-5);
  EXPECT_LE(s[0], 1e-6);
  std::vector<double> packed(6);
  ASSERT_EQ(TARQ_GetPSDSolution(prob_, packed.data(), nullptr), 0);
  EXPECT_NEAR(packed[3], 1.0, 1e-6);  // (1,1)
  EXPECT_NEAR(packed[4], -0.5, 1e-5);  // (2,1)
}

// Nearest correlation matrix to A = [[1,1,0],[1,1,1],[0,1,1]] in the Frobenius norm, mixing all
// kinds: X a PSD column with unit diagonal (PSD rows), e_k = sqrt2 (X_ij - A_ij) free scalar
// columns tied by PSD rows, and the LMI [[t, e'], [e, I]] >= 0, i.e. t >= ||e||^2 = ||X - A||^2.
// The optimum (a classic example) has X_10 = X_21 = 0.7607, X_20 = 0.1573 and distance 0.5278.
TEST_F(SdpSolve, NearestCorrelationMatrixMixesEveryKind) {
  Col(1, -kInf, kInf, 'C', {}, "t");
  for (int k = 0; k < 3; ++k) Col(0, -kInf, kInf);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 3, "X"), 0);
  for (int i = 0; i < 3; ++i) PsdRow({}, {{0, Mat(3, {{i, i, 1.0}})}}, 1, 1);
  const std::pair<int, int> pairs[3] = {{1, 0}, {2, 0}, {2, 1}};
  const double a[3] = {1, 0, 1};
  const double r2 = std::sqrt(2.0);
  for (int k = 0; k < 3; ++k) {
    // e_k - sqrt2 X_ij = -sqrt2 A_ij, with <M, X> = X_ij for M_ij = M_ji = 1/2.
    const int m = Mat(3, {{pairs[k].first, pairs[k].second, -r2 / 2}});
    PsdRow({{k + 1, 1.0}}, {{0, m}}, -r2 * a[k], -r2 * a[k]);
  }
  std::vector<std::pair<int, int>> terms{{0, Mat(4, {{0, 0, 1.0}})}};
  for (int k = 0; k < 3; ++k) terms.emplace_back(k + 1, Mat(4, {{k + 1, 0, 1.0}}));
  Lmi(4, terms, Mat(4, {{1, 1, 1.0}, {2, 2, 1.0}, {3, 3, 1.0}}));
  Solve();
  ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(std::sqrt(DblAttr("LpObjval")), 0.5278, 1e-4);
  const auto x = Info(TARQ_GetPSDColInfo, "Value", 0, 3);
  EXPECT_NEAR(x[3], 0.7607, 1e-4);
  EXPECT_NEAR(x[6], 0.1573, 1e-4);
  EXPECT_NEAR(x[7], 0.7607, 1e-4);
  EXPECT_NEAR(x[4], 1.0, 1e-6);
}

// Bounded columns and a range row in the primal mapping: max <I, X> + y over a 2x2 X with
// X_00 + X_11 + y in [1, 3], y in [0.5, 2], X_10 = 0.25. Optimum 3: the range row binds.
TEST_F(SdpSolve, BoundsAndRangesInThePrimalMapping) {
  Col(1, 0.5, 2);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 2, nullptr), 0);
  const int eye = Eye(2);
  int col = 0;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob_, 1, &col, &eye), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  PsdRow({{0, 1}}, {{0, eye}}, 1, 3);
  PsdRow({}, {{0, Mat(2, {{1, 0, 0.5}})}}, 0.25, 0.25);
  Solve();
  ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 3.0, 1e-6);
  const auto y = Solution();
  EXPECT_GE(y[0], 0.5 - 1e-7);
  EXPECT_LE(y[0], 2 + 1e-7);
  const auto x = Info(TARQ_GetPSDColInfo, "Value", 0, 2);
  EXPECT_NEAR(x[1], 0.25, 1e-6);
  EXPECT_NEAR(x[0] + x[3] + y[0], 3.0, 1e-6);
}

TEST_F(SdpSolve, InfeasibleAndUnboundedAreReported) {
  // [[-1, x], [x, -1]] >= 0 has no solution.
  Col(1, -kInf, kInf);
  Lmi(2, {{0, Mat(2, {{1, 0, 1.0}})}}, Eye(2, -1.0));
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  std::vector<double> s(3);
  EXPECT_EQ(TARQ_GetLMISolution(prob_, s.data(), nullptr), TARQ_RETCODE_INVALID);

  // max x with x I >= 0 grows without end.
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  Col(1, -kInf, kInf);
  Lmi(2, {{0, Eye(2)}}, -1);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNBOUNDED);

  // A PSD column whose diagonal must be -1.
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 2, nullptr), 0);
  PsdRow({}, {{0, Mat(2, {{0, 0, 1.0}})}}, -1, -1);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
}

TEST_F(SdpSolve, IntegerColumnsAreRefusedAndTheRelaxationSolves) {
  Col(1, 0, 10, 'I');
  const int off = Mat(2, {{1, 0, 1.5}});
  Lmi(2, {{0, Eye(2)}}, off);
  Quiet();
  EXPECT_EQ(TARQ_Solve(prob_), TARQ_RETCODE_INVALID);
  ASSERT_FALSE(lines_.empty());
  EXPECT_NE(lines_.back().find("Mixed-integer semidefinite problems are not supported"), std::string::npos);
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_NEAR(DblAttr("LpObjval"), 1.5, 1e-6);
  EXPECT_EQ(IntAttr("IsRelaxSolved"), 1);
}

// The max-cut relaxation of an n-cycle: max <L, X> / 4 with unit diagonal, X >= 0. It takes DSDP a
// dozen iterations or more; n even makes the cycle bipartite, so the relaxation is tight at n.
void MaxCutOfACycle(tarq_prob* prob, int n) {
  ASSERT_EQ(TARQ_AddPSDCol(prob, n, nullptr), 0);
  std::vector<int> r, c;
  std::vector<double> v;
  for (int i = 0; i < n; ++i) {
    r.insert(r.end(), {i, (i + 1) % n});
    c.insert(c.end(), {i, i});
    v.insert(v.end(), {0.5, -0.25});
  }
  const int l = 0;
  ASSERT_EQ(TARQ_AddSymMat(prob, n, 2 * n, r.data(), c.data(), v.data()), 0);
  int col = 0;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob, 1, &col, &l), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob, TARQ_MAXIMIZE), 0);
  for (int i = 0; i < n; ++i) {
    const double one = 1.0;
    ASSERT_EQ(TARQ_AddSymMat(prob, n, 1, &i, &i, &one), 0);
    const int mat = i + 1;
    ASSERT_EQ(TARQ_AddPSDConstr(prob, 0, nullptr, nullptr, 1, &col, &mat, 0, 1, 1, nullptr), 0);
  }
}

TEST_F(SdpSolve, TimeAndIterationLimitsStopTheEngine) {
  const int n = 30;
  MaxCutOfACycle(prob_, n);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0.0), 0);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 1e30), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "BarIterLimit", 2), 0);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNFINISHED);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "BarIterLimit", 500), 0);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), n, 1e-5);
}

// The interrupt comes from the log callback at the engine's first iteration line; the engine
// stops at that iteration instead of the dozen it needs.
struct InterruptAtIteration {
  tarq_prob* prob = nullptr;
  int calls = 0;
};

void InterruptOnIterationLine(const char* line, void* userdata) {
  auto* w = static_cast<InterruptAtIteration*>(userdata);
  if (std::string_view(line).find("SDP iter") != std::string_view::npos) {
    ++w->calls;
    EXPECT_EQ(TARQ_Interrupt(w->prob), 0);
  }
}

TEST_F(SdpSolve, InterruptStopsTheEngineAndTheNextSolveStartsAfresh) {
  MaxCutOfACycle(prob_, 30);
  InterruptAtIteration watch{prob_};
  ASSERT_EQ(TARQ_SetLogCallback(prob_, InterruptOnIterationLine, &watch), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 2), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INTERRUPTED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_GE(watch.calls, 1);
  EXPECT_LE(watch.calls, 3);  // DSDP stops at the next check after the flag is raised
  ASSERT_EQ(TARQ_SetLogCallback(prob_, nullptr, nullptr), 0);
  Solve();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 30, 1e-5);
}

}  // namespace
}  // namespace solvetest
