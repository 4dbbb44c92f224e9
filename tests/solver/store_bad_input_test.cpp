#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "store_fixture.h"

namespace {

constexpr double kInf = TARQ_INFINITY;

// Every malformed call returns 3 and leaves the problem exactly as it was.
TEST_F(StoreTest, MalformedCallsAreRejectedAndChangeNothing) {
  const double obj[] = {1, 2};
  const char* names[] = {"a", "b"};
  ASSERT_EQ(TARQ_AddCols(prob_, 2, obj, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, names), 0);
  const int rbeg[] = {0, 2};
  const int ridx[] = {0, 1};
  const double rval[] = {1, 1};
  const char le = 'L';
  const double four = 4;
  ASSERT_EQ(TARQ_AddRows(prob_, 1, rbeg, nullptr, ridx, rval, &le, &four, nullptr, nullptr), 0);
  const std::string before = Dump();

  const double nan = NAN;
  const int one = 1, two = 2, neg = -1;
  const int dupIdx[] = {0, 0};
  const int badIdx[] = {0, 7};
  const double vals[] = {1, 2};
  const double nanVals[] = {1, nan};
  const double infVals[] = {1, 1e30};
  const int beg2[] = {0, 2};
  const int badBeg[] = {0, -1};
  const int mixedList[] = {0, 2};
  const char badTypes[] = {'C', 'X'};
  const char badSenses[] = {'L', 'Q'};
  const double highLower[] = {0, kInf};
  double out[2];
  int scratch = 0;
  char typeOut[2];

  struct Case {
    const char* what;
    std::function<int()> call;
  };
  const Case cases[] = {
      {"null problem", [&] { return TARQ_AddCol(nullptr, 0, 0, nullptr, nullptr, 'C', 0, 1, nullptr); }},
      {"negative column count", [&] { return TARQ_AddCols(prob_, -1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"negative nnz", [&] { return TARQ_AddCol(prob_, 0, -1, nullptr, nullptr, 'C', 0, 1, nullptr); }},
      {"entries without arrays", [&] { return TARQ_AddCol(prob_, 0, 2, nullptr, nullptr, 'C', 0, 1, nullptr); }},
      {"row index out of range", [&] { return TARQ_AddCol(prob_, 0, 2, badIdx, vals, 'C', 0, 1, nullptr); }},
      {"row index twice", [&] { return TARQ_AddCol(prob_, 0, 2, dupIdx, vals, 'C', 0, 1, nullptr); }},
      {"NaN coefficient", [&] { return TARQ_AddRow(prob_, 2, ridx, nanVals, 'L', 1, 0, nullptr); }},
      {"infinite coefficient", [&] { return TARQ_AddRow(prob_, 2, ridx, infVals, 'L', 1, 0, nullptr); }},
      {"column index twice", [&] { return TARQ_AddRow(prob_, 2, dupIdx, vals, 'L', 1, 0, nullptr); }},
      {"column index out of range", [&] { return TARQ_AddRow(prob_, 2, badIdx, vals, 'L', 1, 0, nullptr); }},
      {"row entries without arrays", [&] { return TARQ_AddRow(prob_, 2, nullptr, nullptr, 'L', 1, 0, nullptr); }},
      {"negative row nnz", [&] { return TARQ_AddRow(prob_, -1, nullptr, nullptr, 'L', 1, 0, nullptr); }},
      {"unknown type", [&] { return TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'X', 0, 1, nullptr); }},
      {"one bad type in a batch", [&] { return TARQ_AddCols(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, badTypes, nullptr, nullptr, nullptr); }},
      {"NaN lower bound", [&] { return TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', nan, 1, nullptr); }},
      {"lower bound +inf", [&] { return TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', kInf, kInf, nullptr); }},
      {"upper bound -inf", [&] { return TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, -kInf, nullptr); }},
      {"NaN objective", [&] { return TARQ_AddCol(prob_, nan, 0, nullptr, nullptr, 'C', 0, 1, nullptr); }},
      {"negative offset", [&] { return TARQ_AddCols(prob_, 2, nullptr, badBeg, nullptr, ridx, vals, nullptr, nullptr, nullptr, nullptr); }},
      {"unknown sense", [&] { return TARQ_AddRow(prob_, 0, nullptr, nullptr, 'Q', 1, 0, nullptr); }},
      {"one bad sense in a batch", [&] { return TARQ_AddRows(prob_, 2, nullptr, nullptr, nullptr, nullptr, badSenses, vals, nullptr, nullptr); }},
      {"NaN right-hand side", [&] { return TARQ_AddRow(prob_, 0, nullptr, nullptr, 'E', nan, 0, nullptr); }},
      {"equality at infinity", [&] { return TARQ_AddRow(prob_, 0, nullptr, nullptr, 'E', kInf, 0, nullptr); }},
      {"NaN range", [&] { return TARQ_AddRow(prob_, 0, nullptr, nullptr, 'R', 1, nan, nullptr); }},
      {"row lower +inf in a batch", [&] { return TARQ_AddRows(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, highLower, nullptr, nullptr); }},
      {"row with bad column in a batch", [&] { return TARQ_AddRows(prob_, 1, beg2, nullptr, badIdx, vals, &le, &four, nullptr, nullptr); }},
      {"delete out of range", [&] { return TARQ_DelCols(prob_, 2, mixedList); }},
      {"delete negative count", [&] { return TARQ_DelRows(prob_, -1, nullptr); }},
      {"delete without list", [&] { return TARQ_DelCols(prob_, 1, nullptr); }},
      {"delete negative index", [&] { return TARQ_DelRows(prob_, 1, &neg); }},
      {"list longer than the columns", [&] { return TARQ_SetColObj(prob_, 3, nullptr, obj); }},
      {"bound list out of range", [&] { return TARQ_SetColLower(prob_, 2, mixedList, vals); }},
      {"bounds without values", [&] { return TARQ_SetColUpper(prob_, 1, &one, nullptr); }},
      {"NaN in a bound batch", [&] { return TARQ_SetRowUpper(prob_, 1, nullptr, &nan); }},
      {"row lower +inf", [&] { return TARQ_SetRowLower(prob_, 1, nullptr, &kInf); }},
      {"objective NaN in a batch", [&] { return TARQ_ReplaceColObj(prob_, 2, nullptr, nanVals); }},
      {"bad type set", [&] { return TARQ_SetColType(prob_, 2, nullptr, badTypes); }},
      {"types read without output", [&] { return TARQ_GetColType(prob_, 1, nullptr, nullptr); }},
      {"types read out of range", [&] { return TARQ_GetColType(prob_, 1, &two, typeOut); }},
      {"element out of range", [&] { return TARQ_SetElem(prob_, 1, 0, 1.0); }},
      {"element NaN", [&] { return TARQ_SetElem(prob_, 0, 0, nan); }},
      {"element batch with one bad column", [&] { return TARQ_SetElems(prob_, 2, ridx, badIdx, vals); }},
      {"element read without output", [&] { return TARQ_GetElem(prob_, 0, 0, nullptr); }},
      {"element read out of range", [&] { return TARQ_GetElem(prob_, 0, -1, out); }},
      {"names without array", [&] { return TARQ_SetColNames(prob_, 1, nullptr, nullptr); }},
      {"name out of range", [&] { return TARQ_GetRowName(prob_, 1, nullptr, 0, nullptr); }},
      {"index lookup of null", [&] { return TARQ_GetColIdx(prob_, nullptr, &scratch); }},
      {"info of unknown name", [&] { return TARQ_GetColInfo(prob_, "Colour", 1, nullptr, out); }},
      {"info out of range", [&] { return TARQ_GetRowInfo(prob_, "LB", 1, &one, out); }},
      {"branch factor NaN", [&] { return TARQ_SetColBranchFactors(prob_, 1, nullptr, &nan); }},
      {"vectors list out of range", [&] { return TARQ_GetCols(prob_, 1, &two, nullptr, nullptr, nullptr, nullptr, 0, &scratch); }},
      {"vectors negative count", [&] { return TARQ_GetRows(prob_, -2, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &scratch); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), 3) << c.what;
    EXPECT_EQ(Dump(), before) << c.what;
  }
}

}  // namespace
