// The handle of nonlinear expressions and the function factory.
#include <sstream>

#include "frame/grow.h"
#include "psdnl/nl_expr.h"
#include "scalar/var.h"

using Tarq::NlExpr;

void TarqNlExpr::AddTerm(const Tarq::IVar* var, double coeff) { Data().lin.AddTerm(Tarq::VarOf(var), coeff); }

int TarqNlExpr::AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars);
  if (coeffs == nullptr || len < static_cast<int>(a.size())) return -1;
  Tarq::detail::GrowAhead(Data().lin.coefs, a.size());
  Tarq::detail::GrowAhead(Data().lin.vars, a.size());
  for (std::size_t i = 0; i < a.size(); ++i) Data().lin.AddTerm(a[i], coeffs[i]);
  return static_cast<int>(a.size());
}

int TarqNlExpr::AddTerms(const Tarq::IVarArray* vars, double coeff) {
  const Tarq::VarArray& a = Tarq::VarsOf(vars);
  Tarq::detail::GrowAhead(Data().lin.coefs, a.size());
  Tarq::detail::GrowAhead(Data().lin.vars, a.size());
  for (const auto& v : a) Data().lin.AddTerm(v, coeff);
  return static_cast<int>(a.size());
}

void TarqNlExpr::AddLinExpr(const Tarq::IExpr* expr, double mult) { Data().lin.AddExpr(Tarq::ExprOf(expr), mult); }
void TarqNlExpr::AddQuadExpr(const Tarq::IQuadExpr* expr, double mult) {
  Data().AddQuadExpr(Tarq::QuadExprOf(expr), mult);
}
void TarqNlExpr::AddNlExpr(const Tarq::INlExpr* expr, double mult) { Data().AddNlExpr(Tarq::NlExprOf(expr), mult); }

void TarqNlExpr::Reserve(int n) {
  const std::size_t k = n > 0 ? static_cast<std::size_t>(n) : 0;
  Data().tokens.reserve(k);
  Data().vars.reserve(k);
  Data().consts.reserve(k);
}

void TarqNlExpr::DivideBy(const Tarq::IVar* var) { Data().Combine(Tarq::VarOf(var), false); }
void TarqNlExpr::DivideBy(const Tarq::IExpr* expr) { Data().Combine(Tarq::ExprOf(expr), false); }
void TarqNlExpr::DivideBy(const Tarq::IQuadExpr* expr) { Data().Combine(Tarq::QuadExprOf(expr), false); }
void TarqNlExpr::DivideBy(const Tarq::INlExpr* expr) { Data().Combine(Tarq::NlExprOf(expr), false); }
void TarqNlExpr::MultiplyBy(const Tarq::IVar* var) { Data().Combine(Tarq::VarOf(var), true); }
void TarqNlExpr::MultiplyBy(const Tarq::IExpr* expr) { Data().Combine(Tarq::ExprOf(expr), true); }
void TarqNlExpr::MultiplyBy(const Tarq::IQuadExpr* expr) { Data().Combine(Tarq::QuadExprOf(expr), true); }
void TarqNlExpr::MultiplyBy(const Tarq::INlExpr* expr) { Data().Combine(Tarq::NlExprOf(expr), true); }

const char* TarqNlExpr::ToString(std::size_t limit) {
  std::ostringstream out;
  Data().Print(out, limit);
  text_ = out.str();
  return text_.c_str();
}

namespace {

// The argument of a function as the expression's own value type.
const Tarq::Var& Arg(const Tarq::IVar* v) { return Tarq::VarOf(v); }
const Tarq::LinExpr& Arg(const Tarq::IExpr* e) { return Tarq::ExprOf(e); }
const Tarq::QuadExpr& Arg(const Tarq::IQuadExpr* q) { return Tarq::QuadExprOf(q); }
const NlExpr& Arg(const Tarq::INlExpr* e) { return Tarq::NlExprOf(e); }

// f(x): the operand of x, then the token; a zero expression argument gives f(0); a variable of
// negative index gives the zero expression carrying the error.
template <class T>
Tarq::INlExpr* Function(int token, const T& x) {
  NlExpr r;
  const int n = r.Operand(x);
  if (n < 0) {
    NlExpr zero;
    zero.status = r.status;
    return new TarqNlExpr(std::move(zero));
  }
  if (n == 0) r.PushConst(0.0);
  r.Op(token);
  return new TarqNlExpr(std::move(r));
}

// The operand of x in r; false (r made the zero expression, keeping any error) when x is zero.
template <class T>
bool FirstOperand(NlExpr& r, const T& x) {
  if (r.Operand(x) > 0) return true;
  const Tarq::detail::Status kept = r.status;
  r = NlExpr();
  r.status = kept;
  return false;
}

Tarq::INlExpr* SumOf(const Tarq::INlExpr* const* args, std::size_t n) {
  NlExpr r;
  int k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const NlExpr& e = Tarq::NlExprOf(args[i]);
    r.lin.AddExpr(e.lin, 1.0);
    if (r.AppendNl(e, 1.0, 0) > 0) ++k;
  }
  if (k == 2) r.Op(-10);
  if (k > 2) r.Op(-50, k);
  return new TarqNlExpr(std::move(r));
}

}  // namespace

Tarq::INlExpr* TarqNlHelper::Sum(const std::vector<Tarq::INlExpr*>& exprs) const {
  return SumOf(exprs.data(), exprs.size());
}
Tarq::INlExpr* TarqNlHelper::Sum(const Tarq::INlExpr* e1, const Tarq::INlExpr* e2, const Tarq::INlExpr* e3) const {
  const Tarq::INlExpr* args[] = {e1, e2, e3};
  return SumOf(args, 3);
}
Tarq::INlExpr* TarqNlHelper::Sum(const Tarq::INlExpr* e1, const Tarq::INlExpr* e2, const Tarq::INlExpr* e3,
                                 const Tarq::INlExpr* e4) const {
  const Tarq::INlExpr* args[] = {e1, e2, e3, e4};
  return SumOf(args, 4);
}

Tarq::INlExpr* TarqNlHelper::Atan2(double a, const Tarq::INlExpr* b) const {
  NlExpr r;
  r.PushConst(a);
  if (r.Operand(Arg(b)) == 0) r.PushConst(0.0);
  r.Op(-47);
  return new TarqNlExpr(std::move(r));
}

Tarq::INlExpr* TarqNlHelper::Atan2(const Tarq::INlExpr* a, double b) const {
  NlExpr r;
  if (FirstOperand(r, Arg(a))) {
    r.PushConst(b);
    r.Op(-47);
  }
  return new TarqNlExpr(std::move(r));
}

Tarq::INlExpr* TarqNlHelper::Atan2(const Tarq::INlExpr* a, const Tarq::INlExpr* b) const {
  NlExpr r;
  if (FirstOperand(r, Arg(a))) {
    if (r.Operand(Arg(b)) == 0) r.PushConst(0.0);
    r.Op(-47);
  }
  return new TarqNlExpr(std::move(r));
}

Tarq::INlExpr* TarqNlHelper::Pow(const Tarq::INlExpr* a, double b) const {
  NlExpr r;
  if (!FirstOperand(r, Arg(a))) return new TarqNlExpr(std::move(r));
  if (b == 0.0) return new TarqNlExpr(1.0);
  r.PushConst(b);
  r.Op(-14);
  return new TarqNlExpr(std::move(r));
}

Tarq::INlExpr* TarqNlHelper::Pow(double a, const Tarq::INlExpr* b) const {
  if (a == 0.0) return new TarqNlExpr(0.0);
  NlExpr r;
  r.PushConst(a);
  if (r.Operand(Arg(b)) == 0) return new TarqNlExpr(1.0);
  r.Op(-14);
  return new TarqNlExpr(std::move(r));
}

Tarq::INlExpr* TarqNlHelper::Pow(const Tarq::INlExpr* a, const Tarq::INlExpr* b) const {
  NlExpr r;
  if (!FirstOperand(r, Arg(a))) return new TarqNlExpr(std::move(r));
  if (r.Operand(Arg(b)) == 0) return new TarqNlExpr(1.0);
  r.Op(-14);
  return new TarqNlExpr(std::move(r));
}

#define TARQ_NL_HELPER_DEFINE(Name, token)                                                                    \
  Tarq::INlExpr* TarqNlHelper::Name(double value) const { return Function(token, value); }                  \
  Tarq::INlExpr* TarqNlHelper::Name(const Tarq::IVar* var) const { return Function(token, Arg(var)); }       \
  Tarq::INlExpr* TarqNlHelper::Name(const Tarq::IExpr* expr) const { return Function(token, Arg(expr)); }    \
  Tarq::INlExpr* TarqNlHelper::Name(const Tarq::IQuadExpr* expr) const { return Function(token, Arg(expr)); } \
  Tarq::INlExpr* TarqNlHelper::Name(const Tarq::INlExpr* expr) const { return Function(token, Arg(expr)); }

TARQ_NL_HELPER_DEFINE(Sqrt, -15)
TARQ_NL_HELPER_DEFINE(Exp, -16)
TARQ_NL_HELPER_DEFINE(Log, -17)
TARQ_NL_HELPER_DEFINE(Log10, -18)
TARQ_NL_HELPER_DEFINE(Neg, -19)
TARQ_NL_HELPER_DEFINE(Abs, -20)
TARQ_NL_HELPER_DEFINE(Floor, -21)
TARQ_NL_HELPER_DEFINE(Ceil, -22)
TARQ_NL_HELPER_DEFINE(Cos, -32)
TARQ_NL_HELPER_DEFINE(Sin, -31)
TARQ_NL_HELPER_DEFINE(Tan, -33)
TARQ_NL_HELPER_DEFINE(Cosh, -35)
TARQ_NL_HELPER_DEFINE(Sinh, -34)
TARQ_NL_HELPER_DEFINE(Tanh, -36)
TARQ_NL_HELPER_DEFINE(Acos, -42)
TARQ_NL_HELPER_DEFINE(Asin, -41)
TARQ_NL_HELPER_DEFINE(Atan, -43)
TARQ_NL_HELPER_DEFINE(Acosh, -45)
TARQ_NL_HELPER_DEFINE(Asinh, -44)
TARQ_NL_HELPER_DEFINE(Atanh, -46)

#undef TARQ_NL_HELPER_DEFINE
