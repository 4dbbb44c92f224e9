// The solution pool of MIPLIB instances solved with branch and cut's preprocessing on: every
// pool solution meets the problem's rows, bounds and integrality (read back through the C
// interface), they are distinct, best first, and their objective values are their own.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../common/quiet_env.h"
#include "../solve/certificate_check.h"
#include "data_cases.h"

namespace solvedata {
namespace {

class MiplibPool : public testing::TestWithParam<std::string> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MiplibPool);

TEST_P(MiplibPool, KeepsFeasibleDistinctSolutionsWithPreprocessing) {
  const std::string file = (DataDir() / "miplib" / (GetParam() + ".mps.gz")).string();
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
  tarq_env* env = NewQuietEnv();
  tarq_prob* prob = nullptr;
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob, "LogLevel", 0), 0);
  ASSERT_EQ(TARQ_ReadMps(prob, file.c_str()), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob, "Presolve", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob), 0);
  const certcheck::Lp lp = certcheck::ReadLp(prob);
  std::vector<char> types(lp.cols);
  ASSERT_EQ(TARQ_GetColType(prob, lp.cols, nullptr, types.data()), 0);
  int n = 0, status = 0;
  ASSERT_EQ(TARQ_GetIntAttr(prob, "MipStatus", &status), 0);
  EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
  ASSERT_EQ(TARQ_GetIntAttr(prob, "PoolSols", &n), 0);
  EXPECT_GE(n, 2) << "branch and cut finds more than one solution on this instance";
  double best = 0, constant = 0;
  ASSERT_EQ(TARQ_GetDblAttr(prob, "BestObj", &best), 0);
  ASSERT_EQ(TARQ_GetDblAttr(prob, "ObjConst", &constant), 0);
  std::vector<std::vector<double>> seen;
  double previous = -TARQ_INFINITY;
  for (int k = 0; k < n; ++k) {
    SCOPED_TRACE(k);
    std::vector<double> x(lp.cols);
    double obj = 0;
    ASSERT_EQ(TARQ_GetPoolSolution(prob, k, lp.cols, nullptr, x.data()), 0);
    ASSERT_EQ(TARQ_GetPoolObjVal(prob, k, &obj), 0);
    if (k == 0) {
      EXPECT_NEAR(obj, best, 1e-9 * std::max(1.0, std::fabs(best)));
    }
    EXPECT_GE(lp.sense * obj, lp.sense * previous - 1e-9);  // best first
    previous = obj;
    double value = constant;
    std::vector<double> act(lp.rows, 0.0);
    for (int j = 0; j < lp.cols; ++j) {
      value += lp.obj[j] * x[j];
      EXPECT_GE(x[j], lp.colLo[j] - 1e-6);
      EXPECT_LE(x[j], lp.colUp[j] + 1e-6);
      if (types[j] != 'C') {
        EXPECT_NEAR(x[j], std::round(x[j]), 1e-6);
      }
      for (int p = lp.beg[j]; p < lp.beg[j] + lp.cnt[j]; ++p) act[lp.idx[p]] += lp.val[p] * x[j];
    }
    EXPECT_NEAR(obj, value, 1e-6 * std::max(1.0, std::fabs(value)));
    for (int i = 0; i < lp.rows; ++i) {
      const double tol = 1e-5 * std::max(1.0, std::fabs(act[i]));
      EXPECT_GE(act[i], lp.rowLo[i] - tol) << "row " << i;
      EXPECT_LE(act[i], lp.rowUp[i] + tol) << "row " << i;
    }
    for (const auto& other : seen) EXPECT_NE(other, x);
    seen.push_back(x);
  }
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
}

// Quick instances on which the search finds more than one solution with preprocessing on.
const std::vector<std::string> kPooled = kSlow ? std::vector<std::string>{}
                                               : std::vector<std::string>{"lseu", "egout", "khb05250", "p0548", "vpm1"};
INSTANTIATE_TEST_SUITE_P(Instances, MiplibPool, testing::ValuesIn(kPooled),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace solvedata
