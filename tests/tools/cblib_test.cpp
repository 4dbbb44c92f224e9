// Every CBLIB instance of the public data, solved by tarq-solve run as a program to its published
// optimum within 1e-5 relative. Built twice, like the other data tests: the quick instances here,
// the slow ones with TARQ_SLOW_CASES=1 (label "slow").
//
// The CSV gives the objective of each instance's primal and dual certificates; the published
// optimum is the primal one, and the two agree to 1e-7 relative or better, well inside the
// tolerance. A result that misses the published optimum passes only when it is better and an
// independent check of the solution against the file (cbf_check.h) finds it feasible to 1e-8 in
// the file's own terms with the objective tarq-solve printed: such a point disproves the
// published value. (It happens on the nql instances: on nql30 a point feasible to 1e-11 has
// objective -0.9460285, below both published certificates, -0.9460240521 and -0.9460240638.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cbf_check.h"
#include "data_run.h"

namespace {

namespace fs = std::filesystem;

// The larger instances: more than 10,000 columns once read, or a cone of thousands of members.
const std::set<std::string> kSlow = {"chainsing-1000-1", "nql60", "sched_50_50_orig", "sched_100_50_orig"};

struct Instance {
  std::string name;
  std::string optimum;
};

void PrintTo(const Instance& c, std::ostream* out) { *out << c.name; }

std::vector<Instance> ReadInstances() {
  std::vector<Instance> out;
  // name,optimal_objective,dual_objective
  for (const auto& f : datarun::ReadTable((fs::path(TARQ_TEST_DATA_DIR) / "cblib" / "cblib_optimal.csv").string(), 3, kSlow)) {
    out.push_back({f[0], f[1]});
  }
  return out;
}

class Cblib : public testing::TestWithParam<Instance> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Cblib);

TEST_P(Cblib, TarqSolveReachesThePublishedOptimum) {
  const Instance& c = GetParam();
  const fs::path file = fs::path(TARQ_TEST_DATA_DIR) / "cblib" / (c.name + ".cbf.gz");
  int code = -1;
  const std::string solution =
      (fs::path(testing::TempDir()) / (c.name + "." + std::to_string(getpid()) + ".sol")).string();
  const std::string out =
      datarun::RunTarqSolve("--solution " + datarun::Quoted(solution) + " " + datarun::Quoted(file.string()), code);
  ASSERT_EQ(code, 0) << out;
  EXPECT_NE(out.find(" (SOCP)\n"), std::string::npos) << out;
  ASSERT_NE(out.find("Status: optimal\n"), std::string::npos) << out;
  double objective = 0;
  ASSERT_TRUE(datarun::Objective(out, objective)) << out;
  const double published = std::stod(c.optimum);
  if (std::fabs(objective - published) <= 1e-5 * std::fabs(published)) {
    std::remove(solution.c_str());
    return;
  }

  // Missed: acceptable only as a better point that the file itself confirms.
  const cbfcheck::File f = cbfcheck::Read(file.string());
  ASSERT_TRUE(f.ok) << f.fault;
  EXPECT_LT(f.sense * (objective - published), 0) << "worse than the published optimum " << c.optimum;
  int n = 0;
  for (const cbfcheck::Domain& d : f.var) n += d.size;
  std::vector<double> x(static_cast<size_t>(n), 0.0);
  std::ifstream sol(solution);
  for (std::string line; std::getline(sol, line);) {
    if (line.size() < 2 || line[0] != 'C') continue;
    std::istringstream l(line.substr(1));
    int j = -1;
    double v = 0;
    if (l >> j >> v && j >= 0 && j < n) x[static_cast<size_t>(j)] = v;
  }
  const cbfcheck::Result r = cbfcheck::Check(f, x);
  EXPECT_LE(r.violation, 1e-8) << "the solution misses the file's domains";
  EXPECT_NEAR(r.objective, objective, 1e-9 * (1 + std::fabs(objective)));
  std::printf("%s: %.10g, better than the published %s by %.2g relative, feasible to %.2g\n", c.name.c_str(),
              objective, c.optimum.c_str(), std::fabs(objective - published) / std::fabs(published), r.violation);
  std::remove(solution.c_str());
}

INSTANTIATE_TEST_SUITE_P(Instances, Cblib, testing::ValuesIn(ReadInstances()), datarun::CaseName<Instance>);

}  // namespace
