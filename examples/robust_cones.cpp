// Two small models with SOS, indicator and cone constraints.
//
// 1. The smallest circle that encloses five points, a second-order-cone program. With the centre
//    (cx, cy) and the radius r as variables, point i lies in the circle when
//    ||(cx - px_i, cy - py_i)|| <= r: a quadratic cone over (r, u_i, v_i), where the rows
//    u_i = cx - px_i and v_i = cy - py_i give the cone its members.
//
//      minimise r   subject to   (r, u_i, v_i) in the quadratic cone,  i = 1..5
//
//    Three of the points, (0,0), (4,0) and (0,3), form a right triangle whose hypotenuse (length
//    5) must be a diameter of any circle through its ends: the optimum is the circle with centre
//    (2, 1.5) and radius 2.5, and the other two points lie inside it.
//
// 2. A piecewise-linear production cost with volume discounts, modelled with an SOS2 set. The cost
//    of x units passes through the breakpoints (0, 0), (10, 30), (20, 40), (30, 45); each unit
//    sells for 2, and at most 25 units can be made. With weights l_k >= 0 summing to 1,
//    x = sum x_k l_k and cost = sum c_k l_k, the SOS2 set over the l_k lets at most two adjacent
//    weights be non-zero, so (x, cost) stays on the curve. The best plan makes 25 units at cost
//    42.5 for a profit of 7.5; without the set, mixing the first and the last breakpoint would
//    claim a profit of 12.5 that no production plan has.
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

constexpr int kQuadCone = 1;  // x0 >= ||(x1, ..., xn)||
constexpr int kSos2 = 2;

struct Point {
  double x, y;
};
constexpr std::array<Point, 5> kPoints{{{0, 0}, {4, 0}, {0, 3}, {1, 1}, {3, 1}}};

int EnclosingCircle(Tarq::IEnvr& env) {
  Own<Tarq::IModel> model(env.CreateModel("enclosing_circle"));
  Check(*model);
  Own<Tarq::IVar> r(model->AddVar(0, 1e30, 1, 'C', "r"));
  Own<Tarq::IVar> cx(model->AddVar(-1e30, 1e30, 0, 'C', "cx"));
  Own<Tarq::IVar> cy(model->AddVar(-1e30, 1e30, 0, 'C', "cy"));
  Check(*model);
  for (size_t i = 0; i < kPoints.size(); ++i) {
    const std::string n = std::to_string(i);
    Own<Tarq::IVar> u(model->AddVar(-1e30, 1e30, 0, 'C', ("u" + n).c_str()));
    Own<Tarq::IVar> v(model->AddVar(-1e30, 1e30, 0, 'C', ("v" + n).c_str()));
    Check(*model);
    // u - cx = -px and v - cy = -py.
    Own<Tarq::IExpr> du(CreateLinExpr(u.get(), 1));
    du->AddTerm(cx.get(), -1);
    Own<Tarq::IExpr> dv(CreateLinExpr(v.get(), 1));
    dv->AddTerm(cy.get(), -1);
    Own<Tarq::IConstraint> rowU(model->AddConstr(du.get(), 'E', -kPoints[i].x, nullptr));
    Own<Tarq::IConstraint> rowV(model->AddConstr(dv.get(), 'E', -kPoints[i].y, nullptr));
    Check(*model);
    Own<Tarq::IVarArray> members(CreateVarArray());
    members->PushBack(r.get());
    members->PushBack(u.get());
    members->PushBack(v.get());
    Own<Tarq::ICone> cone(model->AddCone(members.get(), kQuadCone));
    Check(*model);
  }
  model->Solve();
  Check(*model);
  if (model->GetIntAttr("LpStatus") != kOptimal) {
    std::printf("no enclosing circle found\n");
    return 1;
  }
  const double radius = r->Get("Value"), x = cx->Get("Value"), y = cy->Get("Value");
  Check(*r);
  int onCircle = 0;
  for (const Point& p : kPoints) onCircle += std::fabs(std::hypot(p.x - x, p.y - y) - radius) < 1e-4 ? 1 : 0;
  std::printf("smallest circle around %zu points: centre (%.3f, %.3f), radius %.4f\n", kPoints.size(), x, y, radius);
  std::printf("points on the circle: %d\n", onCircle);
  return 0;
}

constexpr std::array<double, 4> kUnits{0, 10, 20, 30};
constexpr std::array<double, 4> kCost{0, 30, 40, 45};
constexpr double kPrice = 2;
constexpr double kCapacity = 25;

int PiecewiseCost(Tarq::IEnvr& env) {
  Own<Tarq::IModel> model(env.CreateModel("piecewise_cost"));
  Check(*model);
  Own<Tarq::IVarArray> weights(CreateVarArray());
  Own<Tarq::IExpr> sum(CreateExpr(0)), units(CreateExpr(0)), cost(CreateExpr(0));
  std::vector<Own<Tarq::IVar>> l;
  for (size_t k = 0; k < kUnits.size(); ++k) {
    l.emplace_back(model->AddVar(0, 1, 0, 'C', ("l" + std::to_string(k)).c_str()));
    Check(*model);
    weights->PushBack(l.back().get());
    sum->AddTerm(l.back().get(), 1);
    units->AddTerm(l.back().get(), kUnits[k]);
    cost->AddTerm(l.back().get(), kCost[k]);
  }
  Own<Tarq::IConstraint> convex(model->AddConstr(sum.get(), 'E', 1, "convex"));
  Own<Tarq::IConstraint> capacity(model->AddConstr(units.get(), 'L', kCapacity, "capacity"));
  Check(*model);
  Own<Tarq::ISos> onCurve(model->AddSos(weights.get(), kUnits.data(), kSos2));
  Check(*model);
  // Profit: price * units - cost, maximised.
  Own<Tarq::IExpr> profit(CreateExpr(0));
  for (size_t k = 0; k < kUnits.size(); ++k) profit->AddTerm(l[k].get(), kPrice * kUnits[k] - kCost[k]);
  model->SetObjective(profit.get(), -1);
  model->Solve();
  Check(*model);
  if (model->GetIntAttr("MipStatus") != kOptimal) {
    std::printf("no production plan found\n");
    return 1;
  }
  double made = 0, paid = 0;
  for (size_t k = 0; k < kUnits.size(); ++k) {
    const double w = l[k]->Get("Value");
    Check(*l[k]);
    made += kUnits[k] * w;
    paid += kCost[k] * w;
  }
  std::printf("piecewise-linear cost: make %.2f units at cost %.2f, profit %.2f\n", made, paid,
              model->GetDblAttr("BestObj"));
  return 0;
}

int Run() {
  Own<Tarq::IEnvr> env = example::QuietEnvironment();
  if (int rc = EnclosingCircle(*env); rc != 0) return rc;
  return PiecewiseCost(*env);
}

}  // namespace

int main() { return example::RunReporting(Run); }
