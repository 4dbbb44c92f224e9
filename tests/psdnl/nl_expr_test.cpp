// Nonlinear expressions: the build-time zero and one rules, the tokens every operation appends,
// printing, evaluation, and the errors of bad operands.
#include <string>
#include <vector>

#include "model/model_fixture.h"
#include "psdnl/nl_expr.h"

namespace {

class NlExprTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    x_.reset(model_->AddVar(0, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(0, 10, 0, 'C', "y"));
    z_.reset(model_->AddVar(0, 10, 0, 'C', "z"));
    h_.reset(CreateNlHelper());
  }
  static std::vector<int> Tokens(const Tarq::INlExpr* e) { return Tarq::NlExprOf(e).tokens; }
  static std::vector<double> Consts(const Tarq::INlExpr* e) { return Tarq::NlExprOf(e).consts; }
  Own<Tarq::INlExpr> X() { return Own<Tarq::INlExpr>(CreateNlExpr2(x_.get(), 1.0)); }
  Own<Tarq::IVar> x_, y_, z_;
  Own<Tarq::INlHelper> h_;
};

constexpr int H = -99, K = -60;

TEST_F(NlExprTest, ConstantsAndFunctionsOfConstantsAreNotFolded) {
  Own<Tarq::INlExpr> c(CreateNlExpr1(0));
  EXPECT_EQ(c->GetSize(), 1u);
  EXPECT_STREQ(c->ToString(512), "[ POSTFIX ]");
  Own<Tarq::INlExpr> s(h_->Sqrt(4.0));
  EXPECT_EQ(Tokens(s.get()), (std::vector<int>{H, K, -15}));
  EXPECT_EQ(Consts(s.get()), std::vector<double>{4.0});
  EXPECT_EQ(s->Evaluate(), 2.0);
  Own<Tarq::IExpr> empty(CreateExpr(0));
  Own<Tarq::INlExpr> e(h_->Exp(empty.get()));
  EXPECT_EQ(Tokens(e.get()), (std::vector<int>{H, K, -16}));
  EXPECT_EQ(Consts(e.get()), std::vector<double>{0.0});
  EXPECT_EQ(e->Evaluate(), 1.0);
  Own<Tarq::INlExpr> sin(h_->Sin(x_.get()));
  EXPECT_EQ(Tokens(sin.get()), (std::vector<int>{H, 0, -31}));
  EXPECT_STREQ(sin->ToString(512), "[ POSTFIX C(0) SIN ]");
  Own<Tarq::INlExpr> k(CreateNlExpr1(2.5));
  EXPECT_STREQ(k->ToString(512), "2.5 + [ POSTFIX ]");
}

TEST_F(NlExprTest, LinearAndQuadraticConversionsFollowTheOneRules) {
  Own<Tarq::IExpr> three(CreateLinExpr(x_.get(), 3));
  Own<Tarq::INlExpr> a(h_->Log(three.get()));
  EXPECT_EQ(Tokens(a.get()), (std::vector<int>{H, K, 0, -12, -17}));
  Own<Tarq::IExpr> one(CreateLinExpr(x_.get(), 1));
  Own<Tarq::INlExpr> b(h_->Log(one.get()));
  EXPECT_EQ(Tokens(b.get()), (std::vector<int>{H, 0, -17}));
  // x + 2y + 1: three operands make a SUM.
  one->AddTerm(y_.get(), 2);
  one->AddConstant(1);
  Own<Tarq::INlExpr> c(h_->Exp(one.get()));
  EXPECT_EQ(Tokens(c.get()), (std::vector<int>{H, 0, K, 1, -12, K, -50, 3, -16}));
  EXPECT_EQ(Consts(c.get()), (std::vector<double>{2.0, 1.0}));
  // A quadratic expression with a zero term among three: two terms, joined by +.
  Own<Tarq::IQuadExpr> q(CreateQuadExpr1(0));
  q->AddQuadTerm(x_.get(), y_.get(), 1);
  q->AddQuadTerm(y_.get(), z_.get(), 0);
  q->AddQuadTerm(z_.get(), z_.get(), 2);
  Own<Tarq::INlExpr> d(CreateNlExpr4(q.get()));
  EXPECT_EQ(Tokens(d.get()), (std::vector<int>{H, 0, 1, -12, K, 2, -12, 2, -12, -10}));
  EXPECT_EQ(Tarq::NlExprOf(d.get()).vars.size(), 4u);
}

TEST_F(NlExprTest, SumsKeepLinearPartsApartAndJoinNonlinearParts) {
  Own<Tarq::INlExpr> a(h_->Sin(x_.get())), b(h_->Cos(y_.get())), c(h_->Exp(z_.get()));
  a->AddTerm(z_.get(), 2);
  Own<Tarq::INlExpr> two(h_->Sum({a.get(), b.get()}));
  EXPECT_EQ(Tokens(two.get()), (std::vector<int>{H, 0, -31, 1, -32, -10}));
  Own<Tarq::IExpr> lin(two->GetLinExpr());
  EXPECT_EQ(lin->GetSize(), 1);
  Own<Tarq::INlExpr> three(h_->Sum(a.get(), b.get(), c.get()));
  EXPECT_EQ(Tokens(three.get()), (std::vector<int>{H, 0, -31, 1, -32, 2, -16, -50, 3}));
  // AddNlExpr with a multiplier: linear parts scaled, the program multiplied by a constant.
  Own<Tarq::INlExpr> d(h_->Sin(x_.get()));
  d->AddNlExpr(c.get(), 2.0);
  EXPECT_EQ(Tokens(d.get()), (std::vector<int>{H, 0, -31, 2, -16, K, -12, -10}));
  d->AddNlExpr(c.get(), 0.0);
  EXPECT_EQ(d->GetSize(), 8u);
}

TEST_F(NlExprTest, ScalingByZeroOneAndMinusOne) {
  Own<Tarq::INlExpr> e(h_->Sin(x_.get()));
  e->AddConstant(1);
  e->MultiplyBy(1.0);
  EXPECT_EQ(e->GetSize(), 3u);
  e->MultiplyBy(-1.0);
  EXPECT_EQ(Tokens(e.get()), (std::vector<int>{H, 0, -31, -19}));
  EXPECT_EQ(e->GetConstant(), -1);
  e->Negate();
  EXPECT_EQ(Tokens(e.get()).back(), -19);
  e->MultiplyBy(3.0);
  EXPECT_EQ(Tokens(e.get()), (std::vector<int>{H, 0, -31, -19, -19, K, -12}));
  e->DivideBy(0.0);
  EXPECT_EQ(e->GetErrorCode(), 3);
  EXPECT_STREQ(e->GetErrorMsg(), "(INVALID) Nonlinear expression is divided by zero");
  EXPECT_EQ(e->GetSize(), 7u);
  e->MultiplyBy(0.0);
  EXPECT_EQ(e->GetSize(), 1u);
  EXPECT_EQ(e->GetConstant(), 0.0);
  EXPECT_EQ(e->GetErrorCode(), 3);  // the status stays
}

TEST_F(NlExprTest, ProductsAndQuotientsWithExpressions) {
  // (x + 1) * y: the linear part becomes an operand first.
  Own<Tarq::INlExpr> e(CreateNlExpr2(x_.get(), 1.0));
  e->AddConstant(1);
  e->MultiplyBy(y_.get());
  EXPECT_EQ(Tokens(e.get()), (std::vector<int>{H, 0, K, -10, 1, -12}));
  EXPECT_EQ(e->GetConstant(), 0.0);
  // sin(x) / (2y): the quotient of a program and a converted linear expression.
  Own<Tarq::INlExpr> f(h_->Sin(x_.get()));
  Own<Tarq::IExpr> twoY(CreateLinExpr(y_.get(), 2));
  f->DivideBy(twoY.get());
  EXPECT_EQ(Tokens(f.get()), (std::vector<int>{H, 0, -31, K, 1, -12, -13}));
  // Zero stays zero, also when divided.
  Own<Tarq::INlExpr> zero(CreateNlExpr1(0));
  zero->DivideBy(y_.get());
  EXPECT_EQ(zero->GetSize(), 1u);
  EXPECT_EQ(zero->GetErrorCode(), 0);
  // Dividing by an identically zero expression is an error and changes nothing.
  Own<Tarq::IExpr> zeroTerm(CreateLinExpr(y_.get(), 0));
  const std::size_t before = f->GetSize();
  f->DivideBy(zeroTerm.get());
  EXPECT_EQ(f->GetErrorCode(), 3);
  EXPECT_EQ(f->GetSize(), before);
  // Multiplying by it clears.
  f->MultiplyBy(zeroTerm.get());
  EXPECT_EQ(f->GetSize(), 1u);
}

TEST_F(NlExprTest, PowerAndArcTangentRules) {
  Own<Tarq::INlExpr> x = X(), zero(CreateNlExpr1(0));
  Own<Tarq::INlExpr> p0(h_->Pow(x.get(), 0.0));
  EXPECT_EQ(p0->GetSize(), 1u);
  EXPECT_EQ(p0->GetConstant(), 1.0);
  Own<Tarq::INlExpr> pz(h_->Pow(zero.get(), 2.0));
  EXPECT_EQ(pz->GetSize(), 1u);
  EXPECT_EQ(pz->GetConstant(), 0.0);
  Own<Tarq::INlExpr> p2(h_->Pow(x.get(), 2.0));
  EXPECT_EQ(Tokens(p2.get()), (std::vector<int>{H, 0, K, -14}));
  Own<Tarq::INlExpr> px(h_->Pow(2.0, x.get()));
  EXPECT_EQ(Tokens(px.get()), (std::vector<int>{H, K, 0, -14}));
  Own<Tarq::INlExpr> a0(h_->Atan2(zero.get(), 1.0));
  EXPECT_EQ(a0->GetSize(), 1u);
  Own<Tarq::INlExpr> a1(h_->Atan2(1.0, zero.get()));
  EXPECT_EQ(Tokens(a1.get()), (std::vector<int>{H, K, K, -47}));
  EXPECT_EQ(Consts(a1.get()), (std::vector<double>{1.0, 0.0}));
}

TEST_F(NlExprTest, EvaluationAndItsErrors) {
  double x = 2, y = 0.5, z = 3;
  // Values come from a solution: fix the variables and solve.
  Own<Tarq::IVarArray> vars(model_->GetVars());
  const double values[] = {x, y, z};
  model_->SetColInfo("LB", vars.get(), values, 3);
  model_->SetColInfo("UB", vars.get(), values, 3);
  model_->Solve();
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::INlExpr> xe = X();
  Own<Tarq::INlExpr> e(h_->Pow(xe.get(), 3.0));
  e->MultiplyBy(y_.get());
  e->AddTerm(z_.get(), 1.0);
  EXPECT_DOUBLE_EQ(e->Evaluate(), 8 * 0.5 + 3);
  // A variable removed from the model leaves its token out of order.
  Own<Tarq::INlExpr> s(h_->Sin(z_.get()));
  Own<Tarq::IVarArray> gone(CreateVarArray());
  gone->PushBack(y_.get());
  model_->Remove(gone.get());
  model_->GetIntAttr("Cols");  // runs the deletion: z moves to column 1
  EXPECT_EQ(s->Evaluate(), 1e30);
  EXPECT_STREQ(s->GetErrorMsg(), "(INVALID) Index of Var in nonlinear expression is out of order");
  Own<Tarq::INlExpr> bad(h_->Sin(y_.get()));
  EXPECT_EQ(bad->GetSize(), 1u);
  EXPECT_EQ(bad->GetErrorCode(), 3);
  EXPECT_STREQ(bad->GetErrorMsg(), "(INVALID) Invalid variable of index -4");
}

}  // namespace
