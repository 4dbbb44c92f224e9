// Problems with a quadratic objective or quadratic rows: solved to known optima, with duals that
// satisfy the optimality conditions, convexity refused where it is required, and the engines
// stopped by an interrupt.
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "solve/solve_fixture.h"

namespace solvetest {
namespace {

class QuadSolveTest : public SolveTest {
 protected:
  void QRow(std::vector<std::pair<int, double>> lin, std::vector<std::tuple<int, int, double>> quad, char sense,
            double rhs, const char* name) {
    std::vector<int> li, qr, qc;
    std::vector<double> lv, qv;
    for (auto [j, a] : lin) {
      li.push_back(j);
      lv.push_back(a);
    }
    for (auto [i, j, q] : quad) {
      qr.push_back(i);
      qc.push_back(j);
      qv.push_back(q);
    }
    ASSERT_EQ(TARQ_AddQConstr(prob_, static_cast<int>(li.size()), li.data(), lv.data(), static_cast<int>(qv.size()),
                              qr.data(), qc.data(), qv.data(), sense, rhs, name),
              0);
  }
  std::vector<double> ColInfo(const char* what, int n) {
    std::vector<double> v(static_cast<size_t>(n), -999);
    EXPECT_EQ(TARQ_GetColInfo(prob_, what, n, nullptr, v.data()), 0) << what;
    return v;
  }
  std::vector<double> RowInfo(const char* what, int m) {
    std::vector<double> v(static_cast<size_t>(m), -999);
    EXPECT_EQ(TARQ_GetRowInfo(prob_, what, m, nullptr, v.data()), 0) << what;
    return v;
  }
  double QInfo(const char* what, int k) {
    double v = -999;
    EXPECT_EQ(TARQ_GetQConstrInfo(prob_, what, 1, &k, &v), 0) << what;
    return v;
  }
  bool Logged(const std::string& part) const {
    for (const std::string& l : lines_) {
      if (l.find(part) != std::string::npos) return true;
    }
    return false;
  }

  // min (x-1)^2 + (y-2)^2 + xy (the product written as x*y and y*x, which meet),
  // x + y <= 2, x - y >= -1.2, 0 <= y <= 1.5: optimum (0.3, 1.5), value 1.19, the second row
  // active with dual 0.1 and y at its upper bound with reduced cost -0.6.
  void BuildQp(int sense) {
    Col(-2 * sense, 0, kInf);
    Col(-4 * sense, 0, 1.5);
    Row({{0, 1}, {1, 1}}, -kInf, 2, "cap");
    Row({{0, 1}, {1, -1}}, -1.2, kInf, "gap");
    ASSERT_EQ(TARQ_SetObjConst(prob_, 5 * sense), 0);
    ASSERT_EQ(TARQ_SetObjSense(prob_, sense), 0);
    QuadObj({{0, 0, sense}, {1, 1, sense}, {0, 1, 0.5 * sense}, {1, 0, 0.5 * sense}});
  }
};

TEST_F(QuadSolveTest, QpOptimumWithDualsSatisfyingTheOptimalityConditions) {
  for (int sense : {1, -1}) {
    SCOPED_TRACE(sense == 1 ? "minimise" : "maximise the negated objective");
    ASSERT_EQ(TARQ_ClearProb(prob_), 0);
    BuildQp(sense);
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
    EXPECT_NEAR(DblAttr("LpObjval"), 1.19 * sense, 1e-7);
    EXPECT_GT(IntAttr("BarrierIter"), 0);
    const std::vector<double> x = ColInfo("Value", 2), d = ColInfo("RedCost", 2);
    const std::vector<double> y = RowInfo("Dual", 2), act = RowInfo("Slack", 2);
    EXPECT_NEAR(x[0], 0.3, 1e-6);
    EXPECT_NEAR(x[1], 1.5, 1e-6);
    EXPECT_NEAR(act[1], -1.2, 1e-6);
    // Stationarity, worked out here from the data: d = grad F(x) - A'y for F as given.
    const double gx = sense * (2 * x[0] - 2 + x[1]), gy = sense * (2 * x[1] - 4 + x[0]);
    EXPECT_NEAR(d[0], gx - y[0] - y[1], 1e-6);
    EXPECT_NEAR(d[1], gy - y[0] + y[1], 1e-6);
    // Signs: the inactive row and the free column carry nothing; the active ones the values
    // derived by hand, with the signs of the objective's sense.
    EXPECT_NEAR(y[0], 0, 1e-6);
    EXPECT_NEAR(y[1], 0.1 * sense, 1e-6);
    EXPECT_NEAR(d[0], 0, 1e-6);
    EXPECT_NEAR(d[1], -0.6 * sense, 1e-6);
  }
}

TEST_F(QuadSolveTest, QcpOptimumWithDualsOfBothKindsOfRows) {
  // min -x - y with x^2 + y^2 <= 1 and x <= 0.6: optimum (0.6, 0.8).
  Col(-1, -kInf, kInf);
  Col(-1, -kInf, kInf);
  Row({{0, 1}}, -kInf, 0.6, "xcap");
  QRow({}, {{0, 0, 1}, {1, 1, 1}}, 'L', 1, "disk");
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), -1.4, 1e-7);
  const std::vector<double> x = ColInfo("Value", 2);
  EXPECT_NEAR(x[0], 0.6, 1e-6);
  EXPECT_NEAR(x[1], 0.8, 1e-6);
  EXPECT_NEAR(QInfo("Slack", 0), 1, 1e-7);
  // grad F = y_lin * (1, 0) + y_q * (2x, 2y): y_q = -1 / 1.6, y_lin = -1 + 1.2 / 1.6.
  EXPECT_NEAR(QInfo("Dual", 0), -0.625, 1e-6);
  EXPECT_NEAR(RowInfo("Dual", 1)[0], -0.25, 1e-6);
  EXPECT_NEAR(ColInfo("RedCost", 2)[1], 0, 1e-6);
  EXPECT_LE(DblAttr("PrimalInfMax"), 1e-6);

  // A change of the data forgets the solution of the quadratic rows as well.
  const int k = 0;
  const double two = 2;
  ASSERT_EQ(TARQ_SetQConstrRhs(prob_, 1, &k, &two), 0);
  double v = 0;
  EXPECT_EQ(TARQ_GetQConstrInfo(prob_, "Slack", 1, &k, &v), 3);
}

TEST_F(QuadSolveTest, NonconvexPartsAreRefusedNamingThem) {
  struct Case {
    const char* what;
    std::function<void()> build;
    const char* named;
  };
  const std::vector<Case> cases = {
      {"a bilinear objective", [&] { QuadObj({{0, 1, 1}}); }, "the minimised quadratic objective"},
      {"a maximised convex objective",
       [&] {
         QuadObj({{0, 0, 1}});
         TARQ_SetObjSense(prob_, -1);
       },
       "the maximised quadratic objective"},
      {"a concave L row", [&] { QRow({{1, 1}}, {{0, 0, -1}}, 'L', 1, "bad"); }, "quadratic row 'bad' (sense L)"},
      {"a convex G row", [&] { QRow({}, {{0, 0, 1}, {1, 1, 1}}, 'G', 1, "ring"); }, "quadratic row 'ring' (sense G)"},
      {"an E row with a square", [&] { QRow({}, {{0, 0, 1}}, 'E', 1, "sq"); }, "quadratic row 'sq' (sense E)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(TARQ_ClearProb(prob_), 0);
    lines_.clear();
    Col(0, -1, 2);
    Col(0, -3, 3);
    c.build();
    EXPECT_EQ(TARQ_Solve(prob_), TARQ_RETCODE_NONCONVEX);
    EXPECT_TRUE(Logged(c.named)) << (lines_.empty() ? "" : lines_.back());
    EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNSTARTED);
  }

  // Accepted: a singular convex form, an E row whose terms cancel, a concave G row.
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  Col(-1, 0, 4);
  Col(0, 0, 4);
  QuadObj({{0, 0, 1}, {0, 1, -2}, {1, 1, 1}});           // (x - y)^2
  QRow({{1, 1}}, {{0, 1, 1}, {1, 0, -1}}, 'E', 1, "cancels");  // y = 1
  QRow({}, {{0, 0, -1}}, 'G', -4, "concave");                  // x^2 <= 4
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(ColInfo("Value", 2)[0], 1.5, 1e-5);  // min (x - 1)^2 - x
  EXPECT_NEAR(DblAttr("LpObjval"), -1.25, 1e-6);

  // With NonConvex 1 a bilinear objective is solved for a local optimum (here the only one).
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  Col(0, 1, 2);
  Col(0, -3, -1);
  QuadObj({{0, 1, 1}});
  ASSERT_EQ(TARQ_SetIntParam(prob_, "NonConvex", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), -6, 1e-6);
}

TEST_F(QuadSolveTest, MixedIntegerQuadraticObjectiveAndRows) {
  // min (x - 2.6)^2 + (y - 1.3)^2, x + y <= 3.5, x and y integer: (2, 1) with 0.45.
  Col(-5.2, 0, 5, 'I');
  Col(-2.6, 0, 5, 'I');
  Row({{0, 1}, {1, 1}}, -kInf, 3.5);
  ASSERT_EQ(TARQ_SetObjConst(prob_, 2.6 * 2.6 + 1.3 * 1.3), 0);
  QuadObj({{0, 0, 1}, {1, 1, 1}});
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("BestObj"), 0.45, 1e-6);
  EXPECT_LE(DblAttr("BestBnd"), DblAttr("BestObj") + 1e-6);
  EXPECT_LE(DblAttr("BestGap"), 1e-4);
  EXPECT_EQ(IntAttr("HasMipSol"), 1);
  std::vector<double> x = ColInfo("Value", 2);
  EXPECT_NEAR(x[0], 2, 1e-6);
  EXPECT_NEAR(x[1], 1, 1e-6);
  double rd = 0;
  EXPECT_EQ(TARQ_GetColInfo(prob_, "RedCost", 1, nullptr, &rd), 3) << "no duals after a mixed-integer solve";

  // The relaxation is solved by the continuous engine: (2.4, 1.1).
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), 0.08, 1e-6);

  // max x + 2y with x^2 + y^2 <= 5 over the integers: (1, 2).
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  Col(1, 0, 10, 'I');
  Col(2, 0, 10, 'I');
  ASSERT_EQ(TARQ_SetObjSense(prob_, -1), 0);
  QRow({}, {{0, 0, 1}, {1, 1, 1}}, 'L', 5, "ball");
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("BestObj"), 5, 1e-6);
  x = ColInfo("Value", 2);
  EXPECT_NEAR(x[0], 1, 1e-6);
  EXPECT_NEAR(x[1], 2, 1e-6);
  EXPECT_NEAR(QInfo("Slack", 0), 5, 1e-6);
}

// A separable QP over n columns with one dense row: many iterations of the interior point.
void BuildLongQp(tarq_prob* prob, int n) {
  std::vector<double> obj(static_cast<size_t>(n)), lb(static_cast<size_t>(n), 0), ub(static_cast<size_t>(n), 10);
  std::vector<int> r(static_cast<size_t>(n)), idx(static_cast<size_t>(n));
  std::vector<double> q(static_cast<size_t>(n)), ones(static_cast<size_t>(n), 1);
  for (int j = 0; j < n; ++j) {
    obj[j] = -(j % 7) - 1;
    r[j] = idx[j] = j;
    q[j] = 1 + j % 3;
  }
  ASSERT_EQ(TARQ_AddCols(prob, n, obj.data(), nullptr, nullptr, nullptr, nullptr, nullptr, lb.data(), ub.data(), nullptr),
            0);
  ASSERT_EQ(TARQ_AddRow(prob, n, idx.data(), ones.data(), 'L', n / 4.0, 0, nullptr), 0);
  ASSERT_EQ(TARQ_SetQuadObj(prob, n, r.data(), r.data(), q.data()), 0);
}

TEST_F(QuadSolveTest, InterruptStopsTheInteriorPointAndTheTimeLimitApplies) {
  BuildLongQp(prob_, 200);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 2), 0);
  struct Cue {
    tarq_prob* prob;
    int lines = 0;
  } cue{prob_};
  // The interior point's iteration lines come through the log: stop it at the third one.
  ASSERT_EQ(TARQ_SetLogCallback(
                prob_,
                [](const char* msg, void* data) {
                  auto* c = static_cast<Cue*>(data);
                  const std::string line = msg;
                  if (line.size() > 4 && line[3] >= '0' && line[3] <= '9' && ++c->lines == 3) TARQ_Interrupt(c->prob);
                },
                &cue),
            0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INTERRUPTED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  EXPECT_LE(IntAttr("BarrierIter"), 4) << "stopped at the iteration after the cue";
  ASSERT_EQ(TARQ_SetLogCallback(prob_, nullptr, nullptr), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0) << "the flag is lowered by the next solve";
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
}

TEST_F(QuadSolveTest, InterruptFromAnotherThreadStopsBranchAndBound) {
  // A mixed-integer QP with many integer columns and a knapsack row: a long search.
  const int n = 60;
  std::vector<int> idx(n), r(n);
  std::vector<double> w(n), q(n);
  for (int j = 0; j < n; ++j) {
    Col(-(j % 11) - 3.0, 0, 3, 'I');
    idx[j] = r[j] = j;
    w[j] = 3 + (j * 7) % 13;
    q[j] = 0.5 + (j % 5) * 0.25;
  }
  ASSERT_EQ(TARQ_AddRow(prob_, n, idx.data(), w.data(), 'L', 200.5, 0, nullptr), 0);
  ASSERT_EQ(TARQ_SetQuadObj(prob_, n, r.data(), r.data(), q.data()), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "RelGap", 0), 0);
  std::thread stopper([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    TARQ_Interrupt(prob_);
  });
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  stopper.join();
  const int status = IntAttr("MipStatus");
  if (status == TARQ_STATUS_OPTIMAL) GTEST_SKIP() << "the search ended before the interrupt (" << took << " s)";
  EXPECT_EQ(status, TARQ_STATUS_INTERRUPTED);
  EXPECT_LT(took, 5.0) << "stopped promptly";
  // What a stopped search keeps is checked: an integral solution within the row, and a bound
  // (the last one recorded before the stop, or none) that does not pass it.
  const double bound = DblAttr("BestBnd");
  EXPECT_LE(bound, 0.0) << "the objective is at most 0 at the origin";
  if (IntAttr("HasMipSol") != 1) return;
  std::vector<double> x(n);
  ASSERT_EQ(TARQ_GetSolution(prob_, x.data()), 0);
  double used = 0, obj = 0;
  for (int j = 0; j < n; ++j) {
    EXPECT_NEAR(x[j], std::round(x[j]), 1e-6) << j;
    used += w[j] * x[j];
    obj += (-(j % 11) - 3.0) * x[j] + q[j] * x[j] * x[j];
  }
  EXPECT_LE(used, 200.5 + 1e-6);
  EXPECT_NEAR(DblAttr("BestObj"), obj, 1e-6 * std::max(1.0, std::fabs(obj)));
  EXPECT_LE(bound, DblAttr("BestObj") + 1e-6);
}

}  // namespace
}  // namespace solvetest
