// Calls made from inside a problem's log callback while the problem solves: every change and
// every new solve of that problem is refused with 6 and a log line, reading calls work, nothing
// waits for itself, and the solve ends as it would have without the calls.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "io/param_file.h"
#include "store/problem.h"
#include "solve_fixture.h"

namespace solvetest {
namespace {

// What the test compares before and after: the problem's data as MPS text, its MIP starts and
// branch factors as files, its parameters, and its count of multi-objectives.
std::string Fingerprint(tarq_prob* prob, const std::string& dir) {
  int size = 0;
  EXPECT_EQ(TARQ_WriteMpsStr(prob, nullptr, 0, &size), 0);
  std::string mps(static_cast<size_t>(size), '\0');
  EXPECT_EQ(TARQ_WriteMpsStr(prob, mps.data(), size, &size), 0);
  const std::string mst = dir + "/fingerprint.mst", ord = dir + "/fingerprint.ord";
  EXPECT_EQ(TARQ_WriteMst(prob, mst.c_str()), 0);
  EXPECT_EQ(TARQ_WriteOrd(prob, ord.c_str()), 0);
  auto slurp = [](const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  int objs = -1;
  EXPECT_EQ(TARQ_GetIntAttr(prob, "MultiObjs", &objs), 0);
  return mps + slurp(mst) + slurp(ord) + tarq_solver::FormatParamFile(prob->problem.Params()) +
         std::to_string(objs);
}

struct Call {
  const char* name;
  std::function<int(tarq_prob*)> run;
};

// The state a callback works with.
struct Inside {
  tarq_prob* prob = nullptr;
  std::function<void()> onFirstLine;
  bool fired = false;
  int linesAfter = 0;       // lines after the first one
  int refusedAfter = 0;     // changes refused on those lines
  std::vector<std::string> lines;
};

void Callback(const char* line, void* data) {
  auto* in = static_cast<Inside*>(data);
  in->lines.emplace_back(line);
  if (!in->fired) {
    in->fired = true;
    in->onFirstLine();
    return;
  }
  // A change on every later line, its refusal logging a line each time: must not loop.
  ++in->linesAfter;
  if (TARQ_SetObjSense(in->prob, TARQ_MAXIMIZE) == TARQ_RETCODE_THREAD) ++in->refusedAfter;
}

class Reentrancy : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() / ("tarq_reentrancy_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    SolveTest::TearDown();
  }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

TEST_F(Reentrancy, ChangesAndSolvesFromTheLogCallbackAreRefusedAndReadsWork) {
  BuildTransport(prob_, 8);
  const double start[] = {1, 2};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 2, nullptr, start), 0);
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 2, nullptr, start), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const double optimum = DblAttr("LpObjval");
  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  const std::string before = Fingerprint(prob_, dir_.string());

  const int one = 1, two = 2;
  const double v = 3, vals[] = {1, 1};
  const char* name = "renamed";
  tarq_prob* self = prob_;
  // The readers name files that do not exist: a read that looked would return 2.
  const std::vector<Call> changes = {
      {"Solve", TARQ_Solve},
      {"SolveLp", TARQ_SolveLp},
      {"ComputeIIS", TARQ_ComputeIIS},
      {"FeasRelax", [&](tarq_prob* p) { return TARQ_FeasRelax(p, nullptr, nullptr, vals, nullptr); }},
      {"Tune", TARQ_Tune},
      {"ClearProb", TARQ_ClearProb},
      {"DeleteProb", [&](tarq_prob*) { return TARQ_DeleteProb(&self); }},
      {"DelCols", [&](tarq_prob* p) { return TARQ_DelCols(p, 1, &one); }},
      {"DelRows", [&](tarq_prob* p) { return TARQ_DelRows(p, 1, &one); }},
      {"AddCol", [&](tarq_prob* p) { return TARQ_AddCol(p, 1, 0, nullptr, nullptr, 'C', 0, 1, nullptr); }},
      {"AddRow", [&](tarq_prob* p) { return TARQ_AddRow(p, 1, &one, &v, 'L', 1, 0, nullptr); }},
      {"AddCols",
       [&](tarq_prob* p) {
         return TARQ_AddCols(p, 1, &v, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
       }},
      {"LoadProb",
       [&](tarq_prob* p) {
         return TARQ_LoadProb(p, 0, 0, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr);
       }},
      {"SetElem", [&](tarq_prob* p) { return TARQ_SetElem(p, 0, 0, 5); }},
      {"SetColLower", [&](tarq_prob* p) { return TARQ_SetColLower(p, 1, &one, &v); }},
      {"SetColUpper", [&](tarq_prob* p) { return TARQ_SetColUpper(p, 1, &one, &v); }},
      {"SetColObj", [&](tarq_prob* p) { return TARQ_SetColObj(p, 1, &one, &v); }},
      {"ReplaceColObj", [&](tarq_prob* p) { return TARQ_ReplaceColObj(p, 1, &one, &v); }},
      {"SetColType", [&](tarq_prob* p) { return TARQ_SetColType(p, 1, &one, "I"); }},
      {"SetColBranchFactors", [&](tarq_prob* p) { return TARQ_SetColBranchFactors(p, 1, &two, &v); }},
      {"SetRowLower", [&](tarq_prob* p) { return TARQ_SetRowLower(p, 1, &one, &v); }},
      {"SetRowUpper", [&](tarq_prob* p) { return TARQ_SetRowUpper(p, 1, &one, &v); }},
      {"SetColNames", [&](tarq_prob* p) { return TARQ_SetColNames(p, 1, &one, &name); }},
      {"SetRowNames", [&](tarq_prob* p) { return TARQ_SetRowNames(p, 1, &one, &name); }},
      {"SetQuadObj", [&](tarq_prob* p) { return TARQ_SetQuadObj(p, 1, &one, &one, &v); }},
      {"DelQuadObj", TARQ_DelQuadObj},
      {"AddQConstr", [&](tarq_prob* p) { return TARQ_AddQConstr(p, 0, nullptr, nullptr, 1, &one, &one, &v, 'L', 1, nullptr); }},
      {"AddQConstrs",
       [&](tarq_prob* p) {
         const int beg = 0;
         const char sense = 'L';
         return TARQ_AddQConstrs(p, 1, &beg, nullptr, nullptr, nullptr, &beg, &one, &one, &one, &v, &sense, &v,
                                 nullptr);
       }},
      {"DelQConstrs", [&](tarq_prob* p) { return TARQ_DelQConstrs(p, 1, &one); }},
      {"SetQConstrRhs", [&](tarq_prob* p) { return TARQ_SetQConstrRhs(p, 1, &one, &v); }},
      {"SetQConstrSense", [&](tarq_prob* p) { return TARQ_SetQConstrSense(p, 1, &one, "G"); }},
      {"SetQConstrNames", [&](tarq_prob* p) { return TARQ_SetQConstrNames(p, 1, &one, &name); }},
      {"SetObjSense", [&](tarq_prob* p) { return TARQ_SetObjSense(p, TARQ_MAXIMIZE); }},
      {"SetObjConst", [&](tarq_prob* p) { return TARQ_SetObjConst(p, 4); }},
      {"AddMipStart", [&](tarq_prob* p) { return TARQ_AddMipStart(p, 1, &one, &v); }},
      {"SetIntParam", [&](tarq_prob* p) { return TARQ_SetIntParam(p, "Threads", 2); }},
      {"SetDblParam", [&](tarq_prob* p) { return TARQ_SetDblParam(p, "TimeLimit", 9); }},
      {"ResetParam", TARQ_ResetParam},
      {"SetLpSolution", [&](tarq_prob* p) { return TARQ_SetLpSolution(p, std::vector<double>(64, 0).data(), nullptr, nullptr, nullptr); }},
      {"SetSlackBasis", TARQ_SetSlackBasis},
      {"Reset", [&](tarq_prob* p) { return TARQ_Reset(p, 1); }},
      {"LoadTuneParam", [&](tarq_prob* p) { return TARQ_LoadTuneParam(p, 0); }},
      {"MultiObjSetColObj", [&](tarq_prob* p) { return TARQ_MultiObjSetColObj(p, 0, 1, &one, &v); }},
      {"MultiObjSetObjSense", [&](tarq_prob* p) { return TARQ_MultiObjSetObjSense(p, 0, -1); }},
      {"MultiObjSetIntParam", [&](tarq_prob* p) { return TARQ_MultiObjSetIntParam(p, 0, "Threads", 2); }},
      {"SetLogCallback", [&](tarq_prob* p) { return TARQ_SetLogCallback(p, nullptr, nullptr); }},
      {"SetLogFile", [&](tarq_prob* p) { return TARQ_SetLogFile(p, File("log.txt").c_str()); }},
      {"ReadMps", [&](tarq_prob* p) { return TARQ_ReadMps(p, File("p.mps").c_str()); }},
      {"ReadLp", [&](tarq_prob* p) { return TARQ_ReadLp(p, File("p.lp").c_str()); }},
      {"ReadBin", [&](tarq_prob* p) { return TARQ_ReadBin(p, File("p.bin").c_str()); }},
      {"ReadSol", [&](tarq_prob* p) { return TARQ_ReadSol(p, File("p.sol").c_str()); }},
      {"ReadJsonSol", [&](tarq_prob* p) { return TARQ_ReadJsonSol(p, File("p.json").c_str()); }},
      {"ReadBasis", [&](tarq_prob* p) { return TARQ_ReadBasis(p, File("p.bas").c_str()); }},
      {"ReadMst", [&](tarq_prob* p) { return TARQ_ReadMst(p, File("p.mst").c_str()); }},
      {"ReadOrd", [&](tarq_prob* p) { return TARQ_ReadOrd(p, File("p.ord").c_str()); }},
      {"ReadParam", [&](tarq_prob* p) { return TARQ_ReadParam(p, File("p.par").c_str()); }},
      {"ReadTune", [&](tarq_prob* p) { return TARQ_ReadTune(p, File("p.tune").c_str()); }},
  };

  Inside in;
  in.prob = prob_;
  std::vector<int> codes;
  int cols = -1, threads = -1, lpStatus = -1, readsFailed = 0;
  std::string firstName;
  in.onFirstLine = [&] {
    for (const Call& c : changes) codes.push_back(c.run(prob_));
    // Reads: attributes, parameters, names, the matrix, a copy, a file written, an interrupt
    // with nothing to stop yet... except this solve: so that one comes last, after the solve.
    readsFailed += TARQ_GetIntAttr(prob_, "Cols", &cols) != 0;
    readsFailed += TARQ_GetIntAttr(prob_, "LpStatus", &lpStatus) != 0;
    readsFailed += TARQ_GetIntParam(prob_, "Threads", &threads) != 0;
    char buf[32];
    readsFailed += TARQ_GetColName(prob_, 3, buf, sizeof buf, nullptr) != 0;
    firstName = buf;
    int nnz = -1;
    readsFailed += TARQ_GetCols(prob_, 64, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &nnz) != 0 || nnz != 128;
    int qnz = -1;
    readsFailed += TARQ_GetQuadObj(prob_, 0, &qnz, nullptr, nullptr, nullptr) != 0 || qnz != 0;
    readsFailed += TARQ_WriteMps(prob_, File("inside.mps").c_str()) != 0;
    tarq_prob* copy = nullptr;
    readsFailed += TARQ_CreateCopy(prob_, &copy) != 0;
    readsFailed += TARQ_DeleteProb(&copy) != 0;  // the copy is not solving
  };
  ASSERT_EQ(TARQ_SetLogCallback(prob_, Callback, &in), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 1), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);

  ASSERT_TRUE(in.fired);
  ASSERT_EQ(codes.size(), changes.size());
  for (size_t k = 0; k < changes.size(); ++k) EXPECT_EQ(codes[k], TARQ_RETCODE_THREAD) << changes[k].name;
  EXPECT_EQ(self, prob_);
  EXPECT_EQ(readsFailed, 0);
  EXPECT_EQ(cols, 64);
  EXPECT_EQ(threads, -1);
  EXPECT_EQ(firstName, "C3");
  EXPECT_TRUE(std::filesystem::exists(File("inside.mps")));
  EXPECT_GT(in.linesAfter, 0);
  EXPECT_EQ(in.refusedAfter, in.linesAfter);

  // A refusal line for each refused call, naming its function.
  for (const Call& c : changes) {
    const std::string head = std::string("TARQ_") + c.name + " refused: a solve of this problem is running";
    EXPECT_TRUE(std::any_of(in.lines.begin(), in.lines.end(), [&](const std::string& l) { return l.rfind(head, 0) == 0; }))
        << head;
  }
  EXPECT_NE(std::find(in.lines.begin(), in.lines.end(),
                      "TARQ_DelCols refused: a solve of this problem is running; until it returns only reading "
                      "calls and TARQ_Interrupt are allowed"),
            in.lines.end());

  // The solve ended as it would have, on the data it started from, and nothing changed.
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(DblAttr("LpObjval"), optimum, 1e-9);
  EXPECT_EQ(IntAttr("HasLpSol"), 1);
  ASSERT_EQ(TARQ_SetLogCallback(prob_, &SolveTest::Capture, &lines_), 0);
  EXPECT_EQ(Fingerprint(prob_, dir_.string()), before);
  EXPECT_EQ(TARQ_DelCols(prob_, 1, &one), 0);  // changes work again once the solve has returned
}

// A MIP solve holds the branch-and-cut driver, which runs one solve at a time: a MIP solve of
// another problem started from its callback is refused instead of waiting for itself; an LP
// solve of another problem runs.
TEST_F(Reentrancy, OtherProblemsSolvedFromTheCallbackOfAMipSolve) {
  Row({}, -kInf, 5);
  Col(5, 0, 1, 'B', {{0, 2}});
  Col(4, 0, 1, 'B', {{0, 3}});
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  tarq_prob* otherMip = nullptr;
  tarq_prob* otherLp = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &otherMip), 0);
  ASSERT_EQ(TARQ_CreateCopy(prob_, &otherLp), 0);
  ASSERT_EQ(TARQ_SetLogCallback(otherMip, nullptr, nullptr), 0);
  ASSERT_EQ(TARQ_SetLogCallback(otherLp, nullptr, nullptr), 0);
  const int both[] = {0, 1};
  ASSERT_EQ(TARQ_SetColType(otherLp, 2, both, "CC"), 0);

  int mipRc = -1, lpRc = -1, lpStatus = -1;
  bool inDriver = false;
  // The driver's first line shows that branch and cut holds its lock.
  std::function<void(const char*)> run = [&](const char* line) {
    if (inDriver || std::string(line).find("Welcome to the CBC") == std::string::npos) return;
    inDriver = true;
    mipRc = TARQ_Solve(otherMip);
    lpRc = TARQ_Solve(otherLp);
    TARQ_GetIntAttr(otherLp, "LpStatus", &lpStatus);
  };
  ASSERT_EQ(TARQ_SetLogCallback(
                prob_, [](const char* line, void* data) { (*static_cast<std::function<void(const char*)>*>(data))(line); },
                &run),
            0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_TRUE(inDriver);
  EXPECT_EQ(mipRc, TARQ_RETCODE_THREAD);
  EXPECT_EQ(lpRc, 0);
  EXPECT_EQ(lpStatus, TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_DOUBLE_EQ(DblAttr("BestObj"), 9);
  // Once the first solve has returned, the other MIP solves.
  ASSERT_EQ(TARQ_Solve(otherMip), 0);
  int mipStatus = -1;
  EXPECT_EQ(TARQ_GetIntAttr(otherMip, "MipStatus", &mipStatus), 0);
  EXPECT_EQ(mipStatus, TARQ_STATUS_OPTIMAL);
  TARQ_DeleteProb(&otherMip);
  TARQ_DeleteProb(&otherLp);
}

}  // namespace
}  // namespace solvetest
