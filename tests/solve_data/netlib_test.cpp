// Every Netlib LP read from its MPS file through the modeling layer and solved to its published optimum within 1e-6
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
// Without the data set (or with no instance of this speed) there is nothing to instantiate.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Netlib);

TEST_P(Netlib, SolvesToThePublishedOptimum) {
  const Case& c = GetParam();
  const std::string file = (DataDir() / "netlib" / (c.name + ".mps.gz")).string();
  const Outcome r = SolveThroughModel(file, "LpStatus", "LpObjval");
  ASSERT_EQ(r.readCode, 0) << file;
  EXPECT_EQ(r.status, TARQ_STATUS_OPTIMAL);
  const double obj = r.objective;
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
}

INSTANTIATE_TEST_SUITE_P(Instances, Netlib,
                         testing::ValuesIn(ReadCases(DataDir() / "netlib" / "netlib_optimal.csv", kSlowNetlib, kSlow)),
                         CaseName);

}  // namespace
}  // namespace solvedata
