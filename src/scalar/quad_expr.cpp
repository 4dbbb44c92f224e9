#include "scalar/quad_expr.h"

#include <cmath>
#include <sstream>

#include "scalar/var.h"

namespace Tarq {

void QuadExpr::Reserve(std::size_t n) {
  coefs.reserve(n);
  vars1.reserve(n);
  vars2.reserve(n);
}

void QuadExpr::AddQuadExpr(const QuadExpr& other, double mult) {
  lin.AddExpr(other.lin, mult);
  if (mult == 0.0) return;
  const std::size_t n = other.coefs.size();  // the other expression may be this one
  detail::GrowAhead(coefs, n);
  detail::GrowAhead(vars1, n);
  detail::GrowAhead(vars2, n);
  pins.Pin(other.pins);
  for (std::size_t i = 0; i < n; ++i) {
    const double c = other.coefs[i];
    AddQuadRef(other.vars1[i], other.vars2[i], mult == 1.0 ? c : mult == -1.0 ? 0.0 - c : c * mult);
  }
}

void QuadExpr::AddMulExpr(const LinExpr& e1, const LinExpr& e2) {
  const double c1 = e1.constant, c2 = e2.constant;
  lin.AddExpr(e2, c1);
  lin.AddExpr(e1, c2);
  lin.constant += 0.0 - c1 * c2;
  const std::size_t n = e1.coefs.size(), m = e2.coefs.size();
  detail::GrowAhead(coefs, n * m);
  detail::GrowAhead(vars1, n * m);
  detail::GrowAhead(vars2, n * m);
  if (n != 0 && m != 0) {
    pins.Pin(e1.pins);
    pins.Pin(e2.pins);
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < m; ++j) AddQuadRef(e1.vars[i], e2.vars[j], e2.coefs[j] * e1.coefs[i]);
  }
}

void QuadExpr::AddMulExprVar(const LinExpr& e, const Var& v) {
  lin.AddTerm(v, e.constant);
  const std::size_t n = e.coefs.size();
  detail::GrowAhead(coefs, n);
  detail::GrowAhead(vars1, n);
  detail::GrowAhead(vars2, n);
  if (n == 0) return;
  pins.Pin(e.pins);
  VarRef ref{v.record.Get()};
  ref.index = v.TermIndex(pins, ref.epoch);
  for (std::size_t i = 0; i < n; ++i) AddQuadRef(e.vars[i], ref, e.coefs[i]);
}

void QuadExpr::MultiplyBy(double d) {
  if (d == 0.0) {
    Clear();
    return;
  }
  if (d == 1.0) return;
  for (double& c : coefs) c *= d;
  lin.MultiplyBy(d);
}

void QuadExpr::DivideBy(double d) {
  if (d == 0.0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Quadratic expression is divided by zero");
    return;
  }
  if (d == 1.0) return;
  for (double& c : coefs) c /= d;
  lin.DivideBy(d);
}

void QuadExpr::RemoveAt(std::size_t i) {
  const std::size_t last = coefs.size() - 1;
  if (i < last) {
    coefs[i] = coefs[last];
    vars1[i] = std::move(vars1[last]);
    vars2[i] = std::move(vars2[last]);
  }
  coefs.pop_back();
  vars1.pop_back();
  vars2.pop_back();
}

void QuadExpr::RemoveFirst(int index) {
  if (index < 0) return;
  for (std::size_t i = 0; i < coefs.size();) {
    if (vars1[i].Index() == index) {
      RemoveAt(i);  // position i now holds the former last term: look at it again
    } else {
      ++i;
    }
  }
}

void QuadExpr::Clear() {
  lin.ClearTerms();
  lin.constant = 0;
  coefs.clear();
  vars1.clear();
  vars2.clear();
  pins.Clear();
}

QuadExpr QuadExpr::Copy() const {
  QuadExpr copy;
  copy.lin.coefs = lin.coefs;
  copy.lin.vars = lin.vars;
  copy.lin.pins = lin.pins;
  copy.lin.constant = lin.constant;
  copy.coefs = coefs;
  copy.vars1 = vars1;
  copy.vars2 = vars2;
  copy.pins = pins;
  return copy;
}

double QuadExpr::Evaluate() {
  double value = lin.Evaluate();
  status = lin.status;  // the code, and the message with a non-zero code
  if (!coefs.empty() && !status.Ok()) return TARQ_INFINITY;
  for (std::size_t i = 0; i < coefs.size(); ++i) {
    Var v1 = vars1[i].ToVar();
    Var v2 = vars2[i].ToVar();
    const double x = v1.Get(detail::kColumnKind, "Value");
    const double y = v2.Get(detail::kColumnKind, "Value");
    value += coefs[i] * x * y;
    status = v1.status;
    if (!status.Ok()) return TARQ_INFINITY;
    status = v2.status;
    if (!status.Ok() && i + 1 < coefs.size()) return TARQ_INFINITY;
  }
  return status.Ok() ? value : TARQ_INFINITY;
}

void QuadExpr::Print(std::ostream& out, int maxLen) {
  std::ostringstream linear;
  lin.Print(linear, maxLen / 2);
  const std::string text = linear.str();
  out << text;
  const long long left = static_cast<long long>(maxLen) - static_cast<long long>(text.size());
  const long long m = left >= 8 ? left / 8 : 0;
  const std::size_t shown = std::min(static_cast<std::size_t>(m), coefs.size());
  for (std::size_t i = 0; i < shown; ++i) {
    const double c = coefs[i];
    if (vars1[i].Index() < 0 || vars2[i].Index() < 0 || c == 0.0) continue;
    out << (c < 0 ? " - " : " + ");
    if (std::fabs(c) != 1.0) out << std::fabs(c) << " * ";
    out << vars1[i].ToVar().Name(detail::kColumnKind) << " * " << vars2[i].ToVar().Name(detail::kColumnKind);
  }
  if (m < static_cast<long long>(coefs.size())) out << " ... ";
}

std::ostream& operator<<(std::ostream& out, QuadExpr& expr) {
  expr.Print(out, 512);
  return out;
}

}  // namespace Tarq

namespace {

Tarq::IVar* VarAt(const std::vector<Tarq::VarRef>& vars, int i) {
  return new TarqVar(Tarq::detail::InRange(vars, i) ? vars[i].ToVar() : Tarq::Var());
}

}  // namespace

Tarq::IVar* TarqQuadExpr::GetVar1(int i) const { return VarAt(Data().vars1, i); }
Tarq::IVar* TarqQuadExpr::GetVar2(int i) const { return VarAt(Data().vars2, i); }

void TarqQuadExpr::AddLinTerm(const Tarq::IVar* var, double coeff) { Data().lin.AddTerm(Tarq::VarOf(var), coeff); }

void TarqQuadExpr::AddQuadTerm(const Tarq::IVar* var1, const Tarq::IVar* var2, double coeff) {
  Data().AddQuadTerm(Tarq::VarOf(var1), Tarq::VarOf(var2), coeff);
}

namespace {

// Appends (a[i], b[i], coefAt(i)) for every i.
template <class Coef>
int AppendQuadTerms(Tarq::QuadExpr& q, const Tarq::VarArray& a, const Tarq::VarArray& b, Coef coefAt) {
  Tarq::detail::GrowAhead(q.coefs, a.size());
  Tarq::detail::GrowAhead(q.vars1, a.size());
  Tarq::detail::GrowAhead(q.vars2, a.size());
  for (std::size_t i = 0; i < a.size(); ++i) q.AddQuadTerm(a[i], b[i], coefAt(i));
  return static_cast<int>(a.size());
}

// Appends (a[i], coefAt(i)) to the linear part for every i.
template <class Coef>
int AppendLinTerms(Tarq::LinExpr& e, const Tarq::VarArray& a, Coef coefAt) {
  Tarq::detail::GrowAhead(e.coefs, a.size());
  Tarq::detail::GrowAhead(e.vars, a.size());
  for (std::size_t i = 0; i < a.size(); ++i) e.AddTerm(a[i], coefAt(i));
  return static_cast<int>(a.size());
}

}  // namespace

int TarqQuadExpr::AddLinTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars);
  if (coeffs == nullptr || len < static_cast<int>(a.size())) return -1;
  return AppendLinTerms(Data().lin, a, [&](std::size_t i) { return coeffs[i]; });
}

int TarqQuadExpr::AddLinTerms(const Tarq::IVarArray* vars, double coeff) {
  return AppendLinTerms(Data().lin, Tarq::VarsOf(vars), [&](std::size_t) { return coeff; });
}

int TarqQuadExpr::AddQuadTerms(const Tarq::IVarArray* vars1, const Tarq::IVarArray* vars2, const double* coeffs,
                               int len) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars1);
  const Tarq::VarArray& b = Tarq::VarsOf(vars2);
  if (coeffs == nullptr || len < static_cast<int>(a.size()) || a.size() != b.size()) return -1;
  return AppendQuadTerms(Data(), a, b, [&](std::size_t i) { return coeffs[i]; });
}

int TarqQuadExpr::AddQuadTerms(const Tarq::IVarArray* vars1, const Tarq::IVarArray* vars2, double coeff) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars1);
  const Tarq::VarArray& b = Tarq::VarsOf(vars2);
  if (a.size() != b.size()) return -1;
  return AppendQuadTerms(Data(), a, b, [&](std::size_t) { return coeff; });
}

void TarqQuadExpr::AddLinExpr(const Tarq::IExpr* expr, double mult) { Data().lin.AddExpr(Tarq::ExprOf(expr), mult); }

void TarqQuadExpr::AddQuadExpr(const Tarq::IQuadExpr* expr, double mult) {
  Data().AddQuadExpr(Tarq::QuadExprOf(expr), mult);
}

void TarqQuadExpr::AddMulExpr(const Tarq::IExpr* expr1, const Tarq::IExpr* expr2) {
  Data().AddMulExpr(Tarq::ExprOf(expr1), Tarq::ExprOf(expr2));
}

void TarqQuadExpr::AddMulExprVar(const Tarq::IExpr* expr, const Tarq::IVar* var) {
  Data().AddMulExprVar(Tarq::ExprOf(expr), Tarq::VarOf(var));
}

void TarqQuadExpr::Remove(int i) {
  Tarq::QuadExpr& q = Data();
  if (i < 0 || i >= q.Size()) return;
  q.RemoveAt(static_cast<std::size_t>(i));
}

void TarqQuadExpr::Remove(const Tarq::IVar* var) { Data().RemoveFirst(Tarq::VarOf(var).Index()); }

const char* TarqQuadExpr::ToString(int maxLen) {
  std::ostringstream out;
  Data().Print(out, maxLen);
  text_ = out.str();
  return text_.c_str();
}
