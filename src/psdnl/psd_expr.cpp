#include "psdnl/psd_expr.h"

#include "model/names.h"
#include "scalar/terms.h"
#include "scalar/var.h"

namespace Tarq {

void PsdExpr::AddTerm(const PsdVar& var, SymMatExpr coef) {
  detail::GrowAhead(vars, 1);
  detail::GrowAhead(coefs, 1);
  vars.push_back(var);
  coefs.push_back(std::move(coef));
}

void PsdExpr::AddExpr(const PsdExpr& other, double mult) {
  if (&other == this) {
    const PsdExpr copy = other;
    AddExpr(copy, mult);
    return;
  }
  lin.AddExpr(other.lin, mult);
  const size_t n = other.vars.size();
  detail::GrowAhead(vars, n);
  detail::GrowAhead(coefs, n);
  for (size_t k = 0; k < n; ++k) {
    SymMatExpr c = other.coefs[k];
    c.MultiplyBy(mult);
    AddTerm(other.vars[k], std::move(c));
  }
}

void PsdExpr::RemoveAt(int i) {
  if (!detail::InRange(vars, i)) return;
  vars.erase(vars.begin() + i);
  coefs.erase(coefs.begin() + i);
}

void PsdExpr::MultiplyBy(double factor) {
  lin.MultiplyBy(factor);
  for (SymMatExpr& c : coefs) c.MultiplyBy(factor);
}

double PsdExpr::Evaluate() {
  double value = lin.Evaluate();
  if (!lin.status.Ok()) {
    status = lin.status;
    return TARQ_INFINITY;
  }
  std::vector<double> x;
  std::vector<SymElement> elems;
  for (size_t k = 0; k < vars.size(); ++k) {
    PsdVar& v = vars[k];
    x.assign(static_cast<size_t>(v.dim) * static_cast<size_t>(v.dim), 0.0);
    if (!v.Info("Value", x.data(), static_cast<int>(x.size()))) {
      status = v.status;
      return TARQ_INFINITY;
    }
    if (!coefs[k].Elements(elems)) {
      detail::Record(status, TARQ_RETCODE_INVALID, "Fail to get elements of symmetric matrix expression");
      return TARQ_INFINITY;
    }
    for (const SymElement& e : elems) {
      if (e.row >= v.dim) continue;  // a coefficient of another dimension has no such element
      value += (e.row == e.col ? 1.0 : 2.0) * e.val * x[static_cast<size_t>(e.row) * v.dim + e.col];
    }
  }
  status.ClearCode();
  return value;
}

void PsdConstraint::SetInfo(const char* info, double value) {
  if (info == nullptr || info[0] == '\0') {
    detail::Record(status, TARQ_RETCODE_INVALID, "Must specify information name of PSD constraint");
    return;
  }
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid PSD constraint");
    return;
  }
  const int index = Index();
  if (detail::SameNoCase(info, "LB")) {
    detail::Checked(status, TARQ_SetPSDConstrLower(Problem(), 1, &index, &value), "Fail to set LB of PSD constraint");
  } else if (detail::SameNoCase(info, "UB")) {
    detail::Checked(status, TARQ_SetPSDConstrUpper(Problem(), 1, &index, &value), "Fail to set UB of PSD constraint");
  } else {
    detail::Record(status, TARQ_RETCODE_INVALID, "Unknown PSD constraint information");
  }
}

}  // namespace Tarq

void TarqPsdExpr::SetCoeff(int i, const Tarq::ISymMatrix* mat) {
  if (!Tarq::detail::InRange(Data().coefs, i)) return;
  Data().coefs[i] = Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0);
}

void TarqPsdExpr::AddTerm(const Tarq::IVar* var, double coeff) { Data().lin.AddTerm(Tarq::VarOf(var), coeff); }

void TarqPsdExpr::AddTerm(const Tarq::IPsdVar* var, const Tarq::ISymMatrix* mat) {
  Data().AddTerm(Tarq::PsdVarOf(var), Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0));
}

void TarqPsdExpr::AddTerm(const Tarq::IPsdVar* var, const Tarq::ISymMatExpr* expr) {
  Data().AddTerm(Tarq::PsdVarOf(var), Tarq::SymExprOf(expr));
}

int TarqPsdExpr::AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars);
  if (coeffs == nullptr || len < static_cast<int>(a.size())) return -1;
  Tarq::detail::GrowAhead(Data().lin.coefs, a.size());
  Tarq::detail::GrowAhead(Data().lin.vars, a.size());
  for (size_t k = 0; k < a.size(); ++k) Data().lin.AddTerm(a[k], coeffs[k]);
  return static_cast<int>(a.size());
}

int TarqPsdExpr::AddTerms(const Tarq::IPsdVarArray* vars, const Tarq::ISymMatrixArray* mats) {
  const Tarq::PsdVarArray& v = Tarq::PsdVarsOf(vars);
  const Tarq::SymMatrixArray& m = Tarq::SymMatsOf(mats);
  if (v.size() != m.size()) return -1;
  for (size_t k = 0; k < v.size(); ++k) Data().AddTerm(v[k], Tarq::SymMatExpr(m[k], 1.0));
  return static_cast<int>(v.size());
}

void TarqPsdExpr::AddLinExpr(const Tarq::IExpr* expr, double mult) { Data().lin.AddExpr(Tarq::ExprOf(expr), mult); }

void TarqPsdExpr::AddPsdExpr(const Tarq::IPsdExpr* expr, double mult) { Data().AddExpr(Tarq::PsdExprOf(expr), mult); }

void TarqPsdExpr::Remove(const Tarq::IVar* var) {
  const int index = Tarq::VarOf(var).Index();
  if (index < 0) return;
  Tarq::detail::RemoveTermsOf(Data().lin.coefs, Data().lin.vars, index);
}

void TarqPsdExpr::Remove(const Tarq::IPsdVar* var) {
  const Tarq::PsdVar& v = Tarq::PsdVarOf(var);
  Tarq::PsdExpr& e = Data();
  for (int i = e.Size() - 1; i >= 0; --i) {
    if (e.vars[i].record.Get() == v.record.Get()) e.RemoveAt(i);
  }
}

void TarqPsdExpr::Reserve(int n) {
  if (n <= 0) return;
  Data().vars.reserve(static_cast<size_t>(n));
  Data().coefs.reserve(static_cast<size_t>(n));
}

void TarqPsdConstrArray::PushBack(const Tarq::IPsdConstraint* c) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::PsdConstrOf(c));
}

void TarqPsdConstrBuilder::SetBuilder(const Tarq::IPsdExpr* expr, char sense, double rhs) {
  Tarq::PsdConstrBuilder& b = Data();
  b.expr = Tarq::PsdExprOf(expr);
  b.expr.lin.constant -= rhs;
  b.sense = sense;
  b.range = 0;
}

void TarqPsdConstrBuilder::SetRange(const Tarq::IPsdExpr* expr, double range) {
  Tarq::PsdConstrBuilder& b = Data();
  b.expr = Tarq::PsdExprOf(expr);
  b.sense = 'R';
  b.range = range;
}

void TarqPsdConstrBuilderArray::PushBack(const Tarq::IPsdConstrBuilder* b) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::PsdBuilderOf(b));
}
