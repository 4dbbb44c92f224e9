#include <algorithm>
#include <sstream>
#include <vector>

#include "model/model_fixture.h"
#include "scalar/lin_expr.h"
#include "scalar/terms.h"

namespace {

class LinExprTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    vars_.reset(model_->AddVars(3, 'C', nullptr));
    x_.reset(model_->AddVar(0, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(0, 10, 0, 'C', "y"));
    z_.reset(model_->AddVar(0, 10, 0, 'C', "z"));
  }
  // Adds the expression as a row and returns the row's entries as the solver holds them.
  Terms Added(Tarq::IExpr* e) {
    Own<Tarq::IConstraint> c(model_->AddConstr(e, 'L', 0, nullptr));
    EXPECT_EQ(Code(), 0) << Msg();
    return SolverRow(c->GetIdx());
  }
  Own<Tarq::IVarArray> vars_;
  Own<Tarq::IVar> x_, y_, z_;
};

TEST_F(LinExprTest, ModelMergeSumsDuplicatesAndDropsZerosAndRemoved) {
  Own<Tarq::IExpr> e(CreateLinExpr(x_.get(), 1));
  e->AddTerm(y_.get(), 0);
  e->AddTerm(x_.get(), 1);
  e->AddTerm(z_.get(), 2);
  e->AddTerm(z_.get(), -2);
  EXPECT_EQ(e->GetSize(), 5) << "terms are not merged while building";
  EXPECT_EQ(Added(e.get()), (Terms{{3, 2}})) << "the solver stores no zero coefficient";
  ASSERT_EQ(e->GetSize(), 2) << "the caller's expression is merged in place: y, all zeros, is gone";
  EXPECT_EQ(e->GetCoeff(0), 2);
  Own<Tarq::IVar> second(e->GetVar(1));
  EXPECT_EQ(second->GetIdx(), z_->GetIdx()) << "z's terms cancel, and one term of coefficient 0 stays";
  EXPECT_EQ(e->GetCoeff(1), 0);

  Own<Tarq::IExpr> removed(CreateLinExpr(y_.get(), 4));
  removed->AddTerm(x_.get(), 1);
  y_->Remove();
  EXPECT_EQ(Added(removed.get()), (Terms{{3, 1}}));
}

// Terms remember their variable's index with the epoch it was read in; an epoch names one model
// at one moment, so a variable of a second model that was never renumbered (its epoch as young as
// this one's) is still seen as foreign, in linear and quadratic terms, after a first term of this
// model and after renumbering.
TEST_F(LinExprTest, TermsOfASecondModelAreNeverTakenForThisModelsOwn) {
  Own<Tarq::IModel> a(env_->CreateModel("a"));
  Own<Tarq::IModel> b(env_->CreateModel("b"));
  Own<Tarq::IVar> xa(a->AddVar(0, 1, 0, 'C', "xa"));
  Own<Tarq::IVar> xb(b->AddVar(0, 1, 0, 'C', "xb"));
  for (int round = 0; round < 2; ++round) {
    Own<Tarq::IExpr> e(CreateExpr(0));
    e->AddTerm(xa.get(), 1);
    e->AddTerm(xb.get(), 2);
    e->AddTerm(xa.get(), 3);
    Own<Tarq::IConstraint> row(a->AddConstr(e.get(), 'L', 1, nullptr));
    EXPECT_LT(row->GetIdx(), 0);
    EXPECT_STREQ(a->GetErrorMsg(), "(INVALID) Variable of another model in expression");
    Own<Tarq::IQuadExpr> q(CreateQuadExpr1(0));
    q->AddQuadTerm(xa.get(), xa.get(), 1);
    q->AddQuadTerm(xb.get(), xb.get(), 1);
    Own<Tarq::IQConstraint> qrow(a->AddQConstr(q.get(), 'L', 1, nullptr));
    EXPECT_NE(a->GetErrorCode(), 0) << "a quadratic term of model b must not reach model a";
    EXPECT_EQ(a->GetIntAttr("Rows"), 0);
    EXPECT_EQ(a->GetIntAttr("QConstrs"), 0);
    // Renumber both models (a removal, deleted at the next use of the model) and try again.
    Own<Tarq::IVar> ta(a->AddVar(0, 1, 0, 'C', nullptr));
    Own<Tarq::IVar> tb(b->AddVar(0, 1, 0, 'C', nullptr));
    ta->Remove();
    tb->Remove();
    EXPECT_EQ(a->GetIntAttr("Cols"), 1);
    EXPECT_EQ(b->GetIntAttr("Cols"), 1);
  }
}

// An expression finds a term's model from the remembered epoch when it is the one last met on this
// thread; a model that is gone (its memory perhaps reused by the next one) must never be taken
// for a new model's.
TEST_F(LinExprTest, TermsFindTheirModelAfterAnotherModelIsGone) {
  for (int round = 0; round < 3; ++round) {
    {
      Own<Tarq::IModel> gone(env_->CreateModel("gone"));
      Own<Tarq::IVar> v(gone->AddVar(0, 1, 0, 'C', "v"));
      Own<Tarq::IExpr> e(CreateExpr(0));
      e->AddTerm(v.get(), 1);
    }
    Own<Tarq::IModel> next(env_->CreateModel("next"));
    Own<Tarq::IVarArray> vs(next->AddVars(3, 'C', nullptr));
    Own<Tarq::IVar> v2(vs->GetVar(2));
    Own<Tarq::IExpr> e(CreateExpr(0));
    e->AddTerm(v2.get(), 4);
    Own<Tarq::IConstraint> row(next->AddConstr(e.get(), 'L', 1, nullptr));
    ASSERT_EQ(row->GetIdx(), 0) << next->GetErrorMsg();
    int first = 0, idx = -1, size = 0;
    double val = 0;
    tarq_prob* prob = static_cast<TarqModel*>(next.get())->Data().Problem();
    ASSERT_EQ(TARQ_GetRows(prob, 1, &first, nullptr, nullptr, &idx, &val, 1, &size), 0);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(val, 4);
    // The term belongs to "next" only.
    Own<Tarq::IConstraint> foreign(model_->AddConstr(e.get(), 'L', 1, nullptr));
    EXPECT_LT(foreign->GetIdx(), 0);
    EXPECT_EQ(Msg(), "(INVALID) Variable of another model in expression");
  }
}

// A variable finds its model through the storage its record lives in: variables on either side of
// every storage boundary of two models, taken alternately so that each term looks its model up
// afresh, are told apart and reach the right columns.
TEST_F(LinExprTest, VariablesFindTheirModelWhereverTheirRecordsLie) {
  Own<Tarq::IModel> a(env_->CreateModel("a"));
  Own<Tarq::IModel> b(env_->CreateModel("b"));
  Own<Tarq::IVarArray> va(a->AddVars(1500, 'C', nullptr));
  Own<Tarq::IVarArray> vb(b->AddVars(1500, 'C', nullptr));
  tarq_prob* prob = static_cast<TarqModel*>(a.get())->Data().Problem();
  int rows = 0;
  for (int k : {0, 1, 253, 254, 255, 256, 508, 509, 510, 764, 765, 1019, 1020, 1274, 1275, 1499}) {
    Own<Tarq::IVar> x(va->GetVar(k)), y(vb->GetVar(k)), x2(va->GetVar(1499 - k));
    Own<Tarq::IExpr> mixed(CreateExpr(0));
    mixed->AddTerm(y.get(), 1);
    mixed->AddTerm(x.get(), 2);
    Own<Tarq::IConstraint> bad(a->AddConstr(mixed.get(), 'L', 1, nullptr));
    EXPECT_LT(bad->GetIdx(), 0) << k;
    EXPECT_STREQ(a->GetErrorMsg(), "(INVALID) Variable of another model in expression") << k;
    Own<Tarq::IExpr> own(CreateExpr(0));
    own->AddTerm(x.get(), 2);
    own->AddTerm(x2.get(), 3);
    Own<Tarq::IConstraint> row(a->AddConstr(own.get(), 'L', 1, nullptr));
    ASSERT_EQ(row->GetIdx(), rows) << a->GetErrorMsg();
    int idx[2] = {-1, -1}, size = 0;
    double val[2] = {0, 0};
    ASSERT_EQ(TARQ_GetRows(prob, 1, &rows, nullptr, nullptr, idx, val, 2, &size), 0);
    ++rows;
    if (k == 1499 - k) continue;
    ASSERT_EQ(size, 2) << k;
    const int at = idx[0] == k ? 0 : 1;
    EXPECT_EQ(idx[at], k);
    EXPECT_EQ(val[at], 2);
    EXPECT_EQ(idx[1 - at], 1499 - k);
    EXPECT_EQ(val[1 - at], 3);
  }
  // The variables of a model keep it alive: b's problem is still there for them after the model
  // object is gone.
  Own<Tarq::IVar> last(vb->GetVar(1499));
  b.reset();
  vb.reset();
  EXPECT_EQ(last->GetIdx(), 1499);
  last->Set("UB", 4);
  EXPECT_EQ(last->Get("UB"), 4) << last->GetErrorMsg();
}

TEST(TermMerge, MapFormKeepsZeroTermsAndSizedFormChoosesByDensity) {
  struct Obj {
    int index;
    int Index() const { return index; }
  };
  std::vector<double> coefs{0, 1, 2, -1};
  std::vector<Obj> objs{{7}, {-3}, {5}, {5}};
  Tarq::detail::MergeTermsMap(coefs, objs);
  ASSERT_EQ(objs.size(), 2u);
  EXPECT_EQ(objs[0].index, 7);
  EXPECT_EQ(coefs[0], 0) << "the map form keeps a variable whose coefficients are all 0";
  EXPECT_EQ(objs[1].index, 5);
  EXPECT_EQ(coefs[1], 1);

  std::vector<double> dense{0, 3};
  std::vector<Obj> denseObjs{{7}, {2}};
  Tarq::detail::MergeTermsSized(dense, denseObjs, 10);  // 10 / 2 <= 99: dense form drops the zero
  ASSERT_EQ(denseObjs.size(), 1u);
  EXPECT_EQ(denseObjs[0].index, 2);
  std::vector<double> sparse{0};
  std::vector<Obj> sparseObjs{{7}};
  Tarq::detail::MergeTermsSized(sparse, sparseObjs, 1000);  // map form keeps it
  EXPECT_EQ(sparseObjs.size(), 1u);
}

// The short-list merge must give exactly what the dense merge gives (same terms, same order,
// same sums), on lists with repeats, zeros, cancellations and removed objects, also on a run of
// terms inside longer arrays.
TEST(TermMerge, ShortListMergeMatchesTheDenseMerge) {
  struct Obj {
    int index;
    int Index() const { return index; }
  };
  unsigned state = 12345;
  auto next = [&] { return (state = state * 1103515245u + 12345u) >> 16; };
  std::vector<double> scratch(8, 0);
  std::vector<unsigned char> mark(8, 0);
  for (int trial = 0; trial < 2000; ++trial) {
    const std::size_t n = next() % (Tarq::detail::kSmallMerge + 1);
    std::vector<double> coefs(n);
    std::vector<Obj> objs(n);
    for (std::size_t i = 0; i < n; ++i) {
      objs[i].index = static_cast<int>(next() % 9) - 1;  // -1 stands for a removed object
      coefs[i] = static_cast<double>(static_cast<int>(next() % 5) - 2);
    }
    std::vector<double> denseCoefs = coefs, smallCoefs = coefs;
    std::vector<Obj> denseObjs = objs, smallObjs = objs;
    std::vector<int> denseIdx, smallIdx;
    for (const Obj& o : objs) denseIdx.push_back(o.index);
    smallIdx = denseIdx;
    Tarq::detail::MergeTermsDense(denseCoefs, denseObjs, denseIdx, scratch.data(), mark.data());
    Tarq::detail::MergeTermsSmall(smallCoefs, smallObjs, smallIdx);
    // The same terms as a run inside longer arrays, merged where they lie.
    std::vector<double> runCoefs = coefs;
    std::vector<Obj> runObjs = objs;
    runCoefs.push_back(99);
    runObjs.push_back(Obj{77});
    std::vector<int> runIdx;
    for (const Obj& o : objs) runIdx.push_back(o.index);
    Tarq::detail::TermRun<double> runC(runCoefs.data(), n);
    Tarq::detail::TermRun<Obj> runO(runObjs.data(), n);
    Tarq::detail::MergeTermsSmall(runC, runO, runIdx);
    ASSERT_EQ(runO.size(), denseObjs.size()) << "trial " << trial;
    EXPECT_EQ(runCoefs[n], 99) << "what lies behind a run stays";
    EXPECT_EQ(runObjs[n].index, 77);
    for (std::size_t i = 0; i < runO.size(); ++i) {
      EXPECT_EQ(runO[i].index, denseObjs[i].index) << "trial " << trial << " term " << i;
      EXPECT_EQ(runC[i], denseCoefs[i]) << "trial " << trial << " term " << i;
    }
    ASSERT_EQ(smallObjs.size(), denseObjs.size()) << "trial " << trial;
    for (std::size_t i = 0; i < denseObjs.size(); ++i) {
      EXPECT_EQ(smallObjs[i].index, denseObjs[i].index) << "trial " << trial << " term " << i;
      EXPECT_EQ(smallCoefs[i], denseCoefs[i]) << "trial " << trial << " term " << i;
      EXPECT_EQ(smallIdx[i], smallObjs[i].index) << "the index list stays parallel to the terms";
    }
    ASSERT_EQ(std::count(mark.begin(), mark.end(), 1), 0) << "the dense merge clears its marks";
  }
}

TEST_F(LinExprTest, RemoveMovesTheLastTermIntoTheGap) {
  Own<Tarq::IExpr> e(CreateExpr(0));
  e->AddTerm(x_.get(), 1);
  e->AddTerm(y_.get(), 2);
  e->AddTerm(z_.get(), 3);
  e->Remove(0);
  ASSERT_EQ(e->GetSize(), 2);
  Own<Tarq::IVar> first(e->GetVar(0));
  EXPECT_EQ(first->GetIdx(), z_->GetIdx());
  EXPECT_EQ(e->GetCoeff(1), 2);
  e->Remove(7);  // out of range: nothing
  EXPECT_EQ(e->GetSize(), 2);

  Own<Tarq::IExpr> f(CreateLinExpr(x_.get(), 1));
  f->AddTerm(y_.get(), 2);
  f->AddTerm(x_.get(), 3);
  f->Remove(x_.get());
  ASSERT_EQ(f->GetSize(), 1);
  EXPECT_EQ(f->GetCoeff(0), 2);
}

TEST_F(LinExprTest, ScalingAndCombining) {
  Own<Tarq::IExpr> e(CreateLinExpr(x_.get(), 2));
  e->AddConstant(3);
  e->DivideBy(0);
  EXPECT_EQ(e->GetErrorCode(), 3);
  EXPECT_STREQ(e->GetErrorMsg(), "(INVALID) Linear expression is divided by zero");
  EXPECT_EQ(e->GetCoeff(0), 2);
  e->DivideBy(2);
  EXPECT_EQ(e->GetCoeff(0), 1);
  EXPECT_EQ(e->GetConstant(), 1.5);

  Own<Tarq::IExpr> g(CreateLinExpr(y_.get(), 1));
  g->AddExpr(e.get(), 0);
  EXPECT_EQ(g->GetSize(), 1);
  EXPECT_EQ(g->GetConstant(), 0) << "a zero multiplier changes nothing, not even the constant";
  g->AddExpr(e.get(), -1);
  EXPECT_EQ(g->GetSize(), 2);
  EXPECT_EQ(g->GetCoeff(1), -1);
  EXPECT_EQ(g->GetConstant(), -1.5);
  g->AddExpr(g.get(), 2);  // adding an expression to itself doubles it into three times
  EXPECT_EQ(g->GetSize(), 4);
  EXPECT_EQ(g->GetConstant(), -4.5);

  e->MultiplyBy(0);
  EXPECT_EQ(e->GetSize(), 0);
  EXPECT_EQ(e->GetConstant(), 0);
  Own<Tarq::IExpr> clone(g->Clone());
  EXPECT_EQ(clone->GetSize(), 4);
  EXPECT_EQ(clone->GetErrorCode(), 0);

  Own<Tarq::IVarArray> three(model_->GetVars());
  const double coeffs[] = {1, 2};
  EXPECT_EQ(clone->AddTerms(three.get(), coeffs, 2), -1) << "fewer coefficients than variables";
  EXPECT_EQ(clone->AddTerms(three.get(), 5.0), 6);
  EXPECT_EQ(clone->GetSize(), 10);
  std::vector<Tarq::IVar*> list{x_.get(), y_.get()};
  EXPECT_EQ(clone->AddTerms(list, nullptr, 2), -1);
  EXPECT_EQ(clone->AddTerms(list, coeffs, 2), 2);
  EXPECT_EQ(clone->GetCoeff(11), 2);
}

TEST_F(LinExprTest, PrintsInTheDocumentedShape) {
  Own<Tarq::IExpr> e(CreateExpr(3));
  e->AddTerm(x_.get(), 2);
  e->AddTerm(y_.get(), -1);
  EXPECT_STREQ(e->ToString(512), "3 + 2 * x - y");
  Own<Tarq::IExpr> f(CreateLinExpr(x_.get(), 1));
  f->AddTerm(y_.get(), 0.5);
  EXPECT_STREQ(f->ToString(512), "x + 0.5 * y");
  Own<Tarq::IExpr> g(CreateLinExpr(x_.get(), -2));
  EXPECT_STREQ(g->ToString(512), " - 2 * x");
  Own<Tarq::IExpr> h(CreateLinExpr(x_.get(), -1));
  EXPECT_STREQ(h->ToString(512), " - x");
  Own<Tarq::IExpr> zero(CreateExpr(0));
  EXPECT_STREQ(zero->ToString(512), "0");
  Own<Tarq::IExpr> skipped(CreateLinExpr(x_.get(), 0));
  EXPECT_STREQ(skipped->ToString(512), "");
  Own<Tarq::IVar> unnamed(vars_->GetVar(1));
  Own<Tarq::IExpr> generated(CreateLinExpr(unnamed.get(), 1.25));
  EXPECT_STREQ(generated->ToString(512), "1.25 * C1");

  Own<Tarq::IExpr> many(CreateExpr(0));
  for (int k = 0; k < 65; ++k) many->AddTerm(x_.get(), 1);
  std::string text = many->ToString(512);
  EXPECT_EQ(text.size(), std::string("x").size() * 64 + std::string(" + ").size() * 63 + 5);
  EXPECT_EQ(text.substr(text.size() - 5), " ... ");
  EXPECT_STREQ(many->ToString(0), " ... ") << "no term examined";
  Own<Tarq::IExpr> none(CreateExpr(0));
  EXPECT_STREQ(none->ToString(-8), "0 ... ") << "a negative length examines fewer terms than there are";
  std::ostringstream out;
  out << Tarq::ExprOf(e.get());
  EXPECT_EQ(out.str(), "3 + 2 * x - y");
}

TEST_F(LinExprTest, EvaluationReportsTheFailingVariable) {
  Own<Tarq::IExpr> constant(CreateExpr(4));
  EXPECT_EQ(constant->Evaluate(), 4);
  Own<Tarq::IExpr> e(CreateLinExpr(x_.get(), 1));
  EXPECT_EQ(e->Evaluate(), 1e30) << "no solution yet";
  EXPECT_EQ(e->GetErrorCode(), 3);
  EXPECT_STREQ(e->GetErrorMsg(), "(INVALID) Fail to get variable information");
  Own<Tarq::IExpr> r(CreateLinExpr(z_.get(), 1));
  z_->Remove();
  EXPECT_EQ(r->Evaluate(), 1e30);
  EXPECT_STREQ(r->GetErrorMsg(), "(INVALID) Invalid variable");
  Own<Tarq::IExpr> failed(CreateExpr(1));
  failed->DivideBy(0);
  EXPECT_EQ(failed->Evaluate(), 1e30) << "even without terms";
  failed->AddTerm(y_.get(), 1);
  EXPECT_EQ(failed->Evaluate(), 1e30) << "an expression carrying an error evaluates to the failure value";
}

}  // namespace
