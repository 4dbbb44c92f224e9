// Mean-variance portfolio: spend a budget on six asset classes so that the expected return
// reaches a target at the least risk (variance of the return). Shows a quadratic objective built
// from a covariance matrix, reading duals, and a limit on the number of assets held, which makes
// the problem a mixed-integer QP.
//
//   minimise   x' S x                         (S: covariance of the returns)
//   budget:    sum_i x_i = 1
//   target:    sum_i mu_i x_i >= 0.08
//   0 <= x_i <= 1;   with a limit: x_i <= z_i, sum_i z_i <= 3, z_i binary
//
// S = B B' + diag(d) comes from a two-factor model (loadings B, own variances d), so it is
// positive definite. The covariance terms are added for every pair (i, j) and (j, i); the library
// sums both orders of a product. The mixed-integer optimum agrees with the best of the 20 QPs
// restricted to three assets each (checked by solving them one by one).
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "example_support.h"
#include "tarq/tarq.hpp"

namespace {

using example::Check;
using example::kOptimal;
using example::Own;

constexpr int kAssets = 6;
constexpr double kTarget = 0.08;
constexpr int kMaxHeld = 3;

struct Asset {
  const char* name;
  double expected;          // expected return
  std::array<double, 2> b;  // loadings on the two factors
  double own;               // own variance
};
constexpr std::array<Asset, kAssets> kData{{
    {"bonds", 0.03, {0.02, 0.01}, 0.0004},
    {"utilities", 0.05, {0.06, 0.02}, 0.0016},
    {"consumer", 0.07, {0.10, -0.02}, 0.0025},
    {"tech", 0.11, {0.18, -0.06}, 0.0064},
    {"energy", 0.09, {0.12, 0.08}, 0.0049},
    {"emerging", 0.13, {0.20, 0.05}, 0.0100},
}};

double Covariance(int i, int j) {
  const double factors = kData[i].b[0] * kData[j].b[0] + kData[i].b[1] * kData[j].b[1];
  return factors + (i == j ? kData[i].own : 0.0);
}

double Rounded(double v) { return std::fabs(v) < 5e-5 ? 0.0 : v; }

// The model without the limit: weights x, budget and target rows, variance objective.
struct Portfolio {
  Own<Tarq::IModel> model;
  std::vector<Own<Tarq::IVar>> x;
  Own<Tarq::IConstraint> budget, target;
};

Portfolio Build(Tarq::IEnvr& env, const char* name) {
  Portfolio p;
  p.model.reset(env.CreateModel(name));
  Check(*p.model);
  Own<Tarq::IExpr> spent(CreateExpr(0)), expected(CreateExpr(0));
  for (const Asset& a : kData) {
    p.x.emplace_back(p.model->AddVar(0, 1, 0, 'C', a.name));
    Check(*p.model);
    spent->AddTerm(p.x.back().get(), 1);
    expected->AddTerm(p.x.back().get(), a.expected);
  }
  p.budget.reset(p.model->AddConstr(spent.get(), 'E', 1, "budget"));
  p.target.reset(p.model->AddConstr(expected.get(), 'G', kTarget, "target"));
  Check(*p.model);
  Own<Tarq::IQuadExpr> variance(CreateQuadExpr1(0));
  for (int i = 0; i < kAssets; ++i) {
    for (int j = 0; j < kAssets; ++j) variance->AddQuadTerm(p.x[i].get(), p.x[j].get(), Covariance(i, j));
  }
  p.model->SetQuadObjective(variance.get(), 1);  // minimise
  Check(*p.model);
  return p;
}

// Prints the held assets, the expected return and the risk of the solution in the model.
void Report(Portfolio& p, const char* objectiveAttr) {
  double expected = 0;
  for (int i = 0; i < kAssets; ++i) {
    const double w = Rounded(p.x[i]->Get("Value"));
    Check(*p.x[i]);
    expected += w * kData[i].expected;
    if (w > 0) std::printf("  %-10s %.4f\n", kData[i].name, w);
  }
  const double variance = p.model->GetDblAttr(objectiveAttr);
  Check(*p.model);
  std::printf("  expected return %.2f%%, risk (standard deviation) %.2f%%\n", 100 * expected, 100 * std::sqrt(variance));
}

int Run() {
  Own<Tarq::IEnvr> env = example::QuietEnvironment();

  // The QP: every asset may be held.
  Portfolio free = Build(*env, "portfolio");
  free.model->Solve();
  Check(*free.model);
  if (free.model->GetIntAttr("LpStatus") != kOptimal) {
    std::printf("no optimum found\n");
    return 1;
  }
  std::printf("least risk for an expected return of at least %.0f%%:\n", 100 * kTarget);
  Report(free, "LpObjval");
  // The dual of the target row: the variance each further unit of required return costs.
  const double dual = free.target->Get("Dual");
  Check(*free.target);
  std::printf("  raising the target by 1%% adds about %.5f to the variance\n", 0.01 * dual);

  // The mixed-integer QP: at most three assets, z_i = 1 for each asset held.
  Portfolio limited = Build(*env, "portfolio_limited");
  Own<Tarq::IExpr> held(CreateExpr(0));
  for (int i = 0; i < kAssets; ++i) {
    Own<Tarq::IVar> z(limited.model->AddVar(0, 1, 0, 'B', ("hold_" + std::string(kData[i].name)).c_str()));
    Check(*limited.model);
    Own<Tarq::IExpr> link(CreateLinExpr(limited.x[i].get(), 1));
    link->AddTerm(z.get(), -1);
    Own<Tarq::IConstraint> onlyIfHeld(limited.model->AddConstr(link.get(), 'L', 0, nullptr));
    held->AddTerm(z.get(), 1);
  }
  Own<Tarq::IConstraint> limit(limited.model->AddConstr(held.get(), 'L', kMaxHeld, "limit"));
  Check(*limited.model);
  limited.model->Solve();
  Check(*limited.model);
  if (limited.model->GetIntAttr("MipStatus") != kOptimal) {
    std::printf("no optimum found with the limit\n");
    return 1;
  }
  std::printf("the same with at most %d assets:\n", kMaxHeld);
  Report(limited, "BestObj");
  return 0;
}

}  // namespace

int main() { return example::RunReporting(Run); }
