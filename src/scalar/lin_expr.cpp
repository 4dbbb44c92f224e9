#include "scalar/lin_expr.h"

#include <cmath>
#include <sstream>

#include "frame/grow.h"
#include "scalar/terms.h"
#include "scalar/var.h"

namespace Tarq {

void LinExpr::AddExpr(const LinExpr& other, double mult) {
  if (mult == 0.0) return;
  detail::GrowAhead(coefs, other.coefs.size());
  detail::GrowAhead(vars, other.vars.size());
  pins.Pin(other.pins);
  const std::size_t n = other.coefs.size();  // the other expression may be this one
  for (std::size_t i = 0; i < n; ++i) {
    const double c = other.coefs[i];
    coefs.push_back(mult == 1.0 ? c : mult == -1.0 ? 0.0 - c : c * mult);
    vars.push_back(other.vars[i]);
  }
  constant += mult * other.constant;
}

void LinExpr::MultiplyBy(double d) {
  if (d == 0.0) {
    ClearTerms();
    constant = 0;
    return;
  }
  if (d == 1.0) return;
  for (double& c : coefs) c *= d;
  constant *= d;
}

void LinExpr::DivideBy(double d) {
  if (d == 0.0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Linear expression is divided by zero");
    return;
  }
  if (d == 1.0) return;
  for (double& c : coefs) c /= d;
  constant /= d;
}

double LinExpr::Evaluate() {
  double value = constant;
  if (!coefs.empty() && !status.Ok()) return TARQ_INFINITY;
  for (std::size_t i = 0; i < coefs.size(); ++i) {
    Var var = vars[i].ToVar();
    const double x = var.Get(detail::kColumnKind, "Value");
    value += coefs[i] * x;
    if (!var.status.Ok()) {
      status = var.status;  // code and message of the failing variable
      return TARQ_INFINITY;
    }
    status.ClearCode();
  }
  return status.Ok() ? value : TARQ_INFINITY;
}

void LinExpr::Print(std::ostream& out, int maxLen) {
  bool first = true;
  if (constant != 0.0 || coefs.empty()) {
    out << constant;
    first = false;
  }
  const long long m = maxLen / 8;  // may be negative: then no term is examined
  const std::size_t shown = m > 0 ? std::min(static_cast<std::size_t>(m), coefs.size()) : 0;
  for (std::size_t i = 0; i < shown; ++i) {
    const double c = coefs[i];
    if (vars[i].Index() < 0 || c == 0.0) continue;
    if (c < 0) {
      out << " - ";
    } else if (!first) {
      out << " + ";
    }
    if (std::fabs(c) != 1.0) out << std::fabs(c) << " * ";
    out << vars[i].ToVar().Name(detail::kColumnKind);
    first = false;
  }
  if (m < static_cast<long long>(coefs.size())) out << " ... ";
}

std::ostream& operator<<(std::ostream& out, LinExpr& expr) {
  expr.Print(out, 512);
  return out;
}

void LinExpr::AddTermSlow(const Var& var, double coef) {
  VarRef ref{var.record.Get()};
  ref.index = var.TermIndex(pins, ref.epoch);
  coefs.push_back(coef);
  vars.push_back(ref);
}

}  // namespace Tarq

Tarq::IVar* TarqExpr::GetVar(int i) const {
  return new TarqVar(Tarq::detail::InRange(Data().vars, i) ? Data().vars[i].ToVar() : Tarq::Var());
}

void TarqExpr::AddTerm(const Tarq::IVar* var, double coeff) { Data().AddTerm(Tarq::VarOf(var), coeff); }

namespace {

// Appends every element of vars with its coefficient (coeffs[i], or the one coefficient).
template <class Vars, class Coef>
int AppendTerms(Tarq::LinExpr& e, const Vars& vars, Coef coefAt) {
  Tarq::detail::GrowAhead(e.coefs, vars.size());
  Tarq::detail::GrowAhead(e.vars, vars.size());
  for (std::size_t i = 0; i < vars.size(); ++i) e.AddTerm(vars[i], coefAt(i));
  return static_cast<int>(vars.size());
}

// Adapts a list of interface pointers to the element access AppendTerms uses.
struct VarList {
  const std::vector<Tarq::IVar*>& list;
  std::size_t size() const { return list.size(); }
  const Tarq::Var& operator[](std::size_t i) const { return Tarq::VarOf(list[i]); }
};

}  // namespace

int TarqExpr::AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars);
  if (coeffs == nullptr || len < static_cast<int>(a.size())) return -1;
  return AppendTerms(Data(), a, [&](std::size_t i) { return coeffs[i]; });
}

int TarqExpr::AddTerms(const Tarq::IVarArray* vars, double coeff) {
  return AppendTerms(Data(), Tarq::VarsOf(vars), [&](std::size_t) { return coeff; });
}

int TarqExpr::AddTerms(const std::vector<Tarq::IVar*>& vars, const double* coeffs, int len) {
  if (coeffs == nullptr || len < 0 || len < static_cast<int>(vars.size())) return -1;
  return AppendTerms(Data(), VarList{vars}, [&](std::size_t i) { return coeffs[i]; });
}

int TarqExpr::AddTerms(const std::vector<Tarq::IVar*>& vars, double coeff) {
  return AppendTerms(Data(), VarList{vars}, [&](std::size_t) { return coeff; });
}

void TarqExpr::AddExpr(const Tarq::IExpr* other, double mult) { Data().AddExpr(Tarq::ExprOf(other), mult); }

void TarqExpr::Remove(int i) {
  Tarq::LinExpr& e = Data();
  if (i < 0 || i >= e.Size()) return;
  Tarq::detail::RemoveTermAt(e.coefs, e.vars, static_cast<std::size_t>(i));
}

void TarqExpr::Remove(const Tarq::IVar* var) {
  const int index = Tarq::VarOf(var).Index();
  if (index < 0) return;
  Tarq::detail::RemoveTermsOf(Data().coefs, Data().vars, index);
}

void TarqExpr::Reserve(int n) {
  Data().coefs.reserve(static_cast<std::size_t>(n));
  Data().vars.reserve(static_cast<std::size_t>(n));
}

void TarqExpr::Clear() {
  Data().ClearTerms();
  Data().constant = 0;
}

Tarq::IExpr* TarqExpr::Clone() const {
  Tarq::LinExpr copy;
  copy.coefs = Data().coefs;
  copy.vars = Data().vars;
  copy.pins = Data().pins;
  copy.constant = Data().constant;
  return new TarqExpr(std::move(copy));
}

const char* TarqExpr::ToString(int maxLen) {
  std::ostringstream out;
  Data().Print(out, maxLen);
  text_ = out.str();
  return text_.c_str();
}
