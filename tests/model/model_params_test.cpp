#include <array>

#include "model/model_fixture.h"
#include "model/param_names.h"

namespace {

using Tarq::detail::kParamNameCount;
using Tarq::detail::kParamNames;

TEST(ParamNameTable, HoldsEveryNameGroupedByKindWithTheCommonOnesFirst) {
  ASSERT_EQ(kParamNameCount, 600);
  // Per kind: {common, advanced}, in table order.
  const std::array<std::array<int, 2>, 4> expected{{{14, 43}, {57, 402}, {7, 18}, {47, 12}}};
  std::array<std::array<int, 2>, 4> counted{};
  int lastKind = 0;
  bool advancedSeen = false;
  for (int e = 0; e < kParamNameCount; ++e) {
    const auto& entry = kParamNames[e];
    ASSERT_GE(entry.kind, lastKind) << entry.name << ": kinds are grouped";
    if (entry.kind != lastKind) advancedSeen = false;
    lastKind = entry.kind;
    EXPECT_FALSE(advancedSeen && entry.advanced == 0) << entry.name << ": common entries come first";
    advancedSeen = advancedSeen || entry.advanced != 0;
    ++counted[entry.kind][entry.advanced];
  }
  EXPECT_EQ(counted, expected);
  EXPECT_STREQ(kParamNames[0].name, "TimeLimit");
  EXPECT_STREQ(kParamNames[kParamNameCount - 1].name, "LpMethodUsed");
}

TEST_F(ModelTest, TableNamesResolveInAnyCaseAndReachTheSolverInTheirSpelling) {
  EXPECT_EQ(model_->SearchParamAttr("timelimit"), 0);
  EXPECT_EQ(model_->SearchParamAttr("TIMELIMIT"), 0);
  EXPECT_EQ(model_->SearchParamAttr("cols"), 3);
  EXPECT_EQ(model_->SearchParamAttr("bestobj"), 2);
  EXPECT_EQ(model_->SearchParamAttr("infbound"), 0) << "an advanced name, resolved by the solver";
  EXPECT_EQ(model_->SearchParamAttr(""), -1);
  EXPECT_EQ(model_->SearchParamAttr(nullptr), -1);

  model_->SetDblParam("TIMELIMIT", 12.5);
  ASSERT_EQ(Code(), 0) << Msg();
  double v = 0;
  ASSERT_EQ(TARQ_GetDblParam(Prob(), "TimeLimit", &v), 0);
  EXPECT_EQ(v, 12.5);
  EXPECT_EQ(model_->GetDblParam("timelimit"), 12.5);
  model_->SetIntParam("threads", 2);
  EXPECT_EQ(model_->GetIntParam("Threads"), 2);
  model_->SetDblParam("InfBound", 1e20);
  EXPECT_EQ(model_->GetDblParam("InfBound"), 1e20);

  int cur = 0, def = 0, min = 0, max = 0;
  model_->GetIntParamInfo("THREADS", &cur, &def, &min, &max);
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(cur, 2);
  EXPECT_LE(min, def);
  EXPECT_LE(def, max);
  model_->ResetParam();
  EXPECT_EQ(model_->GetIntParam("Threads"), def);
  EXPECT_EQ(model_->GetDblParam("TimeLimit"), 1e30);
}

TEST_F(ModelTest, WrongKindsAndEmptyNamesAreRecordedUnknownNamesThrow) {
  EXPECT_EQ(model_->GetIntParam("TimeLimit"), -2147483647 - 1);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ int parameter");
  EXPECT_EQ(model_->GetDblParam("Threads"), 1e30);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ double parameter");
  model_->SetIntParam("Cols", 1);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ int parameter");
  EXPECT_EQ(model_->GetIntAttr("ObjConst"), -2147483647 - 1);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ int attribute");
  EXPECT_EQ(model_->GetDblAttr("Rows"), 1e30);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ double attribute");
  model_->SetDblParam("", 1);
  EXPECT_EQ(Msg(), "(INVALID) Unknown TARQ parameter");
  EXPECT_EQ(model_->GetIntAttr(nullptr), -2147483647 - 1);
  EXPECT_EQ(Msg(), "(INVALID) Unknown TARQ attribute");
  model_->SetIntParam("Threads", 100000);
  EXPECT_EQ(Msg(), "(INVALID) Failed to set int param") << "out of range";
  double d = 0;
  model_->GetDblParamInfo("Threads", &d, &d, &d, &d);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ double parameter");

  try {
    model_->GetIntParam("NoSuchParameter");
    FAIL() << "no exception";
  } catch (const Tarq::Exception& e) {
    EXPECT_EQ(e.GetErrorCode(), 3);
    EXPECT_STREQ(e.what(), "Invalid argument");
  }
  EXPECT_THROW(model_->SearchParamAttr("NoSuchName"), Tarq::Exception);
  EXPECT_EQ(model_->GetIntParam("Threads"), -1) << "the model stays usable";
}

TEST_F(ModelTest, AttributeReadsCarryOutPendingDeletionsFirst) {
  Own<Tarq::IVarArray> vars(model_->AddVars(5, 'B', "b"));
  Own<Tarq::IVar> v(vars->GetVar(2));
  v->Remove();
  EXPECT_EQ(model_->GetIntAttr("Cols"), 4);
  EXPECT_EQ(model_->GetIntAttr("Bins"), 4);
  EXPECT_EQ(model_->GetDblAttr("ObjConst"), 0);
}

TEST_F(ModelTest, InformationOfVariablesAndConstraintsByName) {
  Own<Tarq::IVarArray> vars(model_->AddVars(3, 0.0, 5.0, 1.0, 'C', "x"));
  const double ubs[] = {1, 2, 3};
  model_->SetColInfo("ub", vars.get(), ubs, 3);
  ASSERT_EQ(Code(), 0) << Msg();
  std::vector<double> got;
  model_->GetColInfo("UB", vars.get(), got);
  EXPECT_EQ(got, (std::vector<double>{1, 2, 3}));
  model_->SetColInfo("obj", vars.get(), ubs, 3);
  model_->GetColInfo("Obj", vars.get(), got);
  EXPECT_EQ(got, (std::vector<double>{1, 2, 3}));

  struct Case {
    const char* name;
    int len;
    const char* message;
  } cases[] = {{"", 3, "(INVALID) Empty information name of variables"},
               {nullptr, 3, "(INVALID) Empty information name of variables"},
               {"UB", 2, "(INVALID) Invalid input values for variables"},
               {"UBX", 3, "(INVALID) Unknown double information of variable"},
               {"Value", 3, "(INVALID) Unknown double information of variable"}};
  for (const Case& c : cases) {
    model_->SetColInfo(c.name, vars.get(), ubs, c.len);
    EXPECT_EQ(Msg(), c.message);
  }
  model_->GetColInfo("Value", vars.get(), got);
  EXPECT_EQ(Msg(), "(INVALID) Fail to get col info") << "no solution yet";
  EXPECT_TRUE(got.empty());

  Own<Tarq::IConstrArray> rows(model_->AddConstrs(2, "LG", std::vector<double>{4, 1}.data(), "r"));
  const double lbs[] = {-1, -2};
  model_->SetRowInfo("LB", rows.get(), lbs, 2);
  model_->GetRowInfo("lb", rows.get(), got);
  EXPECT_EQ(got, (std::vector<double>{-1, -2}));
  model_->SetRowInfo("Obj", rows.get(), lbs, 2);
  EXPECT_EQ(Msg(), "(INVALID) Unknown double information of constraint");
  Own<Tarq::IVar> x1(vars->GetVar(1));
  x1->Remove();
  model_->SetColInfo("LB", vars.get(), ubs, 3);
  EXPECT_EQ(Msg(), "(INVALID) The 1-th variable has been removed");
}

}  // namespace
