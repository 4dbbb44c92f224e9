// The semidefinite sections of the conic benchmark format: what they become in the store (read
// back through the TARQ_* getters), the faults they are refused for, the optima of small SDPs
// read from files, and round trips through the writer.
#include <cmath>
#include <tuple>

#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using tarq_solver::IoError;
using tarq_solver::OutBuffer;
using Elems = std::vector<std::tuple<int, int, double>>;
using Lin = std::vector<std::pair<int, double>>;

// A stored matrix by content: dimension and lower-triangle elements (dim 0: none).
struct Mat {
  int dim = 0;
  Elems elems;
  bool operator==(const Mat&) const = default;
};

Mat GetMat(tarq_prob* prob, int idx) {
  Mat m;
  if (idx < 0) return m;
  int req = 0;
  TARQ_GetSymMat(prob, idx, &m.dim, nullptr, nullptr, nullptr, 0, &req);
  std::vector<int> r(static_cast<size_t>(req)), c(static_cast<size_t>(req));
  std::vector<double> v(static_cast<size_t>(req));
  EXPECT_EQ(TARQ_GetSymMat(prob, idx, &m.dim, r.data(), c.data(), v.data(), req, &req), 0);
  for (int k = 0; k < req; ++k) m.elems.emplace_back(r[k], c[k], v[k]);
  return m;
}

using Terms = std::vector<std::pair<int, Mat>>;

// Every semidefinite part of a problem with the matrices resolved to their contents, so problems
// that number their matrices differently compare equal when they state the same thing.
struct PsdSnapshot {
  std::vector<int> colDims;
  std::vector<Mat> obj;
  std::vector<double> rowLower, rowUpper;
  std::vector<Lin> rowLin;
  std::vector<Terms> rowPsd;
  std::vector<int> lmiDim;
  std::vector<Terms> lmiTerms;
  std::vector<Mat> lmiConst;
  bool operator==(const PsdSnapshot&) const = default;
};

int IntAttr(tarq_prob* prob, const char* name) {
  int v = -1;
  EXPECT_EQ(TARQ_GetIntAttr(prob, name, &v), 0) << name;
  return v;
}

PsdSnapshot TakePsd(tarq_prob* prob) {
  PsdSnapshot s;
  const int nCols = IntAttr(prob, "PSDCols");
  s.colDims.resize(static_cast<size_t>(nCols));
  std::vector<int> objMats(static_cast<size_t>(nCols));
  if (nCols > 0) {
    EXPECT_EQ(TARQ_GetPSDCols(prob, nCols, nullptr, s.colDims.data()), 0);
    EXPECT_EQ(TARQ_GetPSDObj(prob, objMats.data()), 0);
  }
  for (int m : objMats) s.obj.push_back(GetMat(prob, m));
  const int nRows = IntAttr(prob, "PSDConstrs");
  s.rowLower.resize(static_cast<size_t>(nRows));
  s.rowUpper.resize(static_cast<size_t>(nRows));
  if (nRows > 0) {
    EXPECT_EQ(TARQ_GetPSDConstrInfo(prob, "LB", nRows, nullptr, s.rowLower.data()), 0);
    EXPECT_EQ(TARQ_GetPSDConstrInfo(prob, "UB", nRows, nullptr, s.rowUpper.data()), 0);
  }
  for (int r = 0; r < nRows; ++r) {
    int linReq = 0, psdReq = 0;
    EXPECT_EQ(TARQ_GetPSDConstr(prob, r, nullptr, nullptr, 0, &linReq, nullptr, nullptr, 0, &psdReq), 0);
    std::vector<int> cols(static_cast<size_t>(linReq)), psdCols(static_cast<size_t>(psdReq)), mats(psdCols.size());
    std::vector<double> vals(cols.size());
    EXPECT_EQ(TARQ_GetPSDConstr(prob, r, cols.data(), vals.data(), linReq, &linReq, psdCols.data(), mats.data(), psdReq,
                                &psdReq),
              0);
    Lin lin;
    for (int k = 0; k < linReq; ++k) lin.emplace_back(cols[k], vals[k]);
    std::sort(lin.begin(), lin.end());
    Terms terms;
    for (int k = 0; k < psdReq; ++k) terms.emplace_back(psdCols[k], GetMat(prob, mats[k]));
    std::sort(terms.begin(), terms.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    s.rowLin.push_back(std::move(lin));
    s.rowPsd.push_back(std::move(terms));
  }
  const int nLmis = IntAttr(prob, "LMIConstrs");
  for (int r = 0; r < nLmis; ++r) {
    int dim = 0, req = 0, constMat = -1;
    EXPECT_EQ(TARQ_GetLMIConstr(prob, r, &dim, nullptr, nullptr, 0, &req, &constMat), 0);
    std::vector<int> cols(static_cast<size_t>(req)), mats(cols.size());
    EXPECT_EQ(TARQ_GetLMIConstr(prob, r, &dim, cols.data(), mats.data(), req, &req, &constMat), 0);
    Terms terms;
    for (int k = 0; k < req; ++k) terms.emplace_back(cols[k], GetMat(prob, mats[k]));
    std::sort(terms.begin(), terms.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    s.lmiDim.push_back(dim);
    s.lmiTerms.push_back(std::move(terms));
    s.lmiConst.push_back(GetMat(prob, constMat));
  }
  return s;
}

using CbfPsdTest = IoTest;

// Two PSD variables X0 (2 x 2) and X1 (3 x 3), three variables x0, x1 free and x2 >= 0, two PSD
// constraints (2 x 2 and 1 x 1) and three rows:
//   0 (L=): x2 + <I, X0> - 1                  -> PSD row, 1 <= . <= 1
//   1 (L=): x0                                 -> linear row x0 = 0
//   2 (L-): -2 x1 + <F, X0> + <G, X1> + 4      -> PSD row, . <= -4
// PSD constraint 0: x0 E00 + x1 E11 + [[-1, 1], [1, 0]], PSD constraint 1: 2 x1.
const char* const kAllSections =
    "VER\n2\nOBJSENSE\nMIN\n"
    "PSDVAR\n2\n2\n3\n"
    "VAR\n3 2\nF 2\nL+ 1\n"
    "PSDCON\n2\n2\n1\n"
    "CON\n3 2\nL= 2\nL- 1\n"
    "OBJFCOORD\n3\n0 0 0 1\n0 1 0 2\n1 2 2 -1\n"
    "OBJACOORD\n1\n2 1\n"
    "FCOORD\n4\n0 0 0 0 1\n0 0 1 1 1\n2 1 2 0 0.5\n2 0 1 0 3\n"
    "ACOORD\n3\n0 2 1\n1 0 1\n2 1 -2\n"
    "BCOORD\n2\n0 -1\n2 4\n"
    "HCOORD\n3\n0 0 0 0 1\n0 1 1 1 1\n1 1 0 0 2\n"
    "DCOORD\n2\n0 1 0 1\n0 0 0 -1\n";

TEST_F(CbfPsdTest, SemidefiniteSectionsBecomePsdColumnsRowsLmiRowsAndObjective) {
  ASSERT_EQ(TARQ_ReadCbf(prob_, Write("all.cbf", kAllSections).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const PsdSnapshot s = TakePsd(prob_);
  EXPECT_EQ(s.colDims, (std::vector<int>{2, 3}));
  EXPECT_EQ(s.obj, (std::vector<Mat>{{2, {{0, 0, 1}, {1, 0, 2}}}, {3, {{2, 2, -1}}}}));
  // Rows 0 and 2 hold matrix terms and become PSD rows; row 1 stays linear.
  EXPECT_EQ(s.rowLower, (std::vector<double>{1, -kInf}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{1, -4}));
  EXPECT_EQ(s.rowLin, (std::vector<Lin>{{{2, 1}}, {{1, -2}}}));
  EXPECT_EQ(s.rowPsd, (std::vector<Terms>{{{0, {2, {{0, 0, 1}, {1, 1, 1}}}}},
                                          {{0, {2, {{1, 0, 3}}}}, {1, {3, {{2, 0, 0.5}}}}}}));
  EXPECT_EQ(s.lmiDim, (std::vector<int>{2, 1}));
  EXPECT_EQ(s.lmiTerms, (std::vector<Terms>{{{0, {2, {{0, 0, 1}}}}, {1, {2, {{1, 1, 1}}}}}, {{1, {1, {{0, 0, 2}}}}}}));
  EXPECT_EQ(s.lmiConst, (std::vector<Mat>{{2, {{0, 0, -1}, {1, 0, 1}}}, {}}));
  // Matrices: two objective ones, three of the PSD rows, three terms and one constant.
  EXPECT_EQ(IntAttr(prob_, "SymMats"), 9);
  std::vector<int> objMats(2);
  ASSERT_EQ(TARQ_GetPSDObj(prob_, objMats.data()), 0);
  EXPECT_EQ(objMats, (std::vector<int>{0, 1}));
  // The scalar part: three columns, one linear row.
  const Snapshot lin = Take(prob_);
  EXPECT_EQ(lin.obj, (std::vector<double>{0, 0, 1}));
  EXPECT_EQ(lin.colLower, (std::vector<double>{-kInf, -kInf, 0}));
  EXPECT_EQ(lin.rowLower, (std::vector<double>{0}));
  EXPECT_EQ(lin.rowUpper, (std::vector<double>{0}));
  EXPECT_EQ(lin.cols[0], (Lin{{0, 1}}));
  EXPECT_EQ(lin.cols[1], Lin{});
}

TEST_F(CbfPsdTest, PsdRowInAConeDomainGetsItsOwnConeColumn) {
  // Row 0 is x0 itself; row 1, <I, X> (a matrix term), becomes the PSD row <I, X> - s = 0 with a
  // new column s as the cone's second member.
  const std::string text =
      "VER\n1\nPSDVAR\n1\n2\nVAR\n1 1\nF 1\nCON\n2 1\nQ 2\nFCOORD\n2\n1 0 0 0 1\n1 0 1 1 1\nACOORD\n1\n0 0 1\n";
  ASSERT_EQ(TARQ_ReadCbf(prob_, Write("cone.cbf", text).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const Snapshot lin = Take(prob_);
  EXPECT_EQ(lin.obj.size(), 2u);
  EXPECT_TRUE(lin.rowLower.empty());
  EXPECT_EQ(lin.coneCol, (std::vector<int>{0, 1}));
  const PsdSnapshot s = TakePsd(prob_);
  EXPECT_EQ(s.rowLin, (std::vector<Lin>{{{1, -1}}}));
  EXPECT_EQ(s.rowLower, (std::vector<double>{0}));
  EXPECT_EQ(s.rowUpper, (std::vector<double>{0}));
  EXPECT_EQ(s.rowPsd, (std::vector<Terms>{{{0, {2, {{0, 0, 1}, {1, 1, 1}}}}}}));
}

// Each malformed file: code 3, one log line with the file, the line and the fault, and the
// problem (with semidefinite parts of its own) as it was.
TEST_F(CbfPsdTest, MalformedSemidefiniteSectionsAreRefusedWithTheirLine) {
  // Lines 1-14; the next section starts on line 15, its first entry is on line 17.
  const std::string head = "VER\n2\nPSDVAR\n1\n2\nVAR\n1 1\nF 1\nPSDCON\n1\n2\nCON\n1 1\nL+ 1\n";
  struct Case {
    std::string text;
    const char* where;
    const char* fault;
  };
  const Case cases[] = {
      {"VER\n1\nPSDVAR\n2\n2\n", "line 5", "the file ends within the PSDVAR section"},
      {"VER\n1\nPSDVAR\n-1\n", "line 4", "PSDVAR: invalid count \"-1\""},
      {"VER\n2\nPSDCON\n1\n2.5\n", "line 5", "PSDCON: invalid dimension \"2.5\" (at least 1)"},
      {"VER\n2\nPSDCON\n2\n2\nCON\n", "line 6", "PSDCON: invalid dimension \"CON\""},
      {head + "PSDVAR\n0\n", "line 15", "a second PSDVAR section"},
      {"VER\n1\nVAR\n1 1\nF 1\nCON\n1 1\nL+ 1\nFCOORD\n0\n", "line 9",
       "the FCOORD section needs a PSDVAR section before it"},
      {"VER\n1\nOBJFCOORD\n0\n", "line 3", "the OBJFCOORD section needs a PSDVAR section before it"},
      {"VER\n1\nDCOORD\n0\n", "line 3", "the DCOORD section needs a PSDCON section before it"},
      {head + "FCOORD\n1\n1 0 0 0 1\n", "line 17", "row index 1 out of range 0..0"},
      {head + "FCOORD\n1\n0 1 0 0 1\n", "line 17", "PSD variable index 1 out of range 0..0"},
      {head + "FCOORD\n1\n0 0 a 0 1\n", "line 17", "FCOORD: invalid matrix position (a, 0)"},
      {head + "FCOORD\n2\n0 0 0 0 1\n", "line 17", "the file ends within the FCOORD section"},
      {head + "OBJFCOORD\n1\n0 0 1 1\n", "line 17", "OBJFCOORD: position (0, 1) lies above the diagonal"},
      {head + "HCOORD\n1\n0 0 2 0 1\n", "line 17", "HCOORD: position (2, 0) outside the matrix of dimension 2"},
      {head + "HCOORD\n1\n0 0 -1 -1 1\n", "line 17", "HCOORD: position (-1, -1) outside the matrix of dimension 2"},
      {head + "HCOORD\n1\n0 1 0 0 1\n", "line 17", "variable index 1 out of range 0..0"},
      {head + "HCOORD\n1\n1 0 0 0 1\n", "line 17", "PSD constraint index 1 out of range 0..0"},
      {head + "DCOORD\n1\n0 1 0\n", "line 17",
       "DCOORD: expected a PSD constraint index, a position and a value, found \"0 1 0\""},
      {head + "DCOORD\n1\n0 1 0 nan\n", "line 17", "invalid value \"nan\""},
      {head + "DCOORD\n2\n0 1 0 1\n0 1 0 2\n", "line 18",
       "DCOORD: position (1, 0) of this matrix given twice (also on line 17)"},
      {head + "FCOORD\n3\n0 0 1 0 1\n0 0 0 0 1\n0 0 1 0 1\n", "line 19",
       "FCOORD: position (1, 0) of this matrix given twice"},
      {"VER\n1\nPSDVAR\n1\n1\nVAR\n1 1\nF 1\nCON\n2 1\nL+ 2\nFCOORD\n1\n0 0 0 0 1\nACOORD\n2\n0 0 1\n0 0 2\n",
       "line 18",
       "ACOORD: entry of variable 0 in this row given twice"},
  };
  BuildSmall(prob_);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 3, "Y"), 0);
  const int r[] = {0, 1}, c[] = {0, 1};
  const double v[] = {1, 1};
  ASSERT_EQ(TARQ_AddSymMat(prob_, 2, 2, r, c, v), 0);
  const int col = 0, mat = 0;
  ASSERT_EQ(TARQ_AddLMIConstr(prob_, 2, 1, &col, &mat, -1, "lmi"), 0);
  const Snapshot before = Take(prob_);
  const PsdSnapshot psdBefore = TakePsd(prob_);
  int n = 0;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    log_.clear();
    const std::string path = Write("bad" + std::to_string(n++) + ".cbf", k.text);
    EXPECT_EQ(TARQ_ReadCbf(prob_, path.c_str()), 3);
    EXPECT_LOGGED(log_, "\"" + path + "\"", k.where, k.fault);
    EXPECT_EQ(Take(prob_), before);
    EXPECT_EQ(TakePsd(prob_), psdBefore);
    EXPECT_EQ(IntAttr(prob_, "SymMats"), 1);
  }
}

// min <C, X> + x s.t. <I, X> + x = 1, X psd, x >= 0, with C = [[1, 2], [2, 3]]: the smallest
// eigenvalue of C, 2 - sqrt(5) (x = 0). An off-diagonal entry counted once instead of for both
// positions would give the eigenvalue of [[1, 1], [1, 3]], 2 - sqrt(2).
const char* const kPsdVarProblem =
    "VER\n1\nOBJSENSE\nMIN\nPSDVAR\n1\n2\nVAR\n1 1\nL+ 1\nCON\n1 1\nL= 1\n"
    "OBJFCOORD\n3\n0 0 0 1\n0 1 0 2\n0 1 1 3\nOBJACOORD\n1\n0 1\n"
    "FCOORD\n2\n0 0 0 0 1\n0 0 1 1 1\nACOORD\n1\n0 0 1\nBCOORD\n1\n0 -1\n";

// min x0 + x1 s.t. [[x0 - 1, 1], [1, x1]] psd: (x0 - 1) x1 >= 1, so x0 - 1 = x1 = 1 and the
// optimum is 3. A constant read with the wrong sign would give 1.
const char* const kLmiProblem =
    "VER\n2\nOBJSENSE\nMIN\nVAR\n2 1\nF 2\nPSDCON\n1\n2\nOBJACOORD\n2\n0 1\n1 1\n"
    "HCOORD\n2\n0 0 0 0 1\n0 1 1 1 1\nDCOORD\n2\n0 0 0 -1\n0 1 0 1\n";

TEST_F(CbfPsdTest, SmallSdpsSolveToTheirKnownOptima) {
  ASSERT_EQ(TARQ_ReadCbf(prob_, Write("var.cbf", kPsdVarProblem).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_NEAR(SolveForObjective(prob_), 2 - std::sqrt(5.0), 1e-6);
  tarq_prob* lmi = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(lmi, Write("lmi.cbf", kLmiProblem).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_NEAR(SolveForObjective(lmi), 3, 1e-6);
  double x[2] = {0, 0};
  ASSERT_EQ(TARQ_GetLpSolution(lmi, x, nullptr, nullptr, nullptr), 0);
  EXPECT_NEAR(x[0], 2, 1e-4);
  EXPECT_NEAR(x[1], 1, 1e-4);
}

// Both problems above in one, built through the C interface with a linear row besides:
// x0, x1 free, x2 >= 0, X 2 x 2; min x0 + x1 + x2 + <C, X>; x0 - x1 <= 10;
// x2 + <I, X> = 1; x0 E00 + x1 E11 + [[-1, 1], [1, 0]] psd. Optimum 3 + 2 - sqrt(5).
void BuildSdp(tarq_prob* prob) {
  const double obj[] = {1, 1, 1};
  const double lb[] = {-kInf, -kInf, 0};
  const double ub[] = {kInf, kInf, kInf};
  ASSERT_EQ(TARQ_AddCols(prob, 3, obj, nullptr, nullptr, nullptr, nullptr, nullptr, lb, ub, nullptr), 0);
  const int beg[] = {0, 2};
  const int idx[] = {0, 1};
  const double val[] = {1, -1};
  const double rlo = -kInf, rup = 10;
  ASSERT_EQ(TARQ_AddRows(prob, 1, beg, nullptr, idx, val, nullptr, &rlo, &rup, nullptr), 0);
  ASSERT_EQ(TARQ_AddPSDCol(prob, 2, "X"), 0);
  auto addMat = [&](std::vector<int> r, std::vector<int> c, std::vector<double> v) {
    ASSERT_EQ(TARQ_AddSymMat(prob, 2, static_cast<int>(v.size()), r.data(), c.data(), v.data()), 0);
  };
  addMat({0, 0, 1}, {0, 1, 1}, {1, 2, 3});  // 0: C, given in the upper triangle
  addMat({0, 1}, {0, 1}, {1, 1});           // 1: I
  addMat({0}, {0}, {1});                    // 2: E00
  addMat({1}, {1}, {1});                    // 3: E11
  addMat({0, 1}, {0, 0}, {-1, 1});          // 4: the constant
  addMat({0}, {0}, {7});                    // 5: referred to by nothing
  const int psdCol = 0, objMat = 0, iMat = 1, x2 = 2;
  const double one = 1;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob, 1, &psdCol, &objMat), 0);
  ASSERT_EQ(TARQ_AddPSDConstr(prob, 1, &x2, &one, 1, &psdCol, &iMat, 'E', 1, 0, "trace"), 0);
  const int lmiCols[] = {0, 1}, lmiMats[] = {2, 3};
  ASSERT_EQ(TARQ_AddLMIConstr(prob, 2, 2, lmiCols, lmiMats, 4, "lmi"), 0);
}

TEST_F(CbfPsdTest, WriterWritesEverySemidefiniteSection) {
  BuildSdp(prob_);
  OutBuffer out;
  IoError err;
  ASSERT_EQ(tarq_solver::WriteCbf(prob_->problem, out, err), 0) << err.what;
  EXPECT_EQ(out.Text(),
            "# written by tarq\nVER\n2\n\nOBJSENSE\nMIN\n\n"
            "PSDVAR\n1\n2\n\n"
            "VAR\n3 2\nF 2\nL+ 1\n\n"
            "PSDCON\n1\n2\n\n"
            "CON\n2 2\nL- 1\nL= 1\n\n"
            "OBJFCOORD\n3\n0 0 0 1\n0 1 0 2\n0 1 1 3\n\n"
            "OBJACOORD\n3\n0 1\n1 1\n2 1\n\n"
            "FCOORD\n2\n1 0 0 0 1\n1 0 1 1 1\n\n"
            "ACOORD\n3\n0 0 1\n0 1 -1\n1 2 1\n\n"
            "BCOORD\n2\n0 -10\n1 -1\n\n"
            "HCOORD\n2\n0 0 0 0 1\n0 1 1 1 1\n\n"
            "DCOORD\n2\n0 0 0 -1\n0 1 0 1\n");
}

TEST_F(CbfPsdTest, WrittenFileReadsBackToTheSameProblemAndOptimum) {
  BuildSdp(prob_);
  const std::string path = Path("sdp.cbf");
  ASSERT_EQ(TARQ_WriteCbf(prob_, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(TakePsd(back), TakePsd(prob_));
  EXPECT_EQ(Take(back), Take(prob_));
  // The matrix nothing refers to is not written.
  EXPECT_EQ(IntAttr(back, "SymMats"), 5);
  const double expected = 5 - std::sqrt(5.0);
  EXPECT_NEAR(SolveForObjective(prob_), expected, 1e-6);
  EXPECT_NEAR(SolveForObjective(back), expected, 1e-6);

  // The file of all sections, written and read again: the same parts.
  tarq_prob* all = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(all, Write("all.cbf", kAllSections).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  ASSERT_EQ(TARQ_WriteCbf(all, Path("all2.cbf").c_str()), 0) << (log_.empty() ? "" : log_[0]);
  tarq_prob* again = NewProblem();
  ASSERT_EQ(TARQ_ReadCbf(again, Path("all2.cbf").c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(TakePsd(again), TakePsd(all));
  EXPECT_EQ(Take(again), Take(all));
}

TEST_F(CbfPsdTest, WriterStillRefusesQuadraticPartsBesideSemidefiniteOnes) {
  BuildSdp(prob_);
  const int qi[] = {0};
  const double qv[] = {1};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, qi, qi, qv), 0);
  const std::string path = Path("q.cbf");
  EXPECT_EQ(TARQ_WriteCbf(prob_, path.c_str()), 3);
  EXPECT_LOGGED(log_, "quadratic objectives and quadratic rows cannot be written in the CBF format");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace iotest
