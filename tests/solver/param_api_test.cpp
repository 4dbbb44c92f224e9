#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "params/param_table.h"
#include "store/problem.h"
#include "tarq.h"

namespace {

using tarq_solver::kDblParamInfo;
using tarq_solver::kIntParamInfo;

void Collect(const char* msg, void* userdata) { static_cast<std::vector<std::string>*>(userdata)->emplace_back(msg); }

// A problem in a fresh environment; consoleSetting is the environment's "LogToConsole".
struct Prob {
  explicit Prob(const char* consoleSetting = "1") {
    tarq_envconfig* config = nullptr;
    EXPECT_EQ(TARQ_CreateEnvConfig(&config), 0);
    EXPECT_EQ(TARQ_SetEnvConfig(config, "LogToConsole", consoleSetting), 0);
    EXPECT_EQ(TARQ_CreateEnvWithConfig(config, &env), 0);
    TARQ_DeleteEnvConfig(&config);
    EXPECT_EQ(TARQ_CreateProb(env, &prob), 0);
  }
  ~Prob() {
    TARQ_DeleteProb(&prob);
    TARQ_DeleteEnv(&env);
  }
  tarq_env* env = nullptr;
  tarq_prob* prob = nullptr;
};

// Every parameter of p holds its default.
void ExpectAllAtDefault(tarq_prob* p) {
  for (const auto& e : kDblParamInfo) {
    double v = 0;
    ASSERT_EQ(TARQ_GetDblParam(p, e.name, &v), 0) << e.name;
    EXPECT_EQ(v, e.def) << e.name;
  }
  for (const auto& e : kIntParamInfo) {
    int v = 0;
    ASSERT_EQ(TARQ_GetIntParam(p, e.name, &v), 0) << e.name;
    EXPECT_EQ(v, e.def) << e.name;
  }
}

// The lookup itself is tested name by name with the table; here the call with and without a
// problem, in any letter case, gives each kind's code.
TEST(ParamApi, SearchGivesTheKindCodeWithOrWithoutAProblem) {
  Prob p;
  for (tarq_prob* prob : {static_cast<tarq_prob*>(nullptr), p.prob}) {
    int type = 99;
    EXPECT_EQ(TARQ_SearchParamAttr(prob, "MULTIOBJTIMELIMIT", &type), 0);
    EXPECT_EQ(type, TARQ_KIND_DBLPARAM);
  }
  int type = 99;
  ASSERT_EQ(TARQ_SearchParamAttr(nullptr, "timelimit", &type), 0);
  EXPECT_EQ(type, TARQ_KIND_DBLPARAM);
  ASSERT_EQ(TARQ_SearchParamAttr(nullptr, "LOGGING", &type), 0);
  EXPECT_EQ(type, TARQ_KIND_INTPARAM);
  ASSERT_EQ(TARQ_SearchParamAttr(nullptr, "BestBnd", &type), 0);
  EXPECT_EQ(type, TARQ_KIND_DBLATTR);
  ASSERT_EQ(TARQ_SearchParamAttr(nullptr, "isMip", &type), 0);
  EXPECT_EQ(type, TARQ_KIND_INTATTR);
}

TEST(ParamApi, SearchRejectsUnknownNamesAndWritesMinusOne) {
  for (const char* name : {static_cast<const char*>(nullptr), "", " ", "NoSuchParam", "TimeLimit ", "Time_Limit",
                           "Heur71", "LB"}) {
    int type = 99;
    EXPECT_EQ(TARQ_SearchParamAttr(nullptr, name, &type), 3) << (name ? name : "(null)");
    EXPECT_EQ(type, -1) << (name ? name : "(null)");
  }
  EXPECT_EQ(TARQ_SearchParamAttr(nullptr, "TimeLimit", nullptr), 3);
}

TEST(ParamApi, EveryParameterStartsAtItsDefaultAndReportsItsLimits) {
  Prob p;
  ExpectAllAtDefault(p.prob);
  for (const auto& e : kDblParamInfo) {
    double def = 0, lo = 0, hi = 0;
    ASSERT_EQ(TARQ_GetDblParamDef(p.prob, e.name, &def), 0) << e.name;
    ASSERT_EQ(TARQ_GetDblParamMin(p.prob, e.name, &lo), 0) << e.name;
    ASSERT_EQ(TARQ_GetDblParamMax(p.prob, e.name, &hi), 0) << e.name;
    EXPECT_EQ(def, e.def) << e.name;
    EXPECT_EQ(lo, e.min) << e.name;
    EXPECT_EQ(hi, e.max) << e.name;
  }
  for (const auto& e : kIntParamInfo) {
    int def = 0, lo = 0, hi = 0;
    ASSERT_EQ(TARQ_GetIntParamDef(p.prob, e.name, &def), 0) << e.name;
    ASSERT_EQ(TARQ_GetIntParamMin(p.prob, e.name, &lo), 0) << e.name;
    ASSERT_EQ(TARQ_GetIntParamMax(p.prob, e.name, &hi), 0) << e.name;
    EXPECT_EQ(def, e.def) << e.name;
    EXPECT_EQ(lo, e.min) << e.name;
    EXPECT_EQ(hi, e.max) << e.name;
  }
}

TEST(ParamApi, EveryParameterAcceptsItsLimitsRejectsWhatLiesBeyondAndResets) {
  Prob p;
  for (const auto& e : kDblParamInfo) {
    double v = 0;
    ASSERT_EQ(TARQ_SetDblParam(p.prob, e.name, e.min), 0) << e.name;
    EXPECT_EQ(TARQ_SetDblParam(p.prob, e.name, std::nextafter(e.min, -HUGE_VAL)), 3) << e.name;
    EXPECT_EQ(TARQ_SetDblParam(p.prob, e.name, std::nan("")), 3) << e.name;
    ASSERT_EQ(TARQ_GetDblParam(p.prob, e.name, &v), 0);
    EXPECT_EQ(v, e.min) << e.name;
    ASSERT_EQ(TARQ_SetDblParam(p.prob, e.name, e.max), 0) << e.name;
    EXPECT_EQ(TARQ_SetDblParam(p.prob, e.name, std::nextafter(e.max, HUGE_VAL)), 3) << e.name;
    EXPECT_EQ(TARQ_SetDblParam(p.prob, e.name, HUGE_VAL), 3) << e.name;
    ASSERT_EQ(TARQ_GetDblParam(p.prob, e.name, &v), 0);
    EXPECT_EQ(v, e.max) << e.name;
  }
  for (const auto& e : kIntParamInfo) {
    int v = 0;
    ASSERT_EQ(TARQ_SetIntParam(p.prob, e.name, e.min), 0) << e.name;
    if (e.min > INT_MIN) {
      EXPECT_EQ(TARQ_SetIntParam(p.prob, e.name, e.min - 1), 3) << e.name;
    }
    ASSERT_EQ(TARQ_GetIntParam(p.prob, e.name, &v), 0);
    EXPECT_EQ(v, e.min) << e.name;
    ASSERT_EQ(TARQ_SetIntParam(p.prob, e.name, e.max), 0) << e.name;
    if (e.max < INT_MAX) {
      EXPECT_EQ(TARQ_SetIntParam(p.prob, e.name, e.max + 1), 3) << e.name;
    }
    ASSERT_EQ(TARQ_GetIntParam(p.prob, e.name, &v), 0);
    EXPECT_EQ(v, e.max) << e.name;
  }
  ASSERT_EQ(TARQ_ResetParam(p.prob), 0);
  ExpectAllAtDefault(p.prob);
}

TEST(ParamApi, MalformedCallsReturnInvalidAndChangeNothing) {
  Prob p;
  tarq_prob* const q = p.prob;
  int i = 12345;
  double d = 678.5;
  struct Case {
    const char* what;
    std::function<int()> call;
  };
  const Case cases[] = {
      {"get int of a double parameter", [&] { return TARQ_GetIntParam(q, "TimeLimit", &i); }},
      {"get double of an int parameter", [&] { return TARQ_GetDblParam(q, "Logging", &d); }},
      {"get int param of an int attribute", [&] { return TARQ_GetIntParam(q, "Cols", &i); }},
      {"get double param of a double attribute", [&] { return TARQ_GetDblParam(q, "ObjConst", &d); }},
      {"set int of a double parameter", [&] { return TARQ_SetIntParam(q, "TimeLimit", 5); }},
      {"set double of an int parameter", [&] { return TARQ_SetDblParam(q, "Presolve", 0.0); }},
      {"set an int attribute", [&] { return TARQ_SetIntParam(q, "Rows", 3); }},
      {"set a double attribute", [&] { return TARQ_SetDblParam(q, "SolvingTime", 1.0); }},
      {"int default of a double parameter", [&] { return TARQ_GetIntParamDef(q, "FeasTol", &i); }},
      {"int minimum of an attribute", [&] { return TARQ_GetIntParamMin(q, "LpStatus", &i); }},
      {"int maximum of a double parameter", [&] { return TARQ_GetIntParamMax(q, "RelGap", &i); }},
      {"double default of an int parameter", [&] { return TARQ_GetDblParamDef(q, "Threads", &d); }},
      {"double minimum of an attribute", [&] { return TARQ_GetDblParamMin(q, "BestObj", &d); }},
      {"double maximum of an int parameter", [&] { return TARQ_GetDblParamMax(q, "NodeLimit", &d); }},
      {"unknown int name", [&] { return TARQ_GetIntParam(q, "NoSuchParam", &i); }},
      {"unknown double name", [&] { return TARQ_SetDblParam(q, "NoSuchParam", 1.0); }},
      {"empty name", [&] { return TARQ_SetIntParam(q, "", 0); }},
      {"null name", [&] { return TARQ_GetDblParam(q, nullptr, &d); }},
      {"null name on set", [&] { return TARQ_SetIntParam(q, nullptr, 0); }},
      {"null problem on get", [&] { return TARQ_GetIntParam(nullptr, "Logging", &i); }},
      {"null problem on set", [&] { return TARQ_SetDblParam(nullptr, "TimeLimit", 1.0); }},
      {"null problem on limits", [&] { return TARQ_GetDblParamMax(nullptr, "TimeLimit", &d); }},
      {"null problem on reset", [&] { return TARQ_ResetParam(nullptr); }},
      {"null out-pointer of int get", [&] { return TARQ_GetIntParam(q, "Logging", nullptr); }},
      {"null out-pointer of double get", [&] { return TARQ_GetDblParam(q, "TimeLimit", nullptr); }},
      {"null out-pointer of a limit", [&] { return TARQ_GetIntParamMin(q, "Logging", nullptr); }},
      {"int out of range", [&] { return TARQ_SetIntParam(q, "Logging", 2); }},
      {"int below range", [&] { return TARQ_SetIntParam(q, "LpMethod", -2); }},
      {"double out of range", [&] { return TARQ_SetDblParam(q, "RelGap", 1.5); }},
      {"NaN", [&] { return TARQ_SetDblParam(q, "TimeLimit", std::nan("")); }},
      {"negative infinity", [&] { return TARQ_SetDblParam(q, "AbsGap", -HUGE_VAL); }},
  };
  for (const Case& c : cases) EXPECT_EQ(c.call(), 3) << c.what;
  EXPECT_EQ(i, 12345) << "failed getters leave the out-value alone";
  EXPECT_EQ(d, 678.5);
  ExpectAllAtDefault(q);
}

TEST(ParamApi, ACopyHasItsOwnParameters) {
  Prob p;
  ASSERT_EQ(TARQ_SetDblParam(p.prob, "TimeLimit", 10.0), 0);
  ASSERT_EQ(TARQ_SetIntParam(p.prob, "presolve", 0), 0);
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(p.prob, &copy), 0);
  double d = 0;
  int i = 0;
  ASSERT_EQ(TARQ_GetDblParam(copy, "TimeLimit", &d), 0);
  EXPECT_EQ(d, 10.0);
  ASSERT_EQ(TARQ_GetIntParam(copy, "Presolve", &i), 0);
  EXPECT_EQ(i, 0);

  ASSERT_EQ(TARQ_SetDblParam(copy, "TimeLimit", 20.0), 0);
  ASSERT_EQ(TARQ_GetDblParam(p.prob, "TimeLimit", &d), 0);
  EXPECT_EQ(d, 10.0) << "changing the copy leaves the source alone";
  ASSERT_EQ(TARQ_SetIntParam(p.prob, "Presolve", 2), 0);
  ASSERT_EQ(TARQ_GetIntParam(copy, "Presolve", &i), 0);
  EXPECT_EQ(i, 0) << "changing the source leaves the copy alone";

  ASSERT_EQ(TARQ_ResetParam(copy), 0);
  ExpectAllAtDefault(copy);
  ASSERT_EQ(TARQ_GetDblParam(p.prob, "TimeLimit", &d), 0);
  EXPECT_EQ(d, 10.0) << "resetting the copy leaves the source alone";

  ASSERT_EQ(TARQ_SetIntParam(copy, "Threads", 3), 0);
  ASSERT_EQ(TARQ_DeleteProb(&p.prob), 0);
  ASSERT_EQ(TARQ_GetIntParam(copy, "Threads", &i), 0);
  EXPECT_EQ(i, 3) << "the copy outlives its source";
  TARQ_DeleteProb(&copy);
}

// Sends one line through the problem's logger and returns what reached standard output.
std::string LogAndCaptureStdout(tarq_prob* prob, const char* line) {
  testing::internal::CaptureStdout();
  prob->problem.Log().Line(line);
  return testing::internal::GetCapturedStdout();
}

TEST(ParamApi, LoggingParametersTakeEffectWhenSetAndWhenReset) {
  Prob p;
  std::vector<std::string> lines;
  ASSERT_EQ(TARQ_SetLogCallback(p.prob, Collect, &lines), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "one"), "one\n");

  ASSERT_EQ(TARQ_SetIntParam(p.prob, "logtoconsole", 0), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "two"), "");
  ASSERT_EQ(TARQ_SetIntParam(p.prob, "Logging", 0), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "three"), "");
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"})) << "Logging 0 silences the callback too";

  EXPECT_EQ(TARQ_SetIntParam(p.prob, "Logging", 5), 3);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "four"), "") << "a rejected value changes nothing";

  ASSERT_EQ(TARQ_ResetParam(p.prob), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "five"), "five\n");
  EXPECT_EQ(lines.back(), "five");
}

TEST(ParamApi, EnvironmentConsoleSettingIsTheProblemsDefault) {
  Prob p("0");
  int v = -1;
  ASSERT_EQ(TARQ_GetIntParam(p.prob, "LogToConsole", &v), 0);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(TARQ_GetIntParamDef(p.prob, "LogToConsole", &v), 0);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "quiet"), "");

  ASSERT_EQ(TARQ_SetIntParam(p.prob, "LogToConsole", 1), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "loud"), "loud\n");

  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(p.prob, &copy), 0);
  ASSERT_EQ(TARQ_ResetParam(p.prob), 0);
  EXPECT_EQ(LogAndCaptureStdout(p.prob, "quiet again"), "") << "reset returns to the environment's setting";
  EXPECT_EQ(LogAndCaptureStdout(copy, "copy"), "copy\n");
  ASSERT_EQ(TARQ_ResetParam(copy), 0);
  ASSERT_EQ(TARQ_GetIntParam(copy, "LogToConsole", &v), 0);
  EXPECT_EQ(v, 0) << "a copy keeps its source's defaults";
  TARQ_DeleteProb(&copy);
}

}  // namespace
