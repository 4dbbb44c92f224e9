// MIPLIB instances interrupted from a second thread after a range of delays, so that the
// interrupt lands in every phase of branch and cut (preprocessing, the root LP, cuts,
// heuristics and their small searches, the tree, the final mapping back). Whatever the phase,
// the outcome must be honest: interrupted (or optimal at the published optimum, when the solve
// finished first), a solution exactly when one is reported and then feasible with the reported
// objective, and a bound that does not cut off the published optimum. The quick program tries a
// few delays on mas76; the slow one every delay on mas76 and misc07.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "data_cases.h"
#include "tarq.h"

namespace solvedata {
namespace {

double PublishedOptimum(const std::string& name) {
  for (const Case& c : ReadCases(DataDir() / "miplib" / "miplib_optimal.csv", {}, false)) {
    if (c.name == name) return c.optimum;
  }
  return NAN;
}

// The largest violation of x against the problem's bounds, integrality and rows (rows relative
// to max(1, |activity|)).
double Violation(tarq_prob* prob, const std::vector<double>& x) {
  int n = 0, m = 0, nnz = 0;
  TARQ_GetIntAttr(prob, "Cols", &n);
  TARQ_GetIntAttr(prob, "Rows", &m);
  std::vector<double> lb(n), ub(n), rlo(m), rup(m);
  std::vector<char> type(n);
  EXPECT_EQ(TARQ_GetColInfo(prob, "LB", n, nullptr, lb.data()), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob, "UB", n, nullptr, ub.data()), 0);
  EXPECT_EQ(TARQ_GetColType(prob, n, nullptr, type.data()), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob, "LB", m, nullptr, rlo.data()), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob, "UB", m, nullptr, rup.data()), 0);
  EXPECT_EQ(TARQ_GetRows(prob, m, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &nnz), 0);
  std::vector<int> beg(m), cnt(m), idx(nnz);
  std::vector<double> val(nnz);
  EXPECT_EQ(TARQ_GetRows(prob, m, nullptr, beg.data(), cnt.data(), idx.data(), val.data(), nnz, &nnz), 0);
  double worst = 0;
  for (int j = 0; j < n; ++j) {
    worst = std::max({worst, lb[j] - x[j], x[j] - ub[j]});
    if (type[j] != 'C') worst = std::max(worst, std::fabs(x[j] - std::round(x[j])));
  }
  for (int i = 0; i < m; ++i) {
    double act = 0;
    for (int k = beg[i]; k < beg[i] + cnt[i]; ++k) act += val[k] * x[idx[k]];
    const double scale = std::max(1.0, std::fabs(act));
    worst = std::max({worst, (rlo[i] - act) / scale, (act - rup[i]) / scale});
  }
  return worst;
}

// Raised by the first log line of a solve, which comes after the solve has lowered the interrupt
// flag of earlier requests: the delays count from there.
void NoteStart(const char*, void* started) { static_cast<std::atomic<bool>*>(started)->store(true); }

void CheckInterruptedSolves(const std::string& name, const std::vector<int>& delaysMs) {
  const auto file = DataDir() / "miplib" / (name + ".mps.gz");
  const double optimum = PublishedOptimum(name);
  if (!std::filesystem::exists(file) || std::isnan(optimum)) GTEST_SKIP() << file << " is not there";
  tarq_env* env = nullptr;
  tarq_prob* prob = nullptr;
  ASSERT_EQ(TARQ_CreateEnvWithPath(nullptr, &env), 0);
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob, "LogToConsole", 0), 0);
  ASSERT_EQ(TARQ_ReadMps(prob, file.c_str()), 0);
  std::atomic<bool> started{false};
  ASSERT_EQ(TARQ_SetLogCallback(prob, NoteStart, &started), 0);
  int n = 0;
  ASSERT_EQ(TARQ_GetIntAttr(prob, "Cols", &n), 0);
  const double tol = 1e-5 * std::max(1.0, std::fabs(optimum));
  for (const int delay : delaysMs) {
    SCOPED_TRACE(name + " interrupted after " + std::to_string(delay) + " ms");
    ASSERT_EQ(TARQ_Reset(prob, 1), 0);
    started = false;
    std::atomic<bool> done{false};
    std::thread stopper([&] {
      while (!started && !done) std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      EXPECT_EQ(TARQ_Interrupt(prob), 0);
    });
    const int rc = TARQ_Solve(prob);
    done = true;
    stopper.join();
    ASSERT_EQ(rc, 0);

    int status = -1, hasSol = -1;
    double bestObj = 0, bestBnd = 0;
    ASSERT_EQ(TARQ_GetIntAttr(prob, "MipStatus", &status), 0);
    ASSERT_EQ(TARQ_GetIntAttr(prob, "HasMipSol", &hasSol), 0);
    ASSERT_EQ(TARQ_GetDblAttr(prob, "BestObj", &bestObj), 0);
    ASSERT_EQ(TARQ_GetDblAttr(prob, "BestBnd", &bestBnd), 0);
    ASSERT_TRUE(status == TARQ_STATUS_INTERRUPTED || status == TARQ_STATUS_OPTIMAL) << "status " << status;
    std::vector<double> x(n);
    const int solRc = TARQ_GetSolution(prob, x.data());
    EXPECT_EQ(solRc == 0, hasSol == 1);
    if (hasSol == 1) {
      EXPECT_LE(Violation(prob, x), 1e-5);
      double obj = 0;
      std::vector<double> c(n);
      ASSERT_EQ(TARQ_GetColInfo(prob, "Obj", n, nullptr, c.data()), 0);
      for (int j = 0; j < n; ++j) obj += c[j] * x[j];
      EXPECT_NEAR(obj, bestObj, 1e-6 * std::max(1.0, std::fabs(bestObj)));
      EXPECT_GE(bestObj, optimum - tol);  // no solution beats the optimum
    } else {
      EXPECT_EQ(bestObj, TARQ_INFINITY);
    }
    EXPECT_LE(bestBnd, optimum + tol);  // minimisation: the bound never exceeds the optimum
    if (status == TARQ_STATUS_OPTIMAL) {
      EXPECT_EQ(hasSol, 1);
      EXPECT_NEAR(bestObj, optimum, tol);
    }
  }
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
}

const std::vector<int> kAllDelays = {0, 1, 5, 20, 50, 100, 200, 500, 1000, 2000};

TEST(MipInterrupt, Mas76EndsHonestlyWhereverTheInterruptLands) {
  CheckInterruptedSolves("mas76", kSlow ? kAllDelays : std::vector<int>{0, 20, 150});
}

#if TARQ_SLOW_CASES
TEST(MipInterrupt, Misc07EndsHonestlyWhereverTheInterruptLands) { CheckInterruptedSolves("misc07", kAllDelays); }
#endif

}  // namespace
}  // namespace solvedata
