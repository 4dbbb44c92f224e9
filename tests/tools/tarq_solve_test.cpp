// tarq-solve run as a separate program: its summary lines, its exit codes and its messages.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class TarqSolve : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarq_solve_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  RunResult Run(const std::vector<std::string>& args) const {
    std::string cmd = Quote(TARQ_SOLVE_PATH);
    for (const std::string& a : args) cmd += " " + Quote(a);
    const fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    cmd += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }
  std::string Path(const std::string& leaf) const { return (dir_ / leaf).string(); }

  fs::path dir_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value after "Objective: " in the summary, or NaN.
double Objective(const std::string& out) {
  for (const std::string& line : Lines(out)) {
    if (line.rfind("Objective: ", 0) == 0) return std::stod(line.substr(11));
  }
  return std::nan("");
}

// The built-in example's optimum by enumeration: every quantity of every product, with the
// setup bought exactly for the products made.
double ExampleOptimumByEnumeration() {
  const double profit[4] = {12, 8, 14, 9}, setup[4] = {30, 20, 40, 25}, cap[3] = {120, 100, 60};
  const double use[3][4] = {{4, 2, 5, 3}, {3, 2, 4, 2}, {1, 1, 3, 2}};
  double best = 0;
  int q[4];
  for (q[0] = 0; q[0] <= 40; ++q[0])
    for (q[1] = 0; q[1] <= 40; ++q[1])
      for (q[2] = 0; q[2] <= 40; ++q[2])
        for (q[3] = 0; q[3] <= 40; ++q[3]) {
          bool fits = true;
          for (int r = 0; r < 3 && fits; ++r) {
            double used = 0;
            for (int p = 0; p < 4; ++p) used += use[r][p] * q[p];
            fits = used <= cap[r];
          }
          if (!fits) continue;
          double value = 0;
          for (int p = 0; p < 4; ++p) value += profit[p] * q[p] - (q[p] > 0 ? setup[p] : 0);
          best = std::max(best, value);
        }
  return best;
}

TEST_F(TarqSolve, BuiltInExampleEndsWithTheSummaryLines) {
  const RunResult r = Run({});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("Tarq Optimizer v8.0.1", 0), 0u) << "the banner comes first";
  EXPECT_EQ(lines[lines.size() - 3], "Status: optimal");
  EXPECT_EQ(lines[lines.size() - 2].rfind("Objective: ", 0), 0u);
  EXPECT_EQ(lines.back().rfind("Solving time: ", 0), 0u);
  EXPECT_EQ(lines.back().substr(lines.back().size() - 2), " s");
  EXPECT_GT(lines.size(), 6u) << "the solver's progress lines are shown";
  EXPECT_DOUBLE_EQ(Objective(r.out), ExampleOptimumByEnumeration());

  const RunResult quiet = Run({"--quiet"});
  ASSERT_EQ(quiet.exitCode, 0);
  const auto q = Lines(quiet.out);
  ASSERT_EQ(q.size(), 4u) << quiet.out;
  EXPECT_EQ(q[0], "Model: 8 columns, 7 rows, 20 nonzeros (MIP)");

  const RunResult relaxed = Run({"--quiet", "--lp"});
  ASSERT_EQ(relaxed.exitCode, 0);
  EXPECT_GE(Objective(relaxed.out), Objective(r.out) - 1e-9) << "the relaxation of a maximisation bounds it above";
}

TEST_F(TarqSolve, SolvesSharedFilesToTheirPublishedOptima) {
  const fs::path data = TARQ_TEST_DATA_DIR;
  if (!fs::exists(data / "netlib" / "afiro.mps.gz")) GTEST_SKIP() << "no public data at " << data;
  const RunResult lp = Run({"--quiet", (data / "netlib" / "afiro.mps.gz").string()});
  ASSERT_EQ(lp.exitCode, 0) << lp.err;
  EXPECT_NE(lp.out.find("Status: optimal"), std::string::npos);
  EXPECT_NEAR(Objective(lp.out), -464.7531429, 1e-6);
  const RunResult mip = Run({"--quiet", "--param", "RelGap=1e-7", (data / "miplib" / "p0033.mps.gz").string()});
  ASSERT_EQ(mip.exitCode, 0) << mip.err;
  EXPECT_NEAR(Objective(mip.out), 3089, 1e-6);
}

TEST_F(TarqSolve, NamesTheQuadraticClassAndRefusesNonconvexProblems) {
  const fs::path qp = fs::path(TARQ_TEST_DATA_DIR) / "qp" / "HS21.QPS.gz";
  if (fs::exists(qp)) {
    const RunResult r = Run({"--quiet", qp.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[0], "Model: 2 columns, 1 rows, 2 nonzeros, 2 quadratic objective terms (QP)");
    EXPECT_NEAR(Objective(r.out), -99.96, 1e-6);
  }
  std::ofstream(Path("ball.lp")) << "Maximize\n obj: x + 2 y\nSubject To\n ball: [ x ^ 2 + y ^ 2 ] <= 5\n"
                                    "Generals\n x y\nEnd\n";
  const RunResult mi = Run({"--quiet", Path("ball.lp")});
  ASSERT_EQ(mi.exitCode, 0) << mi.err;
  EXPECT_EQ(Lines(mi.out)[0], "Model: 2 columns, 0 rows, 0 nonzeros, 1 quadratic rows (MIQCP)");
  EXPECT_NEAR(Objective(mi.out), 5, 1e-6);
  const RunResult relaxed = Run({"--quiet", "--lp", Path("ball.lp")});
  ASSERT_EQ(relaxed.exitCode, 0) << relaxed.err;
  EXPECT_NE(relaxed.out.find("(QCP)"), std::string::npos);
  EXPECT_NEAR(Objective(relaxed.out), 5, 1e-6) << "sqrt(5) * sqrt(5): the relaxation touches (1, 2)";

  std::ofstream(Path("saddle.lp")) << "Minimize\n obj: [ 2 x * y ] / 2\nBounds\n -1 <= x <= 1\n -1 <= y <= 1\nEnd\n";
  const RunResult bad = Run({"--quiet", Path("saddle.lp")});
  EXPECT_EQ(bad.exitCode, 3);
  EXPECT_NE(bad.err.find("(NONCONVEX) Fail to solve problem: The QP is not convex: the minimised quadratic objective"),
            std::string::npos)
      << bad.err;
}

TEST_F(TarqSolve, ReadsConicFilesAndNamesTheirClass) {
  // min t with t >= ||(x, y)||, x + y = 2: t = sqrt(2) at x = y = 1.
  const std::string socp = "VER\n1\nOBJSENSE\nMIN\nVAR\n3 1\nQ 3\nCON\n1 1\nL= 1\nOBJACOORD\n1\n0 1\n"
                           "ACOORD\n2\n0 1 1\n0 2 1\nBCOORD\n1\n0 -2\n";
  std::ofstream(Path("ball.cbf")) << socp;
  const RunResult r = Run({"--quiet", Path("ball.cbf")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[0], "Model: 3 columns, 1 rows, 2 nonzeros, 1 cones (SOCP)");
  EXPECT_NEAR(Objective(r.out), std::sqrt(2.0), 1e-6);
  // The same with x integer: x = y = 1 still.
  std::ofstream(Path("int.cbf")) << socp << "INT\n1\n1\n";
  const RunResult mi = Run({"--quiet", Path("int.cbf")});
  ASSERT_EQ(mi.exitCode, 0) << mi.err;
  EXPECT_NE(mi.out.find("(MISOCP)"), std::string::npos) << mi.out;
  EXPECT_NEAR(Objective(mi.out), std::sqrt(2.0), 1e-6);
  // min u with u >= v exp(w / v), v = 1, w = 0: u = 1; written back as CBF first.
  std::ofstream(Path("exp.cbf")) << "VER\n3\nVAR\n3 1\nEXP 3\nCON\n2 1\nL= 2\nOBJACOORD\n1\n0 1\n"
                                    "ACOORD\n2\n0 1 1\n1 2 1\nBCOORD\n1\n0 -1\n";
  const RunResult e = Run({"--quiet", "--write", Path("back.cbf"), Path("exp.cbf")});
  ASSERT_EQ(e.exitCode, 0) << e.err;
  EXPECT_EQ(Lines(e.out)[0], "Model: 3 columns, 2 rows, 2 nonzeros, 1 exponential cones (EXP)");
  EXPECT_NEAR(Objective(e.out), 1, 1e-6);
  EXPECT_TRUE(fs::exists(Path("back.cbf")));
}

TEST_F(TarqSolve, ReadsSemidefiniteCbfFilesAsSdp) {
  // min <C, X> + x s.t. <I, X> + x = 1, X psd, x >= 0, C = [[1, 2], [2, 3]]: 2 - sqrt(5).
  std::ofstream(Path("psd.cbf")) << "VER\n1\nOBJSENSE\nMIN\nPSDVAR\n1\n2\nVAR\n1 1\nL+ 1\nCON\n1 1\nL= 1\n"
                                    "OBJFCOORD\n3\n0 0 0 1\n0 1 0 2\n0 1 1 3\nOBJACOORD\n1\n0 1\n"
                                    "FCOORD\n2\n0 0 0 0 1\n0 0 1 1 1\nACOORD\n1\n0 0 1\nBCOORD\n1\n0 -1\n";
  const RunResult r = Run({"--quiet", "--write", Path("psd_back.cbf"), Path("psd.cbf")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(Lines(r.out)[0].find(" (SDP)"), std::string::npos) << r.out;
  EXPECT_NEAR(Objective(r.out), 2 - std::sqrt(5.0), 1e-6);
  const RunResult back = Run({"--quiet", Path("psd_back.cbf")});
  ASSERT_EQ(back.exitCode, 0) << back.err;
  EXPECT_NE(Lines(back.out)[0].find(" (SDP)"), std::string::npos) << back.out;
  EXPECT_NEAR(Objective(back.out), 2 - std::sqrt(5.0), 1e-6);
  // min x0 + x1 s.t. [[x0 - 1, 1], [1, x1]] psd: 3.
  std::ofstream(Path("lmi.cbf")) << "VER\n2\nOBJSENSE\nMIN\nVAR\n2 1\nF 2\nPSDCON\n1\n2\nOBJACOORD\n2\n0 1\n1 1\n"
                                    "HCOORD\n2\n0 0 0 0 1\n0 1 1 1 1\nDCOORD\n2\n0 0 0 -1\n0 1 0 1\n";
  const RunResult lmi = Run({"--quiet", Path("lmi.cbf")});
  ASSERT_EQ(lmi.exitCode, 0) << lmi.err;
  EXPECT_EQ(Lines(lmi.out)[0], "Model: 2 columns, 0 rows, 0 nonzeros (SDP)");
  EXPECT_NEAR(Objective(lmi.out), 3, 1e-6);
}

TEST_F(TarqSolve, WritesModelSolutionAndIis) {
  const RunResult r = Run({"--quiet", "--write", Path("example.lp"), "--solution", Path("example.sol")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_TRUE(fs::exists(Path("example.lp")));
  EXPECT_NE(ReadFile(Path("example.sol")).find("make_table"), std::string::npos);
  const RunResult again = Run({"--quiet", Path("example.lp")});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_DOUBLE_EQ(Objective(again.out), Objective(r.out)) << "the written model solves to the same optimum";

  std::ofstream(Path("infeasible.lp")) << "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 5\n c2: x <= 1\n"
                                          " c3: y <= 1\nEnd\n";
  const RunResult inf = Run({"--quiet", "--iis", Path("conflict.iis"), Path("infeasible.lp")});
  ASSERT_EQ(inf.exitCode, 0) << inf.err;
  EXPECT_NE(inf.out.find("Status: infeasible"), std::string::npos);
  EXPECT_EQ(inf.out.find("Objective:"), std::string::npos) << "no objective without a solution";
  const std::string iis = ReadFile(Path("conflict.iis"));
  EXPECT_NE(iis.find("c1"), std::string::npos) << iis;
  const RunResult feasible = Run({"--quiet", "--iis", Path("none.iis")});
  EXPECT_NE(feasible.out.find("No IIS"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("none.iis")));
}

TEST_F(TarqSolve, BadInputGivesOneLineAndTheDocumentedExitCode) {
  std::ofstream(Path("model.xyz")) << "not a model\n";
  std::ofstream(Path("broken.mps")) << "NAME x\nROWS\n N obj\nCOLUMNS\n    x obj one\nENDATA\n";
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string says;
  } cases[] = {
      {{Path("missing.mps")}, 2, "missing.mps"},
      {{Path("model.xyz")}, 1, "FILE must be a problem file (.mps, .qps, .lp, .bin, .dat-s or .cbf, optionally .gz)"},
      // Files the model reads that hold no problem, and an empty name.
      {{Path("start.sol")}, 1, "got \"" + Path("start.sol") + "\""},
      {{Path("settings.par")}, 1, "FILE must be a problem file"},
      {{Path("order.ord.gz")}, 1, "FILE must be a problem file"},
      {{Path("x.json")}, 1, "FILE must be a problem file"},
      {{""}, 1, "FILE must be a problem file (.mps, .qps, .lp, .bin, .dat-s or .cbf, optionally .gz), got \"\""},
      {{Path("model.MPS.GZ")}, 2, "model.MPS.GZ"},  // a problem suffix in any case: read, and missing
      {{Path("broken.mps")}, 2, "broken.mps"},
      {{"--param", "NoSuchParam=1"}, 1, "unknown parameter NoSuchParam"},
      {{"--param", "Threads=two"}, 1, "takes an integer"},
      {{"--param", "TimeLimit=soon"}, 1, "takes a number"},
      {{"--param", "Cols=3"}, 1, "is an attribute"},
      {{"--param", "Threads=100000"}, 1, "cannot set Threads"},
      {{"--param", "Threads"}, 1, "NAME=VALUE"},
      {{"--time-limit", "-5"}, 1, "at least 0"},
      {{"--time-limit"}, 1, "needs a value"},
      {{"--frobnicate"}, 1, "unknown option --frobnicate"},
      {{"a.mps", "b.mps"}, 1, "only one FILE"},
      {{"--write", Path("out.txt")}, 1, "--write needs"},
      {{"--write", "/no/such/tarq/dir/out.lp"}, 2, "/no/such/tarq/dir/out.lp"},
      {{"--solution", "/no/such/tarq/dir/out.sol"}, 2, "out.sol"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, c.code) << c.says << "\n" << r.err;
    const auto lines = Lines(r.err);
    ASSERT_EQ(lines.size(), 1u) << c.says << ": " << r.err;
    EXPECT_EQ(lines[0].rfind("tarq-solve: ", 0), 0u);
    EXPECT_NE(lines[0].find(c.says), std::string::npos) << lines[0];
  }
  EXPECT_EQ(Run({"--help"}).exitCode, 0);
  const RunResult v = Run({"--version"});
  EXPECT_EQ(v.out, "tarq-solve 8.0.1\n");
}

}  // namespace
