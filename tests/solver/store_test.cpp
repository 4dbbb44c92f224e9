#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "store_fixture.h"

namespace {

constexpr double kInf = TARQ_INFINITY;

// x0, x1, x2 with rows  r0: x0 + 2 x1 <= 4,  r1: 3 x1 - x2 >= 1,  r2: x0 + x2 = 2.
void BuildSmall(tarq_prob* prob) {
  const double obj[] = {1, 2, 3};
  const char types[] = {'C', 'I', 'B'};
  const double lb[] = {0, -1, 0};
  const double ub[] = {10, kInf, 1};
  const char* names[] = {"x0", "x1", "x2"};
  ASSERT_EQ(TARQ_AddCols(prob, 3, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
  const int beg[] = {0, 2, 4, 6};
  const int idx[] = {0, 1, 1, 2, 0, 2};
  const double val[] = {1, 2, 3, -1, 1, 1};
  const char senses[] = {'L', 'G', 'E'};
  const double rhs[] = {4, 1, 2};
  const char* rnames[] = {"r0", "r1", "r2"};
  ASSERT_EQ(TARQ_AddRows(prob, 3, beg, nullptr, idx, val, senses, rhs, nullptr, rnames), 0);
}

TEST_F(StoreTest, AddReadDeleteRenumberReadAgain) {
  BuildSmall(prob_);
  EXPECT_EQ(Dump(),
            "col x0 C [0,10] obj 1\n"
            "col x1 I [-1,1e+30] obj 2\n"
            "col x2 B [0,1] obj 3\n"
            "row r0 [-1e+30,4]: 0*1 1*2\n"
            "row r1 [1,1e+30]: 1*3 2*-1\n"
            "row r2 [2,2]: 0*1 2*1\n");
  EXPECT_EQ(Col(1), (Entries{{0, 2}, {1, 3}}));
  EXPECT_EQ(Col(2), (Entries{{1, -1}, {2, 1}}));

  const int delCol = 1;
  ASSERT_EQ(TARQ_DelCols(prob_, 1, &delCol), 0);
  const int delRow = 0;
  ASSERT_EQ(TARQ_DelRows(prob_, 1, &delRow), 0);
  EXPECT_EQ(Dump(),
            "col x0 C [0,10] obj 1\n"
            "col x2 B [0,1] obj 3\n"
            "row r1 [1,1e+30]: 1*-1\n"
            "row r2 [2,2]: 0*1 1*1\n");
  int pos = -5;
  EXPECT_EQ(TARQ_GetColIdx(prob_, "x2", &pos), 0);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "x1", &pos), 3);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(TARQ_GetRowIdx(prob_, "r2", &pos), 0);
  EXPECT_EQ(pos, 1);
  double v = -1;
  EXPECT_EQ(TARQ_GetElem(prob_, 1, 1, &v), 0);
  EXPECT_EQ(v, 1);
}

TEST_F(StoreTest, SenseLettersBecomeBounds) {
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, kInf, nullptr), 0);
  struct Case {
    char sense;
    double bound, upper, lb, ub;
  } cases[] = {{'L', 5, 99, -kInf, 5},  {'G', 5, 99, 5, kInf},   {'E', 5, 99, 5, 5}, {'N', 5, 99, -kInf, kInf},
               {'R', 4, 3, 1, 4},       {0, -2, 7, -2, 7},        {0, -1e31, 1e40, -kInf, kInf}};
  int row = 0;
  for (const Case& c : cases) {
    ASSERT_EQ(TARQ_AddRow(prob_, 0, nullptr, nullptr, c.sense, c.bound, c.upper, nullptr), 0) << c.sense;
    double lb = 0, ub = 0;
    TARQ_GetRowInfo(prob_, "lb", 1, &row, &lb);
    TARQ_GetRowInfo(prob_, "Ub", 1, &row, &ub);
    EXPECT_EQ(lb, c.lb) << "sense " << int(c.sense);
    EXPECT_EQ(ub, c.ub) << "sense " << int(c.sense);
    ++row;
  }
  // Batch form without senses: two bounds, NULL upper meaning +inf.
  const double lower[] = {1, 2};
  ASSERT_EQ(TARQ_AddRows(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, lower, nullptr, nullptr), 0);
  double ub[2];
  const int list[] = {row, row + 1};
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "UB", 2, list, ub), 0);
  EXPECT_EQ(ub[0], kInf);
  EXPECT_EQ(ub[1], kInf);
}

TEST_F(StoreTest, TwoCallGettersWithShortBuffers) {
  BuildSmall(prob_);
  int req = -1;
  ASSERT_EQ(TARQ_GetCols(prob_, 3, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &req), 0);
  EXPECT_EQ(req, 6);
  std::vector<int> beg(3), cnt(3), idx(6);
  std::vector<double> val(6);
  EXPECT_EQ(TARQ_GetCols(prob_, 3, nullptr, beg.data(), cnt.data(), idx.data(), val.data(), 5, &req), 3);
  ASSERT_EQ(TARQ_GetCols(prob_, 3, nullptr, beg.data(), cnt.data(), idx.data(), val.data(), 6, &req), 0);
  EXPECT_EQ(beg, (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(cnt, (std::vector<int>{2, 2, 2}));
  // Counts alone need no entry buffers.
  std::vector<int> cnt2(2);
  const int list[] = {2, 0};
  ASSERT_EQ(TARQ_GetRows(prob_, 2, list, nullptr, cnt2.data(), nullptr, nullptr, 0, nullptr), 0);
  EXPECT_EQ(cnt2, (std::vector<int>{2, 2}));
  EXPECT_EQ(TARQ_GetRows(prob_, 1, list, nullptr, nullptr, nullptr, nullptr, 0, nullptr), 3) << "nothing to write to";

  // Names: a short buffer reports the size needed, and the retry succeeds.
  const char* longName[] = {"a_rather_long_column_name"};
  const int col = 1;
  ASSERT_EQ(TARQ_SetColNames(prob_, 1, &col, longName), 0);
  char small[8] = "unset";
  int need = 0;
  EXPECT_EQ(TARQ_GetColName(prob_, 1, small, sizeof small, &need), 3);
  EXPECT_EQ(need, static_cast<int>(std::strlen(longName[0]) + 1));
  EXPECT_STREQ(small, "unset") << "a failed call writes nothing";
  std::string buf(static_cast<size_t>(need), '\0');
  ASSERT_EQ(TARQ_GetColName(prob_, 1, buf.data(), need, &need), 0);
  EXPECT_STREQ(buf.c_str(), longName[0]);
}

TEST_F(StoreTest, UnnamedObjectsReportAndResolveGeneratedNames) {
  ASSERT_EQ(TARQ_AddCols(prob_, 3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(Name(true, 2), "C2");
  const char* names[] = {"C2"};
  const int first = 0;
  ASSERT_EQ(TARQ_SetColNames(prob_, 1, &first, names), 0);  // column 0 takes the name "C2"
  int pos = -1;
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C2", &pos), 0);
  EXPECT_EQ(pos, 0) << "an explicit name wins over a generated one";
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C1", &pos), 0);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C01", &pos), 3);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C3", &pos), 3);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "", &pos), 3);
  // After deleting column 1, the unnamed column 2 becomes C1.
  const int del = 1;
  ASSERT_EQ(TARQ_DelCols(prob_, 1, &del), 0);
  EXPECT_EQ(Name(true, 1), "C1");
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C2", &pos), 0);
  EXPECT_EQ(pos, 0);
  // Renaming keeps the index current; removing a name restores the generated one.
  const char* rename[] = {"renamed"};
  ASSERT_EQ(TARQ_SetColNames(prob_, 1, &first, rename), 0);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "C2", &pos), 3);
  EXPECT_EQ(TARQ_GetColIdx(prob_, "renamed", &pos), 0);
  const char* none[] = {nullptr};
  ASSERT_EQ(TARQ_SetColNames(prob_, 1, &first, none), 0);
  EXPECT_EQ(Name(true, 0), "C0");
  EXPECT_EQ(TARQ_GetColIdx(prob_, "renamed", &pos), 3);
}

TEST_F(StoreTest, CopyIsIndependentOfItsSource) {
  BuildSmall(prob_);
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  const std::string before = Dump();
  const double one = 7;
  const int zero = 0;
  ASSERT_EQ(TARQ_SetColObj(copy, 1, &zero, &one), 0);
  ASSERT_EQ(TARQ_SetElem(copy, 0, 0, 9), 0);
  ASSERT_EQ(TARQ_DelRows(copy, 1, &zero), 0);
  EXPECT_EQ(Dump(), before);
  double v = 0;
  ASSERT_EQ(TARQ_GetElem(copy, 1, 0, &v), 0);
  EXPECT_EQ(v, 1);
  TARQ_DeleteProb(&copy);
  EXPECT_EQ(Dump(), before);
}

TEST_F(StoreTest, CoefficientsSetGetRemoveAndLastWins) {
  BuildSmall(prob_);
  double v = -1;
  ASSERT_EQ(TARQ_GetElem(prob_, 0, 2, &v), 0);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(TARQ_SetElem(prob_, 0, 2, 5), 0);   // a new entry
  ASSERT_EQ(TARQ_SetElem(prob_, 0, 0, 0), 0);   // removes an entry
  ASSERT_EQ(TARQ_GetElem(prob_, 0, 2, &v), 0);
  EXPECT_EQ(v, 5);
  const int rows[] = {1, 1, 2};
  const int cols[] = {0, 0, 0};
  const double vals[] = {4, 6, 0};
  ASSERT_EQ(TARQ_SetElems(prob_, 3, rows, cols, vals), 0);
  ASSERT_EQ(TARQ_GetElem(prob_, 1, 0, &v), 0);
  EXPECT_EQ(v, 6);
  EXPECT_EQ(Row(0), (Entries{{1, 2}, {2, 5}}));
  EXPECT_EQ(Row(1), (Entries{{0, 6}, {1, 3}, {2, -1}}));
  EXPECT_EQ(Row(2), (Entries{{2, 1}}));
  EXPECT_EQ(Col(0), (Entries{{1, 6}}));
}

TEST_F(StoreTest, ObjectiveReplaceSenseAndConstant) {
  BuildSmall(prob_);
  const int list[] = {2};
  const double obj[] = {-4};
  ASSERT_EQ(TARQ_ReplaceColObj(prob_, 1, list, obj), 0);
  double got[3];
  ASSERT_EQ(TARQ_GetColInfo(prob_, "OBJ", 3, nullptr, got), 0);
  EXPECT_EQ(got[0], 0);
  EXPECT_EQ(got[1], 0);
  EXPECT_EQ(got[2], -4);
  EXPECT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  EXPECT_EQ(TARQ_SetObjSense(prob_, 0), 3);
  EXPECT_EQ(TARQ_SetObjConst(prob_, 2.5), 0);
  EXPECT_EQ(TARQ_SetObjConst(prob_, NAN), 3);
  // Branch factors default to 0 and are read back by name.
  const double factor = 3;
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 1, list, &factor), 0);
  ASSERT_EQ(TARQ_GetColInfo(prob_, "branchfactor", 3, nullptr, got), 0);
  EXPECT_EQ(got[0], 0);
  EXPECT_EQ(got[2], 3);
}

TEST_F(StoreTest, SolutionInformationIsAnErrorWithoutASolution) {
  BuildSmall(prob_);
  double v = 0;
  const int zero = 0;
  for (const char* name : {"Value", "RedCost", "Nonsense", "L", "LBX", ""}) {
    EXPECT_EQ(TARQ_GetColInfo(prob_, name, 1, &zero, &v), 3) << name;
  }
  for (const char* name : {"Slack", "Dual", "Obj"}) {
    EXPECT_EQ(TARQ_GetRowInfo(prob_, name, 1, &zero, &v), 3) << name;
  }
  EXPECT_EQ(TARQ_GetColInfo(prob_, nullptr, 1, &zero, &v), 3);
}

TEST_F(StoreTest, LoadReplacesEverythingAndABadLoadChangesNothing) {
  BuildSmall(prob_);
  const double obj[] = {1, -1};
  const int beg[] = {0, 1, 3};
  const int idx[] = {0, 0, 1};
  const double val[] = {2, 3, 4};
  const char senses[] = {'G', 'R'};
  const double bound[] = {1, 10};
  const double upper[] = {0, 4};
  const char* cnames[] = {"u", "v"};
  ASSERT_EQ(TARQ_LoadProb(prob_, 2, 2, TARQ_MAXIMIZE, 1.5, obj, beg, nullptr, idx, val, nullptr, nullptr, nullptr,
                          senses, bound, upper, cnames, nullptr),
            0);
  const std::string loaded = Dump();
  EXPECT_EQ(loaded,
            "col u C [0,1e+30] obj 1\n"
            "col v C [0,1e+30] obj -1\n"
            "row R0 [1,1e+30]: 0*2 1*3\n"
            "row R1 [6,10]: 1*4\n");
  const int badIdx[] = {0, 0, 5};  // row 5 does not exist
  EXPECT_EQ(TARQ_LoadProb(prob_, 2, 2, TARQ_MINIMIZE, 0, obj, beg, nullptr, badIdx, val, nullptr, nullptr, nullptr,
                          senses, bound, upper, nullptr, nullptr),
            3);
  EXPECT_EQ(TARQ_LoadProb(prob_, 2, 2, 7, 0, obj, beg, nullptr, idx, val, nullptr, nullptr, nullptr, senses, bound,
                          upper, nullptr, nullptr),
            3);
  EXPECT_EQ(Dump(), loaded);
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  EXPECT_EQ(Dump(), "");
}

}  // namespace
