// Quadratic constraints and the quadratic objective through the model, read back from the
// solver library.
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "model/model_fixture.h"

namespace {

struct StoredQRow {
  Terms lin;
  std::vector<std::tuple<int, int, double>> quad;
  char sense = 0;
  double rhs = 0;
};

class ModelQuadTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    x_.reset(model_->AddVar(-10, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(-10, 10, 0, 'C', "y"));
    z_.reset(model_->AddVar(-10, 10, 0, 'C', "z"));
  }

  int QRows() const {
    int n = -1;
    EXPECT_EQ(TARQ_GetIntAttr(Prob(), "QConstrs", &n), 0);
    return n;
  }

  StoredQRow Stored(int k) const {
    int ln = 0, qn = 0;
    EXPECT_EQ(TARQ_GetQConstr(Prob(), k, 0, 0, &ln, nullptr, nullptr, &qn, nullptr, nullptr, nullptr), 0);
    std::vector<int> li(static_cast<size_t>(ln)), qr(static_cast<size_t>(qn)), qc(static_cast<size_t>(qn));
    std::vector<double> lv(static_cast<size_t>(ln)), qv(static_cast<size_t>(qn));
    EXPECT_EQ(TARQ_GetQConstr(Prob(), k, ln, qn, &ln, li.data(), lv.data(), &qn, qr.data(), qc.data(), qv.data()), 0);
    StoredQRow r;
    for (int p = 0; p < ln; ++p) r.lin.emplace_back(li[p], lv[p]);
    for (int p = 0; p < qn; ++p) r.quad.emplace_back(qr[p], qc[p], qv[p]);
    EXPECT_EQ(TARQ_GetQConstrSense(Prob(), 1, &k, &r.sense), 0);
    EXPECT_EQ(TARQ_GetQConstrRhs(Prob(), 1, &k, &r.rhs), 0);
    return r;
  }

  // x*x + y (+ extra) as a fresh expression.
  Own<Tarq::IQuadExpr> Square() {
    Own<Tarq::IQuadExpr> q(CreateQuadExpr2(y_.get(), 1));
    q->AddQuadTerm(x_.get(), x_.get(), 1);
    return q;
  }

  Own<Tarq::IVar> x_, y_, z_;
};

using Quad = std::vector<std::tuple<int, int, double>>;

TEST_F(ModelQuadTest, ExpressionReachesTheStoreWithMergedLinearAndUnmergedQuadraticTerms) {
  Own<Tarq::IQuadExpr> q(CreateQuadExpr1(3));
  q->AddLinTerm(y_.get(), 1);
  q->AddLinTerm(y_.get(), 2);
  q->AddLinTerm(z_.get(), 0);
  q->AddQuadTerm(x_.get(), y_.get(), 1);
  q->AddQuadTerm(x_.get(), y_.get(), 1);  // the same product twice: two entries
  q->AddQuadTerm(y_.get(), x_.get(), -4);
  Own<Tarq::IQConstraint> c(model_->AddQConstr(q.get(), 'L', 5, "  my row "));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(c->GetIdx(), 0);
  const StoredQRow r = Stored(0);
  EXPECT_EQ(r.lin, (Terms{{1, 3}}));
  EXPECT_EQ(r.quad, (Quad{{0, 1, 1}, {0, 1, 1}, {1, 0, -4}}));
  EXPECT_EQ(r.sense, 'L');
  EXPECT_EQ(r.rhs, 2) << "the constant moves to the right-hand side";
  EXPECT_STREQ(c->GetName(), "my_row");
  EXPECT_EQ(q->GetSize(), 3);
  Own<Tarq::IExpr> lin(q->GetLinExpr());
  EXPECT_EQ(lin->GetSize(), 1) << "the linear part was merged in place";

  // Builder: x*x + y with sense L and right-hand side 4 reaches the store with bound 4.
  Own<Tarq::IQConstrBuilder> b(CreateQConstrBuilder());
  Own<Tarq::IQuadExpr> sq = Square();
  b->Set(sq.get(), 'L', 4);
  EXPECT_EQ(b->GetSense(), 'L');
  Own<Tarq::IQuadExpr> held(b->GetQuadExpr());
  EXPECT_EQ(held->GetConstant(), -4);
  Own<Tarq::IQConstraint> fromBuilder(model_->AddQConstr(b.get(), nullptr));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(Stored(1).rhs, 4);
  EXPECT_EQ(Stored(1).quad, (Quad{{0, 0, 1}}));

  // Two sides: x*x + y >= z*z, i.e. x*x + y - z*z >= 0.
  Own<Tarq::IQuadExpr> right(CreateQuadExpr1(1));
  right->AddQuadTerm(z_.get(), z_.get(), 1);
  Own<Tarq::IQConstraint> twoSided(model_->AddQConstr(sq.get(), right.get(), 'G', "two"));
  ASSERT_EQ(Code(), 0) << Msg();
  const StoredQRow t = Stored(2);
  EXPECT_EQ(t.quad, (Quad{{0, 0, 1}, {2, 2, -1}}));
  EXPECT_EQ(t.lin, (Terms{{1, 1}}));
  EXPECT_EQ(t.rhs, 1);
  EXPECT_EQ(t.sense, 'G');

  const int rows[2] = {0, 2}, cols[2] = {2, 2};
  const double vals[2] = {1, 1};
  Own<Tarq::IQConstraint> raw(model_->AddQConstr(0, nullptr, nullptr, 2, rows, cols, vals, 'E', 1, "raw"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(raw->GetIdx(), 3);
  EXPECT_EQ(QRows(), 4);
  EXPECT_EQ(model_->GetIntAttr("QConstrs"), 4);
}

TEST_F(ModelQuadTest, RefusedAddsChangeNothingAndLeaveTheModelUsable) {
  Own<Tarq::IEnvr> env2(CreateEnvr(&sink_));
  Own<Tarq::IModel> other(env2->CreateModel("other"));
  Own<Tarq::IVar> foreign(other->AddVar(0, 1, 0, 'C', "f"));
  Own<Tarq::IVar> gone(model_->AddVar(0, 1, 0, 'C', "gone"));
  gone->Remove();

  Own<Tarq::IQuadExpr> linearOnly(CreateQuadExpr2(x_.get(), 1));
  Own<Tarq::IQuadExpr> withForeign = Square();
  withForeign->AddQuadTerm(foreign.get(), x_.get(), 1);
  Own<Tarq::IQuadExpr> withRemoved = Square();
  withRemoved->AddQuadTerm(gone.get(), x_.get(), 1);
  Own<Tarq::IQuadExpr> withNan = Square();
  withNan->AddQuadTerm(y_.get(), y_.get(), std::nan(""));
  Own<Tarq::IQuadExpr> withInf = Square();
  withInf->AddQuadTerm(y_.get(), y_.get(), INFINITY);
  Own<Tarq::IQuadExpr> good = Square();
  const int r9[1] = {9};
  const double one[1] = {1};

  struct Case {
    const char* what;
    std::function<Tarq::IQConstraint*()> add;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"no quadratic terms", [&] { return model_->AddQConstr(linearOnly.get(), 'L', 1, nullptr); }, 3,
       "(INVALID) Invalid quadratic expression object"},
      {"null expression", [&] { return model_->AddQConstr(static_cast<Tarq::IQuadExpr*>(nullptr), 'L', 1, nullptr); },
       3, "(INVALID) Invalid quadratic expression object"},
      {"range sense", [&] { return model_->AddQConstr(good.get(), 'R', 1, nullptr); }, 3,
       "(INVALID) Invalid quadratic constraint sense"},
      {"fresh builder", [&] {
         Own<Tarq::IQConstrBuilder> b(CreateQConstrBuilder());
         b->Set(good.get(), 0, 0);
         return model_->AddQConstr(b.get(), nullptr);
       }, 3, "(INVALID) Invalid quadratic constraint sense"},
      {"raw sense", [&] { return model_->AddQConstr(0, nullptr, nullptr, 1, r9, r9, one, 'X', 1, nullptr); }, 3,
       "(INVALID) Invalid quadratic constraint sense: 88"},
      {"raw column out of range", [&] { return model_->AddQConstr(0, nullptr, nullptr, 1, r9, r9, one, 'L', 1, nullptr); },
       3, "(INVALID) Fail to add a quadratic constraint"},
      {"variable of another model", [&] { return model_->AddQConstr(withForeign.get(), 'L', 1, nullptr); }, 3,
       "(INVALID) Variable of another model in expression"},
      {"removed variable", [&] { return model_->AddQConstr(withRemoved.get(), 'L', 1, nullptr); }, 3,
       "(INVALID) Fail to add a quadratic constraint"},
      {"NaN coefficient", [&] { return model_->AddQConstr(withNan.get(), 'L', 1, nullptr); }, 3,
       "(INVALID) Fail to add a quadratic constraint"},
      {"infinite coefficient", [&] { return model_->AddQConstr(withInf.get(), 'L', 1, nullptr); }, 3,
       "(INVALID) Fail to add a quadratic constraint"},
      {"NaN right-hand side", [&] { return model_->AddQConstr(good.get(), 'L', std::nan(""), nullptr); }, 3,
       "(INVALID) Fail to add a quadratic constraint"},
  };
  for (const Case& c : cases) {
    Own<Tarq::IQConstraint> got(c.add());
    EXPECT_EQ(got->GetIdx(), -2) << c.what;
    EXPECT_EQ(Code(), c.code) << c.what;
    EXPECT_EQ(Msg(), c.message) << c.what;
    EXPECT_EQ(QRows(), 0) << c.what;
  }
  Own<Tarq::IQConstraint> ok(model_->AddQConstr(good.get(), 'L', 1, "ok"));
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(ok->GetIdx(), 0);
}

TEST_F(ModelQuadTest, GetNameAndInformationOfQuadraticConstraints) {
  Own<Tarq::IQuadExpr> q = Square();
  Own<Tarq::IQConstraint> a(model_->AddQConstr(q.get(), 'L', 4, "a"));
  Own<Tarq::IQConstraint> b(model_->AddQConstr(q.get(), 'G', -1, nullptr));
  ASSERT_EQ(Code(), 0) << Msg();

  Own<Tarq::IQConstraint> byName(model_->GetQConstrByName(" a "));
  EXPECT_EQ(byName->GetIdx(), 0);
  Own<Tarq::IQConstraint> missing(model_->GetQConstrByName("nope"));
  EXPECT_EQ(missing->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) No quadratic constraint of name nope");
  Own<Tarq::IQConstraint> outOfRange(model_->GetQConstr(2));
  EXPECT_EQ(outOfRange->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid quad row index");
  Own<Tarq::IQConstraint> second(model_->GetQConstr(1));
  EXPECT_EQ(Code(), 0);
  EXPECT_STREQ(second->GetName(), "Q1");

  EXPECT_EQ(b->GetSense(), 'G');
  EXPECT_EQ(b->GetRhs(), -1);
  b->SetSense('E');
  b->SetRhs(2.5);
  EXPECT_EQ(b->GetErrorCode(), 0);
  EXPECT_EQ(Stored(1).sense, 'E');
  EXPECT_EQ(second->Get("UB"), 2.5) << "copies share the record";
  b->SetSense('R');
  EXPECT_EQ(b->GetErrorCode(), 3);
  EXPECT_STREQ(b->GetErrorMsg(), "(INVALID) Fail to set sense of quadratic constraint");
  EXPECT_EQ(a->Get("lb"), -TARQ_INFINITY);
  EXPECT_EQ(a->Get("Slack"), TARQ_INFINITY) << "no solution yet";
  EXPECT_STREQ(a->GetErrorMsg(), "(INVALID) Fail to get information of a quadratic constraint");
  a->Set("Rhs", 3);
  EXPECT_STREQ(a->GetErrorMsg(), "(INVALID) Unknown quadratic constraint information");
  a->Set("", 3);
  EXPECT_STREQ(a->GetErrorMsg(), "(INVALID) Must specify information name of quadratic constraint");

  Own<Tarq::IQConstrArray> all(model_->GetQConstrs());
  ASSERT_EQ(all->GetSize(), 2);
  const char names[] = "first\0sec ond";
  model_->SetQConstrNames(all.get(), names, sizeof names);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_STREQ(b->GetName(), "sec_ond");
  model_->SetQConstrNames(all.get(), names, 6);
  EXPECT_EQ(Msg(), "(INVALID) Invalid size of input names");
  std::vector<double> ub;
  model_->GetQConstrInfo("UB", all.get(), ub);
  EXPECT_EQ(ub, (std::vector<double>{4, 2.5}));

  Own<Tarq::IQuadExpr> row(model_->GetQuadRow(a.get()));
  EXPECT_STREQ(row->ToString(512), "y + x * x");
  EXPECT_EQ(row->GetConstant(), 0);
}

TEST_F(ModelQuadTest, RemovalIsDeferredAndRenumbersBothKinds) {
  Own<Tarq::IQuadExpr> q(CreateQuadExpr2(z_.get(), 2));
  q->AddQuadTerm(y_.get(), z_.get(), 1);
  q->AddQuadTerm(x_.get(), x_.get(), 1);
  Own<Tarq::IQConstraint> c0(model_->AddQConstr(q.get(), 'L', 1, "c0"));
  Own<Tarq::IQConstraint> c1(model_->AddQConstr(q.get(), 'L', 2, "c1"));
  Own<Tarq::IQConstraint> c2(model_->AddQConstr(q.get(), 'L', 3, "c2"));
  Own<Tarq::IQConstrArray> gone(CreateQConstrArray());
  gone->PushBack(c0.get());
  model_->Remove(gone.get());
  c0->Remove();  // twice marks once
  EXPECT_EQ(c0->GetIdx(), -3);
  EXPECT_EQ(c2->GetIdx(), 2) << "nothing is deleted before the numbering is needed";
  Own<Tarq::IVarArray> vars(CreateVarArray());
  vars->PushBack(y_.get());
  model_->Remove(vars.get());
  EXPECT_EQ(model_->GetIntAttr("QConstrs"), 2);  // flushes
  EXPECT_EQ(c1->GetIdx(), 0);
  EXPECT_EQ(c2->GetIdx(), 1);
  EXPECT_STREQ(c2->GetName(), "c2");
  const StoredQRow r = Stored(0);
  EXPECT_EQ(r.lin, (Terms{{1, 2}})) << "z is now column 1";
  EXPECT_EQ(r.quad, (Quad{{0, 0, 1}})) << "the term on y went with it";
  std::vector<double> values;
  model_->GetQConstrInfo("UB", gone.get(), values);
  EXPECT_EQ(Msg(), "(INVALID) The 0-th quadratic constraint has been removed");
  Own<Tarq::IQuadExpr> row(model_->GetQuadRow(c0.get()));
  EXPECT_EQ(Msg(), "(INVALID) Invalid quadratic constraint");
  Own<Tarq::IModel> copy(model_->Clone());
  Own<Tarq::IQConstraint> inCopy(copy->GetQConstr(1));
  EXPECT_EQ(copy->GetErrorCode(), 0);
  EXPECT_STREQ(inCopy->GetName(), "c2");
  model_->Clear();
  EXPECT_EQ(model_->GetIntAttr("QConstrs"), 0);
  EXPECT_EQ(copy->GetIntAttr("QConstrs"), 2);
}

TEST_F(ModelQuadTest, ReadingAFileGivesObjectsForItsQuadraticRows) {
  Own<Tarq::IQuadExpr> q = Square();
  Own<Tarq::IQConstraint> old(model_->AddQConstr(q.get(), 'L', 4, "kept"));
  const std::string path = testing::TempDir() + "model_quad.lp";
  model_->Write(path.c_str());
  ASSERT_EQ(Code(), 0) << Msg();
  model_->Read(path.c_str());
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(old->GetIdx(), -2) << "objects held from before stand for nothing";
  Own<Tarq::IQConstrArray> rows(model_->GetQConstrs());
  ASSERT_EQ(rows->GetSize(), 1);
  Own<Tarq::IQConstraint> back(rows->GetQConstr(0));
  EXPECT_STREQ(back->GetName(), "kept");
  EXPECT_EQ(back->GetRhs(), 4);
  Own<Tarq::IQuadExpr> terms(model_->GetQuadRow(back.get()));
  EXPECT_STREQ(terms->ToString(512), "y + x * x");
}

TEST_F(ModelQuadTest, ObjectiveRoundTrips) {
  Own<Tarq::IQuadExpr> obj(CreateQuadExpr1(7));
  obj->AddLinTerm(x_.get(), 1);
  obj->AddLinTerm(x_.get(), 2);
  obj->AddQuadTerm(x_.get(), y_.get(), 0.5);
  obj->AddQuadTerm(z_.get(), z_.get(), 2);
  model_->SetObjective(obj.get(), -1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("HasQObj"), 0) << "SetObjective takes the linear terms and constant only";
  Own<Tarq::IQuadExpr> linearOnly(model_->GetQuadObjective());
  EXPECT_STREQ(linearOnly->ToString(512), "7 + 3 * x");
  model_->SetQuadObjective(obj.get(), -1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("QElems"), 2);
  EXPECT_EQ(model_->GetIntAttr("HasQObj"), 1);
  EXPECT_EQ(model_->GetIntAttr("ObjSense"), -1);
  Own<Tarq::IQuadExpr> back(model_->GetQuadObjective());
  EXPECT_STREQ(back->ToString(512), "7 + 3 * x + 0.5 * x * y + 2 * z * z");

  Own<Tarq::IExpr> linear(CreateLinExpr(y_.get(), 4));
  model_->SetQuadObjective(linear.get(), 1);
  EXPECT_EQ(model_->GetIntAttr("HasQObj"), 0) << "a linear objective leaves no quadratic terms";
  Own<Tarq::IQuadExpr> lin(model_->GetQuadObjective());
  EXPECT_STREQ(lin->ToString(512), "4 * y");

  const int rows[2] = {0, 1}, cols[2] = {0, 2};
  const double vals[2] = {1, -1};
  model_->SetQuadObjective(2, rows, cols, vals);
  ASSERT_EQ(Code(), 0);
  Own<Tarq::IQuadExpr> raw(model_->GetQuadObjective());
  EXPECT_STREQ(raw->ToString(512), "4 * y + x * x - y * z");
  const int bad[1] = {9};
  model_->SetQuadObjective(1, bad, bad, vals);
  EXPECT_EQ(Msg(), "(INVALID) Fail to set objective with quadratic data");
  model_->DelQuadObjective();
  EXPECT_EQ(model_->GetIntAttr("QElems"), 0);
  EXPECT_EQ(Code(), 0);

  Own<Tarq::IQuadExpr> again(CreateQuadExpr1(0));
  again->AddQuadTerm(y_.get(), y_.get(), 1);
  model_->SetQuadObjective(again.get(), 1);
  EXPECT_EQ(model_->GetIntAttr("QElems"), 1);
}

}  // namespace
