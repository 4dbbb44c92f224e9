#include <cmath>
#include <cstring>

#include "io_fixture.h"

namespace iotest {
namespace {

std::string MpsText(tarq_prob* prob) {
  int size = 0;
  EXPECT_EQ(TARQ_WriteMpsStr(prob, nullptr, 0, &size), 0);
  std::string buf(static_cast<size_t>(size), '\0');
  EXPECT_EQ(TARQ_WriteMpsStr(prob, buf.data(), size, &size), 0);
  buf.resize(std::strlen(buf.c_str()));
  return buf;
}

using MpsTest = IoTest;

TEST_F(MpsTest, WritesTheSmallModelExactly) {
  BuildSmall(prob_);
  EXPECT_EQ(MpsText(prob_),
            "NAME\n"
            "OBJSENSE\n"
            "    MAX\n"
            "ROWS\n"
            " N  OBJ\n"
            " L  c1\n"
            " G  c2\n"
            " E  c3\n"
            " G  c4\n"
            " N  c5\n"
            "COLUMNS\n"
            "    x         OBJ       2\n"
            "    x         c1        1\n"
            "    x         c2        3\n"
            "    x         c4        1\n"
            "    MARKER                 'MARKER'                 'INTORG'\n"
            "    y         OBJ       3\n"
            "    y         c1        2\n"
            "    y         c3        1\n"
            "    z         OBJ       -1\n"
            "    z         c2        -1\n"
            "    z         c5        1\n"
            "    MARKER                 'MARKER'                 'INTEND'\n"
            "    w         c3        1\n"
            "    w         c4        1\n"
            "    w         c5        1\n"
            "RHS\n"
            "    RHS       OBJ       -1.5\n"
            "    RHS       c1        10\n"
            "    RHS       c2        -2\n"
            "    RHS       c3        4\n"
            "    RHS       c4        1\n"
            "RANGES\n"
            "    RNG       c4        7\n"
            "BOUNDS\n"
            " UP BND       x         4\n"
            " LO BND       y         -1\n"
            " BV BND       z\n"
            " FR BND       w\n"
            "ENDATA\n");
}

TEST_F(MpsTest, StringSizeQueryThenWrite) {
  BuildSmall(prob_);
  int need = 0;
  ASSERT_EQ(TARQ_WriteMpsStr(prob_, nullptr, 0, &need), 0);
  const std::string text = MpsText(prob_);
  EXPECT_EQ(need, static_cast<int>(text.size()) + 1);  // the terminator counts

  std::string buf(static_cast<size_t>(need), 'x');
  int got = 0;
  EXPECT_EQ(TARQ_WriteMpsStr(prob_, buf.data(), need - 1, &got), 3);
  EXPECT_EQ(buf, std::string(static_cast<size_t>(need), 'x'));  // too small: untouched
  EXPECT_EQ(got, need);
  EXPECT_EQ(TARQ_WriteMpsStr(prob_, buf.data(), need, nullptr), 0);
  EXPECT_EQ(buf.back(), '\0');
  EXPECT_EQ(buf.substr(0, buf.size() - 1), text);
  EXPECT_EQ(TARQ_WriteMpsStr(prob_, nullptr, 0, nullptr), 3);
  EXPECT_EQ(TARQ_WriteMpsStr(nullptr, nullptr, 0, &got), 3);

  // The empty problem still writes a readable file.
  tarq_prob* empty = NewProblem();
  EXPECT_EQ(MpsText(empty), "NAME\nROWS\n N  OBJ\nCOLUMNS\nRHS\nENDATA\n");
}

TEST_F(MpsTest, FreeFormFeatures) {
  const std::string path = Write("features.mps",
                                 "* comment line\n"
                                 "NAME          features\n"
                                 "OBJSENSE MAXIMIZE\n"
                                 "ROWS\n"
                                 " L  lim\n"
                                 " N  cost\n"
                                 " G  low\n"
                                 " E  eqpos\n"
                                 " E  eqneg\n"
                                 " N  spare\n"
                                 " e  eqplain\n"
                                 "COLUMNS\n"
                                 " a cost 1 lim 1\n"
                                 " a low 2 spare 5\n"
                                 "    MARKER                 'MARKER'                 'INTORG'\n"
                                 " b cost -2.5e1 eqpos 1\n"
                                 " b eqneg 1 eqplain 0\n"
                                 "    MARKER                 'MARKER'                 'INTEND'\n"
                                 " c lim 3\n"
                                 " d eqplain 1\n"
                                 " e cost 0\n"
                                 "RHS\n"
                                 " rhs cost 7 lim 10\n"
                                 " rhs low 1\n"
                                 " rhs eqpos 5 eqneg 5\n"
                                 " other lim 99\n"
                                 "RANGES\n"
                                 " rng lim 4 low -3\n"
                                 " rng eqpos 2 eqneg -2\n"
                                 " rng cost 1\n"
                                 "BOUNDS\n"
                                 " UP bnd a -3\n"
                                 " LO bnd c 0\n"
                                 " UP bnd c -1\n"
                                 " MI bnd d\n"
                                 " UP bnd d 6\n"
                                 " FX bnd e 2.5\n"
                                 " UI bnd c 7\n"
                                 " BV bnd b\n"
                                 " UP other a 100\n"
                                 "ENDATA\n"
                                 "anything after ENDATA is ignored\n");
  ASSERT_EQ(TARQ_ReadMps(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  EXPECT_EQ(s.objSense, -1);
  EXPECT_EQ(s.objConst, -7);
  EXPECT_EQ(s.rowNames, (std::vector<std::string>{"lim", "low", "eqpos", "eqneg", "spare", "eqplain"}));
  EXPECT_EQ(s.rowLower, (std::vector<double>{6, 1, 5, 3, -kInf, 0}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{10, 4, 7, 5, kInf, 0}));
  EXPECT_EQ(s.colNames, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(s.obj, (std::vector<double>{1, -25, 0, 0, 0}));
  EXPECT_EQ(s.type, (std::vector<char>{'C', 'B', 'I', 'C', 'C'}));
  // a: a negative UP on a default lower bound frees the lower bound; c: not after an explicit LO.
  EXPECT_EQ(s.colLower, (std::vector<double>{-kInf, 0, 0, -kInf, 2.5}));
  EXPECT_EQ(s.colUpper, (std::vector<double>{-3, 1, 7, 6, 2.5}));
  EXPECT_EQ(s.cols[0], (std::vector<std::pair<int, double>>{{0, 1}, {1, 2}, {4, 5}}));
  EXPECT_EQ(s.cols[1], (std::vector<std::pair<int, double>>{{2, 1}, {3, 1}}));  // the explicit 0 is not stored
  EXPECT_EQ(s.cols[4].size(), 0u);
}

TEST_F(MpsTest, FixedFormNamesWithBlanks) {
  // Fields at their fixed columns: 2-3, 5-12, 15-22, 25-36, 40-47, 50-61.
  const std::string path = Write("fixed.mps",
                                 "NAME          FIXED  (with a comment)\r\n"
                                 "ROWS\r\n"
                                 " N  COST\r\n"
                                 " L  LIM 1\r\n"
                                 " G  LIM 2\r\n"
                                 "COLUMNS\r\n"
                                 "    X 1       COST               1.5   LIM 1                1.\r\n"
                                 "    X 1       LIM 2               -1.\r\n"
                                 "    X 2       LIM 2              .25\r\n"
                                 "RHS\r\n"
                                 "              LIM 1                4.   LIM 2              -1.\r\n"
                                 "BOUNDS\r\n"
                                 " UP BND       X 2                 8.\r\n"
                                 "ENDATA\r\n");
  ASSERT_EQ(TARQ_ReadMps(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  EXPECT_EQ(s.colNames, (std::vector<std::string>{"X 1", "X 2"}));
  EXPECT_EQ(s.rowNames, (std::vector<std::string>{"LIM 1", "LIM 2"}));
  EXPECT_EQ(s.obj, (std::vector<double>{1.5, 0}));
  EXPECT_EQ(s.rowUpper[0], 4);
  EXPECT_EQ(s.rowLower[1], -1);
  EXPECT_EQ(s.colUpper, (std::vector<double>{kInf, 8}));
  EXPECT_EQ(s.cols[1], (std::vector<std::pair<int, double>>{{1, 0.25}}));
  // Written back, names with blanks are replaced by the generated ones, so the file is free form.
  const std::string text = MpsText(prob_);
  EXPECT_NE(text.find(" L  R0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    C1        R1        0.25\n"), std::string::npos) << text;
}

TEST_F(MpsTest, RoundTripKeepsAwkwardValuesExactly) {
  const double obj[] = {0.1, 1e-300, -1.2345678901234567e29, 0, 0, 3};
  const char types[] = {'C', 'I', 'B', 'C', 'B', 'I'};
  const double lb[] = {0, -7, 0.5, -kInf, 0, 1};
  const double ub[] = {-2, 7, kInf, 1e-7, 1, 1};  // x0: negative upper above a lower bound of 0
  const char* names[] = {"has blank", "", "C1", "BND", "dup", "dup"};
  ASSERT_EQ(TARQ_AddCols(prob_, 6, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
  const int beg[] = {0, 2, 3, 3, 4};
  const int idx[] = {0, 2, 1, 5};
  const double val[] = {1.0 / 3, -2.0 / 3, 7e-20, 1};
  const double lower[] = {-5, -kInf, 0.1, -1e29};
  const double upper[] = {1e-3, kInf, 0.30000000000000004, 3};
  const char* rnames[] = {"OBJ", "free", "tight", "wide"};
  ASSERT_EQ(TARQ_AddRows(prob_, 4, beg, nullptr, idx, val, nullptr, lower, upper, rnames), 0);
  ASSERT_EQ(TARQ_SetObjConst(prob_, -0.7), 0);
  const Snapshot before = Take(prob_);

  const std::string path = Path("awkward.mps");
  ASSERT_EQ(TARQ_WriteMps(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(back, path.c_str()), 0) << ReadText(path);
  Snapshot after = Take(back);
  // Unwritable or repeated names come back as generated ones; every value comes back exactly.
  EXPECT_EQ(after.colNames, (std::vector<std::string>{"C0", "C1_1", "C1", "BND", "dup", "C5"}));
  EXPECT_EQ(after.rowNames, before.rowNames);
  after.colNames = before.colNames;
  EXPECT_EQ(after, before) << ReadText(path);
}

TEST_F(MpsTest, RowWithCrossedBoundsCannotBeWritten) {
  ASSERT_EQ(TARQ_AddRow(prob_, 0, nullptr, nullptr, 0, 3, 1, "crossed"), 0);
  const std::string path = Path("crossed.mps");
  EXPECT_EQ(TARQ_WriteMps(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "crossed", "lower bound above its upper bound");
}

TEST_F(MpsTest, GzipIsRecognisedByContentNotName) {
  BuildSmall(prob_);
  const Snapshot before = Take(prob_);
  const std::string gz = Path("small.mps.gz");
  ASSERT_EQ(TARQ_WriteMps(prob_, gz.c_str()), 0);
  const std::string bytes = ReadText(gz);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x1f);  // compressed because of the name
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x8b);

  const std::string renamed = Write("compressed.mps", bytes);  // gzip data under a plain name
  tarq_prob* a = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(a, renamed.c_str()), 0);
  EXPECT_EQ(Take(a), before);

  ASSERT_EQ(TARQ_WriteMps(prob_, Path("plain.mps").c_str()), 0);
  const std::string plainAsGz = Write("plain.mps.gz", ReadText(Path("plain.mps")));  // plain data, .gz name
  tarq_prob* b = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(b, plainAsGz.c_str()), 0);
  EXPECT_EQ(Take(b), before);
}

TEST_F(MpsTest, RelativeNamesResolveAgainstTheHomeDirectory) {
  tarq_env* home = nullptr;
  ASSERT_EQ(TARQ_CreateEnvWithPath(dir_.c_str(), &home), 0);
  tarq_prob* p = nullptr;
  ASSERT_EQ(TARQ_CreateProb(home, &p), 0);
  TARQ_SetLogCallback(p, &IoTest::Capture, &log_);
  BuildSmall(p);
  EXPECT_EQ(TARQ_WriteMps(p, "relative.mps"), 0);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "relative.mps"));
  EXPECT_EQ(TARQ_ReadMps(prob_, Path("relative.mps").c_str()), 0);
  EXPECT_EQ(Take(prob_), Take(p));
  TARQ_DeleteProb(&p);
  TARQ_DeleteEnv(&home);
}

}  // namespace
}  // namespace iotest
