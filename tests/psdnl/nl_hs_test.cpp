// Classic small nonlinear programs with published optima (Hock and Schittkowski's collection,
// cited by number), built through the modeling layer's interfaces as an application would, and a
// mixed-integer nonlinear problem checked against enumeration.
#include <cmath>
#include <memory>
#include <vector>

#include "model/model_fixture.h"

namespace {

using Tarq::INlExpr;

// Expression values over the interfaces: each operation makes a new expression.
struct N {
  std::shared_ptr<INlExpr> e;
  INlExpr* get() const { return e.get(); }
};

N Wrap(INlExpr* e) { return N{std::shared_ptr<INlExpr>(e)}; }
N V(Tarq::IVar* v) { return Wrap(CreateNlExpr2(v, 1.0)); }
N C(double c) { return Wrap(CreateNlExpr1(c)); }
N operator+(const N& a, const N& b) {
  N r = Wrap(a.e->Clone());
  r.e->AddNlExpr(b.get(), 1.0);
  return r;
}
N operator-(const N& a, const N& b) {
  N r = Wrap(a.e->Clone());
  r.e->AddNlExpr(b.get(), -1.0);
  return r;
}
N operator*(const N& a, const N& b) {
  N r = Wrap(a.e->Clone());
  r.e->MultiplyBy(b.get());
  return r;
}
N operator*(double c, const N& a) {
  N r = Wrap(a.e->Clone());
  r.e->MultiplyBy(c);
  return r;
}
N operator+(const N& a, double c) { return a + C(c); }
N operator-(double c, const N& a) { return C(c) - a; }

class NlHsTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    h_.reset(CreateNlHelper());
  }
  // Variables with bounds and start values.
  std::vector<N> Vars(const std::vector<double>& lb, const std::vector<double>& ub, const std::vector<double>& start) {
    std::vector<N> out;
    for (std::size_t j = 0; j < lb.size(); ++j) {
      Own<Tarq::IVar> v(model_->AddVar(lb[j], ub[j], 0, 'C', nullptr));
      if (!start.empty()) model_->SetNlPrimalStart(v.get(), start[j]);
      out.push_back(V(v.get()));
    }
    return out;
  }
  N Pow(const N& a, double b) const { return Wrap(h_->Pow(a.get(), b)); }
  N Sin(const N& a) const { return Wrap(h_->Sin(a.get())); }
  N Exp(const N& a) const { return Wrap(h_->Exp(a.get())); }
  N Log(const N& a) const { return Wrap(h_->Log(a.get())); }
  void Row(const N& e, char sense, double rhs) {
    Own<Tarq::INlConstraint> c(model_->AddNlConstr(e.get(), sense, rhs, nullptr));
    ASSERT_EQ(Code(), 0) << Msg();
    ASSERT_GE(c->GetIdx(), 0);
  }
  // Solves and compares with a published optimum: within 1e-6 relative (absolute for 0).
  void ExpectOptimum(const N& objective, double best) {
    model_->SetNlObjective(objective.get(), 1);
    ASSERT_EQ(Code(), 0) << Msg();
    model_->Solve();
    ASSERT_EQ(Code(), 0) << Msg();
    EXPECT_EQ(model_->GetIntAttr("LpStatus"), TARQ_STATUS_LOCALLY_OPTIMAL);
    const double obj = model_->GetDblAttr("LpObjval");
    EXPECT_LE(std::fabs(obj - best), 1e-6 * std::max(1.0, std::fabs(best))) << obj << " vs " << best;
  }
  Own<Tarq::INlHelper> h_;
};

constexpr double kInf = 1e30;

TEST_F(NlHsTest, HS1) {
  auto x = Vars({-kInf, -1.5}, {kInf, kInf}, {-2, 1});
  ExpectOptimum(100 * Pow(x[1] - Pow(x[0], 2), 2) + Pow(1.0 - x[0], 2), 0.0);
}

TEST_F(NlHsTest, HS5_Sine) {
  auto x = Vars({-1.5, -3}, {4, 3}, {0, 0});
  ExpectOptimum(Sin(x[0] + x[1]) + Pow(x[0] - x[1], 2) + (-1.5) * x[0] + 2.5 * x[1] + 1.0,
                -std::sqrt(3.0) / 2 - M_PI / 3);
}

TEST_F(NlHsTest, HS6_Equality) {
  auto x = Vars({-kInf, -kInf}, {kInf, kInf}, {-1.2, 1});
  Row(10 * (x[1] - Pow(x[0], 2)), 'E', 0);
  ExpectOptimum(Pow(1.0 - x[0], 2), 0.0);
}

TEST_F(NlHsTest, HS7_Logarithm) {
  auto x = Vars({-kInf, -kInf}, {kInf, kInf}, {2, 2});
  Row(Pow(Pow(x[0], 2) + 1.0, 2) + Pow(x[1], 2), 'E', 4);
  ExpectOptimum(Log(Pow(x[0], 2) + 1.0) - x[1], -std::sqrt(3.0));
}

TEST_F(NlHsTest, HS10_Inequality) {
  auto x = Vars({-kInf, -kInf}, {kInf, kInf}, {-10, 10});
  Row(-3 * Pow(x[0], 2) + 2 * (x[0] * x[1]) - Pow(x[1], 2) + 1.0, 'G', 0);
  ExpectOptimum(x[0] - x[1], -1.0);
}

TEST_F(NlHsTest, HS11_Inequality) {
  auto x = Vars({-kInf, -kInf}, {kInf, kInf}, {4.9, 0.1});
  Row(x[1] - Pow(x[0], 2), 'G', 0);
  ExpectOptimum(Pow(x[0] + (-5.0), 2) + Pow(x[1], 2) + (-25.0), -8.498464223);
}

TEST_F(NlHsTest, HS26_FourthPowers) {
  auto x = Vars({-kInf, -kInf, -kInf}, {kInf, kInf, kInf}, {-2.6, 2, 2});
  Row((Pow(x[1], 2) + 1.0) * x[0] + Pow(x[2], 4), 'E', 3);
  ExpectOptimum(Pow(x[0] - x[1], 2) + Pow(x[1] - x[2], 4), 0.0);
}

TEST_F(NlHsTest, HS35_BoundedQuadratic) {
  auto x = Vars({0, 0, 0}, {kInf, kInf, kInf}, {0.5, 0.5, 0.5});
  Row(x[0] + x[1] + 2 * x[2], 'L', 3);
  ExpectOptimum(C(9) - 8 * x[0] - 6 * x[1] - 4 * x[2] + 2 * Pow(x[0], 2) + 2 * Pow(x[1], 2) + Pow(x[2], 2) +
                    2 * (x[0] * x[1]) + 2 * (x[0] * x[2]),
                1.0 / 9.0);
}

TEST_F(NlHsTest, HS40_ThreeEqualities) {
  auto x = Vars({-kInf, -kInf, -kInf, -kInf}, {kInf, kInf, kInf, kInf}, {0.8, 0.8, 0.8, 0.8});
  Row(Pow(x[0], 3) + Pow(x[1], 2), 'E', 1);
  Row(Pow(x[0], 2) * x[3] - x[2], 'E', 0);
  Row(Pow(x[3], 2) - x[1], 'E', 0);
  ExpectOptimum(-1 * (x[0] * x[1] * x[2] * x[3]), -0.25);
}

TEST_F(NlHsTest, HS56_SquaredSines) {
  const double a = std::asin(std::sqrt(1 / 4.2)), b = std::asin(std::sqrt(5 / 7.2));
  auto x = Vars(std::vector<double>(7, -kInf), std::vector<double>(7, kInf), {1, 1, 1, a, a, a, b});
  for (int k = 0; k < 3; ++k) Row(x[k] - 4.2 * Pow(Sin(x[3 + k]), 2), 'E', 0);
  Row(x[0] + 2 * x[1] + 2 * x[2] - 7.2 * Pow(Sin(x[6]), 2), 'E', 0);
  ExpectOptimum(-1 * (x[0] * x[1] * x[2]), -3.456);
}

TEST_F(NlHsTest, HS71_BoundsAndBothRowKinds) {
  auto x = Vars({1, 1, 1, 1}, {5, 5, 5, 5}, {1, 5, 5, 1});
  Row(x[0] * x[1] * x[2] * x[3], 'G', 25);
  Row(Pow(x[0], 2) + Pow(x[1], 2) + Pow(x[2], 2) + Pow(x[3], 2), 'E', 40);
  ExpectOptimum(x[0] * x[3] * (x[0] + x[1] + x[2]) + x[2], 17.0140173);
}

TEST_F(NlHsTest, HS80_Exponential) {
  auto x = Vars({-2.3, -2.3, -3.2, -3.2, -3.2}, {2.3, 2.3, 3.2, 3.2, 3.2}, {-2, 2, 2, -1, -1});
  N sum = Pow(x[0], 2);
  for (int j = 1; j < 5; ++j) sum = sum + Pow(x[j], 2);
  Row(sum, 'E', 10);
  Row(x[1] * x[2] - 5 * (x[3] * x[4]), 'E', 0);
  Row(Pow(x[0], 3) + Pow(x[1], 3), 'E', -1);
  ExpectOptimum(Exp(x[0] * x[1] * x[2] * x[3] * x[4]), 0.0539498478);
}

TEST_F(NlHsTest, MixedIntegerProblemMatchesEnumeration) {
  // min (x - 3.6)^2 + exp(z) - 2 z + (y - z)^2,  x + y <= 5,  x, y integer in [0, 10], z in [-5, 5].
  Own<Tarq::IVar> xv(model_->AddVar(0, 10, 0, 'I', "x")), yv(model_->AddVar(0, 10, 0, 'I', "y")),
      zv(model_->AddVar(-5, 5, 0, 'C', "z"));
  Own<Tarq::IExpr> sum(CreateLinExpr(xv.get(), 1));
  sum->AddTerm(yv.get(), 1);
  Own<Tarq::IConstraint> c(model_->AddConstr(sum.get(), 'L', 5, "cap"));
  N x = V(xv.get()), y = V(yv.get()), z = V(zv.get());
  model_->SetNlObjective((Pow(x + (-3.6), 2) + Exp(z) - 2 * z + Pow(y - z, 2)).get(), 1);
  ASSERT_EQ(Code(), 0) << Msg();
  double best = 1e30;
  for (int i = 0; i <= 5; ++i) {
    for (int k = 0; i + k <= 5; ++k) {
      double t = 0;
      for (int it = 0; it < 100; ++it) t -= (std::exp(t) - 2 + 2 * (t - k)) / (std::exp(t) + 2);
      best = std::min(best, (i - 3.6) * (i - 3.6) + std::exp(t) - 2 * t + (k - t) * (k - t));
    }
  }
  model_->Solve();
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("MipStatus"), TARQ_STATUS_LOCALLY_OPTIMAL);
  EXPECT_NEAR(model_->GetDblAttr("BestObj"), best, 1e-6 * std::max(1.0, std::fabs(best)));
}

}  // namespace
