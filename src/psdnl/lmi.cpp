#include "psdnl/lmi.h"

#include "scalar/var.h"

namespace Tarq {

void LmiExpr::AddTerm(const Var& var, SymMatExpr coef) {
  detail::GrowAhead(vars, 1);
  detail::GrowAhead(coefs, 1);
  vars.push_back(var);
  coefs.push_back(std::move(coef));
}

void LmiExpr::RemoveAt(int i) {
  if (!detail::InRange(vars, i)) return;
  vars.erase(vars.begin() + i);
  coefs.erase(coefs.begin() + i);
}

void LmiConstraint::Info(const char* info, double* out, int length) {
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid LMI constraint");
    return;
  }
  if (out == nullptr || length < dim * dim) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Insufficient output buffer");
    return;
  }
  detail::Checked(status, TARQ_GetLMIConstrInfo(Problem(), info, Index(), out),
                  "Fail to get information of LMI constraint");
}

void LmiConstraint::SetRhs(const SymMatrix& m) {
  // Each failing check records its message; a later one replaces an earlier.
  status.ClearCode();
  if (Index() < 0) detail::Record(status, TARQ_RETCODE_INVALID, "Invalid LMI constraint");
  if (m.dim != dim) detail::Record(status, TARQ_RETCODE_INVALID, "Input matrix has wrong dimension");
  if (m.Index() < 0 || m.Holder() != record->Problem()) {
    detail::Record(status, TARQ_RETCODE_INVALID, "RHS is an invalid SymMatrix with index %d", m.Index());
  }
  if (!status.Ok()) return;
  const int index = Index();
  const int mat = m.Index();
  detail::Checked(status, TARQ_SetLMIConstrRhs(Problem(), 1, &index, &mat), "Fail to set constant term of LMI constraint");
}

}  // namespace Tarq

Tarq::IVar* TarqLmiExpr::GetVar(int i) const {
  return new TarqVar(Tarq::detail::InRange(Data().vars, i) ? Data().vars[i] : Tarq::Var());
}

void TarqLmiExpr::SetCoeff(int i, const Tarq::ISymMatrix* mat) {
  if (!Tarq::detail::InRange(Data().coefs, i)) return;
  Data().coefs[i] = Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0);
}

void TarqLmiExpr::AddConstant(const Tarq::ISymMatExpr* expr) {
  const Tarq::SymMatExpr copy = Tarq::SymExprOf(expr);
  Data().constant.AddExpr(copy, 1.0);
}

void TarqLmiExpr::AddTerm(const Tarq::IVar* var, const Tarq::ISymMatrix* mat) {
  Data().AddTerm(Tarq::VarOf(var), Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0));
}

void TarqLmiExpr::AddTerm(const Tarq::IVar* var, const Tarq::ISymMatExpr* expr) {
  Data().AddTerm(Tarq::VarOf(var), Tarq::SymExprOf(expr));
}

int TarqLmiExpr::AddTerms(const Tarq::IVarArray* vars, const Tarq::ISymMatrixArray* mats) {
  const Tarq::VarArray& v = Tarq::VarsOf(vars);
  const Tarq::SymMatrixArray& m = Tarq::SymMatsOf(mats);
  if (v.size() != m.size()) return -1;
  for (size_t k = 0; k < v.size(); ++k) Data().AddTerm(Tarq::Var(v[k].record), Tarq::SymMatExpr(m[k], 1.0));
  return static_cast<int>(v.size());
}

int TarqLmiExpr::AddLmiExpr(const Tarq::ILmiExpr* other, double mult) {
  const Tarq::LmiExpr copy = Tarq::LmiExprOf(other);  // other may be this expression
  Tarq::LmiExpr& e = Data();
  for (size_t k = 0; k < copy.vars.size(); ++k) {
    Tarq::SymMatExpr c = copy.coefs[k];
    c.MultiplyBy(mult);
    e.AddTerm(copy.vars[k], std::move(c));
  }
  e.constant.AddExpr(copy.constant, mult);
  return static_cast<int>(copy.vars.size());
}

void TarqLmiExpr::Remove(const Tarq::IVar* var) {
  const Tarq::Var& v = Tarq::VarOf(var);
  Tarq::LmiExpr& e = Data();
  for (int i = e.Size() - 1; i >= 0; --i) {
    if (e.vars[i].record.Get() == v.record.Get()) e.RemoveAt(i);
  }
}

void TarqLmiExpr::Reserve(int n) {
  if (n <= 0) return;
  Data().vars.reserve(static_cast<size_t>(n));
  Data().coefs.reserve(static_cast<size_t>(n));
}

void TarqLmiExpr::MultiplyBy(double factor) {
  Data().constant.MultiplyBy(factor);
  for (Tarq::SymMatExpr& c : Data().coefs) c.MultiplyBy(factor);
}

void TarqLmiConstrArray::PushBack(const Tarq::ILmiConstraint* c) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::LmiConstrOf(c));
}
