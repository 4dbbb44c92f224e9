#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "model/model_fixture.h"
#include "scalar/var.h"

namespace {

TEST_F(ModelTest, VariableInformationByNameInAnyCase) {
  Own<Tarq::IVar> x(model_->AddVar(1, 5, 2, 'C', "x"));
  Own<Tarq::IVar> same(model_->GetVar(0));
  for (const char* lb : {"lb", "Lb", "LB"}) {
    x->Set(lb, 0.5);
    EXPECT_EQ(x->GetErrorCode(), 0) << lb;
  }
  EXPECT_EQ(ColInfo("LB", 0), 0.5);
  x->Set("ub", 7);
  x->Set("OBJ", -1);
  x->Set("branchfactor", 3);
  EXPECT_EQ(ColInfo("UB", 0), 7);
  EXPECT_EQ(ColInfo("Obj", 0), -1);
  EXPECT_EQ(ColInfo("BranchFactor", 0), 3);
  EXPECT_EQ(same->Get("UB"), 7);

  x->Set("LBX", 1);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Unknown variable information");
  x->Set("", 1);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Invalid args");
  x->Set(nullptr, 1);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Invalid args");
  x->Set("LB", 1e31);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Fail to set variable LB") << "the solver refuses a lower bound of +inf";
  EXPECT_EQ(x->Get("Colour"), 1e30);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Fail to get variable information");
  EXPECT_EQ(same->GetErrorCode(), 0) << "each handle has its own status";
}

// Batches with one value per field pass the solver library only the fields that differ from its
// defaults; every column must still end up with exactly the values given, and a bad value must
// still be refused with nothing added.
TEST_F(ModelTest, ScalarBatchesReachTheStoreWithEachValue) {
  Own<Tarq::IVarArray> plain(model_->AddVars(3, 0.0, TARQ_INFINITY, 0.0, 'C', "p"));
  Own<Tarq::IVarArray> shifted(model_->AddVars(2, -TARQ_INFINITY, 4.0, -2.5, 'I', "s"));
  Own<Tarq::IVarArray> bins(model_->AddVars(2, 0.0, 1.0, 0.0, 'B', "b"));
  ASSERT_EQ(Code(), 0) << Msg();
  ASSERT_EQ(SolverCols(), 7);
  for (int j : {0, 1, 2}) {
    EXPECT_EQ(ColInfo("LB", j), 0) << j;
    EXPECT_EQ(ColInfo("UB", j), TARQ_INFINITY) << j;
    EXPECT_EQ(ColInfo("Obj", j), 0) << j;
  }
  for (int j : {3, 4}) {
    EXPECT_EQ(ColInfo("LB", j), -TARQ_INFINITY) << j;
    EXPECT_EQ(ColInfo("UB", j), 4) << j;
    EXPECT_EQ(ColInfo("Obj", j), -2.5) << j;
  }
  for (int j : {5, 6}) EXPECT_EQ(ColInfo("UB", j), 1) << j;
  Own<Tarq::IVar> p0(plain->GetVar(0)), s1(shifted->GetVar(1)), b0(bins->GetVar(0));
  EXPECT_EQ(p0->GetType(), 'C');
  EXPECT_EQ(s1->GetType(), 'I');
  EXPECT_EQ(b0->GetType(), 'B');

  Own<Tarq::IVarArray> bad(model_->AddVars(2, std::nan(""), 1.0, 0.0, 'C', "n"));
  EXPECT_EQ(bad->GetSize(), 0);
  EXPECT_NE(Code(), 0);
  EXPECT_EQ(SolverCols(), 7) << "a refused batch adds nothing";
}

TEST_F(ModelTest, VariableNameTypeAndSolutionQueries) {
  Own<Tarq::IVarArray> vars(model_->AddVars(2, 'C', nullptr));
  Own<Tarq::IVar> v(vars->GetVar(1));
  EXPECT_STREQ(v->GetName(), "C1") << "the solver's generated name, fetched and cached";
  const std::string longName(150, 'n');
  v->SetName(("  " + longName.substr(0, 70) + " " + longName.substr(70) + "  ").c_str());
  EXPECT_EQ(v->GetErrorCode(), 0);
  Own<Tarq::IVar> again(model_->GetVar(1));
  const std::string expected = longName.substr(0, 70) + "_" + longName.substr(70);
  ASSERT_GT(expected.size(), 128u);
  EXPECT_EQ(again->GetName(), expected);
  auto& record = *Tarq::VarOf(again.get()).record;
  record.name = nullptr;  // drop the cache: the name is fetched again, with a larger buffer
  EXPECT_EQ(again->GetName(), expected);

  EXPECT_EQ(v->GetType(), 'C');
  v->SetType('I');
  EXPECT_EQ(v->GetType(), 'I');
  v->SetType('Q');
  EXPECT_STREQ(v->GetErrorMsg(), "(INVALID) Fail to set variable type");

  EXPECT_EQ(v->GetBasis(), -2147483647 - 1);
  EXPECT_EQ(v->GetErrorCode(), 3) << "no basis before a solve";
  EXPECT_EQ(v->GetLowerIIS(), 0);
  EXPECT_STREQ(v->GetErrorMsg(), "(INVALID) Fail to get IIS status for variable");

  v->Remove();
  EXPECT_EQ(v->GetType(), 0);
  EXPECT_EQ(v->GetBasis(), -2147483647 - 1);
  EXPECT_STREQ(v->GetErrorMsg(), "(INVALID) Invalid variable");
  EXPECT_EQ(v->Get("LB"), 1e30);
  EXPECT_STREQ(v->GetName(), again->GetName()) << "a removed variable keeps its cached name";
}

TEST_F(ModelTest, VariableArraysShareRecords) {
  Own<Tarq::IVarArray> vars(model_->AddVars(3, 'C', "v"));
  Own<Tarq::IVarArray> copy(CreateVarArray());
  auto all = Adopt(vars->GetAll());
  ASSERT_EQ(all.size(), 3u);
  copy->PushBack(std::vector<Tarq::IVar*>{all[2].get(), all[0].get()});
  copy->PushBack(all[1].get());
  ASSERT_EQ(copy->GetSize(), 3);
  all[2]->Remove();
  Own<Tarq::IVar> first(copy->GetVar(0));
  EXPECT_EQ(first->GetIdx(), -5);
  model_->Remove(copy.get());
  Own<Tarq::IVar> last(copy->GetVar(2));
  EXPECT_EQ(last->GetIdx(), -4);
}

// A list mixing two models' variables and a failed one hands out handles that each keep their
// own model alive: the other model's handles outlive the caller's model object, and every
// reference taken is given back (the sanitizer build reports a leak or a use after free).
TEST_F(ModelTest, HandlesOfAMixedListKeepTheirOwnModel) {
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVarArray> mine(model_->AddVars(3, 'C', "v"));
  Own<Tarq::IVarArray> theirs(other->AddVars(2, 'C', "w"));
  Own<Tarq::IVar> failed(model_->GetVar(99));
  auto a = Adopt(mine->GetAll()), b = Adopt(theirs->GetAll());
  Own<Tarq::IVarArray> mixed(CreateVarArray());
  mixed->PushBack(std::vector<Tarq::IVar*>{a[0].get(), a[1].get(), b[1].get(), failed.get(), b[0].get(), a[2].get()});
  auto all = Adopt(mixed->GetAll());
  other.reset();  // the caller lets go of the other model; its handles keep it
  ASSERT_EQ(all.size(), 6u);
  const int expect[] = {0, 1, 1, -2, 0, 2};
  for (std::size_t k = 0; k < all.size(); ++k) EXPECT_EQ(all[k]->GetIdx(), expect[k]) << k;
  EXPECT_STREQ(all[2]->GetName(), "w_1");
  EXPECT_STREQ(all[5]->GetName(), "v_2");
  Own<Tarq::IExpr> e(CreateExpr(0));
  e->AddTerm(all[4].get(), 2);  // a variable of the other model still makes a term
  EXPECT_EQ(e->GetSize(), 1);
}

}  // namespace

namespace {

TEST_F(ModelTest, ReadersOfArraysExpressionsAndColumnsRefuseIndicesOutOfRange) {
  Own<Tarq::IVarArray> vars(model_->AddVars(2, 'C', "v"));
  Own<Tarq::IConstrArray> rows(model_->AddConstrs(1, "N", std::vector<double>{0}.data(), "r"));
  for (int i : {-1, 2, 1 << 30}) {
    Own<Tarq::IVar> v(vars->GetVar(i));
    EXPECT_EQ(v->GetIdx(), -2) << i;
    Own<Tarq::IConstraint> c(rows->GetConstr(i));
    EXPECT_EQ(c->GetIdx(), -2) << i;
  }
  Own<Tarq::IExpr> e(CreateExpr(0));
  e->AddTerms(vars.get(), 1.0);
  e->SetCoeff(5, 9);
  EXPECT_EQ(e->GetCoeff(5), 1e30);
  EXPECT_EQ(e->GetCoeff(1), 1);
  Own<Tarq::IVar> none(e->GetVar(-3));
  EXPECT_EQ(none->GetIdx(), -2);
  Own<Tarq::IColumn> col(CreateColumn());
  EXPECT_EQ(col->GetCoeff(0), 1e30);
  Own<Tarq::IConstraint> noRow(col->GetConstr(0));
  EXPECT_EQ(noRow->GetIdx(), -2);
  Own<Tarq::IColumnArray> cols(CreateColumnArray());
  Own<Tarq::IColumn> empty(cols->GetColumn(3));
  EXPECT_EQ(empty->GetSize(), 0);
  Own<Tarq::IConstrBuilderArray> builders(CreateConstrBuilderArray());
  Own<Tarq::IConstrBuilder> fresh(builders->GetBuilder(0));
  EXPECT_EQ(fresh->GetSense(), 0);
}

// A variable list holds its variables' records: elements follow the model's renumbering, whether
// handed out one by one or taken as terms (linear and quadratic), and a list element of another
// model is still seen as foreign.
TEST_F(ModelTest, VariableListsFollowRenumberingAndKeepTheirModel) {
  Own<Tarq::IVarArray> all(model_->AddVars(4, 'C', nullptr));
  Own<Tarq::IVar> b(all->GetVar(1));
  Own<Tarq::IVarArray> list(CreateVarArray());
  for (int k : {3, 0, 2}) {
    Own<Tarq::IVar> v(all->GetVar(k));
    list->PushBack(v.get());
  }
  b->Remove();
  ASSERT_EQ(model_->GetIntAttr("Cols"), 3);  // deleted now: columns 2 and 3 become 1 and 2
  Own<Tarq::IVar> first(list->GetVar(0));
  EXPECT_EQ(first->GetIdx(), 2);
  Own<Tarq::IExpr> e(CreateExpr(0));
  const double coeffs[] = {1, 2, 3};
  ASSERT_EQ(e->AddTerms(list.get(), coeffs, 3), 3);
  Own<Tarq::IConstraint> row(model_->AddConstr(e.get(), 'L', 1, nullptr));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverRow(row->GetIdx()), (Terms{{0, 2}, {1, 3}, {2, 1}}));
  Own<Tarq::IQuadExpr> q(CreateQuadExpr1(0));
  ASSERT_EQ(q->AddQuadTerms(list.get(), list.get(), coeffs, 3), 3);
  Own<Tarq::IQConstraint> qrow(model_->AddQConstr(q.get(), 'L', 1, nullptr));
  ASSERT_EQ(Code(), 0) << Msg();
  int n = 0;
  ASSERT_EQ(TARQ_GetQConstr(Prob(), qrow->GetIdx(), 0, 0, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr), 0);
  std::vector<int> r(static_cast<size_t>(n)), c(static_cast<size_t>(n));
  std::vector<double> v(static_cast<size_t>(n));
  ASSERT_EQ(TARQ_GetQConstr(Prob(), qrow->GetIdx(), 0, n, nullptr, nullptr, nullptr, &n, r.data(), c.data(), v.data()), 0);
  std::vector<std::tuple<int, int, double>> terms;
  for (int k = 0; k < n; ++k) terms.emplace_back(r[static_cast<size_t>(k)], c[static_cast<size_t>(k)], v[static_cast<size_t>(k)]);
  std::sort(terms.begin(), terms.end());
  EXPECT_EQ(terms, (std::vector<std::tuple<int, int, double>>{{0, 0, 2}, {1, 1, 3}, {2, 2, 1}}));

  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVarArray> foreign(other->AddVars(2, 'C', nullptr));
  Own<Tarq::IExpr> mixed(CreateExpr(0));
  mixed->AddTerms(foreign.get(), 1.0);
  Own<Tarq::IConstraint> bad(model_->AddConstr(mixed.get(), 'L', 1, nullptr));
  EXPECT_LT(bad->GetIdx(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Variable of another model in expression");
}

}  // namespace
