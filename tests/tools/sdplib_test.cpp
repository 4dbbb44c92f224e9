// Every SDPLIB instance of the public data, solved by tarq-solve run as a program: optimal ones to
// their published optimum, the others reported infeasible or unbounded. Built twice, like the
// other data tests: the quick instances here, the slow ones with TARQ_SLOW_CASES=1 (label "slow").
//
// The published optima come with as many digits as their source gives, some with only three or
// four; an objective is accepted within 1e-5 relative or one unit of the last published digit,
// whichever is larger. The instances are stated as minimise c'x with sum x_i F_i - F_0 >= 0; the
// CSV names the infeasible side in the convention of the data set, where "primal" is this form:
// primal_infeasible means the model has no feasible point, dual_infeasible that it is unbounded.
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "data_run.h"

namespace {

namespace fs = std::filesystem;

// The instances that take more than a quarter of a second here.
const std::set<std::string> kSlow = {"arch0", "control3", "gpp124-1", "qap7", "ss30"};

struct Instance {
  std::string name;
  std::string optimum;  // as published, empty for the infeasible ones
  std::string status;
};

void PrintTo(const Instance& c, std::ostream* out) { *out << c.name; }

std::vector<Instance> ReadInstances() {
  std::vector<Instance> out;
  // name,m,n,optimal_objective,status
  for (const auto& f : datarun::ReadTable((fs::path(TARQ_TEST_DATA_DIR) / "sdplib" / "sdplib_optimal.csv").string(), 5, kSlow)) {
    out.push_back({f[0], f[3], f[4]});
  }
  return out;
}

// One unit of the last digit of a number as written ("5.69e+01" -> 0.1).
double LastDigitUnit(const std::string& text) {
  const size_t e = text.find_first_of("eE");
  const std::string mantissa = text.substr(0, e);
  const int exponent = e == std::string::npos ? 0 : std::stoi(text.substr(e + 1));
  const size_t dot = mantissa.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
  return std::pow(10.0, exponent - decimals);
}

class Sdplib : public testing::TestWithParam<Instance> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Sdplib);

TEST_P(Sdplib, TarqSolveReachesThePublishedResult) {
  const Instance& c = GetParam();
  const fs::path file = fs::path(TARQ_TEST_DATA_DIR) / "sdplib" / (c.name + ".dat-s.gz");
  int code = -1;
  const std::string out = datarun::RunTarqSolve(datarun::Quoted(file.string()), code);
  ASSERT_EQ(code, 0) << out;
  EXPECT_NE(out.find(" (SDP)\n"), std::string::npos) << out;
  if (c.status == "primal_infeasible") {
    EXPECT_NE(out.find("Status: infeasible\n"), std::string::npos) << out;
    return;
  }
  if (c.status == "dual_infeasible") {
    EXPECT_NE(out.find("Status: unbounded\n"), std::string::npos) << out;
    return;
  }
  ASSERT_NE(out.find("Status: optimal\n"), std::string::npos) << out;
  double objective = 0;
  ASSERT_TRUE(datarun::Objective(out, objective)) << out;
  const double published = std::stod(c.optimum);
  const double tolerance = std::max(1e-5 * std::fabs(published), LastDigitUnit(c.optimum));
  EXPECT_NEAR(objective, published, tolerance) << "published " << c.optimum;
}

INSTANTIATE_TEST_SUITE_P(Instances, Sdplib, testing::ValuesIn(ReadInstances()), datarun::CaseName<Instance>);

}  // namespace
