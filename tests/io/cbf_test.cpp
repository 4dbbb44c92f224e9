// The conic benchmark format: what a file becomes (columns, rows, cones, the new columns of cone
// rows), round trips through the writer, what the writer refuses, and the CBLIB instances read
// with the counts their headers state.
#include <zlib.h>

#include <cmath>
#include <map>

#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

namespace fs = std::filesystem;
using tarq_solver::IoError;
using tarq_solver::OutBuffer;

using CbfTest = IoTest;
using Col = std::vector<std::pair<int, double>>;

// Nine variables: x0, x1 >= 0 (x1 integer), a quadratic cone (x2, x3, x4), a primal exponential
// cone (x5, x6, x7), x8 <= 0. Rows:
//   0: x0 + x1 - 4 <= 0           1: 3 x2 <= 0
//   2..4 rotated cone over (x0, x1 + 2, 2 x8): x0 is used as it is, the others get new columns
//   5: x2 - x3 + 1 in Q of size 1 (a sign: >= 0)
//   6, 7: free rows x4 and x5 + 0.5
// maximise 1.5 x0 - x5 + 2.5
const char* const kSmall =
    "# a comment\n"
    "VER\n"
    "3\n"
    "\n"
    "OBJSENSE\n"
    "MAX\n"
    "VAR\n"
    "9 4\n"
    "L+ 2\n"
    "Q 3\n"
    "EXP 3\n"
    "L- 1\n"
    "INT\n"
    "1\n"
    "1\n"
    "CON\n"
    "8 4\n"
    "L- 2\n"
    "QR 3\n"
    "Q 1\n"
    "F 2\n"
    "OBJACOORD\n"
    "2\n"
    "0 1.5\n"
    "5 -1\n"
    "OBJBCOORD\n"
    "2.5\n"
    "ACOORD\n"
    "11\n"
    "0 0 1\n"
    "0 1 1\n"
    "1 2 3\n"
    "2 0 1\n"
    "3 1 1\n"
    "4 8 2\n"
    "5 2 1\n"
    "5 3 -1\n"
    "6 4 1\n"
    "7 5 1\n"
    "  # comments and blank lines may stand anywhere\n"
    "\n"
    "7 6 0\n"
    "BCOORD\n"
    "4\n"
    "0 -4\n"
    "3 2\n"
    "5 1\n"
    "7 0.5\n";

TEST_F(CbfTest, DomainsBecomeBoundsRowsAndCones) {
  const std::string path = Write("small.cbf", kSmall);
  ASSERT_EQ(TARQ_ReadCbf(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  EXPECT_EQ(s.objSense, -1);
  EXPECT_EQ(s.objConst, 2.5);
  // Nine variables and two new columns for the rotated cone's rows 3 and 4.
  EXPECT_EQ(s.obj, (std::vector<double>{1.5, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.colLower, (std::vector<double>{0, 0, -kInf, -kInf, -kInf, -kInf, -kInf, -kInf, -kInf, -kInf, -kInf}));
  EXPECT_EQ(s.colUpper, (std::vector<double>{kInf, kInf, kInf, kInf, kInf, kInf, kInf, kInf, 0, kInf, kInf}));
  EXPECT_EQ(s.type, (std::vector<char>{'C', 'I', 'C', 'C', 'C', 'C', 'C', 'C', 'C', 'C', 'C'}));
  // Rows 0, 1, 3, 4, 5, 6, 7 of the file (row 2 is x0 itself): a'x in [-b, -b] for cone rows.
  EXPECT_EQ(s.rowLower, (std::vector<double>{-kInf, -kInf, -2, 0, -1, -kInf, -kInf}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{4, 0, -2, 0, kInf, kInf, kInf}));
  EXPECT_EQ(s.cols[0], (Col{{0, 1}}));
  EXPECT_EQ(s.cols[1], (Col{{0, 1}, {2, 1}}));
  EXPECT_EQ(s.cols[2], (Col{{1, 3}, {4, 1}}));
  EXPECT_EQ(s.cols[3], (Col{{4, -1}}));
  EXPECT_EQ(s.cols[4], (Col{{5, 1}}));
  EXPECT_EQ(s.cols[5], (Col{{6, 1}}));
  EXPECT_EQ(s.cols[6], Col{});  // the explicit zero is not stored
  EXPECT_EQ(s.cols[8], (Col{{3, 2}}));
  EXPECT_EQ(s.cols[9], (Col{{2, -1}}));
  EXPECT_EQ(s.cols[10], (Col{{3, -1}}));
  // The variable cone first, then the row cone; the exponential cone keeps the file's order.
  EXPECT_EQ(s.coneType, (std::vector<int>{TARQ_CONE_QUAD, TARQ_CONE_RQUAD}));
  EXPECT_EQ(s.coneBegin, (std::vector<std::int64_t>{0, 3, 6}));
  EXPECT_EQ(s.coneCol, (std::vector<int>{2, 3, 4, 0, 9, 10}));
  EXPECT_EQ(s.expType, (std::vector<int>{TARQ_EXPCONE_PRIMAL}));
  EXPECT_EQ(s.expCol, (std::vector<int>{5, 6, 7}));
  EXPECT_TRUE(s.sosType.empty());
  EXPECT_TRUE(s.indType.empty());
}

TEST_F(CbfTest, ConeRowsOfOneVariableShareNoColumn) {
  // Both Q cones name x0 alone in a row: the first takes x0, the second gets a new column; a
  // row 1 x1 + 0 in an EXP* cone is x1 itself, a row 2 x2 is not.
  const std::string text =
      "VER\n3\nVAR\n4 1\nF 4\nCON\n7 3\nQ 2\nQ 2\nEXP* 3\nACOORD\n7\n"
      "0 0 1\n1 3 1\n2 0 1\n3 3 -1\n4 1 1\n5 2 2\n6 3 1\n";
  const std::string path = Write("shared.cbf", text);
  ASSERT_EQ(TARQ_ReadCbf(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  ASSERT_EQ(s.obj.size(), 8u);  // x0..x3 and s4 (row 2), s5 (row 3), s6 (row 5), s7 (row 6)
  EXPECT_EQ(s.coneCol, (std::vector<int>{0, 3, 4, 5}));
  EXPECT_EQ(s.expType, (std::vector<int>{TARQ_EXPCONE_DUAL}));
  EXPECT_EQ(s.expCol, (std::vector<int>{1, 6, 7}));
  EXPECT_EQ(s.rowLower, (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(s.cols[0], (Col{{0, 1}}));
  EXPECT_EQ(s.cols[3], (Col{{1, -1}, {3, 1}}));
}

TEST_F(CbfTest, WrittenFileReadsBackToTheSameProblem) {
  // Cones over consecutive free columns in order and one-sided rows: nothing to rearrange, so
  // the problem read back is the one written, field by field.
  const std::string text =
      "VER\n3\nOBJSENSE\nMIN\nVAR\n10 5\nL+ 1\nQR 3\nF 1\nEXP* 3\nL= 2\nINT\n1\n0\nCON\n3 3\nL+ 1\nL- 1\nL= 1\n"
      "OBJACOORD\n2\n1 1\n4 -2\nOBJBCOORD\n-1\nACOORD\n5\n0 0 1\n0 4 2.25\n1 3 1\n2 5 1\n2 6 -1\nBCOORD\n2\n0 -3\n2 1e-3\n";
  ASSERT_EQ(TARQ_ReadCbf(prob_, Write("a.cbf", text).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const std::string out = Path("b.cbf");
  ASSERT_EQ(TARQ_WriteCbf(prob_, out.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(back, out.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(back), Take(prob_));
  EXPECT_EQ(Take(back).coneType, (std::vector<int>{TARQ_CONE_RQUAD}));
}

TEST_F(CbfTest, WriterOrdersConeColumnsAndWritesBoundsAsRows) {
  // Columns a, b, c, d with a rotated cone (d, a, c) and a quadratic cone (b, c) sharing c:
  // the first cone becomes the variables 0..2 (d, a, c), the second a cone over two rows.
  const double lb[] = {1, -kInf, -kInf, 0};
  const double ub[] = {kInf, 5, kInf, 0};
  const double obj[] = {1, 2, 3, 4};
  ASSERT_EQ(TARQ_AddCols(prob_, 4, obj, nullptr, nullptr, nullptr, nullptr, nullptr, lb, ub, nullptr), 0);
  const int types[] = {TARQ_CONE_RQUAD, TARQ_CONE_QUAD};
  const int beg[] = {0, 3, 5};
  const int idx[] = {3, 0, 2, 1, 2};
  ASSERT_EQ(TARQ_AddCones(prob_, 2, types, beg, nullptr, idx), 0);
  OutBuffer out;
  IoError err;
  ASSERT_EQ(tarq_solver::WriteCbf(prob_->problem, out, err), 0) << err.what;
  EXPECT_EQ(out.Text(),
            "# written by tarq\nVER\n1\n\nOBJSENSE\nMIN\n\n"
            "VAR\n4 2\nQR 3\nF 1\n\n"
            "CON\n5 4\nL= 1\nL+ 1\nL- 1\nQ 2\n\n"
            "OBJACOORD\n4\n0 4\n1 1\n2 3\n3 2\n\n"
            "ACOORD\n5\n0 0 1\n1 1 1\n2 3 1\n3 3 1\n4 2 1\n\n"
            "BCOORD\n2\n1 -1\n2 -5\n");
}

TEST_F(CbfTest, WriterRefusesWhatTheFormatCannotHold) {
  BuildSmall(prob_);
  const double w[] = {1, 2};
  const int beg[] = {0, 2};
  const int idx[] = {0, 3};
  const int type = TARQ_SOS_TYPE1;
  ASSERT_EQ(TARQ_AddSOSs(prob_, 1, &type, beg, nullptr, idx, w), 0);
  const std::string path = Path("sos.cbf");
  EXPECT_EQ(TARQ_WriteCbf(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, "\"" + path + "\"", "SOS constraints cannot be written in the CBF format");
  EXPECT_FALSE(fs::exists(path));
  log_.clear();
  const int del = 0;
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, &del), 0);
  const int qi[] = {0};
  const double qv[] = {1};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, qi, qi, qv), 0);
  EXPECT_EQ(TARQ_WriteCbf(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, "quadratic objectives and quadratic rows cannot be written in the CBF format");
  EXPECT_FALSE(fs::exists(path));
}

// The cones' conventions, checked by their optima, before and after a write and read:
//   t >= ||(x + 1, y)||, x + y = 1, x, y >= 0   -> t = sqrt(2) (x = 0, y = 1)
//   (u, v, w) in EXP, v = w = 1                   -> u = v exp(w / v) = e
//   (a, c, d) in EXP*, c = 1, d = -1              -> a = -d exp(c / d - 1) = exp(-2)
//   (r, 0.5, s) in QR, s = 3                      -> 2 r 0.5 >= s^2: r = 9
// minimising t + u + a + r. A cone read the other way round (EXP as w >= v exp(u / v), say)
// would give another optimum or none.
TEST_F(CbfTest, ConeConventionsGiveTheExpectedOptima) {
  const std::string text =
      "VER\n3\nOBJSENSE\nMIN\n"
      "VAR\n11 5\nF 1\nL+ 2\nEXP 3\nEXP* 3\nF 2\n"
      "CON\n12 3\nQ 3\nL= 6\nQR 3\n"
      "OBJACOORD\n4\n0 1\n3 1\n6 1\n9 1\n"
      "ACOORD\n12\n0 0 1\n1 1 1\n2 2 1\n3 1 1\n3 2 1\n4 4 1\n5 5 1\n6 7 1\n7 8 1\n8 10 1\n9 9 1\n11 10 1\n"
      "BCOORD\n8\n1 1\n3 -1\n4 -1\n5 -1\n6 -1\n7 1\n8 -3\n10 0.5\n";
  ASSERT_EQ(TARQ_ReadCbf(prob_, Write("cones.cbf", text).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const double expected = std::sqrt(2.0) + std::exp(1.0) + std::exp(-2.0) + 9.0;
  EXPECT_NEAR(SolveForObjective(prob_), expected, 1e-6 * expected);
  const std::string out = Path("back.cbf");
  ASSERT_EQ(TARQ_WriteCbf(prob_, out.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(back, out.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_NEAR(SolveForObjective(back), expected, 1e-6 * expected);
}

// The CBLIB instances: each reads; its columns are the header's variables plus one per cone row
// that is not a single variable, its cones those of the header, and the members of every cone
// add up to the header's cone sizes.
struct Header {
  long long nVar = 0, nCon = 0, coneMembers = 0, cones = 0, linearRows = 0;
};

Header ScanHeader(const std::string& text) {
  Header h;
  std::istringstream in(text);
  std::string line;
  auto domains = [&](long long& count, bool rows) {
    long long k = 0;
    std::getline(in, line);
    std::istringstream(line) >> count >> k;
    for (long long d = 0; d < k; ++d) {
      std::getline(in, line);
      std::string kind;
      long long dim = 0;
      std::istringstream(line) >> kind >> dim;
      const bool cone = kind == "Q" || kind == "QR" || kind == "EXP" || kind == "EXP*";
      if (cone && !((kind == "Q" && dim == 1) || (kind == "QR" && dim == 2))) {
        ++h.cones;
        h.coneMembers += dim;
      } else if (rows) {
        h.linearRows += dim;
      }
    }
  };
  while (std::getline(in, line)) {
    if (line == "VAR") domains(h.nVar, false);
    if (line == "CON") domains(h.nCon, true);
  }
  return h;
}

std::string Gunzip(const std::string& path) {
  gzFile f = gzopen(path.c_str(), "rb");
  std::string out;
  if (f == nullptr) return out;
  char buf[1 << 16];
  int n = 0;
  while ((n = gzread(f, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  gzclose(f);
  return out;
}

class CblibFile : public IoTest, public testing::WithParamInterface<std::string> {};

TEST_P(CblibFile, ReadsWithTheHeaderCountsAndWritesBack) {
  if (GetParam().empty()) GTEST_SKIP() << "cblib data not found";
  ASSERT_EQ(TARQ_ReadCbf(prob_, GetParam().c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Header h = ScanHeader(Gunzip(GetParam()));
  const Snapshot s = Take(prob_);
  const long long cones = static_cast<long long>(s.coneType.size() + s.expType.size());
  EXPECT_EQ(cones, h.cones);
  EXPECT_EQ(static_cast<long long>(s.coneCol.size() + s.expCol.size()), h.coneMembers);
  // Every cone member that is a new column has its own row.
  const long long added = static_cast<long long>(s.obj.size()) - h.nVar;
  EXPECT_GE(added, 0);
  EXPECT_EQ(static_cast<long long>(s.rowLower.size()), h.linearRows + added);
  EXPECT_LE(static_cast<long long>(s.rowLower.size()), h.nCon);
  // Write and read back: the same counts of everything.
  const std::string out = Path("back.cbf");
  ASSERT_EQ(TARQ_WriteCbf(prob_, out.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(back, out.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot b = Take(back);
  EXPECT_EQ(b.obj.size(), s.obj.size());
  EXPECT_EQ(b.coneType, s.coneType);
  EXPECT_EQ(b.coneCol.size(), s.coneCol.size());
  EXPECT_EQ(Nonzeros(b), Nonzeros(s));
}

std::vector<std::string> CblibFiles() {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(fs::path(TARQ_TEST_DATA_DIR) / "cblib", ec)) {
    const std::string p = e.path().string();
    if (p.size() > 7 && p.compare(p.size() - 7, 7, ".cbf.gz") == 0) out.push_back(p);
  }
  std::sort(out.begin(), out.end());
  if (out.empty()) out.emplace_back();
  return out;
}

std::string CblibName(const testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).filename().string();
  if (name.empty()) return "none";
  name = name.substr(0, name.size() - 7);
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cblib, CblibFile, testing::ValuesIn(CblibFiles()), CblibName);

}  // namespace
}  // namespace iotest
