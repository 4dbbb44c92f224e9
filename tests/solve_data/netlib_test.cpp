// Every Netlib LP read from its MPS file and solved to its published optimum within 1e-6
// relative. Two instances need what the data set's notes say: e226's objective row carries a
// constant (-7.113) that the published value leaves out, so either value is accepted; pilot87's
// published value differs from the exact optimum by 1.3e-6 relative, so it is checked to 1e-5.
#include <gtest/gtest.h>

#include <cmath>

#include "data_cases.h"
#include "tarq.h"

namespace solvedata {
namespace {

// The instances that take more than half a second here (several seconds under the sanitizers).
const std::set<std::string> kSlowNetlib = {"dfl001", "pilot87", "fit2p", "maros-r7", "pilot"};

class Netlib : public testing::TestWithParam<Case> {};

TEST_P(Netlib, SolvesToThePublishedOptimum) {
  const Case& c = GetParam();
  tarq_envconfig* config = nullptr;
  tarq_env* env = nullptr;
  tarq_prob* prob = nullptr;
  ASSERT_EQ(TARQ_CreateEnvConfig(&config), 0);
  ASSERT_EQ(TARQ_SetEnvConfig(config, "LogToConsole", "0"), 0);
  ASSERT_EQ(TARQ_CreateEnvWithConfig(config, &env), 0);
  TARQ_DeleteEnvConfig(&config);
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  const std::string file = (DataDir() / "netlib" / (c.name + ".mps.gz")).string();
  ASSERT_EQ(TARQ_ReadMps(prob, file.c_str()), 0) << file;
  ASSERT_EQ(TARQ_Solve(prob), 0);
  int status = -1;
  double obj = 0;
  ASSERT_EQ(TARQ_GetIntAttr(prob, "LpStatus", &status), 0);
  ASSERT_EQ(TARQ_GetDblAttr(prob, "LpObjval", &obj), 0);
  EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
  const double rel = std::fabs(obj - c.optimum) / std::max(1.0, std::fabs(c.optimum));
  if (c.name == "e226") {
    const double withConstant = c.optimum + 7.113;
    const double relConst = std::fabs(obj - withConstant) / std::fabs(withConstant);
    EXPECT_TRUE(rel <= 1e-6 || relConst <= 1e-6) << "objective " << obj;
  } else if (c.name == "pilot87") {
    EXPECT_LE(rel, 1e-5) << "objective " << obj << ", published " << c.optimum;
  } else {
    EXPECT_LE(rel, 1e-6) << "objective " << obj << ", published " << c.optimum;
  }
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
}

INSTANTIATE_TEST_SUITE_P(Instances, Netlib,
                         testing::ValuesIn(ReadCases(DataDir() / "netlib" / "netlib_optimal.csv", kSlowNetlib, kSlow)),
                         CaseName);

}  // namespace
}  // namespace solvedata
