// SOS sets, indicator rows and cones in MPS files: written and read back unchanged (compared
// field by field through the store), the form on the page, the CoinUtils sample files with SOS
// and CSECTION sections, and what the writer refuses.
#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using SosConeKindsFileTest = IoTest;

// Columns x, y (continuous, [0, 10]), b1, b2 (binary), c0..c3 (free); a row r0: x + y <= 12;
// SOS1 {x:1, y:2}, SOS2 {c0:3, c1:1.5, c2:-2}; indicators "onx": b1 = 1 -> x - y <= 3 and
// "off": b2 = 0 -> 2 x + y >= 4.5, and an unnamed one b1 = 0 -> y = 0; a quadratic cone
// (c0, c1, c2) and a rotated cone (c3, x, y).
void BuildSosCone(tarq_prob* prob) {
  const char types[] = {'C', 'C', 'B', 'B', 'C', 'C', 'C', 'C'};
  const double lb[] = {0, 0, 0, 0, -kInf, -kInf, -kInf, -kInf};
  const double ub[] = {10, 10, 1, 1, kInf, kInf, kInf, kInf};
  const double obj[] = {1, 2, 0, 0, 0, 0, 0, 1};
  const char* names[] = {"x", "y", "b1", "b2", "c0", "c1", "c2", "c3"};
  ASSERT_EQ(TARQ_AddCols(prob, 8, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
  const int rbeg[] = {0, 2};
  const int ridx[] = {0, 1};
  const double rval[] = {1, 1};
  const double rlo[] = {-kInf};
  const double rup[] = {12};
  const char* rname[] = {"r0"};
  ASSERT_EQ(TARQ_AddRows(prob, 1, rbeg, nullptr, ridx, rval, nullptr, rlo, rup, rname), 0);
  const int sosTypes[] = {TARQ_SOS_TYPE1, TARQ_SOS_TYPE2};
  const int sosBeg[] = {0, 2, 5};
  const int sosIdx[] = {0, 1, 4, 5, 6};
  const double sosW[] = {1, 2, 3, 1.5, -2};
  ASSERT_EQ(TARQ_AddSOSs(prob, 2, sosTypes, sosBeg, nullptr, sosIdx, sosW), 0);
  const int indBin[] = {2, 3, 2};
  const int indVal[] = {1, 0, 0};
  const int indBeg[] = {0, 2, 4, 5};
  const int indIdx[] = {0, 1, 0, 1, 1};
  const double indCoef[] = {1, -1, 2, 1, 1};
  const char indSense[] = {'L', 'G', 'E'};
  const double indBound[] = {3, 4.5, 0};
  const char* indNames[] = {"onx", "off", nullptr};
  ASSERT_EQ(TARQ_AddIndicators(prob, 3, nullptr, indBin, indVal, indBeg, nullptr, indIdx, indCoef, indSense, indBound,
                               indNames),
            0);
  const int coneTypes[] = {TARQ_CONE_QUAD, TARQ_CONE_RQUAD};
  const int coneBeg[] = {0, 3, 6};
  const int coneIdx[] = {4, 5, 6, 7, 0, 1};
  ASSERT_EQ(TARQ_AddCones(prob, 2, coneTypes, coneBeg, nullptr, coneIdx), 0);
}

TEST_F(SosConeKindsFileTest, MpsRoundTripKeepsSetsIndicatorsAndCones) {
  BuildSosCone(prob_);
  const std::string path = Path("sosCones.mps");
  ASSERT_EQ(TARQ_WriteMps(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const std::string text = ReadText(path);
  EXPECT_NE(text.find("SOS\n S1 SOS s0\n    x:1\n    y:2\n S2 SOS s1\n    c0:3\n    c1:1.5\n    c2:-2\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("INDICATORS\n IF onx b1 1\n IF off b2 0\n IF G2 b1 0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("CSECTION   K0 0 QUAD\n    c0\n    c1\n    c2\nCSECTION   K1 0 RQUAD\n    c3\n    x\n    y\n"),
            std::string::npos)
      << text;
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot a = Take(prob_), b = Take(back);
  EXPECT_EQ(b, a);
  // The getters report what was added.
  int size = 0;
  ASSERT_EQ(TARQ_GetIndicators(back, 3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, 0, &size),
            0);
  EXPECT_EQ(size, 5);
  std::vector<int> bin(3), val(3), beg(3), cnt(3), idx(5);
  std::vector<double> coef(5), bound(3);
  std::vector<char> sense(3);
  ASSERT_EQ(TARQ_GetIndicators(back, 3, nullptr, nullptr, bin.data(), val.data(), sense.data(), bound.data(), beg.data(),
                               cnt.data(), idx.data(), coef.data(), 5, &size),
            0);
  EXPECT_EQ(bin, (std::vector<int>{2, 3, 2}));
  EXPECT_EQ(val, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(sense, (std::vector<char>{'L', 'G', 'E'}));
  EXPECT_EQ(bound, (std::vector<double>{3, 4.5, 0}));
  EXPECT_EQ(coef, (std::vector<double>{1, -1, 2, 1, 1}));
  int rows = 0;
  ASSERT_EQ(TARQ_GetIntAttr(back, "Rows", &rows), 0);
  EXPECT_EQ(rows, 1);  // the indicator rows are not linear rows
}

TEST_F(SosConeKindsFileTest, MpsWriterRefusesExponentialCones) {
  BuildSosCone(prob_);
  const int type = TARQ_EXPCONE_PRIMAL;
  const int idx[] = {4, 5, 6};
  ASSERT_EQ(TARQ_AddExpCones(prob_, 1, &type, idx), 0);
  const std::string path = Path("exp.mps");
  EXPECT_EQ(TARQ_WriteMps(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, "\"" + path + "\"", "the MPS format cannot hold exponential cones");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SosConeKindsFileTest, LpRoundTripKeepsSetsAndIndicators) {
  BuildSosCone(prob_);
  const int del[] = {0, 1};
  ASSERT_EQ(TARQ_DelCones(prob_, 2, del), 0);
  const std::string path = Path("sosCones.lp");
  ASSERT_EQ(TARQ_WriteLp(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const std::string text = ReadText(path);
  EXPECT_NE(text.find(" onx: b1 = 1 -> x - y <= 3\n off: b2 = 0 -> 2 x + y >= 4.5\n G2: b1 = 0 -> y = 0\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("SOS\n s0: S1:: x:1 y:2\n s1: S2:: c0:3 c1:1.5 c2:-2\nEnd\n"), std::string::npos) << text;
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(back), Take(prob_));
}

TEST_F(SosConeKindsFileTest, LpReadsSetsAndIndicatorsInEveryForm) {
  const std::string good = Write("good.lp",
                                 "Maximize\n obj: x + y + z\nSubject To\n"
                                 " c: x + y + z <= 10\n"
                                 " b = 0 -> x + 2 y >= 1\n"
                                 " ind: b = 1 -> z + 1 = 3\n"
                                 "Bounds\n x <= 4\nBinaries\n b\nSOS\n S2:: x:1 y:2 z:3\n set: S1:: y:-1 z:5\nEnd\n");
  ASSERT_EQ(TARQ_ReadLp(prob_, good.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot s = Take(prob_);
  ASSERT_EQ(s.colNames, (std::vector<std::string>{"x", "y", "z", "b"}));
  EXPECT_EQ(s.rowNames, (std::vector<std::string>{"c"}));
  EXPECT_EQ(s.indBinCol, (std::vector<int>{3, 3}));
  EXPECT_EQ(s.indBinVal, (std::vector<int>{0, 1}));
  EXPECT_EQ(s.indSense, (std::vector<char>{'G', 'E'}));
  EXPECT_EQ(s.indBound, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.indCol, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(s.indVal, (std::vector<double>{1, 2, 1}));
  EXPECT_EQ(s.indNames, (std::vector<std::string>{"G0", "ind"}));
  EXPECT_EQ(s.sosType, (std::vector<int>{TARQ_SOS_TYPE2, TARQ_SOS_TYPE1}));
  EXPECT_EQ(s.sosBegin, (std::vector<std::int64_t>{0, 3, 5}));
  EXPECT_EQ(s.sosCol, (std::vector<int>{0, 1, 2, 1, 2}));
  EXPECT_EQ(s.sosWeight, (std::vector<double>{1, 2, 3, -1, 5}));
}

TEST_F(SosConeKindsFileTest, LpWriterRefusesCones) {
  BuildSosCone(prob_);
  const std::string path = Path("cones.lp");
  EXPECT_EQ(TARQ_WriteLp(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, "\"" + path + "\"", "the LP format cannot hold cones");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// maximise x + 2 y + 3 z + w - 9 b + p1 + p3 with x, y, z, p1, p2, p3 in [0, 1], w in [0, 10], b
// binary; SOS1 {x, y, z}, SOS2 {p1, p2, p3}; b = 0 -> w <= 2. Optimum 3 + 2 + 1 = 6 (z = 1,
// b = 0, w = 2, one of p1 and p3); without the sets and the indicator it would be 16.
void BuildSmallMip(tarq_prob* prob) {
  const char types[] = {'C', 'C', 'C', 'C', 'B', 'C', 'C', 'C'};
  const double lb[] = {0, 0, 0, 0, 0, 0, 0, 0};
  const double ub[] = {1, 1, 1, 10, 1, 1, 1, 1};
  const double obj[] = {1, 2, 3, 1, -9, 1, 0, 1};
  const char* names[] = {"x", "y", "z", "w", "b", "p1", "p2", "p3"};
  ASSERT_EQ(TARQ_AddCols(prob, 8, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
  ASSERT_EQ(TARQ_SetObjSense(prob, TARQ_MAXIMIZE), 0);
  const int sosTypes[] = {TARQ_SOS_TYPE1, TARQ_SOS_TYPE2};
  const int sosBeg[] = {0, 3, 6};
  const int sosIdx[] = {0, 1, 2, 5, 6, 7};
  const double sosW[] = {1, 2, 3, 1, 2, 3};
  ASSERT_EQ(TARQ_AddSOSs(prob, 2, sosTypes, sosBeg, nullptr, sosIdx, sosW), 0);
  const int bin = 4, val = 0, beg[] = {0, 1}, idx[] = {3};
  const double coef[] = {1}, bound[] = {2};
  const char sense[] = {'L'};
  ASSERT_EQ(TARQ_AddIndicators(prob, 1, nullptr, &bin, &val, beg, nullptr, idx, coef, sense, bound, nullptr), 0);
}

TEST_F(SosConeKindsFileTest, SmallMipKeepsItsOptimumThroughMpsAndLp) {
  BuildSmallMip(prob_);
  EXPECT_NEAR(SolveForObjective(prob_, "MipStatus", "BestObj"), 6, 1e-6);
  struct Format {
    const char* file;
    int (*write)(tarq_prob*, const char*);
    int (*read)(tarq_prob*, const char*);
  };
  for (const Format& f : {Format{"mip.mps", TARQ_WriteMps, TARQ_ReadMps}, Format{"mip.lp", TARQ_WriteLp, TARQ_ReadLp}}) {
    SCOPED_TRACE(f.file);
    const std::string path = Path(f.file);
    ASSERT_EQ(f.write(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_.back());
    tarq_prob* back = NewProblem();
    ASSERT_EQ(f.read(back, path.c_str()), 0) << (log_.empty() ? "" : log_.back());
    EXPECT_EQ(Take(back).sosCol, Take(prob_).sosCol);
    EXPECT_NEAR(SolveForObjective(back, "MipStatus", "BestObj"), 6, 1e-6);
  }
}

TEST_F(SosConeKindsFileTest, FormatsWithoutSosConeConstraintsRefuseThem) {
  BuildSmallMip(prob_);
  struct Writer {
    const char* file;
    int (*write)(tarq_prob*, const char*);
    const char* fault;
  };
  const Writer writers[] = {
      {"w.dat-s", TARQ_WriteSDPA, "SOS constraints, indicator rows and cones cannot be written in the SDPA format"},
      {"w.nl", TARQ_WriteNL, "the .nl format cannot hold SOS constraints, indicator rows or cones"},
      {"w.cbf", TARQ_WriteCbf, "SOS constraints cannot be written in the CBF format"},
  };
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.file);
    log_.clear();
    const std::string path = Path(w.file);
    EXPECT_EQ(w.write(prob_, path.c_str()), 3);
    EXPECT_LOGGED(log_, "\"" + path + "\"", w.fault);
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

// CoinUtils' sample files state SOS sets with and without weights and two cones.
TEST_F(SosConeKindsFileTest, CoinSampleSetsAndConesAreRead) {
  for (const char* file : {"/usr/share/coin/Data/Sample/conic.mps", "/usr/share/coin/Data/Sample/spec_sections.mps"}) {
    SCOPED_TRACE(file);
    if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " not found";
    tarq_prob* p = NewProblem();
    ASSERT_EQ(TARQ_ReadMps(p, file), 0) << (log_.empty() ? "" : log_.back());
    const Snapshot s = Take(p);
    auto col = [&](const std::string& name) {
      return static_cast<int>(std::find(s.colNames.begin(), s.colNames.end(), name) - s.colNames.begin());
    };
    EXPECT_EQ(s.sosType, (std::vector<int>{TARQ_SOS_TYPE1, TARQ_SOS_TYPE2}));
    EXPECT_EQ(s.sosCol, (std::vector<int>{col("x2"), col("x3"), col("x4"), col("x5")}));
    EXPECT_EQ(s.sosWeight, (std::vector<double>{1, 2, 20, 40}));
    EXPECT_EQ(s.coneType, (std::vector<int>{TARQ_CONE_QUAD, TARQ_CONE_RQUAD}));
    EXPECT_EQ(s.coneCol, (std::vector<int>{col("x8"), col("x9"), col("x10"), col("x11"), col("x12"), col("x13"), col("x14")}));
    EXPECT_FALSE(s.qObjVal.empty());
    // Written and read back: the same problem.
    const std::string path = Path("sample.mps");
    ASSERT_EQ(TARQ_WriteMps(p, path.c_str()), 0);
    tarq_prob* back = NewProblem();
    ASSERT_EQ(TARQ_ReadMps(back, path.c_str()), 0) << (log_.empty() ? "" : log_.back());
    EXPECT_EQ(Take(back), s);
  }
}

}  // namespace
}  // namespace iotest
