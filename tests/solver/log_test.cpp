#include "core/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Collect(const char* msg, void* userdata) { static_cast<std::vector<std::string>*>(userdata)->emplace_back(msg); }

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(Logger, SendsEveryLineToCallbackFileAndConsole) {
  auto path = std::filesystem::temp_directory_path() / "tarq_logger_test.log";
  std::filesystem::remove(path);
  std::vector<std::string> lines;
  tarq_solver::Logger log;
  log.SetCallback(Collect, &lines);
  log.SetFile(tarq_solver::OpenLogFile(path.string()));
  testing::internal::CaptureStdout();
  log.Line("first");
  log.Printf("iteration %d objective %.2f", 3, 1.5);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "first\niteration 3 objective 1.50\n");
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "iteration 3 objective 1.50"}));
  EXPECT_EQ(ReadAll(path), "first\niteration 3 objective 1.50\n");

  // A copy shares the file; turning the console and the log off is honoured.
  tarq_solver::Logger copy = log;
  copy.SetConsole(false);
  testing::internal::CaptureStdout();
  copy.Line("from copy");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  copy.SetEnabled(false);
  copy.Line("dropped");
  EXPECT_EQ(lines.back(), "from copy");
  EXPECT_EQ(ReadAll(path), "first\niteration 3 objective 1.50\nfrom copy\n");
  std::filesystem::remove(path);
}

TEST(Logger, UnopenableFileGivesNull) {
  EXPECT_EQ(tarq_solver::OpenLogFile("/no/such/tarq/dir/x.log"), nullptr);
}

}  // namespace
