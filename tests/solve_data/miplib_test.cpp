// Every MIPLIB instance read from its MPS file through the modeling layer and solved to its published optimum. The
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
// Without the data set (or with no instance of this speed) there is nothing to instantiate.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Miplib);

TEST_P(Miplib, SolvesToThePublishedOptimum) {
  const Case& c = GetParam();
  const std::string file = (DataDir() / "miplib" / (c.name + ".mps.gz")).string();
  const Outcome r = SolveThroughModel(file, "MipStatus", "BestObj", {{"RelGap", 1e-7}, {"AbsGap", 1e-7}});
  ASSERT_EQ(r.readCode, 0) << file;
  EXPECT_EQ(r.status, TARQ_STATUS_OPTIMAL);
  const double obj = r.objective;
  const double rel = std::fabs(obj - c.optimum) / std::max(1.0, std::fabs(c.optimum));
  EXPECT_LE(rel, 1e-5) << "objective " << obj << ", published " << c.optimum;
}

INSTANTIATE_TEST_SUITE_P(Instances, Miplib,
                         testing::ValuesIn(ReadCases(DataDir() / "miplib" / "miplib_optimal.csv", kSlowMiplib, kSlow)),
                         CaseName);

}  // namespace
}  // namespace solvedata
