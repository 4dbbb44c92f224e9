#include "scalar/sos_cone.h"

namespace Tarq::detail {

const ScalarKind kSosKind = {
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    TARQ_GetSOSIIS,
    nullptr,
    "Invalid SOS constraint",
    nullptr,
    nullptr,
    nullptr,
    "Fail to get IIS status of SOS constraint",
    nullptr,
    {},
    0,
};

const ScalarKind kGenConstrKind = {
    TARQ_GetIndicatorName,
    TARQ_SetIndicatorNames,
    nullptr,
    nullptr,
    TARQ_GetIndicatorIIS,
    nullptr,
    "Invalid general constraint",
    "Fail to set name of general constraint",
    nullptr,
    nullptr,
    "Fail to get IIS status of general constraint",
    nullptr,
    {},
    0,
};

}  // namespace Tarq::detail

double TarqSosBuilder::GetWeight(int i) const {
  return Tarq::detail::InRange(Data().weights, i) ? Data().weights[i] : TARQ_INFINITY;
}

void TarqSosBuilder::GetWeights(double* weights) const {
  if (weights == nullptr) return;
  const std::vector<double>& w = Data().weights;
  std::copy(w.begin(), w.end(), weights);
}

void TarqSosBuilder::Set(const Tarq::IVarArray* vars, const double* weights, int type) {
  const std::size_t added = Append(vars, type);
  std::vector<double>& held = Data().weights;
  Tarq::detail::GrowAhead(held, added);
  for (std::size_t k = 0; k < added; ++k) {
    held.push_back(weights != nullptr ? weights[k] : static_cast<double>(held.size() + 1));
  }
}

std::vector<Tarq::IGenConstr*> TarqGenConstrArray::GetAll() const {
  std::vector<Tarq::IGenConstr*> all;
  all.reserve(Data().size());
  for (const Tarq::GenConstr& c : Data()) all.push_back(new TarqGenConstr(c));
  return all;
}

void TarqGenConstrBuilder::Set(const Tarq::IVar* binVar, int binVal, const Tarq::IExpr* expr, char sense, int type) {
  Tarq::GenConstrBuilder& b = Data();
  b.binVar = Tarq::VarOf(binVar);
  b.binVal = binVal;
  b.expr = Tarq::ExprOf(expr);
  b.sense = sense;
  b.type = type;
}
