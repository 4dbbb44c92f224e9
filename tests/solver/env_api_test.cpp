#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "tarq.h"

namespace {

TEST(SolverTexts, EveryCodeHasAText) {
  const std::pair<int, const char*> known[] = {{0, "Success"}, {1, "Out of memory"}, {3, "Invalid argument"},
                                               {5, "Internal error"}, {8, "Problem is nonconvex"}};
  char buf[1024];
  for (auto [code, text] : known) {
    ASSERT_EQ(TARQ_GetRetcodeMsg(code, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, text);
  }
  for (int code : {2, 6, 7}) {
    ASSERT_EQ(TARQ_GetRetcodeMsg(code, buf, sizeof buf), 0);
    EXPECT_GT(std::strlen(buf), 5u) << code;
  }
  for (int code : {4, 9, -1, 1 << 30}) {
    ASSERT_EQ(TARQ_GetRetcodeMsg(code, buf, sizeof buf), 0);
    EXPECT_EQ(std::string(buf), "Unknown return code " + std::to_string(code));
  }
}

TEST(SolverTexts, TextsAreCutToTheBufferAndBadBuffersRejected) {
  char small[8];
  ASSERT_EQ(TARQ_GetRetcodeMsg(3, small, sizeof small), 0);
  EXPECT_STREQ(small, "Invalid");
  ASSERT_EQ(TARQ_GetBanner(small, sizeof small), 0);
  EXPECT_STREQ(small, "Tarq Op");
  EXPECT_EQ(TARQ_GetBanner(nullptr, 10), 3);
  EXPECT_EQ(TARQ_GetBanner(small, 0), 3);
  EXPECT_EQ(TARQ_GetRetcodeMsg(0, nullptr, 10), 3);
  EXPECT_EQ(TARQ_GetRetcodeMsg(0, small, -4), 3);

  char banner[1024];
  ASSERT_EQ(TARQ_GetBanner(banner, sizeof banner), 0);
  std::string b(banner);
  for (const char* part : {"Tarq Optimizer v8.0.1", "Clp ", "Cbc ", "Ipopt ", "DSDP "}) {
    EXPECT_NE(b.find(part), std::string::npos) << part;
  }
}

TEST(SolverEnvConfig, ValidatesNamesAndValues) {
  tarq_envconfig* config = nullptr;
  ASSERT_EQ(TARQ_CreateEnvConfig(&config), 0);
  ASSERT_NE(config, nullptr);
  std::int32_t leading = -1;
  std::memcpy(&leading, config, sizeof leading);
  EXPECT_EQ(leading, 0) << "banner on by default";

  struct Case {
    const char* name;
    const char* value;
    int rc;
  };
  const Case cases[] = {
      {"Banner", "0", 0},        {"BANNER", "1", 0},       {"Banner", "yes", 3},   {"Banner", "", 3},
      {"LogToConsole", "0", 0},  {"logtoconsole", "2", 3}, {"LogFile", "", 0},     {"HomeDir", "", 0},
      {"NoSuchName", "1", 3},    {"", "1", 3},             {nullptr, "1", 3},      {"Banner", nullptr, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TARQ_SetEnvConfig(config, c.name, c.value), c.rc)
        << (c.name ? c.name : "(null)") << "=" << (c.value ? c.value : "(null)");
  }
  EXPECT_EQ(TARQ_SetEnvConfig(nullptr, "Banner", "0"), 3);

  ASSERT_EQ(TARQ_SetEnvConfig(config, "Banner", "0"), 0);
  std::memcpy(&leading, config, sizeof leading);
  EXPECT_EQ(leading, 1) << "the leading word tells that the banner is off";

  ASSERT_EQ(TARQ_DeleteEnvConfig(&config), 0);
  EXPECT_EQ(config, nullptr);
  EXPECT_EQ(TARQ_DeleteEnvConfig(&config), 0) << "deleting a null handle is harmless";
  EXPECT_EQ(TARQ_DeleteEnvConfig(nullptr), 3);
}

TEST(SolverEnv, CreationChecksPathsAndArguments) {
  tarq_env* env = nullptr;
  EXPECT_EQ(TARQ_CreateEnvWithPath(nullptr, nullptr), 3);
  EXPECT_EQ(TARQ_CreateEnvWithPath("/no/such/tarq/dir", &env), 2);
  EXPECT_EQ(env, nullptr);
  EXPECT_EQ(TARQ_CreateEnvWithPath("", &env), 0);
  ASSERT_NE(env, nullptr);
  EXPECT_EQ(TARQ_DeleteEnv(&env), 0);
  EXPECT_EQ(env, nullptr);

  tarq_envconfig* config = nullptr;
  ASSERT_EQ(TARQ_CreateEnvConfig(&config), 0);
  EXPECT_EQ(TARQ_CreateEnvWithConfig(nullptr, &env), 3);
  EXPECT_EQ(TARQ_CreateEnvWithConfig(config, nullptr), 3);
  ASSERT_EQ(TARQ_SetEnvConfig(config, "LogFile", "/no/such/tarq/dir/log.txt"), 0);
  EXPECT_EQ(TARQ_CreateEnvWithConfig(config, &env), 2);
  EXPECT_EQ(env, nullptr);
  TARQ_DeleteEnvConfig(&config);

  EXPECT_EQ(TARQ_CloseEnv(nullptr), 3);
  EXPECT_EQ(TARQ_CloseEnv(&env), 3) << "closing a null handle";
  EXPECT_EQ(TARQ_DeleteEnv(nullptr), 3);
}

TEST(SolverProblem, LifecycleCopyClearAndClosedEnvironment) {
  tarq_env* env = nullptr;
  ASSERT_EQ(TARQ_CreateEnvWithPath(nullptr, &env), 0);
  tarq_prob* prob = nullptr;
  EXPECT_EQ(TARQ_CreateProb(nullptr, &prob), 3);
  EXPECT_EQ(TARQ_CreateProb(env, nullptr), 3);
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);

  tarq_prob* copy = nullptr;
  EXPECT_EQ(TARQ_CreateCopy(nullptr, &copy), 3);
  EXPECT_EQ(TARQ_CreateCopy(prob, nullptr), 3);
  ASSERT_EQ(TARQ_CreateCopy(prob, &copy), 0);
  ASSERT_NE(copy, prob);

  EXPECT_EQ(TARQ_CloseEnv(&env), 0);
  tarq_prob* late = nullptr;
  EXPECT_EQ(TARQ_CreateProb(env, &late), 3);
  EXPECT_EQ(late, nullptr);

  // Problems outlive their environment.
  EXPECT_EQ(TARQ_DeleteEnv(&env), 0);
  EXPECT_EQ(TARQ_ClearProb(prob), 0);
  EXPECT_EQ(TARQ_ClearProb(nullptr), 3);
  EXPECT_EQ(TARQ_DeleteProb(&prob), 0);
  EXPECT_EQ(prob, nullptr);
  EXPECT_EQ(TARQ_ClearProb(copy), 0);
  EXPECT_EQ(TARQ_DeleteProb(&copy), 0);
  EXPECT_EQ(TARQ_DeleteProb(&copy), 0);
  EXPECT_EQ(TARQ_DeleteProb(nullptr), 3);
}

TEST(SolverProblem, LogFileIsResolvedAgainstHomeAndBadFilesRejected) {
  auto home = std::filesystem::temp_directory_path() / "tarq_env_api_test";
  std::filesystem::create_directories(home);
  tarq_env* env = nullptr;
  ASSERT_EQ(TARQ_CreateEnvWithPath(home.c_str(), &env), 0);
  tarq_prob* prob = nullptr;
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  EXPECT_EQ(TARQ_SetLogFile(nullptr, "x.log"), 3);
  EXPECT_EQ(TARQ_SetLogFile(prob, "/no/such/tarq/dir/x.log"), 2);
  EXPECT_EQ(TARQ_SetLogFile(prob, "problem.log"), 0);
  EXPECT_TRUE(std::filesystem::exists(home / "problem.log"));
  EXPECT_EQ(TARQ_SetLogFile(prob, nullptr), 0);
  EXPECT_EQ(TARQ_SetLogFile(prob, ""), 0);
  EXPECT_EQ(TARQ_SetLogCallback(nullptr, nullptr, nullptr), 3);
  EXPECT_EQ(TARQ_SetLogCallback(prob, nullptr, nullptr), 0);
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
  std::filesystem::remove_all(home);
}

}  // namespace
