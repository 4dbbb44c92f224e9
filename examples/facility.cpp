// Facility location: decide which facilities to open (each has a fixed cost and a capacity) and
// how to ship every customer's demand from the open ones at the least total cost. Shows binary and
// continuous variables, a MIP start and reading a MIP solution.
//
//   minimise   sum_i fixed_i open_i + sum_ij unit_ij ship_ij
//   demand_j:  sum_i ship_ij = demand_j                 for every customer j
//   capacity_i: sum_j ship_ij - capacity_i open_i <= 0  for every facility i
//   open_i binary, ship_ij >= 0
//
// The start opens every facility and serves each customer from its cheapest one (cost 121).
// The optimum opens north and south, cost 92: north ships 4, 3 and 1 to c1, c2 and c3, south
// ships 4 and 2 to c3 and c4. Checked by hand over every set of open facilities with enough
// capacity (the cheapest shipment of each, found by enumerating integral shipments):
//   north + centre 70 + 32 = 102,  north + south 55 + 37 = 92,  centre + south 65 + 40 = 105,
//   all three 95 + 26 = 121; no single facility can meet the demand of 14.
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

// "MipStatus" of a solve that proved optimality.

constexpr int kCustomers = 4;
constexpr std::array<const char*, kCustomers> kCustomerNames{"c1", "c2", "c3", "c4"};
constexpr std::array<double, kCustomers> kDemand{4, 3, 5, 2};

struct Facility {
  const char* name;
  double fixedCost;
  double capacity;
  std::array<double, kCustomers> unitCost;  // per unit shipped to each customer
};
constexpr std::array<Facility, 3> kFacilities{{
    {"north", 30, 8, {2, 3, 6, 7}},
    {"centre", 40, 10, {5, 2, 2, 4}},
    {"south", 25, 6, {6, 5, 3, 1}},
}};
constexpr int kCount = static_cast<int>(kFacilities.size());

double Rounded(double v) { return std::fabs(v) < 5e-5 ? 0.0 : v; }

int Run() {
  Own<Tarq::IEnvr> env = example::QuietEnvironment();
  Own<Tarq::IModel> model(env->CreateModel("facility"));
  Check(*model);

  // open[i] is binary and costs the fixed cost; ship[i][j] costs the unit cost per unit.
  std::vector<Own<Tarq::IVar>> open;
  std::vector<std::vector<Own<Tarq::IVar>>> ship(kCount);
  for (int i = 0; i < kCount; ++i) {
    const Facility& f = kFacilities[i];
    open.emplace_back(model->AddVar(0, 1, f.fixedCost, 'B', ("open_" + std::string(f.name)).c_str()));
    Check(*model);
    for (int j = 0; j < kCustomers; ++j) {
      const std::string name = "ship_" + std::string(f.name) + "_" + kCustomerNames[j];
      ship[i].emplace_back(model->AddVar(0, 1e30, f.unitCost[j], 'C', name.c_str()));
      Check(*model);
    }
  }

  for (int j = 0; j < kCustomers; ++j) {
    Own<Tarq::IExpr> delivered(CreateExpr(0));
    for (int i = 0; i < kCount; ++i) delivered->AddTerm(ship[i][j].get(), 1);
    Own<Tarq::IConstraint> demand(
        model->AddConstr(delivered.get(), 'E', kDemand[j], ("demand_" + std::string(kCustomerNames[j])).c_str()));
    Check(*model);
  }
  // A closed facility ships nothing; an open one at most its capacity.
  for (int i = 0; i < kCount; ++i) {
    Own<Tarq::IExpr> shipped(CreateLinExpr(open[i].get(), -kFacilities[i].capacity));
    for (int j = 0; j < kCustomers; ++j) shipped->AddTerm(ship[i][j].get(), 1);
    Own<Tarq::IConstraint> capacity(
        model->AddConstr(shipped.get(), 'L', 0, ("capacity_" + std::string(kFacilities[i].name)).c_str()));
    Check(*model);
  }
  model->SetObjSense(1);  // minimise

  // A MIP start: every facility open, each customer served by its cheapest facility (which fits
  // the capacities of this data). The branch and cut begins with this solution as its incumbent.
  double startCost = 0;
  for (int i = 0; i < kCount; ++i) {
    model->SetMipStart(open[i].get(), 1);
    startCost += kFacilities[i].fixedCost;
  }
  for (int j = 0; j < kCustomers; ++j) {
    int cheapest = 0;
    for (int i = 1; i < kCount; ++i) {
      if (kFacilities[i].unitCost[j] < kFacilities[cheapest].unitCost[j]) cheapest = i;
    }
    for (int i = 0; i < kCount; ++i) model->SetMipStart(ship[i][j].get(), i == cheapest ? kDemand[j] : 0);
    startCost += kFacilities[cheapest].unitCost[j] * kDemand[j];
  }
  model->LoadMipStart();
  Check(*model);
  std::printf("start cost %.4f\n", startCost);

  model->Solve();
  Check(*model);
  if (model->GetIntAttr("MipStatus") != kOptimal) {
    std::fprintf(stderr, "no optimal plan (status %d)\n", model->GetIntAttr("MipStatus"));
    return 1;
  }

  for (int i = 0; i < kCount; ++i) {
    const double opened = open[i]->Get("Value");
    Check(*open[i]);
    if (opened < 0.5) continue;
    std::printf("open %s\n", kFacilities[i].name);
    for (int j = 0; j < kCustomers; ++j) {
      const double amount = ship[i][j]->Get("Value");
      Check(*ship[i][j]);
      if (amount > 1e-6) std::printf("  ship %.4f to %s\n", amount, kCustomerNames[j]);
    }
  }
  std::printf("cost %.4f\n", Rounded(model->GetDblAttr("BestObj")));
  return 0;
}

}  // namespace

int main() { return example::RunReporting(Run); }
