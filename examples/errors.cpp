// Handling errors. The library reports a failed operation in the status of the object it worked
// on (GetErrorCode, GetErrorMsg) and returns a failure value; the application decides what to do.
// Here a small helper turns a failed status into Tarq::Exception. The one failure the library
// throws itself is a parameter or attribute name it does not know. After any of them the model
// is unchanged and keeps working.
//
// The model at the end: maximise x + 2y subject to x + y <= 4, 0 <= x, y <= 10. The optimum is
// y = 4, x = 0 with value 8 (y earns more per unit of the shared limit, and the limit binds).
#include <cmath>
#include <cstdio>
#include <memory>

#include "example_support.h"
#include "tarq/tarq.hpp"

namespace {

using example::Check;
using example::kOptimal;
using example::Own;

// Runs a step that must fail and prints the exception it raises. False when it raised none.
template <class Step>
bool ExpectFailure(const char* what, Step&& step) {
  try {
    step();
  } catch (const Tarq::Exception& e) {
    std::printf("%s: error %d: %s\n", what, e.GetErrorCode(), e.what());
    return true;
  }
  std::printf("%s: no error\n", what);
  return false;
}

int Run() {
  Own<Tarq::IEnvr> env = example::QuietEnvironment();
  Own<Tarq::IModel> model(env->CreateModel("errors"));
  Check(*model);

  Own<Tarq::IVar> x(model->AddVar(0, 10, 1, 'C', "x"));
  Own<Tarq::IVar> y(model->AddVar(0, 10, 2, 'C', "y"));
  Own<Tarq::IVar> spare(model->AddVar(0, 10, 0, 'C', "spare"));
  Check(*model);
  Own<Tarq::IExpr> sum(CreateLinExpr(x.get(), 1));
  sum->AddTerm(y.get(), 1);
  Own<Tarq::IConstraint> limit(model->AddConstr(sum.get(), 'L', 4, "limit"));
  Check(*model);
  model->SetObjSense(-1);  // maximise

  bool allFailed = true;

  // The senses are 'L', 'G' and 'E'; anything else is refused and adds nothing.
  allFailed &= ExpectFailure("constraint with sense '<'", [&] {
    Own<Tarq::IConstraint> bad(model->AddConstr(sum.get(), '<', 4, "bad"));
    Check(*model);
  });

  // A removed variable stays a valid object, but the model no longer has it: operations on it
  // fail, on the variable itself or on the model.
  spare->Remove();
  allFailed &= ExpectFailure("bound of a removed variable", [&] {
    spare->Get("UB");
    Check(*spare);
  });
  allFailed &= ExpectFailure("coefficient of a removed variable", [&] {
    model->GetCoeff(limit.get(), spare.get());
    Check(*model);
  });

  // A failed read leaves the model as it was.
  allFailed &= ExpectFailure("read no_such_file.mps", [&] {
    model->Read("no_such_file.mps");
    Check(*model);
  });

  // An unknown parameter name throws from the library itself; no Check is needed.
  allFailed &= ExpectFailure("parameter NoSuchParameter", [&] { model->SetIntParam("NoSuchParameter", 1); });

  // The model still holds x, y and the limit, and solves.
  model->Solve();
  Check(*model);
  const int status = model->GetIntAttr("LpStatus");
  const double value = model->GetDblAttr("LpObjval");
  Check(*model);
  std::printf("after the errors: %d columns, %d rows, status %d, objective %.4f\n", model->GetIntAttr("Cols"),
              model->GetIntAttr("Rows"), status, value);
  if (!allFailed || status != kOptimal) return 1;
  return 0;
}

}  // namespace

int main() { return example::RunReporting(Run); }
