// A diet problem: choose servings of four foods that meet three nutrient minimums at the least
// cost. Shows named variables and constraints, solving an LP, and reading the solution values and
// the duals of the constraints (the price of one more unit of each nutrient).
//
//   minimise   3 bread + 5 milk + 6.25 cheese + 3 potato
//   energy:    4 bread + 2 milk +  3   cheese + 3 potato >= 13
//   protein:   1 bread + 3 milk +  4   cheese + 1 potato >=  9
//   calcium:             4 milk +  3   cheese            >=  7
//              0 <= servings of each food <= 5
//
// The optimum is unique: bread 2, milk 1, cheese 1, potato 0, cost 17.25. The duals
// (energy 0.5, protein 1, calcium 0.25) prove it: they price bread, milk and cheese at exactly
// their cost and potato at 2.5 < 3, and 13 * 0.5 + 9 * 1 + 7 * 0.25 = 17.25. An enumeration of
// every vertex of the problem without the upper bounds agrees (the next best vertex costs 17.8).
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "example_support.h"
#include "tarq/tarq.hpp"

namespace {

using example::Check;
using example::kOptimal;
using example::Own;


constexpr int kFoods = 4;
constexpr std::array<const char*, kFoods> kFoodNames{"bread", "milk", "cheese", "potato"};
constexpr std::array<double, kFoods> kCost{3, 5, 6.25, 3};
constexpr double kMaxServings = 5;

struct Nutrient {
  const char* name;
  double minimum;
  std::array<double, kFoods> perServing;
};
constexpr std::array<Nutrient, 3> kNutrients{{
    {"energy", 13, {4, 2, 3, 3}},
    {"protein", 9, {1, 3, 4, 1}},
    {"calcium", 7, {0, 4, 3, 0}},
}};

// Solver results carry rounding noise; four decimals, and no "-0.0000".
double Rounded(double v) { return std::fabs(v) < 5e-5 ? 0.0 : v; }

int Run() {
  // No banner and no solver log: the output is only this program's answer.
  Own<Tarq::IEnvr> env = example::QuietEnvironment();
  Own<Tarq::IModel> model(env->CreateModel("diet"));
  Check(*model);

  // One variable per food: servings in [0, 5], its cost as objective coefficient.
  std::vector<Own<Tarq::IVar>> servings;
  for (int f = 0; f < kFoods; ++f) {
    servings.emplace_back(model->AddVar(0, kMaxServings, kCost[f], 'C', kFoodNames[f]));
    Check(*model);
  }

  // One constraint per nutrient: intake >= minimum.
  std::vector<Own<Tarq::IConstraint>> needs;
  for (const Nutrient& n : kNutrients) {
    Own<Tarq::IExpr> intake(CreateExpr(0));
    for (int f = 0; f < kFoods; ++f) intake->AddTerm(servings[f].get(), n.perServing[f]);
    needs.emplace_back(model->AddConstr(intake.get(), 'G', n.minimum, n.name));
    Check(*model);
  }

  model->SetObjSense(1);  // minimise
  model->Solve();
  Check(*model);
  if (model->GetIntAttr("LpStatus") != kOptimal) {
    std::fprintf(stderr, "no optimal diet (status %d)\n", model->GetIntAttr("LpStatus"));
    return 1;
  }

  const double cost = model->GetDblAttr("LpObjval");
  std::printf("cost %.4f\n", Rounded(cost));
  for (const Own<Tarq::IVar>& food : servings) {
    const double value = food->Get("Value");
    Check(*food);
    std::printf("serve %-8s %.4f\n", food->GetName(), Rounded(value));
  }

  // The duals, through each constraint object; GetLpSolution gives them all as one array.
  std::vector<double> duals(kNutrients.size());
  model->GetLpSolution(nullptr, nullptr, duals.data(), nullptr);
  Check(*model);
  double priced = 0;  // what the minimums are worth at the dual prices
  for (std::size_t k = 0; k < needs.size(); ++k) {
    const double dual = needs[k]->Get("Dual");
    Check(*needs[k]);
    std::printf("dual  %-8s %.4f\n", needs[k]->GetName(), Rounded(dual));
    priced += kNutrients[k].minimum * dual;
    if (std::fabs(dual - duals[k]) > 1e-9) {
      std::fprintf(stderr, "dual of %s differs between the two reads\n", needs[k]->GetName());
      return 1;
    }
  }
  // No upper bound binds, so the duals of the nutrient rows alone price the whole cost.
  if (std::fabs(priced - cost) > 1e-6) {
    std::fprintf(stderr, "duals price the minimums at %.6f, not the cost %.6f\n", priced, cost);
    return 1;
  }
  return 0;
}

}  // namespace

int main() { return example::RunReporting(Run); }
