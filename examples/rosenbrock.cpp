// Rosenbrock's banana function, first without constraints and then inside the unit disk: shows
// nonlinear expressions built with the function helper, a nonlinear objective and a nonlinear
// constraint, a start point, and reading the solution and the constraint's dual.
//
//   minimise   100 (y - x^2)^2 + (1 - x)^2
//   disk:      x^2 + y^2 <= 1            (second solve only)
//
// Without the disk the minimum is 0 at (1, 1); the disk cuts that point off, and the minimum
// moves to its boundary. The solver finds a local optimum; for this problem it is the global one.
#include <cstdio>
#include <memory>

#include "example_support.h"
#include "tarq/tarq.hpp"

namespace {

using example::Check;
using example::kLocallyOptimal;
using example::Own;

void Report(Tarq::IModel& model, Tarq::IVar& x, Tarq::IVar& y) {
  const int status = model.GetIntAttr("LpStatus");
  std::printf("status %s, objective %.6f at x = %.4f, y = %.4f\n",
              status == kLocallyOptimal ? "locally optimal" : "not solved", model.GetDblAttr("LpObjval"),
              x.Get("Value"), y.Get("Value"));
}

}  // namespace

int main() {
  try {
    Own<Tarq::IEnvr> env = example::QuietEnvironment();
    Own<Tarq::IModel> model(env->CreateModel("rosenbrock"));
    Check(*model);
    Own<Tarq::IVar> x(model->AddVar(-10, 10, 0, 'C', "x"));
    Own<Tarq::IVar> y(model->AddVar(-10, 10, 0, 'C', "y"));
    Check(*model);
    Own<Tarq::INlHelper> f(CreateNlHelper());

    // 100 (y - x^2)^2 + (1 - x)^2
    Own<Tarq::INlExpr> valley(f->Pow(Own<Tarq::INlExpr>(CreateNlExpr2(x.get(), 1)).get(), 2));
    valley->MultiplyBy(-1.0);
    valley->AddTerm(y.get(), 1);
    Own<Tarq::INlExpr> objective(f->Pow(valley.get(), 2));
    objective->MultiplyBy(100.0);
    Own<Tarq::INlExpr> rest(CreateNlExpr2(x.get(), -1));
    rest->AddConstant(1);
    objective->AddNlExpr(Own<Tarq::INlExpr>(f->Pow(rest.get(), 2)).get(), 1.0);
    Check(*objective);
    std::printf("objective: %s\n", objective->ToString(512));

    model->SetNlObjective(objective.get(), 1);
    model->SetNlPrimalStart(x.get(), -1.2);
    model->SetNlPrimalStart(y.get(), 1.0);
    model->Solve();
    Check(*model);
    Report(*model, *x, *y);

    // x^2 + y^2 <= 1
    Own<Tarq::INlExpr> disk(f->Pow(Own<Tarq::INlExpr>(CreateNlExpr2(x.get(), 1)).get(), 2));
    disk->AddNlExpr(Own<Tarq::INlExpr>(f->Pow(Own<Tarq::INlExpr>(CreateNlExpr2(y.get(), 1)).get(), 2)).get(), 1.0);
    Own<Tarq::INlConstraint> inDisk(model->AddNlConstr(disk.get(), 'L', 1.0, "disk"));
    Check(*model);
    model->Solve();
    Check(*model);
    Report(*model, *x, *y);
    std::printf("disk: activity %.4f, dual %.4f\n", inDisk->Get("Slack"), inDisk->Get("Dual"));
    return 0;
  } catch (const Tarq::Exception& e) {
    std::printf("error %d: %s\n", e.GetErrorCode(), e.what());
    return 1;
  }
}
