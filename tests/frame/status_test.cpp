#include "frame/status.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tarq/exception.h"
#include "tarq/exports.h"

namespace {

using Tarq::detail::Checked;
using Tarq::detail::Record;
using Tarq::detail::Status;

TEST(StatusRecord, WritesCodeNamePrefixAndText) {
  Status s;
  EXPECT_EQ(s.Code(), 0);
  EXPECT_EQ(s.Message(), nullptr);
  Record(s, 3, "Fail to set obj sense");
  EXPECT_EQ(s.Code(), 3);
  EXPECT_STREQ(s.Message(), "(INVALID) Fail to set obj sense");
  Record(s, 5, "Internal col index error");
  EXPECT_STREQ(s.Message(), "(INTERNAL) Internal col index error");
  Record(s, 9, "The %d-th variable has been removed", 2);
  EXPECT_STREQ(s.Message(), "(UNKNOWN) The 2-th variable has been removed");
}

TEST(StatusRecord, NamesEveryCode) {
  const std::pair<int, const char*> names[] = {{1, "MEMORY"},   {2, "FILE"},   {3, "INVALID"},
                                               {5, "INTERNAL"}, {6, "THREAD"}, {7, "SERVER"},
                                               {8, "NONCONVEX"}, {4, "UNKNOWN"}, {-1, "UNKNOWN"}};
  for (auto [code, name] : names) {
    Status s;
    Record(s, code, "x");
    EXPECT_EQ(std::string(s.Message()), "(" + std::string(name) + ") x") << code;
  }
}

TEST(StatusRecord, CutsTextTo95CharactersBehindThePrefix) {
  Status s;
  std::string longText(200, 'a');
  Record(s, 3, "%s", longText.c_str());
  std::string expected = "(INVALID) " + std::string(95, 'a');
  EXPECT_EQ(std::string(s.Message()), expected);
  // The longest prefix and the longest text still fit the 128-byte buffer.
  Record(s, 8, "%s", longText.c_str());
  EXPECT_EQ(std::strlen(s.Message()), std::strlen("(NONCONVEX) ") + 95);
  EXPECT_LT(std::strlen(s.Message()), 128u);
}

TEST(StatusRecord, ZeroCodeKeepsTheOldMessage) {
  Status s;
  Record(s, 3, "Fail to add a constraint");
  EXPECT_FALSE(Checked(s, 2, "Fail to read file"));
  EXPECT_STREQ(s.Message(), "(FILE) Fail to read file");
  EXPECT_TRUE(Checked(s, 0, "Fail to read file %d", 7));
  EXPECT_EQ(s.Code(), 0);
  EXPECT_STREQ(s.Message(), "(FILE) Fail to read file");
}

TEST(StatusCopy, MessageTravelsOnlyWithANonZeroCode) {
  Status failed;
  Record(failed, 3, "Invalid col index");
  Status copy = failed;
  EXPECT_EQ(copy.Code(), 3);
  ASSERT_NE(copy.Message(), nullptr);
  EXPECT_NE(copy.Message(), failed.Message());
  EXPECT_STREQ(copy.Message(), "(INVALID) Invalid col index");

  Status cleared = failed;
  Record(cleared, 0, "ignored");
  Status fresh;
  fresh = cleared;
  EXPECT_EQ(fresh.Code(), 0);
  EXPECT_EQ(fresh.Message(), nullptr);
}

TEST(SolverCodeThrow, ThrowsTheSolverTextWithTheCode) {
  EXPECT_NO_THROW(Tarq::detail::ThrowSolverCode(0));
  try {
    Tarq::detail::ThrowSolverCode(3);
    FAIL() << "no exception";
  } catch (const Tarq::Exception& e) {
    EXPECT_EQ(e.GetErrorCode(), 3);
    EXPECT_STREQ(e.what(), "Invalid argument");
  }
}

TEST(Exception, CarriesMessageAndCode) {
  Tarq::Exception e("Unknown TARQ parameter", 3);
  EXPECT_STREQ(e.what(), "Unknown TARQ parameter");
  EXPECT_EQ(e.GetErrorCode(), 3);
  Tarq::Exception bare(5);
  EXPECT_STREQ(bare.what(), "ERROR");
  EXPECT_EQ(bare.GetErrorCode(), 5);
  const std::runtime_error& base = bare;
  EXPECT_STREQ(base.what(), "ERROR");
}

TEST(Version, GivesMajorMinorTechnicalAndMinusOneOtherwise) {
  EXPECT_EQ(GetTarqVersion(0), 8);
  EXPECT_EQ(GetTarqVersion(1), 0);
  EXPECT_EQ(GetTarqVersion(2), 1);
  EXPECT_EQ(GetTarqVersion(3), -1);
  EXPECT_EQ(GetTarqVersion(-1), -1);
  EXPECT_EQ(GetTarqVersion(-2147483647 - 1), -1);
}

}  // namespace
