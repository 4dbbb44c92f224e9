// Getting objects by index and by name, naming them, and reading rows and columns back.
#include "model/model_lookup.h"
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/column.h"
#include "scalar/constraint.h"
#include "scalar/var.h"

using Tarq::Constraint;
using Tarq::Var;
using Tarq::detail::BatchNames;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::ByIndex;
using Tarq::detail::ByName;
using Tarq::detail::Live;
using Tarq::detail::RecordRef;
using Tarq::detail::SetNames;

namespace {

// Reads one stored vector (a row or a column) with the two-call protocol into idx_/val_.
bool ReadVector(ModelData& m, int (*get)(tarq_prob*, int, const int*, int*, int*, int*, double*, int, int*),
                int index, const char* sizeFailure, const char* dataFailure) {
  int size = 0;
  if (!Checked(m.status, get(m.Problem(), 1, &index, nullptr, nullptr, nullptr, nullptr, 0, &size), "%s",
               sizeFailure)) {
    return false;
  }
  m.idx_.resize(static_cast<std::size_t>(size));
  m.val_.resize(static_cast<std::size_t>(size));
  int beg = 0, cnt = 0;
  return Checked(m.status, get(m.Problem(), 1, &index, &beg, &cnt, m.idx_.data(), m.val_.data(), size, &size), "%s",
                 dataFailure);
}

// The terms of a row as an expression over the model's variables; false after a failure.
bool RowExpr(ModelData& m, const Constraint& c, Tarq::LinExpr& out) {
  if (c.Index() < 0 || !m.Owns(c)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint");
    return false;
  }
  if (!ReadVector(m, TARQ_GetRows, c.Index(), "Fail to get required row buffer size", "Fail to get row data")) {
    return false;
  }
  const auto& vars = m.record->List(Kind::kCol);
  out.coefs.assign(m.val_.begin(), m.val_.end());
  out.vars.reserve(m.idx_.size());
  for (int j : m.idx_) out.vars.push_back(Tarq::VarRef{vars[j].Get()});
  out.pins.Pin(m.record->problem.Block());
  return true;
}

}  // namespace

Tarq::IVar* TarqModel::GetVar(int idx) {
  return new TarqVar(Var(ByIndex(Data(), Kind::kCol, idx, "Invalid col index", "Internal col index error")));
}

Tarq::IVar* TarqModel::GetVarByName(const char* name) {
  const int idx = ByName(Data(), TARQ_GetColIdx, name, "No such variable");
  return idx < 0 ? new TarqVar(Var()) : GetVar(idx);
}

Tarq::IVarArray* TarqModel::GetVars() {
  return new TarqVarArray(Live<Tarq::detail::RecordValue>(Data(), Kind::kCol));
}

void TarqModel::SetVarNames(const Tarq::IVarArray* vars, const char* names, std::size_t size) {
  SetNames(Data(), Tarq::VarsOf(vars), names, size, "variable", TARQ_SetColNames, "Fail to set names of variables");
}

Tarq::IColumn* TarqModel::GetCol(const Tarq::IVar* var) {
  ModelData& m = Data();
  const Var& v = Tarq::VarOf(var);
  if (!m.Indices(std::vector<Var>{v}, "variable")) return new TarqColumn();
  if (!ReadVector(m, TARQ_GetCols, v.Index(), "Fail to get required col size", "Fail to get col data")) {
    return new TarqColumn();
  }
  Tarq::Column col;
  const auto& rows = m.record->List(Kind::kRow);
  col.coefs.assign(m.val_.begin(), m.val_.end());
  col.constrs.reserve(m.idx_.size());
  for (int i : m.idx_) col.constrs.emplace_back(rows[i]);
  return new TarqColumn(col);
}

Tarq::IConstraint* TarqModel::GetConstr(int idx) {
  return new TarqConstraint(
      Constraint(ByIndex(Data(), Kind::kRow, idx, "Invalid row index", "Internal row index error")));
}

Tarq::IConstraint* TarqModel::GetConstrByName(const char* name) {
  const int idx = ByName(Data(), TARQ_GetRowIdx, name, "No such constraint");
  return idx < 0 ? new TarqConstraint(Constraint()) : GetConstr(idx);
}

Tarq::IConstrArray* TarqModel::GetConstrs() { return new TarqConstrArray(Live<Constraint>(Data(), Kind::kRow)); }

void TarqModel::SetConstrNames(const Tarq::IConstrArray* constrs, const char* names, std::size_t size) {
  SetNames(Data(), Tarq::ConstrsOf(constrs), names, size, "constraint", TARQ_SetRowNames,
           "Fail to set names of constraints");
}

Tarq::IExpr* TarqModel::GetRow(const Tarq::IConstraint* constr) {
  Tarq::LinExpr expr;
  RowExpr(Data(), Tarq::ConstrOf(constr), expr);
  return new TarqExpr(expr);
}

Tarq::IConstrBuilder* TarqModel::GetConstrBuilder(const Tarq::IConstraint* constr) {
  ModelData& m = Data();
  Constraint c = Tarq::ConstrOf(constr);
  Tarq::ConstrBuilder b;
  if (!RowExpr(m, c, b.expr)) return new TarqConstrBuilder(b);
  const double lb = c.Get(Tarq::detail::kRowKind, "LB");
  const double ub = c.Get(Tarq::detail::kRowKind, "UB");
  if (!c.status.Ok()) {
    m.status = c.status;
    return new TarqConstrBuilder(Tarq::ConstrBuilder());
  }
  constexpr double kInf = TARQ_INFINITY;
  if (ub >= kInf) {
    if (lb > -kInf) {
      b.expr.constant -= lb;
      b.sense = 'G';
    } else {
      b.sense = 'N';
    }
  } else if (lb <= -kInf) {
    b.expr.constant -= ub;
    b.sense = 'L';
  } else if (lb != ub) {
    b.expr.constant = -ub;
    b.sense = 'R';
    b.range = ub - lb;
  } else {
    b.expr.constant -= ub;
    b.sense = 'E';
  }
  return new TarqConstrBuilder(std::move(b));
}
