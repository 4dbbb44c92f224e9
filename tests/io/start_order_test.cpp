#include <cmath>

#include "io_fixture.h"

namespace iotest {
namespace {

using StartOrderTest = IoTest;

TEST_F(StartOrderTest, MipStartWritesTheFirstStartAndReadsItBack) {
  BuildSmall(prob_);
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'I', 0, 9, nullptr), 0);  // unnamed: "C4"
  const int list[] = {4, 0, 2};
  const double values[] = {7, 0.5, 1};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 3, list, values), 0);
  const double other[] = {1};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 1, nullptr, other), 0);
  const std::string path = Path("start.mst");
  ASSERT_EQ(TARQ_WriteMst(prob_, path.c_str()), 0);
  EXPECT_EQ(ReadText(path), "# MIP start\nC4 7\nx 0.5\nz 1\n");

  // Reading replaces both stored starts by the file's one.
  ASSERT_EQ(TARQ_ReadMst(prob_, path.c_str()), 0);
  const auto& starts = prob_->problem.MipStarts();
  EXPECT_EQ(starts.Size(), 1);
  EXPECT_EQ(starts.col, (std::vector<int>{4, 0, 2}));
  EXPECT_EQ(starts.value, (std::vector<double>{7, 0.5, 1}));
}

TEST_F(StartOrderTest, MipStartNamesMayHoldBlanksAndCommentsAreSkipped) {
  const char* names[] = {"a b", "c"};
  ASSERT_EQ(TARQ_AddCols(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, names), 0);
  const std::string path = Write("blanks.mst", "# comment\n\n  a b   -2.5  \r\n# c 3\nc 1e-3\n");
  ASSERT_EQ(TARQ_ReadMst(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(prob_->problem.MipStarts().col, (std::vector<int>{0, 1}));
  EXPECT_EQ(prob_->problem.MipStarts().value, (std::vector<double>{-2.5, 1e-3}));
  // No start stored: the file has its header only.
  tarq_prob* none = NewProblem();
  ASSERT_EQ(TARQ_WriteMst(none, Path("none.mst").c_str()), 0);
  EXPECT_EQ(ReadText(Path("none.mst")), "# MIP start\n");
}

TEST_F(StartOrderTest, NamesThatWouldNotReadBackFailTheWrite) {
  const char* names[] = {"#hash", "fine"};
  ASSERT_EQ(TARQ_AddCols(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, names), 0);
  const double values[] = {1, 2};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 2, nullptr, values), 0);
  const std::string path = Path("bad.mst");
  EXPECT_EQ(TARQ_WriteMst(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "\"#hash\"", "would not read back");
}

TEST_F(StartOrderTest, AddMipStartChecksItsArgumentsAndFollowsDeletions) {
  BuildSmall(prob_);
  const int dup[] = {1, 1};
  const int bad[] = {0, 4};
  const double values[] = {1, 2};
  const double nanValues[] = {1, NAN};
  const double infValues[] = {1, kInf};
  EXPECT_EQ(TARQ_AddMipStart(prob_, 2, dup, values), 3);
  EXPECT_EQ(TARQ_AddMipStart(prob_, 2, bad, values), 3);
  EXPECT_EQ(TARQ_AddMipStart(prob_, 2, nullptr, nanValues), 3);
  EXPECT_EQ(TARQ_AddMipStart(prob_, 2, nullptr, infValues), 3);
  EXPECT_EQ(TARQ_AddMipStart(prob_, 5, nullptr, values), 3);
  EXPECT_EQ(TARQ_AddMipStart(prob_, -1, nullptr, values), 3);
  EXPECT_EQ(prob_->problem.MipStarts().Size(), 0);

  const int list[] = {3, 1, 0};
  const double v[] = {30, 10, 0};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 3, list, v), 0);
  ASSERT_EQ(TARQ_AddMipStart(prob_, 1, list, v), 0);
  const int del[] = {1};
  ASSERT_EQ(TARQ_DelCols(prob_, 1, del), 0);
  const auto& starts = prob_->problem.MipStarts();
  EXPECT_EQ(starts.begin, (std::vector<std::int64_t>{0, 2, 3}));
  EXPECT_EQ(starts.col, (std::vector<int>{2, 0, 2}));
  EXPECT_EQ(starts.value, (std::vector<double>{30, 0, 30}));
}

TEST_F(StartOrderTest, BranchingOrderWritesNonZeroFactorsAndReadReplacesAll) {
  BuildSmall(prob_);
  const double factors[] = {2, 0, 0, -1.5};
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 4, nullptr, factors), 0);
  const std::string path = Path("order.ord");
  ASSERT_EQ(TARQ_WriteOrd(prob_, path.c_str()), 0);
  EXPECT_EQ(ReadText(path), "# branching order\nx 2\nw -1.5\n");

  const double others[] = {9, 9, 9, 9};
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 4, nullptr, others), 0);
  ASSERT_EQ(TARQ_ReadOrd(prob_, path.c_str()), 0);
  EXPECT_EQ(prob_->problem.Cols().branch, (std::vector<double>{2, 0, 0, -1.5}));

  tarq_prob* none = NewProblem();
  ASSERT_EQ(TARQ_WriteOrd(none, Path("none.ord").c_str()), 0);
  EXPECT_EQ(ReadText(Path("none.ord")), "# branching order\n");
}

}  // namespace
}  // namespace iotest
