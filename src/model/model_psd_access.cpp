// Getting PSD variables, PSD constraints and LMI constraints by index and by name, naming them,
// and reading their rows back.
#include "model/model_lookup.h"
#include "model/psd_helpers.h"
#include "model/tarq_model.h"
#include "scalar/var.h"

using Tarq::LmiConstraint;
using Tarq::PsdConstraint;
using Tarq::PsdVar;
using Tarq::detail::ByIndex;
using Tarq::detail::ByName;
using Tarq::detail::Kind;
using Tarq::detail::Live;
using Tarq::detail::ModelData;
using Tarq::detail::RecordRef;
using Tarq::detail::SetNames;

namespace {

// The object of a record the model holds (with its dimension), or the failed object.
template <class V>
V For(ModelData& m, const RecordRef& r);
template <>
PsdVar For<PsdVar>(ModelData& m, const RecordRef& r) {
  return r->index == Tarq::detail::kFailedIndex ? PsdVar() : Tarq::detail::PsdVarFor(m, r);
}
template <>
LmiConstraint For<LmiConstraint>(ModelData& m, const RecordRef& r) {
  return r->index == Tarq::detail::kFailedIndex ? LmiConstraint() : Tarq::detail::LmiConstrFor(m, r);
}

template <class V>
Tarq::detail::LongVector<V> LiveWithDims(ModelData& m, Kind kind) {
  Tarq::detail::LongVector<V> out;
  for (const Tarq::detail::ListEntry& r : m.record->List(kind)) {
    if (r->index >= 0) out.push_back(For<V>(m, r));
  }
  return out;
}

// Checks one object of a kind of this model and its index; false after recording why.
template <class V>
bool Valid(ModelData& m, const V& v, const char* invalid) {
  if (v.Index() < 0 || !m.Owns(v)) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", invalid);
    return false;
  }
  return true;
}

}  // namespace

Tarq::IPsdVar* TarqModel::GetPsdVar(int idx) {
  ModelData& m = Data();
  const RecordRef r =
      ByIndex(m, Kind::kPsdVar, idx, "Invalid index of PSD variables", "Internal index error of PSD variables");
  return new TarqPsdVar(For<PsdVar>(m, r));
}

Tarq::IPsdVar* TarqModel::GetPsdVarByName(const char* name) {
  const int idx = ByName(Data(), TARQ_GetPSDColIdx, name, "No such PSD variable");
  return idx < 0 ? new TarqPsdVar(PsdVar()) : GetPsdVar(idx);
}

Tarq::IPsdVarArray* TarqModel::GetPsdVars() { return new TarqPsdVarArray(LiveWithDims<PsdVar>(Data(), Kind::kPsdVar)); }

void TarqModel::SetPsdVarNames(const Tarq::IPsdVarArray* vars, const char* names, std::size_t size) {
  SetNames(Data(), Tarq::PsdVarsOf(vars), names, size, "PSD variable", TARQ_SetPSDColNames,
           "Fail to set names of PSD variables");
}

Tarq::IPsdConstraint* TarqModel::GetPsdConstr(int idx) {
  return new TarqPsdConstraint(PsdConstraint(ByIndex(Data(), Kind::kPsdConstr, idx, "Invalid row index of PSD constraint",
                                                     "Internal row index error of PSD constraint")));
}

Tarq::IPsdConstraint* TarqModel::GetPsdConstrByName(const char* name) {
  const int idx = ByName(Data(), TARQ_GetPSDConstrIdx, name, "No such PSD constraint");
  return idx < 0 ? new TarqPsdConstraint(PsdConstraint()) : GetPsdConstr(idx);
}

Tarq::IPsdConstrArray* TarqModel::GetPsdConstrs() {
  return new TarqPsdConstrArray(Live<PsdConstraint>(Data(), Kind::kPsdConstr));
}

void TarqModel::SetPsdConstrNames(const Tarq::IPsdConstrArray* constrs, const char* names, std::size_t size) {
  SetNames(Data(), Tarq::PsdConstrsOf(constrs), names, size, "PSD constraint", TARQ_SetPSDConstrNames,
           "Fail to set names of PSD constraints");
}

Tarq::IPsdExpr* TarqModel::GetPsdRow(const Tarq::IPsdConstraint* constr) {
  ModelData& m = Data();
  const PsdConstraint& c = Tarq::PsdConstrOf(constr);
  Tarq::PsdExpr e;
  if (!Valid(m, c, "Invalid PSD constraint")) return new TarqPsdExpr(std::move(e));
  int nl = 0, np = 0;
  if (!Checked(m.status, TARQ_GetPSDConstr(m.Problem(), c.Index(), nullptr, nullptr, 0, &nl, nullptr, nullptr, 0, &np),
               "Fail to get required row buffer size of PSD constraint")) {
    return new TarqPsdExpr(std::move(e));
  }
  std::vector<int> cols(static_cast<size_t>(nl)), psdCols(static_cast<size_t>(np)), mats(static_cast<size_t>(np));
  std::vector<double> vals(static_cast<size_t>(nl));
  if (!Checked(m.status,
               TARQ_GetPSDConstr(m.Problem(), c.Index(), cols.data(), vals.data(), nl, &nl, psdCols.data(), mats.data(),
                                 np, &np),
               "Fail to get row data of PSD constraint")) {
    return new TarqPsdExpr(std::move(e));
  }
  const auto& varList = m.record->List(Kind::kCol);
  const auto& psdList = m.record->List(Kind::kPsdVar);
  for (int k = 0; k < nl; ++k) e.lin.AddTerm(Tarq::Var(varList[cols[k]]), vals[k]);
  for (int k = 0; k < np; ++k) {
    e.AddTerm(Tarq::detail::PsdVarFor(m, psdList[psdCols[k]]),
              Tarq::SymMatExpr(Tarq::detail::StoredMat(m, mats[k]), 1.0));
  }
  return new TarqPsdExpr(std::move(e));
}

Tarq::ILmiConstraint* TarqModel::GetLmiConstr(int idx) {
  ModelData& m = Data();
  const RecordRef r = ByIndex(m, Kind::kLmiConstr, idx, "Invalid row index of LMI constraint",
                              "Internal row index error of LMI constraint");
  return new TarqLmiConstraint(For<LmiConstraint>(m, r));
}

Tarq::ILmiConstraint* TarqModel::GetLmiConstrByName(const char* name) {
  const int idx = ByName(Data(), TARQ_GetLMIConstrIdx, name, "No such LMI constraint");
  return idx < 0 ? new TarqLmiConstraint(LmiConstraint()) : GetLmiConstr(idx);
}

Tarq::ILmiConstrArray* TarqModel::GetLmiConstrs() {
  return new TarqLmiConstrArray(LiveWithDims<LmiConstraint>(Data(), Kind::kLmiConstr));
}

void TarqModel::SetLmiConstrNames(const Tarq::ILmiConstrArray* constrs, const char* names, std::size_t size) {
  SetNames(Data(), Tarq::LmiConstrsOf(constrs), names, size, "LMI constraint", TARQ_SetLMIConstrNames,
           "Fail to set names of LMI constraints");
}

Tarq::ILmiExpr* TarqModel::GetLmiRow(const Tarq::ILmiConstraint* constr) {
  ModelData& m = Data();
  const LmiConstraint& c = Tarq::LmiConstrOf(constr);
  Tarq::LmiExpr e;
  if (!Valid(m, c, "Invalid LMI constraint")) return new TarqLmiExpr(std::move(e));
  int dim = 0, n = 0, constMat = -1;
  if (!Checked(m.status, TARQ_GetLMIConstr(m.Problem(), c.Index(), &dim, nullptr, nullptr, 0, &n, &constMat),
               "Fail to get required row buffer size of LMI constraint")) {
    return new TarqLmiExpr(std::move(e));
  }
  std::vector<int> cols(static_cast<size_t>(n)), mats(static_cast<size_t>(n));
  if (!Checked(m.status, TARQ_GetLMIConstr(m.Problem(), c.Index(), &dim, cols.data(), mats.data(), n, &n, &constMat),
               "Fail to get row data of LMI constraint")) {
    return new TarqLmiExpr(std::move(e));
  }
  const auto& varList = m.record->List(Kind::kCol);
  for (int k = 0; k < n; ++k) {
    e.AddTerm(Tarq::Var(varList[cols[k]]), Tarq::SymMatExpr(Tarq::detail::StoredMat(m, mats[k]), 1.0));
  }
  if (constMat >= 0) e.constant = Tarq::SymMatExpr(Tarq::detail::StoredMat(m, constMat), 1.0);
  return new TarqLmiExpr(std::move(e));
}
