// Tuning, and the result files: solution, JSON solution, basis and tuning results, written and
// read back, and malformed files rejected without a change.
#include <fstream>
#include <sstream>

#include "solve_fixture.h"

namespace solvetest {
namespace {

std::string Temp(const char* name) { return testing::TempDir() + name; }

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(SolveTest, TuneRanksSettingsThatSolveAndLoadsOne) {
  BuildTransport(prob_, 10);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TuneTargetTime", 0), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TuneTimeLimit", 30), 0);
  ASSERT_EQ(TARQ_Tune(prob_), 0);
  const int n = IntAttr("TuneResults");
  EXPECT_GE(n, 2);
  EXPECT_GT(DblAttr("TuneTime"), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_UNSTARTED);  // tuning leaves no solution behind

  // Results survive a solve; the files hold one result each and read back.
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("TuneResults"), n);
  const std::string path = Temp("tarq_test.tune");
  ASSERT_EQ(TARQ_WriteTuneParam(prob_, n - 1, path.c_str()), 0);
  const std::string text = ReadText(path);
  EXPECT_NE(text.find("result "), std::string::npos);
  EXPECT_EQ(TARQ_WriteTuneParam(prob_, n, path.c_str()), TARQ_RETCODE_INVALID);
  EXPECT_EQ(ReadText(path), text);  // the failed write left the file alone

  ASSERT_EQ(TARQ_ReadTune(prob_, path.c_str()), 0);
  EXPECT_EQ(IntAttr("TuneResults"), 1);
  WriteText(path, "# tuned\nresult 0.5 barrier\nLpMethod 2\nPresolve 0\n");
  ASSERT_EQ(TARQ_ReadTune(prob_, path.c_str()), 0);
  ASSERT_EQ(TARQ_LoadTuneParam(prob_, 0), 0);
  int method = -1, presolve = -1;
  ASSERT_EQ(TARQ_GetIntParam(prob_, "LpMethod", &method), 0);
  ASSERT_EQ(TARQ_GetIntParam(prob_, "Presolve", &presolve), 0);
  EXPECT_EQ(method, 2);
  EXPECT_EQ(presolve, 0);
  EXPECT_EQ(TARQ_LoadTuneParam(prob_, 1), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_LoadTuneParam(prob_, -1), TARQ_RETCODE_INVALID);
  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  EXPECT_EQ(IntAttr("TuneResults"), 0);
}

TEST_F(SolveTest, TuneHandlesMips) {
  Row({}, -kInf, 5);
  Col(5, 0, 1, 'B', {{0, 2}});
  Col(4, 0, 1, 'B', {{0, 3}});
  Col(3, 0, 1, 'B', {{0, 1}});
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TuneTargetTime", 0), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "TuneOutputLevel", 3), 0);
  ASSERT_EQ(TARQ_Tune(prob_), 0);
  EXPECT_GE(IntAttr("TuneResults"), 2);
  bool traced = false;
  for (const auto& l : lines_) traced = traced || l.rfind("Tune: ", 0) == 0;
  EXPECT_TRUE(traced);
}

// min x + 3y + 2z,  r0: x + 2y >= 6,  r1: y + z >= 1,  x, y, z in [0, 10]: x = 4, y = 1, value 7.
class Files : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Row({}, 6, kInf, "r0");
    Row({}, 1, kInf, "r1");
    Col(1, 0, 10, 'C', {{0, 1}}, "x");
    Col(3, 0, 10, 'C', {{0, 2}, {1, 1}}, "y");
    Col(2, 0, 10, 'C', {{1, 1}}, "z");
  }
};

TEST_F(Files, SolutionFilesRoundTrip) {
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  std::vector<double> x(3), y(2), act(2);
  ASSERT_EQ(TARQ_GetLpSolution(prob_, x.data(), act.data(), y.data(), nullptr), 0);
  const std::string sol = Temp("tarq_test.sol"), json = Temp("tarq_test.json");
  ASSERT_EQ(TARQ_WriteSol(prob_, sol.c_str()), 0);
  ASSERT_EQ(TARQ_WriteJsonSol(prob_, json.c_str()), 0);
  EXPECT_NE(ReadText(sol).find("# Objective value = 7"), std::string::npos);
  EXPECT_NE(ReadText(json).find("\"dual\""), std::string::npos);
  ASSERT_EQ(TARQ_WritePoolSol(prob_, 0, Temp("tarq_pool.sol").c_str()), 0);

  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), TARQ_RETCODE_INVALID);
  ASSERT_EQ(TARQ_ReadSol(prob_, sol.c_str()), 0);
  EXPECT_EQ(Solution(), x);
  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  ASSERT_EQ(TARQ_ReadJsonSol(prob_, json.c_str()), 0);
  std::vector<double> x2(3), y2(2), act2(2);
  ASSERT_EQ(TARQ_GetLpSolution(prob_, x2.data(), act2.data(), y2.data(), nullptr), 0);
  EXPECT_EQ(x2, x);
  EXPECT_EQ(y2, y);
  EXPECT_EQ(act2, act);

  // Without a solution nothing is written, and an existing file stays as it was.
  const std::string before = ReadText(sol);
  int k = 0;
  double lo = 1;
  ASSERT_EQ(TARQ_SetColLower(prob_, 1, &k, &lo), 0);
  EXPECT_EQ(TARQ_WriteSol(prob_, sol.c_str()), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_WriteJsonSol(prob_, sol.c_str()), TARQ_RETCODE_INVALID);
  EXPECT_EQ(ReadText(sol), before);
}

TEST_F(Files, BasisFileRoundTripsAndWarmStarts) {
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  std::vector<int> cb(3), rb(2);
  ASSERT_EQ(TARQ_GetBasis(prob_, cb.data(), rb.data()), 0);
  const std::string path = Temp("tarq_test.bas");
  ASSERT_EQ(TARQ_WriteBasis(prob_, path.c_str()), 0);
  const std::string text = ReadText(path);
  EXPECT_EQ(text.rfind("NAME", 0), 0u);
  EXPECT_NE(text.find("ENDATA"), std::string::npos);

  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  EXPECT_EQ(IntAttr("HasBasis"), 0);
  ASSERT_EQ(TARQ_ReadBasis(prob_, path.c_str()), 0);
  std::vector<int> cb2(3), rb2(2);
  ASSERT_EQ(TARQ_GetBasis(prob_, cb2.data(), rb2.data()), 0);
  EXPECT_EQ(cb2, cb);
  EXPECT_EQ(rb2, rb);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("SimplexIter"), 0);
}

TEST_F(Files, MalformedFilesAreRejectedAndChangeNothing) {
  const std::string kDeep(200, '[');  // nesting beyond the reader's limit
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const std::vector<double> x = Solution();
  std::vector<int> cb(3), rb(2);
  ASSERT_EQ(TARQ_GetBasis(prob_, cb.data(), rb.data()), 0);
  struct Case {
    const char* suffix;
    const char* text;
  } cases[] = {
      {".sol", "x 1\nnosuchcolumn 2\n"},
      {".sol", "x one\n"},
      {".sol", "x 1\nx 2\n"},
      {".json", "{\"columns\": [{\"name\": \"x\", \"value\": 1}"},
      {".json", "[1, 2]"},
      {".json", "{\"columns\": [{\"name\": \"w\", \"value\": 1}]}"},
      {".json", "{\"columns\": [{\"name\": \"x\", \"value\": \"1\"}]}"},
      {".json", "{\"rows\": []}"},
      {".json", kDeep.c_str()},
      {".bas", "XU x r0\nENDATA\n"},
      {".bas", "NAME b\n XU x\nENDATA\n"},
      {".bas", "NAME b\n ZZ x\nENDATA\n"},
      {".bas", "NAME b\n XL x nosuchrow\nENDATA\n"},
      {".bas", "NAME b\n UL x\n"},
      {".tune", "LpMethod 1\n"},
      {".tune", "result 1 x\nNoSuchParam 1\n"},
      {".tune", "result 1 x\nLpMethod 9\n"},
      {".tune", "result 1 x\nLpMethod 1.5\n"},
      {".tune", "result 1 x\nCols 1\n"},
      {".tune", ""},
  };
  int k = 0;
  for (const Case& c : cases) {
    const std::string path = Temp("tarq_bad") + std::to_string(k++) + c.suffix;
    WriteText(path, c.text);
    const std::string s = c.suffix;
    const int rc = s == ".sol"    ? TARQ_ReadSol(prob_, path.c_str())
                   : s == ".json" ? TARQ_ReadJsonSol(prob_, path.c_str())
                   : s == ".bas"  ? TARQ_ReadBasis(prob_, path.c_str())
                                  : TARQ_ReadTune(prob_, path.c_str());
    EXPECT_EQ(rc, TARQ_RETCODE_INVALID) << c.text;
  }
  EXPECT_EQ(Solution(), x);
  std::vector<int> cb2(3), rb2(2);
  ASSERT_EQ(TARQ_GetBasis(prob_, cb2.data(), rb2.data()), 0);
  EXPECT_EQ(cb2, cb);
  EXPECT_EQ(rb2, rb);
  EXPECT_EQ(IntAttr("TuneResults"), 0);
  EXPECT_EQ(TARQ_ReadSol(prob_, Temp("tarq_no_such_file.sol").c_str()), TARQ_RETCODE_FILE);
  EXPECT_EQ(TARQ_ReadSol(prob_, ""), TARQ_RETCODE_INVALID);
  EXPECT_EQ(TARQ_WriteSol(prob_, nullptr), TARQ_RETCODE_INVALID);
}

}  // namespace
}  // namespace solvetest
