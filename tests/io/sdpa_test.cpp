// The SDPA sparse format: what a file becomes, round trips that keep the optimum, and malformed
// files, each refused with the file, the line and the fault and without touching the problem.
#include <cmath>

#include "common/psd_dump.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using SdpaTest = IoTest;

// min x1 + 2 x2 s.t. [[x1, 1], [1, x2]] >= 0 (block 1), x1 >= 0.5 and x2 <= 3 (block 2, diagonal).
const char* const kSmall =
    "\" a comment\n"
    "* another\n"
    "2 = m\n"
    "2\n"
    "{2, -2}\n"
    "1.0 +2.0\n"
    "0 1 1 2 -1\n"
    "1 1 1 1 1\n"
    "2 1 2 2 1\n"
    "0 2 1 1 0.5\n"
    "1 2 1 1 1\n"
    "0 2 2 2 -3\n"
    "2 2 2 2 -1\n";

TEST_F(SdpaTest, BlocksBecomeLmiRowsAndDiagonalEntriesRows) {
  const std::string path = Write("small.dat-s", kSmall);
  ASSERT_EQ(TARQ_ReadSDPA(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  EXPECT_EQ(s.obj, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.colLower, (std::vector<double>{-kInf, -kInf}));
  EXPECT_EQ(s.colUpper, (std::vector<double>{kInf, kInf}));
  // F_0 of the diagonal block gives the rows' lower bounds: x1 >= 0.5, -x2 >= -3.
  EXPECT_EQ(s.rowLower, (std::vector<double>{0.5, -3}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{kInf, kInf}));
  EXPECT_EQ(s.cols[0], (std::vector<std::pair<int, double>>{{0, 1}}));
  EXPECT_EQ(s.cols[1], (std::vector<std::pair<int, double>>{{1, -1}}));
  // The constant is -F_0.
  EXPECT_EQ(PsdDump(prob_),
            "mat 0 2: (1,0)=1\n"
            "mat 1 2: (0,0)=1\n"
            "mat 2 2: (1,1)=1\n"
            "lmi L0 dim 2 const 0: x0*m1 x1*m2\n");
  // x1 x2 >= 1 with x1 >= 0.5: the optimum x1 = sqrt2, x2 = 1/sqrt2, value 2 sqrt2.
  EXPECT_NEAR(SolveForObjective(prob_), 2 * std::sqrt(2.0), 1e-6);
}

// Written and read back (also compressed), a problem keeps its optimum: bounds, an equality row
// and a maximisation become diagonal entries and a negated objective.
TEST_F(SdpaTest, RoundTripKeepsTheOptimum) {
  // max -x - y s.t. [[x, 1], [1, y]] >= 0, x + y in [0, 5], x = y row, y <= 4.
  ASSERT_EQ(TARQ_AddCol(prob_, -1, 0, nullptr, nullptr, 'C', -kInf, kInf, "x"), 0);
  ASSERT_EQ(TARQ_AddCol(prob_, -1, 0, nullptr, nullptr, 'C', -kInf, 4, "y"), 0);
  const int cols[] = {0, 1};
  const double both[] = {1, 1}, diff[] = {1, -1};
  ASSERT_EQ(TARQ_AddRow(prob_, 2, cols, both, 0, 0, 5, nullptr), 0);
  ASSERT_EQ(TARQ_AddRow(prob_, 2, cols, diff, 'E', 0, 0, nullptr), 0);
  const int r[] = {1}, c[] = {0}, d0[] = {0}, d1[] = {1};
  const double one[] = {1};
  ASSERT_EQ(TARQ_AddSymMat(prob_, 2, 1, r, c, one), 0);
  ASSERT_EQ(TARQ_AddSymMat(prob_, 2, 1, d0, d0, one), 0);
  ASSERT_EQ(TARQ_AddSymMat(prob_, 2, 1, d1, d1, one), 0);
  const int mats[] = {1, 2};
  ASSERT_EQ(TARQ_AddLMIConstr(prob_, 2, 2, cols, mats, 0, nullptr), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  const double optimum = SolveForObjective(prob_);
  EXPECT_NEAR(optimum, -2, 1e-6);
  for (const char* file : {"rt.dat-s", "rt.dat-s.gz"}) {
    ASSERT_EQ(TARQ_WriteSDPA(prob_, Path(file).c_str()), 0);
    tarq_prob* back = NewProblem();
    ASSERT_EQ(TARQ_ReadSDPA(back, Path(file).c_str()), 0) << (log_.empty() ? "" : log_[0]);
    EXPECT_NEAR(SolveForObjective(back), -optimum, 1e-6) << file;
    // The file read back writes the same text again.
    ASSERT_EQ(TARQ_WriteSDPA(back, Path("again.dat-s").c_str()), 0);
    ASSERT_EQ(TARQ_WriteSDPA(prob_, Path("first.dat-s").c_str()), 0);
    tarq_prob* third = NewProblem();
    ASSERT_EQ(TARQ_ReadSDPA(third, Path("again.dat-s").c_str()), 0);
    EXPECT_NEAR(SolveForObjective(third), -optimum, 1e-6);
  }
  EXPECT_NE(ReadText(Path("first.dat-s")).find("2\n2\n2 -5\n1 1\n"), std::string::npos)
      << ReadText(Path("first.dat-s"));
}

TEST_F(SdpaTest, WritingRefusesWhatTheFormatCannotHold) {
  ASSERT_EQ(TARQ_AddCol(prob_, 1, 0, nullptr, nullptr, 'I', 0, 1, nullptr), 0);
  EXPECT_EQ(TARQ_WriteSDPA(prob_, Path("a.dat-s").c_str()), 3);
  EXPECT_LOGGED(log_, "a.dat-s", "integer columns cannot be written in the SDPA format");
  log_.clear();
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 2, nullptr), 0);
  EXPECT_EQ(TARQ_WriteSDPA(prob_, Path("b.dat-s").c_str()), 3);
  EXPECT_LOGGED(log_, "PSD columns cannot be written");
  log_.clear();
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  ASSERT_EQ(TARQ_AddCol(prob_, 1, 0, nullptr, nullptr, 'C', -kInf, kInf, nullptr), 0);
  EXPECT_EQ(TARQ_WriteSDPA(prob_, Path("c.dat-s").c_str()), 3);
  EXPECT_LOGGED(log_, "needs at least one block");
  EXPECT_FALSE(std::filesystem::exists(Path("c.dat-s")));
  log_.clear();
  const int q[] = {0};
  const double qv[] = {2};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, q, q, qv), 0);
  EXPECT_EQ(TARQ_WriteSDPA(prob_, Path("d.dat-s").c_str()), 3);
  EXPECT_LOGGED(log_, "d.dat-s", "quadratic objectives and quadratic rows cannot be written in the SDPA format");
  EXPECT_FALSE(std::filesystem::exists(Path("d.dat-s")));
}

// The text formats without semidefinite parts refuse a problem that has them, instead of writing
// the rest of it.
TEST_F(SdpaTest, OtherTextFormatsRefuseSemidefiniteParts) {
  ASSERT_EQ(TARQ_AddCol(prob_, 1, 0, nullptr, nullptr, 'C', 0, 1, "x"), 0);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 2, "X"), 0);
  struct Case {
    int (*write)(tarq_prob*, const char*);
    const char* file;
    const char* says;
  };
  const Case cases[] = {
      {TARQ_WriteLp, "m.lp", "the LP format cannot hold PSD columns, PSD rows or LMI rows"},
      {TARQ_WriteMps, "m.mps", "the MPS format cannot hold PSD columns, PSD rows or LMI rows"},
      {TARQ_WriteNL, "m.nl", "the .nl format cannot hold PSD columns, PSD rows or LMI rows"},
  };
  for (const Case& c : cases) {
    log_.clear();
    EXPECT_EQ(c.write(prob_, Path(c.file).c_str()), 3) << c.file;
    EXPECT_LOGGED(log_, c.file, c.says);
    EXPECT_FALSE(std::filesystem::exists(Path(c.file))) << c.file;
  }
}

// Each malformed file: code 3, one log line with the file, the line and the fault, and the
// problem as it was.
TEST_F(SdpaTest, MalformedFilesAreRefusedWithTheirLine) {
  BuildSmall(prob_);
  const Snapshot kept = Take(prob_);
  struct Case {
    const char* text;
    const char* where;
    const char* fault;
  };
  const Case cases[] = {
      {"", "", "the file ends before the number of matrices"},
      {"x\n", "line 1", "invalid number of matrices"},
      {"1\n0\n", "line 2", "invalid number of blocks"},
      {"1\n2\n3\n", "line 3", "the file ends within the block sizes"},
      {"1\n1\n0\n1\n", "line 3", "invalid block size 0"},
      {"1\n1\n2 3\n1\n", "line 3", "more numbers than expected in the block sizes"},
      {"2\n1\n2\n1\n", "line 4", "the file ends within the objective"},
      {"2\n1\n2\n1 x\n", "line 4", "invalid number \"x\" in the objective"},
      {"1\n1\n2\n1\n1 1 1 1\n", "line 5", "an entry needs five numbers"},
      {"1\n1\n2\n1\n1 1 1 1 1 1\n", "line 5", "an entry needs five numbers"},
      {"1\n1\n2\n1\n1 1 3 1 1\n", "line 5", "entry (3, 1) outside block 1 of size 2"},
      {"1\n1\n2\n1\n1 2 1 1 1\n", "line 5", "block number 2 out of range"},
      {"1\n1\n2\n1\n2 1 1 1 1\n", "line 5", "matrix number 2 out of range"},
      {"1\n1\n-2\n1\n1 1 1 2 1\n", "line 5", "off-diagonal entry in diagonal block 1"},
      {"1\n1\n2\n1\n1 1 1 2 1\n1 1 2 1 1\n", "line 6", "given twice"},
      {"1\n1\n2\n1\n1 1 1 1 nan\n", "line 5", "invalid entry"},
      {"1\n1\n2\n1\n1 1 1 1 1e31\n", "line 5", "invalid value"},
      {"1\n1\n-2000000000\n1\n", "line 3", "larger than the file describes"},
  };
  for (const Case& c : cases) {
    log_.clear();
    const std::string path = Write("bad.dat-s", c.text);
    EXPECT_EQ(TARQ_ReadSDPA(prob_, path.c_str()), 3) << c.text;
    EXPECT_LOGGED(log_, path, c.where, c.fault);
    EXPECT_EQ(Take(prob_), kept) << c.text;
    EXPECT_EQ(PsdDump(prob_), "") << c.text;
  }
  log_.clear();
  EXPECT_EQ(TARQ_ReadSDPA(prob_, Path("missing.dat-s").c_str()), 2);
  EXPECT_EQ(TARQ_ReadSDPA(prob_, ""), 3);
}

}  // namespace
}  // namespace iotest
