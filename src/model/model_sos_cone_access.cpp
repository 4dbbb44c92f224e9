// SOS constraints, indicator constraints, cones and exponential cones: getting them by position
// and name, naming them, reading them back as builders, their IIS statuses and their removal.
#include "model/model_lookup.h"
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/sos_cone.h"

using Tarq::detail::ByIndex;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

// The model's variables at the given column positions (the solver's numbering, which is the
// list's while deletions are pending).
Tarq::VarArray VarsAt(ModelData& m, const int* cols, int count) {
  const auto& list = m.record->List(Kind::kCol);
  Tarq::VarArray vars;
  vars.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) vars.emplace_back(list[static_cast<std::size_t>(cols[k])]);
  return vars;
}

// The fixed-size and member arrays of a two-call read of several objects.
struct SosConeRows {
  std::vector<int> types, beg, cnt, idx;
  std::vector<double> weights;
  void Size(std::size_t objects, int members) {
    types.resize(objects);
    beg.resize(objects);
    cnt.resize(objects);
    idx.resize(static_cast<std::size_t>(members));
    weights.resize(static_cast<std::size_t>(members));
  }
};

}  // namespace

Tarq::ISos* TarqModel::GetSos(int idx) {
  return new TarqSos(Tarq::Sos(ByIndex(Data(), Kind::kSos, idx, "Invalid sos index", "Internal sos index error")));
}

Tarq::ISosArray* TarqModel::GetSoss() { return new TarqSosArray(Tarq::detail::Live<Tarq::Sos>(Data(), Kind::kSos)); }

Tarq::ISosBuilderArray* TarqModel::GetSosBuilders(const Tarq::ISosArray* soss) {
  ModelData& m = Data();
  const Tarq::SosArray& list = Tarq::SossOf(soss);
  if (!m.Indices(list, "SOS constraint")) return new TarqSosBuilderArray();
  const int n = static_cast<int>(list.size());
  int members = 0;
  if (!Checked(m.status,
               TARQ_GetSOSs(m.Problem(), n, m.idx_.data(), nullptr, nullptr, nullptr, nullptr, nullptr, 0, &members),
               "Fail to get required size of SOS constraints")) {
    return new TarqSosBuilderArray();
  }
  SosConeRows rows;
  rows.Size(list.size(), members);
  if (!Checked(m.status,
               TARQ_GetSOSs(m.Problem(), n, m.idx_.data(), rows.types.data(), rows.beg.data(), rows.cnt.data(),
                            rows.idx.data(), rows.weights.data(), members, &members),
               "Fail to get data of SOS constraints")) {
    return new TarqSosBuilderArray();
  }
  Tarq::SosBuilderArray out(list.size());
  for (int k = 0; k < n; ++k) {
    Tarq::SosBuilder& b = out[static_cast<std::size_t>(k)];
    b.type = rows.types[k];
    b.vars = VarsAt(m, rows.idx.data() + rows.beg[k], rows.cnt[k]);
    b.weights.assign(rows.weights.begin() + rows.beg[k], rows.weights.begin() + rows.beg[k] + rows.cnt[k]);
  }
  return new TarqSosBuilderArray(std::move(out));
}

Tarq::IGenConstr* TarqModel::GetGenConstr(int idx) {
  return new TarqGenConstr(Tarq::GenConstr(ByIndex(Data(), Kind::kGenConstr, idx, "Invalid index of general constraint",
                                                   "Internal index error of gernal constraint")));
}

Tarq::IGenConstr* TarqModel::GetGenConstrByName(const char* name) {
  const int idx = Tarq::detail::ByName(Data(), TARQ_GetIndicatorIdx, name, "No such general constraint");
  if (idx < 0) return new TarqGenConstr(Tarq::GenConstr());
  return GetGenConstr(idx);
}

Tarq::IGenConstrArray* TarqModel::GetGenConstrs() {
  return new TarqGenConstrArray(Tarq::detail::Live<Tarq::GenConstr>(Data(), Kind::kGenConstr));
}

void TarqModel::SetGenConstrNames(const Tarq::IGenConstrArray* constrs, const char* names, std::size_t size) {
  Tarq::detail::SetNames(Data(), Tarq::GenConstrsOf(constrs), names, size, "general constraint",
                         TARQ_SetIndicatorNames, "Fail to set names of general constraints");
}

Tarq::IGenConstrBuilder* TarqModel::GetGenConstrIndicator(const Tarq::IGenConstr* constr) {
  ModelData& m = Data();
  const Tarq::GenConstr& c = Tarq::GenConstrOf(constr);
  if (c.Index() < 0 || !m.Owns(c)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid general constraint");
    return new TarqGenConstrBuilder();
  }
  const int index = c.Index();
  int members = 0;
  if (!Checked(m.status,
               TARQ_GetIndicators(m.Problem(), 1, &index, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, 0, &members),
               "Fail to get required indicator size")) {
    return new TarqGenConstrBuilder();
  }
  int type = 0, binCol = 0, binVal = 0, beg = 0, cnt = 0;
  char sense = 0;
  double bound = 0;
  m.idx_.resize(static_cast<std::size_t>(members));
  m.val_.resize(static_cast<std::size_t>(members));
  if (!Checked(m.status,
               TARQ_GetIndicators(m.Problem(), 1, &index, &type, &binCol, &binVal, &sense, &bound, &beg, &cnt,
                                  m.idx_.data(), m.val_.data(), members, &members),
               "Fail to get indicator data")) {
    return new TarqGenConstrBuilder();
  }
  const auto& cols = m.record->List(Kind::kCol);
  Tarq::GenConstrBuilder b;
  b.binVar = Tarq::Var(cols[static_cast<std::size_t>(binCol)]);
  b.binVal = binVal;
  b.expr.coefs.assign(m.val_.begin() + beg, m.val_.begin() + beg + cnt);
  b.expr.vars.reserve(static_cast<std::size_t>(cnt));
  for (int k = beg; k < beg + cnt; ++k) b.expr.vars.push_back(Tarq::VarRef{cols[static_cast<std::size_t>(m.idx_[k])].Get()});
  if (cnt > 0) b.expr.pins.Pin(m.record->problem.Block());
  b.expr.constant = -bound;
  b.sense = sense;
  b.type = type;
  return new TarqGenConstrBuilder(std::move(b));
}

Tarq::ICone* TarqModel::GetCone(int idx) {
  return new TarqCone(Tarq::Cone(ByIndex(Data(), Kind::kCone, idx, "Invalid cone index", "Internal cone index error")));
}

Tarq::IConeArray* TarqModel::GetCones() { return new TarqConeArray(Tarq::detail::Live<Tarq::Cone>(Data(), Kind::kCone)); }

Tarq::IConeBuilderArray* TarqModel::GetConeBuilders(const Tarq::IConeArray* cones) {
  ModelData& m = Data();
  const Tarq::ConeArray& list = Tarq::ConesOf(cones);
  if (!m.Indices(list, "cone")) return new TarqConeBuilderArray();
  const int n = static_cast<int>(list.size());
  int members = 0;
  if (!Checked(m.status, TARQ_GetCones(m.Problem(), n, m.idx_.data(), nullptr, nullptr, nullptr, nullptr, 0, &members),
               "Fail to get required size of cones")) {
    return new TarqConeBuilderArray();
  }
  SosConeRows rows;
  rows.Size(list.size(), members);
  if (!Checked(m.status,
               TARQ_GetCones(m.Problem(), n, m.idx_.data(), rows.types.data(), rows.beg.data(), rows.cnt.data(),
                             rows.idx.data(), members, &members),
               "Fail to get data of cones")) {
    return new TarqConeBuilderArray();
  }
  Tarq::ConeBuilderArray out(list.size());
  for (int k = 0; k < n; ++k) {
    out[static_cast<std::size_t>(k)].type = rows.types[k];
    out[static_cast<std::size_t>(k)].vars = VarsAt(m, rows.idx.data() + rows.beg[k], rows.cnt[k]);
  }
  return new TarqConeBuilderArray(std::move(out));
}

Tarq::IExpCone* TarqModel::GetExpCone(int idx) {
  return new TarqExpCone(Tarq::ExpCone(
      ByIndex(Data(), Kind::kExpCone, idx, "Invalid exponential cone index", "Internal exponential cone index error")));
}

Tarq::IExpConeArray* TarqModel::GetExpCones() {
  return new TarqExpConeArray(Tarq::detail::Live<Tarq::ExpCone>(Data(), Kind::kExpCone));
}

Tarq::IExpConeBuilderArray* TarqModel::GetExpConeBuilders(const Tarq::IExpConeArray* cones) {
  ModelData& m = Data();
  const Tarq::ExpConeArray& list = Tarq::ExpConesOf(cones);
  if (!m.Indices(list, "exponential cone")) return new TarqExpConeBuilderArray();
  const int n = static_cast<int>(list.size());
  int members = 0;
  if (!Checked(m.status, TARQ_GetExpCones(m.Problem(), n, m.idx_.data(), nullptr, nullptr, 0, &members),
               "Fail to get required size of exponential cones")) {
    return new TarqExpConeBuilderArray();
  }
  SosConeRows rows;
  rows.Size(list.size(), members);
  if (!Checked(m.status,
               TARQ_GetExpCones(m.Problem(), n, m.idx_.data(), rows.types.data(), rows.idx.data(), members, &members),
               "Fail to get data of exponential cones")) {
    return new TarqExpConeBuilderArray();
  }
  Tarq::ConeBuilderArray out(list.size());
  for (int k = 0; k < n; ++k) {
    out[static_cast<std::size_t>(k)].type = rows.types[k];
    out[static_cast<std::size_t>(k)].vars = VarsAt(m, rows.idx.data() + 3 * k, 3);
  }
  return new TarqExpConeBuilderArray(std::move(out));
}

void TarqModel::GetSOSIIS(const Tarq::ISosArray* soss, std::vector<int>& status) {
  Tarq::detail::IisStatus(Data(), Tarq::SossOf(soss), status, "SOS constraint", TARQ_GetSOSIIS,
                          "Fail to get IIS status of SOS constraints");
}

void TarqModel::GetIndicatorIIS(const Tarq::IGenConstrArray* constrs, std::vector<int>& status) {
  Tarq::detail::IisStatus(Data(), Tarq::GenConstrsOf(constrs), status, "general constraint", TARQ_GetIndicatorIIS,
                          "Fail to get IIS status of indicator constraints");
}

void TarqModel::Remove(const Tarq::ISosArray* soss) {
  Tarq::detail::MarkRemoved(Data(), Tarq::SossOf(soss), "SOS constraint of another model");
}

void TarqModel::Remove(const Tarq::IConeArray* cones) {
  Tarq::detail::MarkRemoved(Data(), Tarq::ConesOf(cones), "Cone of another model");
}

void TarqModel::Remove(const Tarq::IExpConeArray* cones) {
  Tarq::detail::MarkRemoved(Data(), Tarq::ExpConesOf(cones), "Exponential cone of another model");
}

void TarqModel::Remove(const Tarq::IGenConstrArray* constrs) {
  Tarq::detail::MarkRemoved(Data(), Tarq::GenConstrsOf(constrs), "General constraint of another model");
}
