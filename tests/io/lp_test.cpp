#include "io_fixture.h"

namespace iotest {
namespace {

using LpTest = IoTest;

TEST_F(LpTest, WritesTheSmallModelExactly) {
  BuildSmall(prob_);
  const std::string path = Path("small.lp");
  ASSERT_EQ(TARQ_WriteLp(prob_, path.c_str()), 0);
  EXPECT_EQ(ReadText(path),
            "Maximize\n"
            " obj: 2 x + 3 y - z + 1.5\n"
            "Subject To\n"
            " c1: x + 2 y <= 10\n"
            " c2: 3 x - z >= -2\n"
            " c3: y + w = 4\n"
            " c4: 1 <= x + w <= 8\n"
            " c5: -inf <= z + w <= inf\n"
            "Bounds\n"
            " x <= 4\n"
            " y >= -1\n"
            " w free\n"
            "Generals\n"
            " y\n"
            "Binaries\n"
            " z\n"
            "End\n");
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(back, path.c_str()), 0);
  EXPECT_EQ(Take(back), Take(prob_));
}

TEST_F(LpTest, ReadsTheFormsOfEachSection) {
  const std::string path = Write("forms.lp",
                                 "\\ a comment line\n"
                                 "\\* a comment\n   over two lines *\\\n"
                                 "MINIMIZE\n"
                                 "  cost: 3 a + 2b - c + 4 + 2 a\n"
                                 "   - 1.5e1 d\n"
                                 "subject to\n"
                                 " -a - b + 3 =< 7\n"
                                 " first: a + b >= 2\n"
                                 " range: -4 <= c - d <= 5.5\n"
                                 " back: 10 >= a + c >= 1\n"
                                 " r4: 2 a - 2 a + b = 1\n"
                                 " gen + a >= 1\n"
                                 "Bounds\n"
                                 " -inf <= b <= 3\n"
                                 " a <= 4\n"
                                 " 1 <= c\n"
                                 " d free\n"
                                 " -2 <= e <= -1\n"
                                 " f >= -INF\n"
                                 " 0 <= g <= 5\n"
                                 " h = 2\n"
                                 " gen <= 1e40\n"
                                 "General\n"
                                 " a b\n"
                                 "Binary\n"
                                 " g h\n"
                                 " k\n"
                                 "end\n");
  ASSERT_EQ(TARQ_ReadLp(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  EXPECT_EQ(s.colNames, (std::vector<std::string>{"a", "b", "c", "d", "gen", "e", "f", "g", "h", "k"}));
  EXPECT_EQ(s.obj, (std::vector<double>{5, 2, -1, -15, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.objConst, 4);
  EXPECT_EQ(s.objSense, 1);
  // Sections whose first line starts with a sign: "subject to" and "Bounds" above.
  EXPECT_EQ(s.rowNames, (std::vector<std::string>{"R0", "first", "range", "back", "r4", "R5"}));
  EXPECT_EQ(s.rowLower, (std::vector<double>{-kInf, 2, -4, 1, 1, 1}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{4, kInf, 5.5, 10, 1, kInf}));
  EXPECT_EQ(s.type, (std::vector<char>{'I', 'I', 'C', 'C', 'C', 'C', 'C', 'B', 'B', 'B'}));
  // Binaries keep the bounds the Bounds section set and get 0 or 1 for the others.
  EXPECT_EQ(s.colLower, (std::vector<double>{0, -kInf, 1, -kInf, 0, -2, -kInf, 0, 2, 0}));
  EXPECT_EQ(s.colUpper, (std::vector<double>{4, 3, kInf, kInf, kInf, -1, kInf, 5, 2, 1}));
  // a's terms in r4 cancel and leave no entry.
  EXPECT_EQ(s.cols[1], (std::vector<std::pair<int, double>>{{0, -1}, {1, 1}, {4, 1}}));
  EXPECT_EQ(s.cols[0], (std::vector<std::pair<int, double>>{{0, -1}, {1, 1}, {3, 1}, {5, 1}}));
}

TEST_F(LpTest, RoundTripKeepsOrderValuesAndValidNames) {
  // Column 3 appears in no row and has no objective, columns 1 and 2 appear in reverse order in
  // the rows: the objective must name them all for reading to number them the same way.
  const double obj[] = {0, 0, 0, 0, 0};
  const char types[] = {'C', 'B', 'I', 'C', 'B'};
  const double lb[] = {0, -1, 0, 0, 0};
  const double ub[] = {-3, 1, 2.5, 0, kInf};
  const char* names[] = {"inf", "2nd", "x.y", "free", "ok_name"};
  ASSERT_EQ(TARQ_AddCols(prob_, 5, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
  const int beg[] = {0, 1, 3, 3, 4};
  const int idx[] = {2, 1, 0, 4, 4};
  const double val[] = {0.1, 1e-300, -7, 2, 1};
  const double lower[] = {3, -kInf, 0, -1};
  const double upper[] = {1, kInf, 0, 1};
  const char* rnames[] = {"crossed", "free row", "empty", "st"};
  ASSERT_EQ(TARQ_AddRows(prob_, 4, beg, nullptr, idx, val, nullptr, lower, upper, rnames), 0);
  const Snapshot before = Take(prob_);
  const std::string path = Path("order.lp");
  ASSERT_EQ(TARQ_WriteLp(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(back, path.c_str()), 0) << ReadText(path);
  Snapshot after = Take(back);
  EXPECT_EQ(after.colNames, (std::vector<std::string>{"C0", "C1", "x.y", "C3", "ok_name"}));
  EXPECT_EQ(after.rowNames, (std::vector<std::string>{"crossed", "R1", "empty", "R3"}));
  after.colNames = before.colNames;
  after.rowNames = before.rowNames;
  EXPECT_EQ(after, before) << ReadText(path);
}

TEST_F(LpTest, LongRowsWrapAndReadBack) {
  std::vector<int> idx;
  std::vector<double> val;
  for (int j = 0; j < 200; ++j) {
    ASSERT_EQ(TARQ_AddCol(prob_, j % 3, 0, nullptr, nullptr, 'C', 0, kInf, nullptr), 0);
    idx.push_back(199 - j);
    val.push_back(1.0 / (j + 1));
  }
  ASSERT_EQ(TARQ_AddRow(prob_, 200, idx.data(), val.data(), 'L', 1, 0, "long"), 0);
  const std::string path = Path("long.lp");
  ASSERT_EQ(TARQ_WriteLp(prob_, path.c_str()), 0);
  const std::string text = ReadText(path);
  size_t longest = 0, start = 0;
  for (size_t nl = text.find('\n'); nl != std::string::npos; start = nl + 1, nl = text.find('\n', start)) {
    longest = std::max(longest, nl - start);
  }
  EXPECT_LT(longest, 120u);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(back, path.c_str()), 0);
  EXPECT_EQ(Take(back), Take(prob_));
}

}  // namespace
}  // namespace iotest
