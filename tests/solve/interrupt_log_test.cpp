// Interrupting a solve from a second thread, and where engine messages go.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "solve_fixture.h"

namespace solvetest {
namespace {

// Watches log lines; the second thread interrupts once a line containing cue has arrived.
struct Watch {
  std::string cue;
  std::atomic<bool> seen{false};
  std::atomic<bool> done{false};
};

void Look(const char* line, void* userdata) {
  auto* w = static_cast<Watch*>(userdata);
  if (std::string_view(line).find(w->cue) != std::string_view::npos) w->seen = true;
}

// Solves prob while a second thread interrupts it once the cue was logged.
void SolveAndInterrupt(tarq_prob* prob, Watch& watch) {
  ASSERT_EQ(TARQ_SetLogCallback(prob, Look, &watch), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob, "LogLevel", 1), 0);
  std::thread stopper([&] {
    while (!watch.seen && !watch.done) std::this_thread::yield();
    EXPECT_EQ(TARQ_Interrupt(prob), 0);
  });
  EXPECT_EQ(TARQ_Solve(prob), 0);
  watch.done = true;
  stopper.join();
}

TEST_F(SolveTest, InterruptFromAnotherThreadStopsALongMipSolve) {
  const auto file = DataDir() / "miplib" / "pk1.mps.gz";  // about half a minute to optimality
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
  ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "RelGap", 0), 0);
  Watch watch;
  watch.cue = "command line";  // the branch-and-cut driver has started
  SolveAndInterrupt(prob_, watch);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INTERRUPTED);
}

TEST_F(SolveTest, InterruptFromAnotherThreadStopsALongLpSolve) {
  const auto file = DataDir() / "netlib" / "dfl001.mps.gz";  // seconds of dual simplex
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
  ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
  Watch watch;
  watch.cue = "Solving LP";
  SolveAndInterrupt(prob_, watch);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INTERRUPTED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

// The barrier reports no engine events; it is stopped between its iterations.
TEST_F(SolveTest, InterruptFromAnotherThreadStopsABarrierSolve) {
  const auto file = DataDir() / "netlib" / "dfl001.mps.gz";  // seconds of barrier iterations
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
  ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  Watch watch;
  watch.cue = "Complementarity";  // the line of each barrier iteration
  SolveAndInterrupt(prob_, watch);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INTERRUPTED);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
  // The cue may be the line before the first iteration, so the count can be 0; a full solve
  // takes about forty.
  EXPECT_LT(IntAttr("BarrierIter"), 20);
}

TEST_F(SolveTest, QuietBarrierSolveIsStoppedByInterruptAndByTimeLimit) {
  const auto file = DataDir() / "netlib" / "dfl001.mps.gz";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
  ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", 2), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Logging", 0), 0);
  std::atomic<bool> done{false};
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (!done) {
      EXPECT_EQ(TARQ_Interrupt(prob_), 0);
    }
  });
  EXPECT_EQ(TARQ_Solve(prob_), 0);
  done = true;
  stopper.join();
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INTERRUPTED);

  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 0.5), 0);
  EXPECT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_TIMEOUT);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

TEST_F(SolveTest, InterruptWithNoSolveRunningHasNoEffect) {
  Col(1, 1, 2);
  ASSERT_EQ(TARQ_Interrupt(prob_), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_EQ(TARQ_Interrupt(nullptr), TARQ_RETCODE_INVALID);
}

TEST_F(SolveTest, EngineMessagesReachTheCallbackLineByLine) {
  BuildTransport(prob_, 10);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_FALSE(lines_.empty());
  bool engine = false, summary = false;
  for (const std::string& l : lines_) {
    EXPECT_EQ(l.find('\n'), std::string::npos) << l;
    engine = engine || l.find("Clp") != std::string::npos;
    summary = summary || l.find("LP status: optimal") != std::string::npos;
  }
  EXPECT_TRUE(engine);
  EXPECT_TRUE(summary);

  lines_.clear();
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Logging", 0), 0);
  ASSERT_EQ(TARQ_Reset(prob_, 0), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_TRUE(lines_.empty());
}

// At the highest levels parts of the engines print by themselves (node diagnostics, the LP
// engine's small-tree searches, the barrier's factorisation size): none of that may reach
// standard output, at any level, for MIPs and for LPs by either method.
TEST_F(SolveTest, NoLogLevelLetsTheEnginesPrintToStandardOutput) {
  const auto miplib = DataDir() / "miplib";
  const auto lp = DataDir() / "netlib" / "afiro.mps.gz";
  // egout shows branch-and-cut diagnostics, stein27 the small-tree searches.
  const std::vector<std::tuple<std::filesystem::path, int, int>> cases = {
      {miplib / "egout.mps.gz", 0, 2}, {miplib / "egout.mps.gz", 0, 3}, {miplib / "stein27.mps.gz", 0, 3},
      {lp, 0, 3},                      {lp, 2, 3}};
  for (const auto& [file, method, level] : cases) {
    if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
    ASSERT_EQ(TARQ_ReadMps(prob_, file.c_str()), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LpMethod", method), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", level), 0);
    lines_.clear();
    testing::internal::CaptureStdout();
    ASSERT_EQ(TARQ_Solve(prob_), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << file << " at level " << level;
    EXPECT_GT(lines_.size(), 10u);  // the engine lines went to the callback instead
  }
}

TEST_F(SolveTest, MipMessagesGoToTheLogFileAndNotToStandardOutput) {
  Row({}, -kInf, 5);
  Col(5, 0, 1, 'B', {{0, 2}});
  Col(4, 0, 1, 'B', {{0, 3}});
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  const std::string path = testing::TempDir() + "tarq_solve_log.txt";
  std::remove(path.c_str());
  ASSERT_EQ(TARQ_SetLogFile(prob_, path.c_str()), 0);
  testing::internal::CaptureStdout();
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(TARQ_SetLogFile(prob_, nullptr), 0);
  EXPECT_EQ(out, "");  // "LogToConsole" is 0 in this environment, and the engine prints nothing itself
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Result - Optimal solution found"), std::string::npos);
  EXPECT_NE(text.str().find("MIP status: optimal"), std::string::npos);
  EXPECT_FALSE(lines_.empty());  // the callback got the same lines
}

}  // namespace
}  // namespace solvetest
