// Every MIPLIB instance read from its MPS file and solved to its published optimum. The
// published values are rounded to the digits printed, so they are compared within 1e-5
// relative; the gap tolerances are tightened so that "optimal" means proven to that precision.
#include <gtest/gtest.h>

#include <cmath>

#include "data_cases.h"
#include "tarq.h"

namespace solvedata {
namespace {

// The instances that take more than half a second here (pk1 and misc07 half a minute or more).
const std::set<std::string> kSlowMiplib = {"pk1",   "misc07", "mas76", "pp08a",   "pp08aCUTS", "rgn",
                                           "bell5", "misc03", "p0282", "stein27", "dcmulti"};

class Miplib : public testing::TestWithParam<Case> {};

TEST_P(Miplib, SolvesToThePublishedOptimum) {
  const Case& c = GetParam();
  tarq_envconfig* config = nullptr;
  tarq_env* env = nullptr;
  tarq_prob* prob = nullptr;
  ASSERT_EQ(TARQ_CreateEnvConfig(&config), 0);
  ASSERT_EQ(TARQ_SetEnvConfig(config, "LogToConsole", "0"), 0);
  ASSERT_EQ(TARQ_CreateEnvWithConfig(config, &env), 0);
  TARQ_DeleteEnvConfig(&config);
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  const std::string file = (DataDir() / "miplib" / (c.name + ".mps.gz")).string();
  ASSERT_EQ(TARQ_ReadMps(prob, file.c_str()), 0) << file;
  ASSERT_EQ(TARQ_SetDblParam(prob, "RelGap", 1e-7), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob, "AbsGap", 1e-7), 0);
  ASSERT_EQ(TARQ_Solve(prob), 0);
  int status = -1;
  double obj = 0;
  ASSERT_EQ(TARQ_GetIntAttr(prob, "MipStatus", &status), 0);
  ASSERT_EQ(TARQ_GetDblAttr(prob, "BestObj", &obj), 0);
  EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
  const double rel = std::fabs(obj - c.optimum) / std::max(1.0, std::fabs(c.optimum));
  EXPECT_LE(rel, 1e-5) << "objective " << obj << ", published " << c.optimum;
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
}

INSTANTIATE_TEST_SUITE_P(Instances, Miplib,
                         testing::ValuesIn(ReadCases(DataDir() / "miplib" / "miplib_optimal.csv", kSlowMiplib, kSlow)),
                         CaseName);

}  // namespace
}  // namespace solvedata
