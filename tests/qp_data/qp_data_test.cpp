// Every QP of the public Maros-Meszaros set beside the repository, solved by tarq-solve (run as a
// program, as a user would) to its published optimum: within 1e-6 relative, or 1e-6 absolute
// for optima below 1 in magnitude. Built twice, like the other data tests: the quick instances
// run by default, the slow ones carry the label "slow".
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

#ifndef TARQ_SLOW_CASES
#define TARQ_SLOW_CASES 0
#endif

// The instances that take more than a second here.
const std::set<std::string> kSlow = {};

struct Case {
  std::string name;
  double optimum = 0;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name << " (optimum " << c.optimum << ")"; }

fs::path DataDir() { return fs::path(TARQ_TEST_DATA_DIR) / "qp"; }

std::vector<Case> Cases() {
  std::vector<Case> cases;
  std::ifstream in(DataDir() / "qp_optimal.csv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    Case c{line.substr(0, line.find(',')), std::stod(line.substr(line.rfind(',') + 1))};
    if ((kSlow.count(c.name) != 0) == (TARQ_SLOW_CASES != 0)) cases.push_back(c);
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string n = info.param.name;
  for (char& ch : n) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return n;
}

// Runs tarq-solve --quiet on file; returns its exit code and what it printed.
int RunSolve(const std::string& file, std::string& out) {
  const fs::path capture = fs::temp_directory_path() / ("tarq_qp_" + std::to_string(::getpid()) + ".txt");
  const std::string cmd = std::string("'") + TARQ_SOLVE_PATH + "' --quiet '" + file + "' >'" + capture.string() + "' 2>&1";
  const int raw = std::system(cmd.c_str());
  std::ifstream in(capture);
  std::stringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  fs::remove(capture);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class MarosMeszaros : public testing::TestWithParam<Case> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MarosMeszaros);

TEST_P(MarosMeszaros, SolvesToThePublishedOptimum) {
  const Case& c = GetParam();
  std::string out;
  ASSERT_EQ(RunSolve((DataDir() / (c.name + ".QPS.gz")).string(), out), 0) << out;
  EXPECT_NE(out.find("(QP)"), std::string::npos) << out;
  ASSERT_NE(out.find("Status: optimal"), std::string::npos) << out;
  const size_t at = out.find("Objective: ");
  ASSERT_NE(at, std::string::npos) << out;
  const double obj = std::stod(out.substr(at + 11));
  const double error = std::fabs(obj - c.optimum) / std::max(1.0, std::fabs(c.optimum));
  EXPECT_LE(error, 1e-6) << "objective " << obj << ", published " << c.optimum;
}

INSTANTIATE_TEST_SUITE_P(Instances, MarosMeszaros, testing::ValuesIn(Cases()), CaseName);

}  // namespace
