// Quadratic constraints: adding them, getting and naming them, reading their terms back,
// removing them.
#include <climits>

#include "model/model_lookup.h"
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/qconstraint.h"
#include "scalar/var.h"

using Tarq::QConstraint;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

Tarq::IQConstraint* FailedQConstr() { return new TarqQConstraint(QConstraint()); }

bool ValidSense(char sense) { return sense == 'E' || sense == 'G' || sense == 'L'; }

Tarq::IQConstraint* AddOne(ModelData& m, int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                           const int* quadRow, const int* quadCol, const double* quadVal, char sense, double rhs,
                           const char* name) {
  const std::string normalised = Tarq::detail::NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status,
               TARQ_AddQConstr(m.Problem(), linNnz, linIdx, linVal, quadNnz, quadRow, quadCol, quadVal, sense, rhs, text),
               "Fail to add a quadratic constraint")) {
    return FailedQConstr();
  }
  return new TarqQConstraint(m.AppendOne<QConstraint>(Kind::kQConstr, text));
}

// q <sense> rhs: the linear part is merged in place, the quadratic terms go as they are.
Tarq::IQConstraint* AddExprRow(ModelData& m, Tarq::QuadExpr& q, char sense, double rhs, const char* name) {
  if (q.coefs.empty()) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid quadratic expression object");
    return FailedQConstr();
  }
  if (!ValidSense(sense)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid quadratic constraint sense");
    return FailedQConstr();
  }
  if (!m.GatherExpr(q.lin) || !m.GatherQuad(q)) return FailedQConstr();
  if (m.idx_.size() > INT_MAX) {
    Record(m.status, TARQ_RETCODE_INVALID, "Fail to add quadratic constraint of linear items of size %zu", m.idx_.size());
    return FailedQConstr();
  }
  if (m.qval_.size() > INT_MAX) {
    Record(m.status, TARQ_RETCODE_INVALID, "Fail to add constraint of quadratic items of size %zu", m.qval_.size());
    return FailedQConstr();
  }
  return AddOne(m, static_cast<int>(m.idx_.size()), m.idx_.data(), q.lin.coefs.data(), static_cast<int>(m.qval_.size()),
                m.qrow_.data(), m.qcol_.data(), m.qval_.data(), sense, rhs - q.lin.constant, name);
}

}  // namespace

Tarq::IQConstraint* TarqModel::AddQConstr(Tarq::IQuadExpr* expr, char sense, double rhs, const char* name) {
  return AddExprRow(Data(), Tarq::QuadExprOf(expr), sense, rhs, name);
}

Tarq::IQConstraint* TarqModel::AddQConstr(Tarq::IQuadExpr* lhs, Tarq::IQuadExpr* rhs, char sense, const char* name) {
  Tarq::QuadExpr difference = Tarq::QuadExprOf(lhs).Copy();
  difference.AddQuadExpr(Tarq::QuadExprOf(rhs), -1.0);
  return AddExprRow(Data(), difference, sense, 0.0, name);
}

Tarq::IQConstraint* TarqModel::AddQConstr(Tarq::IQConstrBuilder* builder, const char* name) {
  Tarq::QConstrBuilder& b = Tarq::QBuilderOf(builder);
  return AddExprRow(Data(), b.expr, b.sense, 0.0, name);
}

Tarq::IQConstraint* TarqModel::AddQConstr(int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                                          const int* quadRow, const int* quadCol, const double* quadVal, char sense,
                                          double rhs, const char* name) {
  ModelData& m = Data();
  if (!ValidSense(sense)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid quadratic constraint sense: %d", sense);
    return FailedQConstr();
  }
  return AddOne(m, linNnz, linIdx, linVal, quadNnz, quadRow, quadCol, quadVal, sense, rhs, name);
}

Tarq::IQConstraint* TarqModel::GetQConstr(int idx) {
  return new TarqQConstraint(
      QConstraint(Tarq::detail::ByIndex(Data(), Kind::kQConstr, idx, "Invalid quad row index", "Internal quad row index error")));
}

Tarq::IQConstraint* TarqModel::GetQConstrByName(const char* name) {
  ModelData& m = Data();
  const std::string normalised = Tarq::detail::NormaliseName(name);
  int idx = -1;
  if (!Checked(m.status, TARQ_GetQConstrIdx(m.Problem(), normalised.c_str(), &idx), "No quadratic constraint of name %s",
               normalised.c_str())) {
    return FailedQConstr();
  }
  return GetQConstr(idx);
}

Tarq::IQConstrArray* TarqModel::GetQConstrs() {
  return new TarqQConstrArray(Tarq::detail::Live<QConstraint>(Data(), Kind::kQConstr));
}

void TarqModel::SetQConstrNames(const Tarq::IQConstrArray* constrs, const char* names, std::size_t size) {
  Tarq::detail::SetNames(Data(), Tarq::QConstrsOf(constrs), names, size, "quadratic constraint",
                         TARQ_SetQConstrNames, "Fail to set names of quadratic constraints");
}

Tarq::IQuadExpr* TarqModel::GetQuadRow(const Tarq::IQConstraint* constr) {
  ModelData& m = Data();
  const QConstraint& c = Tarq::QConstrOf(constr);
  Tarq::QuadExpr q;
  if (c.Index() < 0 || !m.Owns(c)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid quadratic constraint");
    return new TarqQuadExpr(std::move(q));
  }
  int linNnz = 0, quadNnz = 0;
  if (!Checked(m.status,
               TARQ_GetQConstr(m.Problem(), c.Index(), 0, 0, &linNnz, nullptr, nullptr, &quadNnz, nullptr, nullptr,
                               nullptr),
               "Fail to get required quad row buffer size")) {
    return new TarqQuadExpr(std::move(q));
  }
  m.idx_.resize(static_cast<std::size_t>(linNnz));
  m.val_.resize(static_cast<std::size_t>(linNnz));
  m.qrow_.resize(static_cast<std::size_t>(quadNnz));
  m.qcol_.resize(static_cast<std::size_t>(quadNnz));
  m.qval_.resize(static_cast<std::size_t>(quadNnz));
  if (!Checked(m.status,
               TARQ_GetQConstr(m.Problem(), c.Index(), linNnz, quadNnz, &linNnz, m.idx_.data(), m.val_.data(),
                               &quadNnz, m.qrow_.data(), m.qcol_.data(), m.qval_.data()),
               "Fail to get quad row data")) {
    return new TarqQuadExpr(std::move(q));
  }
  const auto& vars = m.record->List(Kind::kCol);
  q.lin.coefs.assign(m.val_.begin(), m.val_.end());
  q.lin.vars.reserve(m.idx_.size());
  for (int j : m.idx_) q.lin.vars.push_back(Tarq::VarRef{vars[j].Get()});
  q.lin.pins.Pin(m.record->problem.Block());
  m.ScatterQuad(q);
  return new TarqQuadExpr(std::move(q));
}
