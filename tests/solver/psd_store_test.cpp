// The semidefinite parts of the problem store through the C interface: what is stored, how
// deletions renumber, copies and clearing, attributes, and malformed calls that change nothing.
#include <cmath>
#include <functional>

#include "common/psd_dump.h"
#include "store_fixture.h"

namespace {

class PsdStoreTest : public StoreTest {
 protected:
  int Mat(int dim, std::vector<int> r, std::vector<int> c, std::vector<double> v) {
    const int idx = PsdAttr(prob_, "SymMats");
    EXPECT_EQ(TARQ_AddSymMat(prob_, dim, static_cast<int>(v.size()), r.data(), c.data(), v.data()), 0);
    return idx;
  }
  // Three scalar columns, two PSD columns (2x2, 3x3), three matrices, one PSD row and one LMI row.
  void BuildSmall() {
    for (int j = 0; j < 3; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 10, nullptr), 0);
    const int dims[2] = {2, 3};
    const char* names[2] = {"X", "Y"};
    ASSERT_EQ(TARQ_AddPSDCols(prob_, 2, dims, names), 0);
    Mat(2, {0, 1}, {0, 1}, {1, 1});     // m0: I2
    Mat(3, {2, 0}, {0, 0}, {0.5, 4});   // m1: (0,0)=4, (2,0)=0.5
    Mat(2, {0}, {1}, {-1});             // m2: (1,0)=-1, given above the diagonal
    const int cols[2] = {0, 2};
    const double vals[2] = {1.5, -2};
    const int psdCols[2] = {1, 0};
    const int mats[2] = {1, 0};
    ASSERT_EQ(TARQ_AddPSDConstr(prob_, 2, cols, vals, 2, psdCols, mats, 'G', 1, 0, "p"), 0);
    const int lcols[2] = {1, 2};
    const int lmats[2] = {0, 2};
    ASSERT_EQ(TARQ_AddLMIConstr(prob_, 2, 2, lcols, lmats, 0, "l"), 0);
  }
};

TEST_F(PsdStoreTest, StoresAndReadsBackEveryKind) {
  BuildSmall();
  EXPECT_EQ(PsdDump(prob_),
            "mat 0 2: (0,0)=1 (1,1)=1\n"
            "mat 1 3: (0,0)=4 (2,0)=0.5\n"
            "mat 2 2: (1,0)=-1\n"
            "psdcol X dim 2 obj -1\n"
            "psdcol Y dim 3 obj -1\n"
            "psdrow p [1,1e+30]: 1.5*x0 -2*x2 <m1,X1> <m0,X0>\n"
            "lmi l dim 2 const 0: x1*m0 x2*m2\n");
  EXPECT_EQ(PsdAttr(prob_, "PSDCols"), 2);
  EXPECT_EQ(PsdAttr(prob_, "PSDConstrs"), 1);
  EXPECT_EQ(PsdAttr(prob_, "LMIConstrs"), 1);
  EXPECT_EQ(PsdAttr(prob_, "PSDElems"), 2);
  EXPECT_EQ(PsdAttr(prob_, "PSDLens"), 5);
  EXPECT_EQ(PsdAttr(prob_, "LMILens"), 2);
  EXPECT_EQ(PsdAttr(prob_, "HasPSDObj"), 0);
  int col = 1, mat = 1;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob_, 1, &col, &mat), 0);
  EXPECT_EQ(PsdAttr(prob_, "HasPSDObj"), 1);
  EXPECT_EQ(PsdAttr(prob_, "PSDElems"), 3);

  // Single elements, names and the generated names of unnamed objects.
  int got = -5;
  ASSERT_EQ(TARQ_GetPSDElem(prob_, 0, 1, &got), 0);
  EXPECT_EQ(got, 1);
  ASSERT_EQ(TARQ_SetLMIElem(prob_, 0, 0, 2), 0);
  ASSERT_EQ(TARQ_GetLMIElem(prob_, 0, 0, &got), 0);
  EXPECT_EQ(got, 2);
  ASSERT_EQ(TARQ_SetLMIElem(prob_, 0, 1, -1), 0);  // removes x1's term
  ASSERT_EQ(TARQ_GetLMIElem(prob_, 0, 1, &got), 0);
  EXPECT_EQ(got, -1);
  ASSERT_EQ(TARQ_AddPSDCol(prob_, 1, nullptr), 0);
  char name[16] = {};
  ASSERT_EQ(TARQ_GetPSDColName(prob_, 2, name, sizeof name, nullptr), 0);
  EXPECT_STREQ(name, "X2");
  ASSERT_EQ(TARQ_GetPSDColIdx(prob_, "Y", &got), 0);
  EXPECT_EQ(got, 1);
  ASSERT_EQ(TARQ_GetLMIConstrIdx(prob_, "l", &got), 0);
  EXPECT_EQ(got, 0);
}

// Deleting scalar columns renumbers the terms of PSD and LMI rows and drops those of deleted
// columns; deleting PSD columns drops their terms and objective.
TEST_F(PsdStoreTest, DeletionsRenumberEveryReference) {
  BuildSmall();
  int col = 1, mat = 1;
  ASSERT_EQ(TARQ_ReplacePSDObj(prob_, 1, &col, &mat), 0);
  const int gone[1] = {1};
  ASSERT_EQ(TARQ_DelCols(prob_, 1, gone), 0);
  EXPECT_NE(PsdDump(prob_).find("psdrow p [1,1e+30]: 1.5*x0 -2*x1 <m1,X1> <m0,X0>\n"), std::string::npos);
  EXPECT_NE(PsdDump(prob_).find("lmi l dim 2 const 0: x1*m2\n"), std::string::npos);
  const int psdGone[1] = {0};
  ASSERT_EQ(TARQ_DelPSDCols(prob_, 1, psdGone), 0);
  EXPECT_EQ(PsdDump(prob_),
            "mat 0 2: (0,0)=1 (1,1)=1\n"
            "mat 1 3: (0,0)=4 (2,0)=0.5\n"
            "mat 2 2: (1,0)=-1\n"
            "psdcol Y dim 3 obj 1\n"
            "psdrow p [1,1e+30]: 1.5*x0 -2*x1 <m1,X0>\n"
            "lmi l dim 2 const 0: x1*m2\n");
  ASSERT_EQ(TARQ_DelPSDConstrs(prob_, 1, psdGone), 0);
  ASSERT_EQ(TARQ_DelLMIConstrs(prob_, 1, psdGone), 0);
  EXPECT_EQ(PsdAttr(prob_, "PSDConstrs"), 0);
  EXPECT_EQ(PsdAttr(prob_, "LMIConstrs"), 0);
  EXPECT_EQ(PsdAttr(prob_, "SymMats"), 3) << "matrices are never deleted";
}

TEST_F(PsdStoreTest, CopyKeepsAndClearDropsEverything) {
  BuildSmall();
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  const std::string before = PsdDump(prob_);
  EXPECT_EQ(PsdDump(copy), before);
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  EXPECT_EQ(PsdDump(prob_), "");
  EXPECT_EQ(PsdDump(copy), before);
  TARQ_DeleteProb(&copy);
}

// One table of malformed calls; each returns 3 and leaves the store as it was.
TEST_F(PsdStoreTest, MalformedCallsAreRejectedAndChangeNothing) {
  BuildSmall();
  const std::string before = PsdDump(prob_) + Dump();
  const int r01[2] = {0, 1}, c10[2] = {1, 0}, r00[2] = {0, 0}, c00[2] = {0, 0}, r3[1] = {3}, c0[1] = {0};
  const double v12[2] = {1, 2}, v11[2] = {1, 1}, nan[1] = {NAN}, big[1] = {1e30};
  const int one = 1, zero = 0, two = 2, minus = -1, seven = 7;
  const int cols2[2] = {0, 0}, mats2[2] = {0, 0};
  const std::vector<std::pair<const char*, std::function<int()>>> cases = {
      {"asymmetric pair", [&] { return TARQ_AddSymMat(prob_, 2, 2, r01, c10, v12); }},
      {"position twice", [&] { return TARQ_AddSymMat(prob_, 2, 2, r00, c00, v11); }},
      {"row out of range", [&] { return TARQ_AddSymMat(prob_, 3, 1, r3, c0, v11); }},
      {"dimension 0", [&] { return TARQ_AddSymMat(prob_, 0, 0, nullptr, nullptr, nullptr); }},
      {"NaN value", [&] { return TARQ_AddSymMat(prob_, 2, 1, c0, c0, nan); }},
      {"infinite value", [&] { return TARQ_AddSymMat(prob_, 2, 1, c0, c0, big); }},
      {"null triplets", [&] { return TARQ_AddSymMat(prob_, 2, 1, nullptr, c0, v11); }},
      {"PSD column of dimension 0", [&] { return TARQ_AddPSDCols(prob_, 2, std::vector<int>{2, 0}.data(), nullptr); }},
      {"PSD term with a matrix of another dimension",
       [&] { return TARQ_AddPSDConstr(prob_, 0, nullptr, nullptr, 1, &zero, &one, 'L', 0, 0, nullptr); }},
      {"PSD column twice in a row",
       [&] { return TARQ_AddPSDConstr(prob_, 0, nullptr, nullptr, 2, cols2, mats2, 'L', 0, 0, nullptr); }},
      {"scalar column out of range",
       [&] { return TARQ_AddPSDConstr(prob_, 1, &seven, v11, 1, &zero, &zero, 'L', 0, 0, nullptr); }},
      {"matrix out of range", [&] { return TARQ_AddPSDConstr(prob_, 0, nullptr, nullptr, 1, &zero, &seven, 'L', 0, 0, nullptr); }},
      {"unknown sense", [&] { return TARQ_AddPSDConstr(prob_, 0, nullptr, nullptr, 1, &zero, &zero, 'X', 0, 0, nullptr); }},
      {"LMI of dimension 0", [&] { return TARQ_AddLMIConstr(prob_, 0, 0, nullptr, nullptr, -1, nullptr); }},
      {"LMI term of another dimension", [&] { return TARQ_AddLMIConstr(prob_, 2, 1, &zero, &one, -1, nullptr); }},
      {"LMI constant of another dimension", [&] { return TARQ_AddLMIConstr(prob_, 3, 1, &zero, &one, 0, nullptr); }},
      {"LMI column twice", [&] { return TARQ_AddLMIConstr(prob_, 2, 2, cols2, mats2, -1, nullptr); }},
      {"LMI rhs of another dimension", [&] { return TARQ_SetLMIConstrRhs(prob_, 1, &zero, &one); }},
      {"PSD element of another dimension", [&] { return TARQ_SetPSDElem(prob_, 0, 0, 1); }},
      {"LMI element of another dimension", [&] { return TARQ_SetLMIElem(prob_, 0, 0, 1); }},
      {"objective matrix of another dimension", [&] { return TARQ_ReplacePSDObj(prob_, 1, &zero, &one); }},
      {"objective column twice", [&] { return TARQ_ReplacePSDObj(prob_, 2, cols2, mats2); }},
      {"delete a PSD column out of range", [&] { return TARQ_DelPSDCols(prob_, 1, &two); }},
      {"delete a PSD row out of range", [&] { return TARQ_DelPSDConstrs(prob_, 1, &minus); }},
      {"PSD row bound NaN", [&] { return TARQ_SetPSDConstrLower(prob_, 1, &zero, nan); }},
      {"matrix read with a short buffer",
       [&] {
         int r[1], c[1], n = 0;
         double v[1];
         return TARQ_GetSymMat(prob_, 0, nullptr, r, c, v, 1, &n);
       }},
      {"solution without a solve", [&] { return TARQ_GetPSDSolution(prob_, nullptr, nullptr); }},
      {"unknown row information", [&] { return TARQ_GetPSDConstrInfo(prob_, "Obj", 1, &zero, std::vector<double>(1).data()); }},
  };
  for (const auto& [what, call] : cases) {
    EXPECT_EQ(call(), TARQ_RETCODE_INVALID) << what;
    EXPECT_EQ(PsdDump(prob_) + Dump(), before) << what;
  }
  EXPECT_EQ(TARQ_AddSymMat(nullptr, 1, 0, nullptr, nullptr, nullptr), TARQ_RETCODE_INVALID);
  // A mirrored pair with equal values is one element.
  const int idx = Mat(2, {0, 1}, {1, 0}, {3, 3});
  EXPECT_EQ(SymMatText(prob_, idx), "2: (1,0)=3");
}

}  // namespace
