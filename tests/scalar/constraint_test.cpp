#include <cmath>

#include "model/model_fixture.h"

namespace {

constexpr double kInf = 1e30;

class ConstraintTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    x_.reset(model_->AddVar(0, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(0, 10, 0, 'C', "y"));
  }
  Own<Tarq::IExpr> XPlusY(double constant) {
    Own<Tarq::IExpr> e(CreateExpr(constant));
    e->AddTerm(x_.get(), 1);
    e->AddTerm(y_.get(), 1);
    return e;
  }
  Own<Tarq::IVar> x_, y_;
};

TEST_F(ConstraintTest, BuilderHoldsRightHandSideInItsConstant) {
  Own<Tarq::IExpr> e = XPlusY(3);
  Own<Tarq::IConstrBuilder> b(CreateConstrBuilder());
  EXPECT_EQ(b->GetSense(), 0);
  b->Set(e.get(), 'L', 5);
  Own<Tarq::IExpr> held(b->GetExpr());
  EXPECT_EQ(held->GetConstant(), -2);
  Own<Tarq::IConstraint> c(model_->AddConstr(b.get(), "c"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(RowInfo("LB", 0), -kInf);
  EXPECT_EQ(RowInfo("UB", 0), 2);
  EXPECT_EQ(SolverRow(0), (Terms{{0, 1}, {1, 1}}));

  // 1 <= x <= 4 as a range: expression x - 4, range 3.
  Own<Tarq::IExpr> x4(CreateLinExpr(x_.get(), 1));
  x4->AddConstant(-4);
  b->SetRange(x4.get(), 3);
  EXPECT_EQ(b->GetSense(), 'R');
  Own<Tarq::IConstraint> r(model_->AddConstr(b.get(), "r"));
  EXPECT_EQ(RowInfo("LB", 1), 1);
  EXPECT_EQ(RowInfo("UB", 1), 4);
}

TEST_F(ConstraintTest, SensesRefusedOnTheSingleAddAddNothing) {
  Own<Tarq::IExpr> e = XPlusY(0);
  e->AddTerm(x_.get(), 2);
  for (char sense : {'R', 'N', 'X'}) {
    Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), sense, 1, "bad"));
    EXPECT_EQ(c->GetIdx(), -2);
    EXPECT_EQ(Msg(), "(INVALID) Invalid constraint sense");
  }
  EXPECT_EQ(e->GetSize(), 2) << "the expression was merged before the sense was refused";
  EXPECT_EQ(e->GetCoeff(0), 3);
  const int cols[] = {0, 1};
  const double vals[] = {1, 1};
  Own<Tarq::IConstraint> raw(model_->AddConstr(2, cols, vals, 'R', 1, "raw"));
  EXPECT_EQ(Msg(), "(INVALID) Invalid constraint sense: 82");
  EXPECT_EQ(SolverRows(), 0);
  Own<Tarq::IConstraint> ok(model_->AddConstr(2, cols, vals, 'G', 1, "raw"));
  EXPECT_EQ(RowInfo("LB", 0), 1);
  Own<Tarq::IConstraint> twoBound(model_->AddConstr(e.get(), -1.0, 3.0, "tb"));
  EXPECT_EQ(RowInfo("LB", 1), -1);
  EXPECT_EQ(RowInfo("UB", 1), 3);
  Own<Tarq::IConstraint> badRaw(model_->AddConstr(2, cols, vals, 'L', std::nan(""), "nan"));
  EXPECT_EQ(Msg(), "(INVALID) Fail to add a constraint with row data");
}

TEST_F(ConstraintTest, BuilderArrayIsAllOrNothingAndKnowsFreeRows) {
  Own<Tarq::IConstrBuilderArray> arr(CreateConstrBuilderArray());
  Own<Tarq::IConstrBuilder> b(CreateConstrBuilder());
  Own<Tarq::IExpr> e = XPlusY(1);
  for (char sense : {'E', 'G', 'X'}) {
    b->Set(e.get(), sense, 2);
    arr->PushBack(b.get());
  }
  Own<Tarq::IConstrArray> none(model_->AddConstrs(arr.get(), "c"));
  EXPECT_EQ(none->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Invalid constraint sense");
  EXPECT_EQ(SolverRows(), 0);

  Own<Tarq::IConstrBuilderArray> good(CreateConstrBuilderArray());
  b->Set(e.get(), 'E', 2);
  good->PushBack(b.get());
  b->Set(e.get(), 'N', 0);
  good->PushBack(b.get());
  b->SetRange(e.get(), 5);
  good->PushBack(b.get());
  Own<Tarq::IConstrArray> rows(model_->AddConstrs(good.get(), "c"));
  ASSERT_EQ(rows->GetSize(), 3);
  EXPECT_EQ(SolverName(false, 2), "c_2");
  EXPECT_EQ(RowInfo("LB", 0), 1);
  EXPECT_EQ(RowInfo("UB", 0), 1);
  EXPECT_EQ(RowInfo("LB", 1), -kInf);
  EXPECT_EQ(RowInfo("UB", 1), kInf);
  EXPECT_EQ(RowInfo("LB", 2), -6);
  EXPECT_EQ(RowInfo("UB", 2), -1);

  // Reading the free row back gives sense N and range 0; it cannot be added singly.
  Own<Tarq::IConstraint> freeRow(rows->GetConstr(1));
  Own<Tarq::IConstrBuilder> back(model_->GetConstrBuilder(freeRow.get()));
  EXPECT_EQ(back->GetSense(), 'N');
  EXPECT_EQ(back->GetRange(), 0);
  Own<Tarq::IConstraint> single(model_->AddConstr(back.get(), "again"));
  EXPECT_EQ(single->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid constraint sense");
  Own<Tarq::IConstrBuilderArray> one(CreateConstrBuilderArray());
  one->PushBack(back.get());
  Own<Tarq::IConstrArray> added(model_->AddConstrs(one.get(), nullptr));
  EXPECT_EQ(added->GetSize(), 1);
}

// A builder list keeps each builder as it was pushed (later changes to the builder do not reach
// it), gives it back whole, and refuses variables of another model anywhere in it.
TEST_F(ConstraintTest, BuilderListGivesBackEachBuilderAsPushed) {
  Own<Tarq::IConstrBuilderArray> list(CreateConstrBuilderArray());
  Own<Tarq::IConstrBuilder> b(CreateConstrBuilder());
  Own<Tarq::IExpr> empty(CreateExpr(4));
  b->Set(empty.get(), 'L', 1);  // no terms
  list->PushBack(b.get());
  Own<Tarq::IExpr> e = XPlusY(0);
  e->AddTerm(x_.get(), 2);  // x twice: kept as given until a model merges it
  b->SetRange(e.get(), 7);
  list->PushBack(b.get());
  b->Set(e.get(), 'G', 3);  // changes the builder, not what the list holds
  ASSERT_EQ(list->GetSize(), 2);

  Own<Tarq::IConstrBuilder> first(list->GetBuilder(0)), second(list->GetBuilder(1)), past(list->GetBuilder(2));
  EXPECT_EQ(first->GetSense(), 'L');
  Own<Tarq::IExpr> firstExpr(first->GetExpr());
  EXPECT_EQ(firstExpr->GetSize(), 0);
  EXPECT_EQ(firstExpr->GetConstant(), 3);
  EXPECT_EQ(second->GetSense(), 'R');
  EXPECT_EQ(second->GetRange(), 7);
  Own<Tarq::IExpr> secondExpr(second->GetExpr());
  ASSERT_EQ(secondExpr->GetSize(), 3);
  EXPECT_EQ(secondExpr->GetCoeff(2), 2);
  Own<Tarq::IVar> third(secondExpr->GetVar(2));
  EXPECT_EQ(third->GetIdx(), 0);
  EXPECT_EQ(past->GetSense(), 0);

  Own<Tarq::IConstrArray> rows(model_->AddConstrs(list.get(), nullptr));
  ASSERT_EQ(rows->GetSize(), 2) << Msg();
  EXPECT_EQ(SolverRow(1), (Terms{{0, 3}, {1, 1}}));
  EXPECT_EQ(RowInfo("UB", 0), -3);
  EXPECT_EQ(RowInfo("LB", 1), -7);  // a range row: -range - constant <= terms <= -constant
  EXPECT_EQ(RowInfo("UB", 1), 0);

  // A variable of another model in any builder: nothing is added.
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVar> z(other->AddVar(0, 1, 0, 'C', "z"));
  Own<Tarq::IExpr> foreign(CreateExpr(0));
  foreign->AddTerm(z.get(), 1);
  b->Set(foreign.get(), 'L', 1);
  list->PushBack(b.get());
  Own<Tarq::IConstrArray> none(model_->AddConstrs(list.get(), nullptr));
  EXPECT_EQ(none->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Variable of another model in expression");
  EXPECT_EQ(SolverRows(), 2);
}

// Adding a builder list merges each builder where it lies and closes the gaps, so the list is
// left merged and every builder, moved or not, still reads back whole; when a builder fails,
// those before it are merged and the rest are as pushed.
TEST_F(ConstraintTest, BuilderListIsLeftMergedWhereItLies) {
  auto expr = [&](std::initializer_list<std::pair<Tarq::IVar*, double>> terms, double constant) {
    Own<Tarq::IExpr> e(CreateExpr(constant));
    for (auto [v, c] : terms) e->AddTerm(v, c);
    return e;
  };
  auto sizes = [](Tarq::IConstrBuilderArray* list) {
    std::vector<int> out;
    for (int k = 0; k < list->GetSize(); ++k) {
      Own<Tarq::IConstrBuilder> b(list->GetBuilder(k));
      Own<Tarq::IExpr> e(b->GetExpr());
      out.push_back(e->GetSize());
    }
    return out;
  };
  Tarq::IVar* x = x_.get();
  Tarq::IVar* y = y_.get();
  Own<Tarq::IConstrBuilderArray> list(CreateConstrBuilderArray());
  Own<Tarq::IConstrBuilder> b(CreateConstrBuilder());
  b->Set(expr({{x, 1}, {y, 1}, {x, 1}}, 0).get(), 'L', 4);
  list->PushBack(b.get());
  b->Set(expr({{y, 1}, {y, -1}, {x, 1}}, 2).get(), 'G', 1);  // y cancels to a term of 0
  list->PushBack(b.get());
  b->Set(expr({{x, 3}, {y, 5}}, 0).get(), 'E', 6);  // nothing to merge, moved down two places
  list->PushBack(b.get());

  Own<Tarq::IConstrArray> rows(model_->AddConstrs(list.get(), nullptr));
  ASSERT_EQ(rows->GetSize(), 3) << Msg();
  EXPECT_EQ(SolverRow(0), (Terms{{0, 2}, {1, 1}}));
  EXPECT_EQ(SolverRow(1), (Terms{{0, 1}}));
  EXPECT_EQ(SolverRow(2), (Terms{{0, 3}, {1, 5}}));
  EXPECT_EQ(RowInfo("LB", 1), -1);
  EXPECT_EQ(sizes(list.get()), (std::vector<int>{2, 2, 2}));
  Own<Tarq::IConstrBuilder> second(list->GetBuilder(1)), third(list->GetBuilder(2));
  Own<Tarq::IExpr> secondExpr(second->GetExpr()), thirdExpr(third->GetExpr());
  EXPECT_EQ(secondExpr->GetCoeff(0), 0) << "y's sum of 0 stays as a term";
  EXPECT_EQ(secondExpr->GetCoeff(1), 1);
  EXPECT_EQ(secondExpr->GetConstant(), 1);
  EXPECT_EQ(third->GetSense(), 'E');
  EXPECT_EQ(thirdExpr->GetCoeff(0), 3);
  EXPECT_EQ(thirdExpr->GetCoeff(1), 5);
  Own<Tarq::IVar> thirdY(thirdExpr->GetVar(1));
  EXPECT_EQ(thirdY->GetIdx(), 1);
  // The merged list adds the same rows again.
  Own<Tarq::IConstrArray> again(model_->AddConstrs(list.get(), nullptr));
  ASSERT_EQ(again->GetSize(), 3);
  EXPECT_EQ(SolverRow(3), SolverRow(0));
  EXPECT_EQ(SolverRow(5), SolverRow(2));

  // A variable of another model in the middle builder: the first is merged, the last is not.
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVar> z(other->AddVar(0, 1, 0, 'C', "z"));
  Own<Tarq::IConstrBuilderArray> mixed(CreateConstrBuilderArray());
  b->Set(expr({{x, 1}, {x, 1}, {y, 2}}, 0).get(), 'L', 1);
  mixed->PushBack(b.get());
  b->Set(expr({{z.get(), 1}, {x, 1}}, 0).get(), 'L', 1);
  mixed->PushBack(b.get());
  b->Set(expr({{y, 1}, {y, 1}, {x, 7}}, 0).get(), 'L', 1);
  mixed->PushBack(b.get());
  Own<Tarq::IConstrArray> none(model_->AddConstrs(mixed.get(), nullptr));
  EXPECT_EQ(none->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Variable of another model in expression");
  EXPECT_EQ(SolverRows(), 6);
  EXPECT_EQ(sizes(mixed.get()), (std::vector<int>{2, 2, 3}));
  Own<Tarq::IConstrBuilder> last(mixed->GetBuilder(2));
  Own<Tarq::IExpr> lastExpr(last->GetExpr());
  EXPECT_EQ(lastExpr->GetCoeff(2), 7);
  Own<Tarq::IVar> lastX(lastExpr->GetVar(2));
  EXPECT_EQ(lastX->GetIdx(), 0);
}

TEST_F(ConstraintTest, RowsReadBackAsBuildersForEverySense) {
  struct Case {
    double lb, ub;
    char sense;
    double constant, range;
  } cases[] = {{2, kInf, 'G', -2, 0}, {-kInf, kInf, 'N', 0, 0}, {-kInf, 3, 'L', -3, 0},
               {1, 4, 'R', -4, 3},    {5, 5, 'E', -5, 0}};
  for (const Case& c : cases) {
    Own<Tarq::IExpr> e = XPlusY(0);
    Own<Tarq::IConstraint> row(model_->AddConstr(e.get(), c.lb, c.ub, nullptr));
    Own<Tarq::IConstrBuilder> b(model_->GetConstrBuilder(row.get()));
    EXPECT_EQ(b->GetSense(), c.sense);
    EXPECT_EQ(b->GetRange(), c.range);
    Own<Tarq::IExpr> back(b->GetExpr());
    EXPECT_EQ(back->GetConstant(), c.constant) << c.sense;
    EXPECT_EQ(back->GetSize(), 2);
  }
  Own<Tarq::IConstraint> last(model_->GetConstr(4));
  Own<Tarq::IExpr> row(model_->GetRow(last.get()));
  EXPECT_STREQ(row->ToString(100), "x + y");
  last->Remove();
  Own<Tarq::IExpr> gone(model_->GetRow(last.get()));
  EXPECT_EQ(Msg(), "(INVALID) Invalid constraint");
}

TEST_F(ConstraintTest, ConstraintInformationAndNames) {
  Own<Tarq::IExpr> e = XPlusY(0);
  Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), 'L', 4, " cap "));
  EXPECT_STREQ(c->GetName(), "cap");
  c->Set("ub", 6);
  EXPECT_EQ(c->Get("UB"), 6);
  c->Set("lb", 1);
  EXPECT_EQ(RowInfo("LB", 0), 1);
  c->Set("Obj", 1);
  EXPECT_STREQ(c->GetErrorMsg(), "(INVALID) Unknown constraint information");
  EXPECT_EQ(c->GetBasis(), -2147483647 - 1);
  EXPECT_STREQ(c->GetErrorMsg(), "(INVALID) Fail to get a constraint basis");
  Own<Tarq::IConstraint> byName(model_->GetConstrByName("cap"));
  EXPECT_EQ(byName->GetIdx(), 0);
  c->SetName("renamed");
  Own<Tarq::IConstraint> renamed(model_->GetConstrByName("renamed"));
  EXPECT_EQ(renamed->GetIdx(), 0);
}

TEST_F(ConstraintTest, ColumnsMergeByRowAndDropRemovedConstraints) {
  Own<Tarq::IConstrArray> rows(model_->AddConstrs(3, "LLL", std::vector<double>{1, 2, 3}.data(), "r"));
  auto r = Adopt(rows->GetAll());
  Own<Tarq::IColumn> col(CreateColumn());
  col->AddTerm(r[0].get(), 1);
  col->AddTerm(r[1].get(), 2);
  col->AddTerm(r[0].get(), 3);
  col->AddTerm(r[2].get(), 0);
  col->AddTerm(r[1].get(), 4);
  EXPECT_TRUE(col->Remove(r[1].get()));
  EXPECT_EQ(col->GetSize(), 3);
  EXPECT_FALSE(col->Remove(r[1].get()));
  col->AddTerm(r[1].get(), 5);
  r[1]->Remove();
  Own<Tarq::IVar> z(model_->AddVar(0, 1, 0, 'C', col.get(), "z"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverRow(0), (Terms{{2, 4}}));
  EXPECT_EQ(SolverRow(1), Terms{}) << "the removed row's term was dropped";
  EXPECT_EQ(SolverRow(2), Terms{}) << "a zero coefficient was dropped";
  EXPECT_EQ(col->GetSize(), 1) << "the caller's column is left merged";

  Own<Tarq::IColumn> back(model_->GetCol(z.get()));
  ASSERT_EQ(back->GetSize(), 1);
  Own<Tarq::IConstraint> row0(back->GetConstr(0));
  EXPECT_EQ(row0->GetIdx(), 0);
  EXPECT_EQ(back->GetCoeff(0), 4);

  // Columns in an array become compressed columns of one batch.
  Own<Tarq::IColumnArray> cols(CreateColumnArray());
  cols->PushBack(col.get());
  cols->PushBack(col.get());
  const double lb[] = {0, 0}, ub[] = {1, 1}, obj[] = {1, 2};
  Own<Tarq::IVarArray> more(model_->AddVars(3, lb, ub, obj, nullptr, cols.get(), "w"));
  EXPECT_EQ(more->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Not enough columns");
  Own<Tarq::IVarArray> two(model_->AddVars(2, lb, ub, obj, nullptr, cols.get(), "w"));
  ASSERT_EQ(two->GetSize(), 2);
  EXPECT_EQ(SolverRow(0), (Terms{{2, 4}, {3, 4}, {4, 4}}));
}

}  // namespace
