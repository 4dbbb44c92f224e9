// Certificates and ranges on problems made from Netlib LPs, read through the C interface:
//  - infeasible: the LP plus a row asking for an objective 1% below its optimum;
//  - unbounded: the LP without the rows of a column whose cost falls as it grows;
//  - ranges: each cost and right-hand side moved just inside and just outside its range, and
//    the LP re-solved from the optimal basis: inside, that basis stays optimal (no simplex
//    iteration); outside, it no longer is.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../common/quiet_env.h"
#include "../solve/certificate_check.h"
#include "data_cases.h"

namespace solvedata {
namespace {

class NetlibAnalysis : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 0), 0);
    const std::string file = (DataDir() / "netlib" / (GetParam() + ".mps.gz")).string();
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
    ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
    lp_ = certcheck::ReadLp(prob_);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteEnv(&env_);
  }
  double Optimum() {
    EXPECT_EQ(TARQ_SolveLp(prob_), 0);
    int status = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, "LpStatus", &status), 0);
    EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
    double obj = NAN;
    EXPECT_EQ(TARQ_GetDblAttr(prob_, "LpObjval", &obj), 0);
    return obj;
  }
  int Iterations() {
    int n = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, "SimplexIter", &n), 0);
    return n;
  }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  certcheck::Lp lp_;
};

TEST_P(NetlibAnalysis, ObjectiveCutBelowTheOptimumHasAFarkasVector) {
  const double opt = Optimum();
  std::vector<int> cols;
  std::vector<double> vals;
  for (int j = 0; j < lp_.cols; ++j) {
    if (lp_.obj[j] == 0) continue;
    cols.push_back(j);
    vals.push_back(lp_.obj[j]);
  }
  // The objective constant is not part of the row, so the cut is on c'x alone.
  double constant = 0;
  ASSERT_EQ(TARQ_GetDblAttr(prob_, "ObjConst", &constant), 0);
  const double cut = opt - constant - 0.01 * std::max(1.0, std::fabs(opt));
  ASSERT_EQ(TARQ_AddRow(prob_, static_cast<int>(cols.size()), cols.data(), vals.data(), 0, -TARQ_INFINITY, cut,
                        "cut"),
            0);
  for (int presolve : {0, 1}) certcheck::ExpectCertificate(prob_, presolve, TARQ_STATUS_INFEASIBLE, GetParam());
}

TEST_P(NetlibAnalysis, DroppingTheRowsOfAnImprovingColumnGivesARay) {
  // The column whose cost falls as it grows with no upper bound, in the fewest rows.
  int best = -1;
  for (int j = 0; j < lp_.cols; ++j) {
    if (lp_.obj[j] < 0 && !certcheck::Finite(lp_.colUp[j]) && (best < 0 || lp_.cnt[j] < lp_.cnt[best])) best = j;
  }
  ASSERT_GE(best, 0) << "no column to open";
  std::vector<int> rows(lp_.idx.begin() + lp_.beg[best], lp_.idx.begin() + lp_.beg[best] + lp_.cnt[best]);
  ASSERT_EQ(TARQ_DelRows(prob_, static_cast<int>(rows.size()), rows.data()), 0);
  for (int presolve : {0, 1}) certcheck::ExpectCertificate(prob_, presolve, TARQ_STATUS_UNBOUNDED, GetParam());
}

TEST_P(NetlibAnalysis, RangesAgreeWithReSolvingFromTheBasis) {
  ASSERT_EQ(TARQ_SetIntParam(prob_, "ReqSensitivity", 1), 0);
  Optimum();
  int has = 0;
  ASSERT_EQ(TARQ_GetIntAttr(prob_, "HasSensitivity", &has), 0);
  ASSERT_EQ(has, 1);
  std::vector<double> objLow(lp_.cols), objUp(lp_.cols), rhsLow(lp_.rows), rhsUp(lp_.rows), act(lp_.rows);
  ASSERT_EQ(TARQ_GetColInfo(prob_, "SAObjLow", lp_.cols, nullptr, objLow.data()), 0);
  ASSERT_EQ(TARQ_GetColInfo(prob_, "SAObjUp", lp_.cols, nullptr, objUp.data()), 0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "SARHSLow", lp_.rows, nullptr, rhsLow.data()), 0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "SARHSUp", lp_.rows, nullptr, rhsUp.data()), 0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "Slack", lp_.rows, nullptr, act.data()), 0);
  std::vector<int> colBasis(lp_.cols), rowBasis(lp_.rows);
  ASSERT_EQ(TARQ_GetBasis(prob_, colBasis.data(), rowBasis.data()), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "ReqSensitivity", 0), 0);
  // The re-solves judge optimality with tight tolerances, so that a step just past a limit shows.
  ASSERT_EQ(TARQ_SetDblParam(prob_, "DualTol", 1e-9), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "FeasTol", 1e-9), 0);

  // Sets one number by setter, re-solves from the optimal basis and reports whether that basis
  // was still optimal (beyond some limits nothing is feasible any more); puts the number back.
  auto stillOptimal = [&](auto setter, int k, double value, double original) {
    EXPECT_EQ(setter(prob_, 1, &k, &value), 0);
    EXPECT_EQ(TARQ_SetBasis(prob_, colBasis.data(), rowBasis.data()), 0);
    EXPECT_EQ(TARQ_SolveLp(prob_), 0);
    int status = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, "LpStatus", &status), 0);
    const bool kept = status == TARQ_STATUS_OPTIMAL && Iterations() == 0;
    EXPECT_EQ(setter(prob_, 1, &k, &original), 0);
    return kept;
  };
  // Moves a limit of a range a little inward and outward (skipping infinite and zero-width ones).
  int checked = 0;
  auto probe = [&](auto setter, int k, double current, double limit, const char* what) {
    const double width = std::fabs(limit - current);
    if (!certcheck::Finite(limit) || width < 1e-4) return;
    const double step = 1e-2 * width;
    const double inward = limit > current ? limit - step : limit + step;
    const double outward = limit > current ? limit + step : limit - step;
    EXPECT_TRUE(stillOptimal(setter, k, inward, current)) << what << " " << k << " inside at " << inward;
    EXPECT_FALSE(stillOptimal(setter, k, outward, current)) << what << " " << k << " outside at " << outward;
    ++checked;
  };
  for (int j = 0; j < lp_.cols; ++j) {
    probe(TARQ_SetColObj, j, lp_.obj[j], objLow[j], "cost");
    probe(TARQ_SetColObj, j, lp_.obj[j], objUp[j], "cost");
  }
  // The right-hand side of a row is the bound its activity sits at, or its upper bound when it
  // sits at neither; an equality row moves both bounds.
  for (int i = 0; i < lp_.rows; ++i) {
    const bool equality = lp_.rowLo[i] == lp_.rowUp[i];
    const bool atLower = rowBasis[i] != TARQ_BASIS_BASIC ? std::fabs(act[i] - lp_.rowLo[i]) <= std::fabs(act[i] - lp_.rowUp[i])
                                                          : !certcheck::Finite(lp_.rowUp[i]);
    const double rhs = atLower ? lp_.rowLo[i] : lp_.rowUp[i];
    auto setRhs = [equality, atLower](tarq_prob* p, int n, const int* list, const double* v) {
      if (equality) return TARQ_SetRowLower(p, n, list, v) | TARQ_SetRowUpper(p, n, list, v);
      return atLower ? TARQ_SetRowLower(p, n, list, v) : TARQ_SetRowUpper(p, n, list, v);
    };
    probe(setRhs, i, rhs, rhsLow[i], "rhs");
    probe(setRhs, i, rhs, rhsUp[i], "rhs");
  }
  EXPECT_GT(checked, lp_.cols / 2);
}

// Quick instances: run by the quick program only.
const std::vector<std::string> kAnalysed =
    kSlow ? std::vector<std::string>{} : std::vector<std::string>{"afiro", "adlittle", "blend", "sc50a", "sc105", "scagr7"};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(NetlibAnalysis);
INSTANTIATE_TEST_SUITE_P(Instances, NetlibAnalysis, testing::ValuesIn(kAnalysed),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace solvedata
