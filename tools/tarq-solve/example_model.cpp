#include <memory>
#include <string>

#include "example_model.h"

namespace tarqsolve {
namespace {

constexpr int kProducts = 4;
constexpr int kResources = 3;
constexpr int kMaxUnits = 40;
const char* const kProductNames[kProducts] = {"table", "chair", "desk", "shelf"};
constexpr double kProfit[kProducts] = {12, 8, 14, 9};
constexpr double kSetupCost[kProducts] = {30, 20, 40, 25};
const char* const kResourceNames[kResources] = {"wood", "labour", "machine"};
constexpr double kCapacity[kResources] = {120, 100, 60};
constexpr double kUse[kResources][kProducts] = {{4, 2, 5, 3}, {3, 2, 4, 2}, {1, 1, 3, 2}};

template <class T>
using Own = std::unique_ptr<T>;

bool Ok(const Tarq::IModel& model, std::string& error) {
  if (model.GetErrorCode() == 0) return true;
  error = model.GetErrorMsg() != nullptr ? model.GetErrorMsg() : "unknown error";
  return false;
}

}  // namespace

bool BuildExample(Tarq::IModel& model, std::string& error) {
  Own<Tarq::IVar> make[kProducts], setup[kProducts];
  Own<Tarq::IExpr> profit(CreateExpr(0));
  for (int p = 0; p < kProducts; ++p) {
    const std::string name = kProductNames[p];
    make[p].reset(model.AddVar(0, kMaxUnits, 0, 'I', ("make_" + name).c_str()));
    setup[p].reset(model.AddVar(0, 1, 0, 'B', ("setup_" + name).c_str()));
    if (!Ok(model, error)) return false;
    profit->AddTerm(make[p].get(), kProfit[p]);
    profit->AddTerm(setup[p].get(), -kSetupCost[p]);
    // make_p <= 40 setup_p: nothing is made without its setup.
    Own<Tarq::IExpr> link(CreateLinExpr(make[p].get(), 1));
    link->AddTerm(setup[p].get(), -kMaxUnits);
    Own<Tarq::IConstraint> row(model.AddConstr(link.get(), 'L', 0, ("link_" + name).c_str()));
    if (!Ok(model, error)) return false;
  }
  for (int r = 0; r < kResources; ++r) {
    Own<Tarq::IExpr> use(CreateExpr(0));
    for (int p = 0; p < kProducts; ++p) use->AddTerm(make[p].get(), kUse[r][p]);
    Own<Tarq::IConstraint> row(model.AddConstr(use.get(), 'L', kCapacity[r], kResourceNames[r]));
    if (!Ok(model, error)) return false;
  }
  model.SetObjective(profit.get(), -1);
  return Ok(model, error);
}

}  // namespace tarqsolve
