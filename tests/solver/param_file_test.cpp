#include "io/param_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "params/param_set.h"
#include "store/problem.h"
#include "common/quiet_env.h"
#include "tarq.h"

namespace {

namespace fs = std::filesystem;
using tarq_solver::DblParam;
using tarq_solver::IntParam;
using tarq_solver::kDblParamInfo;
using tarq_solver::kIntParamInfo;

void Collect(const char* msg, void* userdata) { static_cast<std::vector<std::string>*>(userdata)->emplace_back(msg); }

// A problem whose log lines are collected instead of printed, and a scratch directory of its own.
class ParamFile : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    prob_ = NewProb();
    dir_ = fs::temp_directory_path() /
           ("tarq_param_file_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (tarq_prob*& p : probs_) TARQ_DeleteProb(&p);
    TARQ_DeleteEnv(&env_);
    fs::remove_all(dir_);
  }

  tarq_prob* NewProb() {
    tarq_prob* p = nullptr;
    EXPECT_EQ(TARQ_CreateProb(env_, &p), 0);
    EXPECT_EQ(TARQ_SetLogCallback(p, Collect, &lines_), 0);
    probs_.push_back(p);
    return p;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  const tarq_solver::ParamSet& Params(tarq_prob* p) const { return p->problem.Params(); }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  std::vector<tarq_prob*> probs_;
  std::vector<std::string> lines_;
  fs::path dir_;
};

TEST_F(ParamFile, WritesTheChangedParametersInTableOrderWithFullPrecision) {
  std::string path = Path("defaults.par");
  ASSERT_EQ(TARQ_WriteParam(prob_, path.c_str()), 0);
  EXPECT_EQ(ReadAll(path), "# Tarq parameter file: the parameters that differ from their defaults\n");

  ASSERT_EQ(TARQ_SetIntParam(prob_, "Threads", 4), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "FeasTol", 1e-7), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Presolve", 0), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 10.5), 0);
  ASSERT_EQ(TARQ_SetDblParam(prob_, "RelGap", 0.1), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "NodeLimit", -1), 0) << "set to its default: not written";
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogToConsole", 1), 0) << "differs from this problem's default, 0";
  path = Path("changed.par");
  ASSERT_EQ(TARQ_WriteParam(prob_, path.c_str()), 0);
  EXPECT_EQ(ReadAll(path),
            "# Tarq parameter file: the parameters that differ from their defaults\n"
            "TimeLimit 10.5\n"
            "FeasTol 9.9999999999999995e-08\n"
            "RelGap 0.10000000000000001\n"
            "LogToConsole 1\n"
            "Presolve 0\n"
            "Threads 4\n");
  EXPECT_TRUE(lines_.empty());
}

TEST_F(ParamFile, ReadAfterWriteRestoresEveryValueExactly) {
  // Move every parameter off its default, doubles to values with all 53 bits in use.
  for (const auto& e : kDblParamInfo) {
    double v = e.min + (e.max - e.min) / 3.0;
    if (v == e.def) v = std::nextafter(v, e.max);
    ASSERT_EQ(TARQ_SetDblParam(prob_, e.name, v), 0) << e.name;
  }
  for (const auto& e : kIntParamInfo) {
    ASSERT_EQ(TARQ_SetIntParam(prob_, e.name, e.def < e.max ? e.def + 1 : e.def - 1), 0) << e.name;
  }
  std::string path = Path("all.par");
  ASSERT_EQ(TARQ_WriteParam(prob_, path.c_str()), 0);
  tarq_prob* other = NewProb();
  ASSERT_EQ(TARQ_ResetParam(other), 0);
  ASSERT_EQ(TARQ_ReadParam(other, path.c_str()), 0) << (lines_.empty() ? "" : lines_.back());
  for (int i = 0; i < tarq_solver::kNumDblParams; ++i) {
    auto id = static_cast<DblParam>(i);
    EXPECT_EQ(Params(other).Get(id), Params(prob_).Get(id)) << kDblParamInfo[i].name;
  }
  for (int i = 0; i < tarq_solver::kNumIntParams; ++i) {
    auto id = static_cast<IntParam>(i);
    EXPECT_EQ(Params(other).Get(id), Params(prob_).Get(id)) << kIntParamInfo[i].name;
  }
  std::string again = Path("again.par");
  ASSERT_EQ(TARQ_WriteParam(other, again.c_str()), 0);
  EXPECT_EQ(ReadAll(again), ReadAll(path));
}

TEST_F(ParamFile, ReadsCommentsBlankLinesAnyLetterCaseAndCompressedFiles) {
  const std::string text =
      "# settings for the test\n"
      "\n"
      "   timelimit\t 20   # seconds\r\n"
      "PRESOLVE +0\n"
      "\t\n"
      "IntTol 1e-7\n"
      "NodeLimit 1e3\n"
      "nodelimit 5\n"
      "RelGap .5";  // no final newline
  auto check = [&](tarq_prob* p) {
    EXPECT_EQ(Params(p).Dbl(DblParam::TimeLimit), 20.0);
    EXPECT_EQ(Params(p).Int(IntParam::Presolve), 0);
    EXPECT_EQ(Params(p).Dbl(DblParam::IntTol), 1e-7);
    EXPECT_EQ(Params(p).Int(IntParam::NodeLimit), 5) << "the last line of a name wins";
    EXPECT_EQ(Params(p).Dbl(DblParam::RelGap), 0.5);
    EXPECT_EQ(Params(p).Dbl(DblParam::FeasTol), 1e-6) << "names not in the file keep their values";
  };
  ASSERT_EQ(TARQ_ReadParam(prob_, Write("plain.par", text).c_str()), 0);
  check(prob_);

  std::string gzPath = Path("packed.par.gz");
  gzFile gz = gzopen(gzPath.c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  ASSERT_EQ(gzwrite(gz, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
  ASSERT_EQ(gzclose(gz), Z_OK);
  tarq_prob* other = NewProb();
  ASSERT_EQ(TARQ_ReadParam(other, gzPath.c_str()), 0);
  check(other);

  ASSERT_EQ(TARQ_ReadParam(other, Write("bom.par", "\xEF\xBB\xBFThreads 3\n").c_str()), 0);
  EXPECT_EQ(Params(other).Int(IntParam::Threads), 3) << "a byte-order mark before the first line is skipped";
  EXPECT_TRUE(lines_.empty());
}

TEST_F(ParamFile, ABadLineChangesNothingAndLogsFileLineAndFault) {
  struct Case {
    std::string text;
    int line;
    std::string fault;
  };
  const Case cases[] = {
      {"TimeLimit 5\nNoSuch 1\n", 2, "unknown parameter \"NoSuch\""},
      {"Time Limit 5\n", 1, "unknown parameter \"Time\""},
      {"TimeLimit 5\ncols 3\n", 2, "\"Cols\" is an attribute, not a parameter"},
      {"# c\npresolve\n", 2, "missing value of \"Presolve\""},
      {"Presolve 1 2\n", 1, "unexpected text after the value of \"Presolve\""},
      {"Presolve 1.5\n", 1, "value \"1.5\" of \"Presolve\" is not an integer"},
      {"Presolve nan\n", 1, "value \"nan\" of \"Presolve\" is not an integer"},
      {"Presolve abc\n", 1, "value \"abc\" of \"Presolve\" is not a number"},
      {"Presolve 7\n", 1, "value \"7\" of \"Presolve\" is outside [-1, 2]"},
      {"Presolve 99999999999\n", 1, "value \"99999999999\" of \"Presolve\" is out of the range of an int"},
      {"NodeLimit 1e10\n", 1, "value \"1e10\" of \"NodeLimit\" is out of the range of an int"},
      {"FeasTol 1\n", 1, "value \"1\" of \"FeasTol\" is outside [1e-09, 0.01]"},
      {"FeasTol nan\n", 1, "value \"nan\" of \"FeasTol\" is outside [1e-09, 0.01]"},
      {"TimeLimit inf\n", 1, "value \"inf\" of \"TimeLimit\" is outside [0, 1e+30]"},
      {"TimeLimit 1e400\n", 1, "value \"1e400\" of \"TimeLimit\" is out of the range of a double"},
      {"TimeLimit +-5\n", 1, "value \"+-5\" of \"TimeLimit\" is not a number"},
      {"TimeLimit 5x\n", 1, "value \"5x\" of \"TimeLimit\" is not a number"},
      {"TimeLimit 1,5\n", 1, "value \"1,5\" of \"TimeLimit\" is not a number"},
      {std::string("TimeLimit\0 5\n", 13), 1, "unknown parameter \"TimeLimit\\x00\""},
      {"\n\n\nThreads 2\n" + std::string(70000, ' ') + "\n", 5, "line longer than 65536 characters"},
  };
  ASSERT_EQ(TARQ_SetDblParam(prob_, "TimeLimit", 3.0), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Threads", 7), 0);
  const std::string before = tarq_solver::FormatParamFile(Params(prob_));
  int n = 0;
  for (const Case& c : cases) {
    std::string path = Write("bad" + std::to_string(n++) + ".par", c.text);
    lines_.clear();
    EXPECT_EQ(TARQ_ReadParam(prob_, path.c_str()), 3) << c.fault;
    EXPECT_EQ(lines_, std::vector<std::string>{"Parameter file \"" + path + "\", line " + std::to_string(c.line) +
                                               ": " + c.fault});
    EXPECT_EQ(tarq_solver::FormatParamFile(Params(prob_)), before) << c.fault;
  }
}

TEST_F(ParamFile, UnreadableFilesReturnFileErrorAndChangeNothing) {
  ASSERT_EQ(TARQ_SetIntParam(prob_, "Threads", 7), 0);
  const std::string before = tarq_solver::FormatParamFile(Params(prob_));

  std::string missing = Path("missing.par");
  EXPECT_EQ(TARQ_ReadParam(prob_, missing.c_str()), 2);
  EXPECT_EQ(lines_, std::vector<std::string>{"Parameter file \"" + missing +
                                             "\": cannot open the file (No such file or directory)"});

  lines_.clear();
  EXPECT_EQ(TARQ_ReadParam(prob_, dir_.string().c_str()), 2) << "a directory";
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0].rfind("Parameter file \"" + dir_.string() + "\": cannot read the file (", 0), 0u) << lines_[0];

  // A gzip stream cut in the middle: the lines before the cut are good, the file still fails.
  std::string packed = Path("cut.par.gz");
  gzFile gz = gzopen(packed.c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "Threads " + std::to_string(i % 100) + "\n";
  ASSERT_GT(gzwrite(gz, text.data(), static_cast<unsigned>(text.size())), 0);
  ASSERT_EQ(gzclose(gz), Z_OK);
  std::string bytes = ReadAll(packed);
  std::string cut = Write("cut2.par.gz", bytes.substr(0, bytes.size() / 2));
  lines_.clear();
  EXPECT_EQ(TARQ_ReadParam(prob_, cut.c_str()), 2);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0], "Parameter file \"" + cut + "\": the gzip data ends early (the file is truncated)");

  EXPECT_EQ(tarq_solver::FormatParamFile(Params(prob_)), before);
}

TEST_F(ParamFile, RejectsMissingNamesAndReportsUnwritableFiles) {
  EXPECT_EQ(TARQ_ReadParam(prob_, nullptr), 3);
  EXPECT_EQ(TARQ_ReadParam(prob_, ""), 3);
  EXPECT_EQ(TARQ_WriteParam(prob_, nullptr), 3);
  EXPECT_EQ(TARQ_WriteParam(prob_, ""), 3);
  std::string path = Write("ok.par", "Threads 2\n");
  EXPECT_EQ(TARQ_ReadParam(nullptr, path.c_str()), 3);
  EXPECT_EQ(TARQ_WriteParam(nullptr, path.c_str()), 3);
  EXPECT_TRUE(lines_.empty());

  std::string unwritable = Path("no/such/dir/x.par");
  EXPECT_EQ(TARQ_WriteParam(prob_, unwritable.c_str()), 2);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0].rfind("Parameter file \"" + unwritable + "\": cannot be written (cannot open the file for writing", 0),
            0u)
      << lines_[0];
}

TEST_F(ParamFile, ReadingAppliesTheLoggingParameters) {
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogToConsole", 1), 0);
  ASSERT_EQ(TARQ_ReadParam(prob_, Write("quiet.par", "LogToConsole 0\n").c_str()), 0);
  testing::internal::CaptureStdout();
  prob_->problem.Log().Line("after reading");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(TARQ_ReadParam(prob_, Write("silent.par", "Logging 0\n").c_str()), 0);
  lines_.clear();
  prob_->problem.Log().Line("dropped");
  EXPECT_TRUE(lines_.empty());
  ASSERT_EQ(TARQ_ReadParam(prob_, Write("missing-value.par", "Logging\n").c_str()), 3);
  EXPECT_TRUE(lines_.empty()) << "with Logging 0 even the fault of a file is not logged";
}

}  // namespace
