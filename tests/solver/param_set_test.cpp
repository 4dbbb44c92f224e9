#include "params/param_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/log.h"

namespace {

using tarq_solver::DblParam;
using tarq_solver::IntParam;
using tarq_solver::ParamSet;

TEST(ParamSet, StartsAtTheTableDefaults) {
  ParamSet params;
  for (int i = 0; i < tarq_solver::kNumDblParams; ++i) {
    EXPECT_EQ(params.Get(static_cast<DblParam>(i)), tarq_solver::kDblParamInfo[i].def) << i;
    EXPECT_EQ(params.Default(static_cast<DblParam>(i)), tarq_solver::kDblParamInfo[i].def) << i;
  }
  for (int i = 0; i < tarq_solver::kNumIntParams; ++i) {
    EXPECT_EQ(params.Get(static_cast<IntParam>(i)), tarq_solver::kIntParamInfo[i].def) << i;
  }
  EXPECT_EQ(params.Dbl(DblParam::TimeLimit), 1e30);
  EXPECT_EQ(params.Int(IntParam::Presolve), -1);
}

TEST(ParamSet, SetValidatesAndLeavesRejectedValuesUnchanged) {
  ParamSet params;
  EXPECT_EQ(params.Set(DblParam::TimeLimit, 12.5), 0);
  EXPECT_EQ(params.Set(DblParam::TimeLimit, -1.0), 3);
  EXPECT_EQ(params.Set(DblParam::TimeLimit, std::nan("")), 3);
  EXPECT_EQ(params.Set(DblParam::TimeLimit, std::numeric_limits<double>::infinity()), 3);
  EXPECT_EQ(params.Dbl(DblParam::TimeLimit), 12.5);
  EXPECT_EQ(params.Set(DblParam::FeasTol, 1e-9), 0) << "the minimum itself is accepted";
  EXPECT_EQ(params.Set(DblParam::FeasTol, std::nextafter(1e-9, 0.0)), 3);
  EXPECT_EQ(params.Set(IntParam::Presolve, 3), 3);
  EXPECT_EQ(params.Set(IntParam::Presolve, -2), 3);
  EXPECT_EQ(params.Set(IntParam::Presolve, 2), 0);
  EXPECT_EQ(params.Int(IntParam::Presolve), 2);
}

TEST(ParamSet, CopiesAreIndependentAndResetReturnsToTheSetsDefaults) {
  ParamSet a;
  ASSERT_EQ(a.SetDefault(IntParam::LogToConsole, 0), 0);
  EXPECT_EQ(a.SetDefault(IntParam::LogToConsole, 2), 3);
  ASSERT_EQ(a.Set(IntParam::Threads, 4), 0);
  ParamSet b = a;
  ASSERT_EQ(b.Set(IntParam::Threads, 8), 0);
  EXPECT_EQ(a.Int(IntParam::Threads), 4);
  b.ResetAll();
  EXPECT_EQ(b.Int(IntParam::Threads), -1);
  EXPECT_EQ(b.Int(IntParam::LogToConsole), 0) << "the changed default survives a copy and a reset";
  EXPECT_EQ(a.Int(IntParam::Threads), 4);
}

TEST(ParamSet, LoggingParametersSwitchTheLogger) {
  std::vector<std::string> lines;
  tarq_solver::Logger log;
  log.SetCallback([](const char* msg, void* ud) { static_cast<std::vector<std::string>*>(ud)->emplace_back(msg); },
                  &lines);
  ParamSet params;
  ASSERT_EQ(params.Set(IntParam::LogToConsole, 0), 0);
  tarq_solver::ApplyLogParams(params, log);
  EXPECT_FALSE(log.Console());
  testing::internal::CaptureStdout();
  log.Line("quiet");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(params.Set(IntParam::Logging, 0), 0);
  tarq_solver::ApplyLogParams(params, log);
  log.Line("dropped");
  EXPECT_EQ(lines, std::vector<std::string>{"quiet"});
}

}  // namespace
