// Quadratic expressions: building, products, scaling, evaluation and printing.
#include <string>
#include <vector>

#include "model/model_fixture.h"

namespace {

class QuadExprTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    x_.reset(model_->AddVar(0, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(0, 10, 0, 'C', "y"));
    z_.reset(model_->AddVar(0, 10, 0, 'C', "z"));
  }
  // (first index, second index, coefficient) of every quadratic term.
  struct Term {
    int a, b;
    double c;
    bool operator==(const Term& o) const { return a == o.a && b == o.b && c == o.c; }
  };
  static std::vector<Term> QuadTerms(const Tarq::IQuadExpr& q) {
    std::vector<Term> out;
    for (int i = 0; i < q.GetSize(); ++i) {
      Own<Tarq::IVar> a(q.GetVar1(i)), b(q.GetVar2(i));
      out.push_back({a->GetIdx(), b->GetIdx(), q.GetCoeff(i)});
    }
    return out;
  }
  static Terms LinTerms(const Tarq::IQuadExpr& q) {
    Own<Tarq::IExpr> lin(q.GetLinExpr());
    Terms out;
    for (int i = 0; i < lin->GetSize(); ++i) {
      Own<Tarq::IVar> v(lin->GetVar(i));
      out.emplace_back(v->GetIdx(), lin->GetCoeff(i));
    }
    return out;
  }
  Own<Tarq::IExpr> Lin(Tarq::IVar* v, double c, double constant) {
    Own<Tarq::IExpr> e(CreateLinExpr(v, c));
    e->AddConstant(constant);
    return e;
  }
  Own<Tarq::IVar> x_, y_, z_;
};

TEST_F(QuadExprTest, ProductsKeepEveryPairInOrder) {
  Own<Tarq::IExpr> a = Lin(x_.get(), 1, 1), b = Lin(y_.get(), 1, 2);
  Own<Tarq::IQuadExpr> p(CreateQuadExpr5(a.get(), b.get()));
  EXPECT_EQ(LinTerms(*p), (Terms{{1, 1}, {0, 2}}));  // 1 * y, then 2 * x
  EXPECT_EQ(p->GetConstant(), 2);
  EXPECT_EQ(QuadTerms(*p), (std::vector<Term>{{0, 1, 1}}));

  // (2x + 3z) * (y - x): four terms, e1 outer, e2 inner, coefficients multiplied.
  Own<Tarq::IExpr> c = Lin(x_.get(), 2, 0), d = Lin(y_.get(), 1, 0);
  c->AddTerm(z_.get(), 3);
  d->AddTerm(x_.get(), -1);
  Own<Tarq::IQuadExpr> q(CreateQuadExpr1(0));
  q->AddMulExpr(c.get(), d.get());
  EXPECT_EQ(QuadTerms(*q), (std::vector<Term>{{0, 1, 2}, {0, 0, -2}, {2, 1, 3}, {2, 0, -3}}));
  EXPECT_TRUE(LinTerms(*q).empty());

  Own<Tarq::IExpr> three(CreateExpr(3));
  Own<Tarq::IQuadExpr> v3(CreateQuadExpr4(three.get(), z_.get()));
  EXPECT_EQ(LinTerms(*v3), (Terms{{2, 3}}));
  EXPECT_EQ(v3->GetSize(), 0);
  Own<Tarq::IExpr> justX(CreateLinExpr(x_.get(), 1));
  Own<Tarq::IQuadExpr> xz(CreateQuadExpr4(justX.get(), z_.get()));
  EXPECT_EQ(LinTerms(*xz), (Terms{{2, 0}}));  // the constant 0 still gives a linear term
  EXPECT_EQ(QuadTerms(*xz), (std::vector<Term>{{0, 2, 1}}));
}

TEST_F(QuadExprTest, TermListsAreCheckedBeforeAnythingIsAdded) {
  Own<Tarq::IVarArray> three(CreateVarArray()), two(CreateVarArray());
  for (Tarq::IVar* v : {x_.get(), y_.get(), z_.get()}) three->PushBack(v);
  two->PushBack(x_.get());
  two->PushBack(y_.get());
  Own<Tarq::IQuadExpr> q(CreateQuadExpr1(0));
  const double c[3] = {1, 2, 3};
  EXPECT_EQ(q->AddQuadTerms(three.get(), two.get(), c, 3), -1);
  EXPECT_EQ(q->AddQuadTerms(three.get(), two.get(), 1.0), -1);
  EXPECT_EQ(q->AddQuadTerms(three.get(), three.get(), nullptr, 3), -1);
  EXPECT_EQ(q->AddQuadTerms(three.get(), three.get(), c, 2), -1);
  EXPECT_EQ(q->AddLinTerms(three.get(), nullptr, 3), -1);
  EXPECT_EQ(q->GetSize(), 0);
  EXPECT_TRUE(LinTerms(*q).empty());
  EXPECT_EQ(q->AddQuadTerms(three.get(), three.get(), c, 3), 3);
  EXPECT_EQ(q->AddQuadTerms(two.get(), two.get(), 5.0), 2);
  EXPECT_EQ(q->AddLinTerms(two.get(), c, 2), 2);
  EXPECT_EQ(QuadTerms(*q), (std::vector<Term>{{0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {0, 0, 5}, {1, 1, 5}}));
  EXPECT_EQ(LinTerms(*q), (Terms{{0, 1}, {1, 2}}));
}

TEST_F(QuadExprTest, RemovalScalingAndAdding) {
  Own<Tarq::IQuadExpr> q(CreateQuadExpr2(z_.get(), 4));
  q->AddQuadTerm(x_.get(), y_.get(), 1);
  q->Remove(y_.get());  // only first variables are compared
  EXPECT_EQ(q->GetSize(), 1);
  q->AddQuadTerm(y_.get(), y_.get(), 2);
  q->AddQuadTerm(x_.get(), z_.get(), 3);
  q->Remove(x_.get());
  EXPECT_EQ(QuadTerms(*q), (std::vector<Term>{{1, 1, 2}}));
  q->Remove(7);
  q->Remove(-1);
  EXPECT_EQ(q->GetSize(), 1);

  Own<Tarq::IQuadExpr> sum(CreateQuadExpr1(1));
  sum->AddQuadExpr(q.get(), -1);
  sum->AddQuadExpr(q.get(), 0);  // nothing at all for multiplier 0
  EXPECT_EQ(QuadTerms(*sum), (std::vector<Term>{{1, 1, -2}}));
  EXPECT_EQ(LinTerms(*sum), (Terms{{2, -4}}));
  sum->MultiplyBy(3);
  EXPECT_EQ(sum->GetCoeff(0), -6);
  EXPECT_EQ(sum->GetConstant(), 3);
  sum->DivideBy(0);
  EXPECT_EQ(sum->GetErrorCode(), 3);
  EXPECT_STREQ(sum->GetErrorMsg(), "(INVALID) Quadratic expression is divided by zero");
  EXPECT_EQ(sum->GetCoeff(0), -6) << "a division by zero changes nothing";
  sum->DivideBy(2);
  EXPECT_EQ(sum->GetCoeff(0), -3);
  EXPECT_EQ(sum->GetConstant(), 1.5);
  Own<Tarq::IQuadExpr> clone(sum->Clone());
  EXPECT_EQ(clone->GetErrorCode(), 0) << "a clone starts with a clear status";
  EXPECT_EQ(QuadTerms(*clone), QuadTerms(*sum));
  sum->MultiplyBy(0);
  EXPECT_EQ(sum->GetSize(), 0);
  EXPECT_TRUE(LinTerms(*sum).empty());
  EXPECT_EQ(sum->GetConstant(), 0);
  EXPECT_EQ(sum->GetErrorCode(), 3) << "Clear and MultiplyBy(0) keep the status";
  EXPECT_EQ(clone->GetSize(), 1);
  EXPECT_EQ(q->GetCoeff(5), TARQ_INFINITY);
  Own<Tarq::IVar> none(q->GetVar1(5));
  EXPECT_EQ(none->GetIdx(), -2);
}

TEST_F(QuadExprTest, EvaluatesAtTheSolutionAndReportsRemovedVariables) {
  const double values[3] = {2, 3, 5};
  model_->SetLpSolution(values, nullptr, nullptr, nullptr);
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IExpr> e = Lin(x_.get(), 1, 1);
  Own<Tarq::IQuadExpr> q(CreateQuadExpr3(e.get()));
  q->AddQuadTerm(x_.get(), y_.get(), 2);
  q->AddQuadTerm(z_.get(), z_.get(), -1);
  EXPECT_DOUBLE_EQ(q->Evaluate(), 1 + 2 + 2 * 2 * 3 - 25);
  EXPECT_EQ(q->GetErrorCode(), 0);

  Own<Tarq::IVarArray> gone(CreateVarArray());
  gone->PushBack(z_.get());
  model_->Remove(gone.get());
  EXPECT_EQ(q->Evaluate(), TARQ_INFINITY);
  EXPECT_EQ(q->GetErrorCode(), 3);
  EXPECT_STREQ(q->GetErrorMsg(), "(INVALID) Invalid variable");
}

TEST_F(QuadExprTest, PrintsLinearPartThenTermsWithinTheBudget) {
  Own<Tarq::IQuadExpr> only(CreateQuadExpr1(0));
  only->AddQuadTerm(x_.get(), y_.get(), 1);
  EXPECT_STREQ(only->ToString(512), "0 + x * y");

  Own<Tarq::IExpr> a = Lin(x_.get(), 1, 1), b = Lin(y_.get(), 1, 2);
  Own<Tarq::IQuadExpr> p(CreateQuadExpr5(a.get(), b.get()));
  p->AddQuadTerm(z_.get(), x_.get(), -2.5);
  p->AddQuadTerm(y_.get(), y_.get(), 0);  // skipped: coefficient 0
  EXPECT_STREQ(p->ToString(512), "2 + y + 2 * x + x * y - 2.5 * z * x");
  // 24 characters: the linear part within 12 ("2 + y ... "), 14 left for one term.
  EXPECT_STREQ(p->ToString(24), "2 + y ...  + x * y ... ");
  EXPECT_STREQ(p->ToString(4), "2 ...  ... ") << "no budget left for quadratic terms";

  Own<Tarq::IVarArray> gone(CreateVarArray());
  gone->PushBack(x_.get());
  model_->Remove(gone.get());
  EXPECT_STREQ(p->ToString(512), "2 + y") << "terms on a removed variable are not printed";
}

}  // namespace
