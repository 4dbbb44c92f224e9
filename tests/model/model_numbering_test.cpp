#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "model/model_fixture.h"

namespace {

TEST_F(ModelTest, RemovalIsDeferredUntilAnOperationNeedsTheNumbering) {
  Own<Tarq::IVarArray> vars(model_->AddVars(5, 'C', "x"));
  ASSERT_EQ(vars->GetSize(), 5);
  Own<Tarq::IVar> x2(vars->GetVar(2)), x4(vars->GetVar(4));
  Own<Tarq::IVar> x2again(model_->GetVar(2));
  x2->Remove();
  x2->Remove();  // marks once
  EXPECT_EQ(x2again->GetIdx(), -5) << "copies share the record";
  EXPECT_EQ(x4->GetIdx(), 4) << "no deletion before an operation needs the numbering";
  EXPECT_EQ(SolverCols(), 5);

  // An add while the removal is pending takes the next position of the current numbering.
  Own<Tarq::IVar> late(model_->AddVar(0, 1, 0, 'C', "late"));
  EXPECT_EQ(late->GetIdx(), 5);

  std::vector<int> beg, cnt, idx;
  std::vector<double> val;
  model_->GetColMatrix(beg, cnt, idx, val);  // runs the deletion
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverCols(), 5);
  EXPECT_EQ(x4->GetIdx(), 3);
  EXPECT_EQ(late->GetIdx(), 4);
  EXPECT_EQ(SolverName(true, 3), "x_4");
  EXPECT_EQ(SolverName(true, 4), "late");
  EXPECT_EQ(beg.size(), 5u);

  // The removed variable keeps naming its former position.
  Own<Tarq::IExpr> e(CreateLinExpr(x2.get(), 1));
  Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), 'L', 1, "c"));
  ASSERT_EQ(c->GetIdx(), 0);
  EXPECT_EQ(SolverRow(0), Terms{}) << "terms of removed variables are dropped";
  model_->SetCoeff(c.get(), x2.get(), 3);
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(Msg(), "(INVALID) The 2-th variable has been removed");
  x2->SetName("again");
  EXPECT_EQ(x2->GetErrorCode(), 3);
  EXPECT_STREQ(x2->GetErrorMsg(), "(INVALID) Invalid variable");
}

// Lists, arrays and record chunks long enough to live in their own mappings (more than 2 MB)
// number, renumber and hand out their objects as short ones do.
TEST_F(ModelTest, LongListsKeepTheirNumberingThroughRemovals) {
  constexpr int kVars = 300000;
  Own<Tarq::IVarArray> vars(model_->AddVars(kVars, 'C', nullptr));
  ASSERT_EQ(vars->GetSize(), kVars);
  Own<Tarq::IVar> last(vars->GetVar(kVars - 1));
  EXPECT_EQ(last->GetIdx(), kVars - 1);
  for (int k = 0; k < kVars; k += 1000) {
    Own<Tarq::IVar> v(vars->GetVar(k));
    v->Remove();
  }
  Own<Tarq::IVarArray> live(model_->GetVars());
  EXPECT_EQ(live->GetSize(), kVars - 300);
  std::vector<int> beg, cnt, idx;
  std::vector<double> val;
  model_->GetColMatrix(beg, cnt, idx, val);  // runs the deletion
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverCols(), kVars - 300);
  EXPECT_EQ(last->GetIdx(), kVars - 301);
  Own<Tarq::IVar> second(vars->GetVar(1001));
  EXPECT_EQ(second->GetIdx(), 1001 - 2);
  Own<Tarq::IVar> gone(vars->GetVar(2000));
  EXPECT_EQ(gone->GetIdx(), -3 - 2000);
}

TEST_F(ModelTest, GetByIndexAndByNameReportFailures) {
  Own<Tarq::IVarArray> vars(model_->AddVars(5, 'B', nullptr));
  Own<Tarq::IVar> bad(model_->GetVar(5));
  EXPECT_EQ(bad->GetIdx(), -2);
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(Msg(), "(INVALID) Invalid col index");
  Own<Tarq::IVar> good(model_->GetVar(4));
  EXPECT_EQ(good->GetIdx(), 4);
  EXPECT_EQ(Code(), 0) << "a successful get clears the earlier failure";
  EXPECT_EQ(Msg(), "(INVALID) Invalid col index") << "the old text stays";

  Own<Tarq::IVar> byName(model_->GetVarByName("  C3 "));
  EXPECT_EQ(byName->GetIdx(), 3) << "unnamed columns are found by their generated names";
  Own<Tarq::IVar> none(model_->GetVarByName("nothing"));
  EXPECT_EQ(none->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) No such variable");
  Own<Tarq::IConstraint> noRow(model_->GetConstr(0));
  EXPECT_EQ(Msg(), "(INVALID) Invalid row index");
  Own<Tarq::IConstraint> noRowByName(model_->GetConstrByName("r"));
  EXPECT_EQ(Msg(), "(INVALID) No such constraint");

  // Get all skips removed objects.
  good->Remove();
  Own<Tarq::IVarArray> all(model_->GetVars());
  EXPECT_EQ(all->GetSize(), 4);
}

TEST_F(ModelTest, NamesAreNormalisedAndBatchNamesNumberedFromTheCount) {
  Own<Tarq::IVar> v(model_->AddVar(0, 1, 0, 'C', " \tmy var name \n"));
  EXPECT_EQ(SolverName(true, 0), "my_var_name");
  EXPECT_STREQ(v->GetName(), "my_var_name");
  Own<Tarq::IVar> w(model_->AddVar(0, 1, 0, 'C', "   "));
  EXPECT_EQ(SolverName(true, 1), "C1") << "a blank name is no name";
  Own<Tarq::IVarArray> xs(model_->AddVars(3, 'I', "x"));
  EXPECT_EQ(SolverName(true, 2), "x_2");
  EXPECT_EQ(SolverName(true, 4), "x_4");
  Own<Tarq::IConstrArray> cs(model_->AddConstrs(2, "LG", std::vector<double>{1, 2}.data(), "row name"));
  EXPECT_EQ(SolverName(false, 1), "row_name_1");

  // Packed names: one byte short of the last terminator is refused.
  const char packed[] = "a\0b b\0c";
  Own<Tarq::IVarArray> abc(model_->AddVars(3, 'C', packed, sizeof packed - 1));
  EXPECT_EQ(abc->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Invalid size of input names");
  EXPECT_EQ(SolverCols(), 5);
  Own<Tarq::IVarArray> abc2(model_->AddVars(3, 'C', packed, sizeof packed));
  ASSERT_EQ(abc2->GetSize(), 3);
  EXPECT_EQ(SolverName(true, 6), "b_b");

  const char renamed[] = "p\0q";
  Own<Tarq::IVarArray> two(CreateVarArray());
  two->PushBack(v.get());
  two->PushBack(w.get());
  model_->SetVarNames(two.get(), renamed, sizeof renamed);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverName(true, 1), "q");
  EXPECT_STREQ(w->GetName(), "q");
  w->Remove();
  model_->SetVarNames(two.get(), renamed, sizeof renamed);
  EXPECT_EQ(Msg(), "(INVALID) The 1-th variable has been removed");
}

TEST_F(ModelTest, CloneCopiesProblemAndNumberingUnderANewName) {
  Own<Tarq::IVarArray> vars(model_->AddVars(3, 0.0, 2.0, 1.0, 'C', "x"));
  Own<Tarq::IConstrArray> rows(model_->AddConstrs(2, "EL", std::vector<double>{1, 2}.data(), "r"));
  Own<Tarq::IVar> x0(vars->GetVar(0));
  x0->Remove();
  Own<Tarq::IModel> copy(model_->Clone());
  ASSERT_EQ(copy->GetErrorCode(), 0);
  auto& record = *static_cast<TarqModel*>(copy.get())->Data().record;
  EXPECT_EQ(record.name, "m_copy");
  EXPECT_EQ(record.Count(Tarq::detail::Kind::kCol), 2) << "the clone sees the deletions";
  Own<Tarq::IVar> cx(copy->GetVarByName("x_2"));
  EXPECT_EQ(cx->GetIdx(), 1);
  // The copy is independent of the source.
  cx->Set("UB", 9);
  Own<Tarq::IVar> x2(vars->GetVar(2));
  EXPECT_EQ(x2->Get("UB"), 2);

  Own<Tarq::IModel> unnamed(env_->CreateModel(nullptr));
  Own<Tarq::IModel> unnamedCopy(unnamed->Clone());
  EXPECT_EQ(static_cast<TarqModel*>(unnamedCopy.get())->Data().record->name, "_copy");
}

TEST_F(ModelTest, ClearEmptiesTheModelAndHeldObjectsKeepTheirIndices) {
  Own<Tarq::IVarArray> vars(model_->AddVars(3, 'C', "x"));
  Own<Tarq::IVar> x1(vars->GetVar(1));
  model_->Clear();
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverCols(), 0);
  EXPECT_EQ(x1->GetIdx(), 1);
  Own<Tarq::IVar> fresh(model_->AddVar(0, 1, 0, 'C', "y"));
  EXPECT_EQ(fresh->GetIdx(), 0);
}

TEST_F(ModelTest, ObjectsOfAnotherModelAreRefusedWithoutTouchingEitherModel) {
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVarArray> far(other->AddVars(100, 'C', "far"));
  Own<Tarq::IVar> mine(model_->AddVar(0, 1, 0, 'C', "mine"));
  Own<Tarq::IVar> farVar(far->GetVar(99));  // index far beyond this model's columns
  Own<Tarq::IExpr> e(CreateLinExpr(mine.get(), 1));
  e->AddTerm(farVar.get(), 2);
  Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), 'L', 1, "c"));
  EXPECT_EQ(c->GetIdx(), -2);
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(SolverRows(), 0);
  model_->Remove(far.get());
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(farVar->GetIdx(), 99) << "nothing was marked";
  Own<Tarq::IConstrArray> free(model_->AddConstrs(1, "N", std::vector<double>{0}.data(), nullptr));
  Own<Tarq::IConstraint> ok(free->GetConstr(0));
  EXPECT_EQ(model_->GetCoeff(ok.get(), farVar.get()), 1e30);
  EXPECT_EQ(Code(), 3);

  // Start values for another model's variable are refused; nothing reaches the solver.
  model_->SetMipStart(farVar.get(), 1);
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(Msg(), "(INVALID) The variable belongs to another model");
  Own<Tarq::IVarArray> both(CreateVarArray());
  both->PushBack(mine.get());
  both->PushBack(farVar.get());
  const double values[] = {1, 1};
  model_->SetMipStart(both.get(), values);
  EXPECT_EQ(Msg(), "(INVALID) The 1-th variable belongs to another model");
  model_->LoadMipStart();
  const std::string mst = (std::filesystem::temp_directory_path() /
                           ("tarq_foreign_start_" + std::to_string(::getpid()) + ".mst")).string();
  ASSERT_EQ(TARQ_WriteMst(Prob(), mst.c_str()), 0);
  std::ifstream in(mst);
  std::string line, stored;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] != '#') stored += line;
  }
  std::filesystem::remove(mst);
  EXPECT_EQ(stored, "") << "no start was stored, not even for this model's own variable";
}

}  // namespace

namespace {

TEST_F(ModelTest, NullObjectsStandForEmptyOnes) {
  Own<Tarq::IConstraint> c(model_->AddConstr(static_cast<Tarq::IExpr*>(nullptr), 'L', 1, "empty"));
  EXPECT_EQ(c->GetIdx(), 0) << "an empty row";
  EXPECT_EQ(SolverRow(0), Terms{});
  Own<Tarq::IColumn> col(model_->GetCol(nullptr));
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(col->GetSize(), 0);
  model_->SetCoeff(nullptr, nullptr, 1);
  EXPECT_EQ(Code(), 3);
  Own<Tarq::IVarArray> none(model_->AddVars(1, nullptr, nullptr, nullptr, nullptr, static_cast<Tarq::IColumnArray*>(nullptr)));
  EXPECT_EQ(Msg(), "(INVALID) Not enough columns");
  model_->Remove(static_cast<Tarq::IVarArray*>(nullptr));
  Own<Tarq::IConstrArray> noRows(model_->AddConstrs(static_cast<Tarq::IConstrBuilderArray*>(nullptr), "x"));
  EXPECT_EQ(noRows->GetSize(), 0);
  Own<Tarq::IExpr> e(CreateLinExpr(nullptr, 2));
  EXPECT_EQ(e->GetSize(), 1);
  EXPECT_EQ(e->Evaluate(), 1e30) << "a term of a variable of index -2";
}

}  // namespace

// Expressions keep bare pointers to the records of their variables and remember each term's index
// with the model's epoch: renumbering after a deletion must still reach every term, and the
// records must outlive the model and the caller's handles while an expression refers to them.
TEST_F(ModelTest, ExpressionsFollowRenumberingAndOutliveTheirModel) {
  Own<Tarq::IVarArray> vars(model_->AddVars(5, 'C', "x"));
  Own<Tarq::IVar> x1(vars->GetVar(1)), x3(vars->GetVar(3)), x4(vars->GetVar(4));
  Own<Tarq::IExpr> before(CreateLinExpr(x3.get(), 2));
  before->AddTerm(x4.get(), 5);
  x1->Remove();
  EXPECT_NE(model_->GetIntAttr("Cols"), 0);  // runs the deletion: x3 and x4 become 2 and 3
  Own<Tarq::IExpr> after(CreateLinExpr(x4.get(), 1));  // a handle whose remembered index is stale
  Own<Tarq::IConstraint> a(model_->AddConstr(before.get(), 'L', 1, "a"));
  Own<Tarq::IConstraint> b(model_->AddConstr(after.get(), 'L', 1, "b"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverRow(a->GetIdx()), (Terms{{2, 2}, {3, 5}}));
  EXPECT_EQ(SolverRow(b->GetIdx()), (Terms{{3, 1}}));

  // Removing a variable after the expression was built drops its term at the merge.
  Own<Tarq::IExpr> late(CreateLinExpr(x3.get(), 1));
  late->AddTerm(x4.get(), 1);
  x3->Remove();
  Own<Tarq::IConstraint> c(model_->AddConstr(late.get(), 'L', 1, "c"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(late->GetSize(), 1);

  // Only the expression is left: its terms still name their (removed or live) variables.
  Own<Tarq::IExpr> survivor(CreateLinExpr(x4.get(), 1));
  survivor->AddTerm(x3.get(), 1);
  x1.reset();
  x3.reset();
  x4.reset();
  vars.reset();
  a.reset();
  b.reset();
  c.reset();
  model_.reset();
  Own<Tarq::IVar> first(survivor->GetVar(0)), second(survivor->GetVar(1));
  EXPECT_GE(first->GetIdx(), 0);
  EXPECT_EQ(second->GetIdx(), -3 - 2) << "a removed variable keeps its former position";
  EXPECT_STREQ(first->GetName(), "x_4");
  EXPECT_STRNE(survivor->ToString(512), "");
}

// Records of deleted objects are recycled once nothing outside the model refers to the model,
// and not while something does.
TEST_F(ModelTest, RecordsOfDeletedObjectsAreRecycledOnlyWhenNothingRefersToThem) {
  auto& store = static_cast<TarqModel*>(model_.get())->Data().record->problem->records;
  {
    Own<Tarq::IVarArray> vars(model_->AddVars(4, 'C', nullptr));
    model_->Remove(vars.get());
    Own<Tarq::IExpr> held(CreateLinExpr(Own<Tarq::IVar>(vars->GetVar(0)).get(), 1));
    EXPECT_EQ(model_->GetIntAttr("Cols"), 0);
    EXPECT_EQ(store.Retired(), 4u) << "the array and the expression still refer to the records";
  }
  Own<Tarq::IVar> y(model_->AddVar(0, 1, 0, 'C', "y"));
  y->Remove();
  y.reset();
  EXPECT_EQ(model_->GetIntAttr("Cols"), 0);
  EXPECT_EQ(store.Retired(), 0u) << "with no reference outside the model, every retired record is reused";
  Own<Tarq::IVar> z(model_->AddVar(0, 1, 0, 'C', nullptr));
  EXPECT_EQ(z->GetIdx(), 0);
  EXPECT_STREQ(z->GetName(), "C0") << "a recycled record starts clean, without the old name";
}

namespace {

// Objects that stand for nothing (a null pointer, a failed add or lookup, an object held from
// before the problem was read anew) are invalid; only an object of another model is called so.
TEST_F(ModelTest, ObjectCheckMessagesSayWhatIsWrongWithTheObject) {
  Own<Tarq::IVarArray> vars(model_->AddVars(2, 'C', "x"));
  Own<Tarq::IConstrArray> rows(model_->AddConstrs(2, "LL", std::vector<double>{1, 2}.data(), "r"));
  Own<Tarq::IVar> x0(vars->GetVar(0)), failedVar(model_->GetVar(7));
  Own<Tarq::IConstraint> r0(rows->GetConstr(0)), failedRow(model_->GetConstr(7));
  ASSERT_EQ(failedVar->GetIdx(), -2);
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVar> foreign(other->AddVar(0, 1, 0, 'C', "far"));

  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"null constraint", [&] { model_->SetCoeff(nullptr, x0.get(), 1); }, "(INVALID) Invalid constraint"},
      {"null variable", [&] { model_->SetCoeff(r0.get(), nullptr, 1); }, "(INVALID) Invalid variable"},
      {"failed constraint", [&] { model_->SetCoeff(failedRow.get(), x0.get(), 1); }, "(INVALID) Invalid constraint"},
      {"failed variable", [&] { model_->GetCoeff(r0.get(), failedVar.get()); }, "(INVALID) Invalid variable"},
      {"failed variable's column", [&] { Own<Tarq::IColumn> c(model_->GetCol(failedVar.get())); },
       "(INVALID) Invalid variable"},
      {"variable of another model", [&] { model_->SetCoeff(r0.get(), foreign.get(), 1); },
       "(INVALID) The 0-th variable belongs to another model"},
      {"invalid member of an array",
       [&] {
         Own<Tarq::IConstrArray> cs(CreateConstrArray());
         cs->PushBack(r0.get());
         cs->PushBack(failedRow.get());
         model_->SetCoeffs(cs.get(), vars.get(), std::vector<double>{1, 1}.data(), 2);
       },
       "(INVALID) The 1-th constraint is invalid"},
  };
  for (const Case& c : cases) {
    model_->GetIntAttr("Cols");  // a successful call in between
    c.call();
    EXPECT_EQ(Code(), 3) << c.what;
    EXPECT_EQ(Msg(), c.message) << c.what;
  }
  EXPECT_EQ(SolverRow(0), Terms{}) << "no coefficient was set";
  EXPECT_EQ(SolverRow(1), Terms{});

  // Objects held from before a read stand for nothing, though they came from this model.
  model_->WriteMps((testing::TempDir() + "tarq_numbering.mps").c_str());
  model_->Read((testing::TempDir() + "tarq_numbering.mps").c_str());
  ASSERT_EQ(Code(), 0) << Msg();
  ASSERT_EQ(x0->GetIdx(), -2);
  Own<Tarq::IConstraint> again(model_->GetConstr(0));
  model_->SetCoeff(again.get(), x0.get(), 1);
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
}

}  // namespace
