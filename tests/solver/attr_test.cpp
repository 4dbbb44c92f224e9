#include <cmath>
#include <string>

#include "store_fixture.h"

namespace {

int IntAttr(tarq_prob* p, const char* name) {
  int v = -99;
  EXPECT_EQ(TARQ_GetIntAttr(p, name, &v), 0) << name;
  return v;
}

double DblAttr(tarq_prob* p, const char* name) {
  double v = -99;
  EXPECT_EQ(TARQ_GetDblAttr(p, name, &v), 0) << name;
  return v;
}

TEST_F(StoreTest, ProblemAttributesFollowEveryKindOfChange) {
  EXPECT_EQ(IntAttr(prob_, "Cols"), 0);
  EXPECT_EQ(IntAttr(prob_, "IsMIP"), 0);
  const char types[] = {'C', 'B', 'I', 'B'};
  ASSERT_EQ(TARQ_AddCols(prob_, 4, nullptr, nullptr, nullptr, nullptr, nullptr, types, nullptr, nullptr, nullptr), 0);
  const int beg[] = {0, 3};
  const int idx[] = {0, 1, 3};
  const double val[] = {1, 2, 3};
  const char sense = 'L';
  const double rhs = 1;
  ASSERT_EQ(TARQ_AddRows(prob_, 1, beg, nullptr, idx, val, &sense, &rhs, nullptr, nullptr), 0);
  EXPECT_EQ(IntAttr(prob_, "cols"), 4);
  EXPECT_EQ(IntAttr(prob_, "ROWS"), 1);
  EXPECT_EQ(IntAttr(prob_, "Elems"), 3);
  EXPECT_EQ(IntAttr(prob_, "Bins"), 2);
  EXPECT_EQ(IntAttr(prob_, "Ints"), 1);
  EXPECT_EQ(IntAttr(prob_, "IsMIP"), 1);

  ASSERT_EQ(TARQ_SetElem(prob_, 0, 2, 5), 0);
  ASSERT_EQ(TARQ_SetElem(prob_, 0, 0, 0), 0);
  EXPECT_EQ(IntAttr(prob_, "Elems"), 3);
  const int del[] = {1, 3};
  ASSERT_EQ(TARQ_DelCols(prob_, 2, del), 0);
  EXPECT_EQ(IntAttr(prob_, "Bins"), 0);
  EXPECT_EQ(IntAttr(prob_, "Elems"), 1);
  const char cont[] = {'C', 'C'};
  ASSERT_EQ(TARQ_SetColType(prob_, 2, nullptr, cont), 0);
  EXPECT_EQ(IntAttr(prob_, "IsMIP"), 0);

  EXPECT_EQ(IntAttr(prob_, "ObjSense"), TARQ_MINIMIZE);
  ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0);
  EXPECT_EQ(IntAttr(prob_, "ObjSense"), TARQ_MAXIMIZE);
  ASSERT_EQ(TARQ_SetObjConst(prob_, 4.5), 0);
  EXPECT_EQ(DblAttr(prob_, "ObjConst"), 4.5);
  EXPECT_EQ(IntAttr(prob_, "HasBranchFactor"), 0);
  const double factor = 2;
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 1, nullptr, &factor), 0);
  EXPECT_EQ(IntAttr(prob_, "HasBranchFactor"), 1);

  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  EXPECT_EQ(IntAttr(prob_, "Cols"), 0);
  EXPECT_EQ(IntAttr(prob_, "ObjSense"), TARQ_MINIMIZE);
  EXPECT_EQ(DblAttr(prob_, "ObjConst"), 0);
}

TEST_F(StoreTest, SolveAttributesHoldTheirNoSolveValues) {
  EXPECT_EQ(IntAttr(prob_, "LpStatus"), 0);
  EXPECT_EQ(IntAttr(prob_, "HasLpSol"), 0);
  EXPECT_EQ(IntAttr(prob_, "HasBasis"), 0);
  EXPECT_EQ(IntAttr(prob_, "PoolSols"), 0);
  EXPECT_EQ(IntAttr(prob_, "LpMethodUsed"), -1);
  EXPECT_EQ(DblAttr(prob_, "BestObj"), 1e30);
  EXPECT_EQ(DblAttr(prob_, "BestBnd"), -1e30);
  EXPECT_EQ(DblAttr(prob_, "SolvingTime"), 0);
}

TEST_F(StoreTest, AttributeNamesAreCheckedByKind) {
  int i = 7;
  double d = 7;
  EXPECT_EQ(TARQ_GetIntAttr(prob_, "ObjConst", &i), 3) << "a double attribute";
  EXPECT_EQ(TARQ_GetIntAttr(prob_, "TimeLimit", &i), 3) << "a parameter";
  EXPECT_EQ(TARQ_GetDblAttr(prob_, "Cols", &d), 3);
  EXPECT_EQ(TARQ_GetIntAttr(prob_, "NoSuchAttr", &i), 3);
  EXPECT_EQ(TARQ_GetIntAttr(prob_, nullptr, &i), 3);
  EXPECT_EQ(TARQ_GetIntAttr(prob_, "Cols", nullptr), 3);
  EXPECT_EQ(TARQ_GetIntAttr(nullptr, "Cols", &i), 3);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(d, 7);
}

}  // namespace
