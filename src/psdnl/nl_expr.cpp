#include "psdnl/nl_expr.h"

#include <cmath>
#include <sstream>

#include "frame/grow.h"
#include "scalar/var.h"

namespace Tarq {

namespace {

constexpr int kHeader = -99, kConst = -60, kSum = -50, kAdd = -10, kMul = -12, kDiv = -13, kNeg = -19;

// The printed name of an operator token; null for values that are not operators.
const char* OpName(int t) {
  switch (t) {
    case -47: return "ATAN2"; case -46: return "ATANH"; case -45: return "ACOSH"; case -44: return "ASINH";
    case -43: return "ATAN"; case -42: return "ACOS"; case -41: return "ASIN"; case -36: return "TANH";
    case -35: return "COSH"; case -34: return "SINH"; case -33: return "TAN"; case -32: return "COS";
    case -31: return "SIN"; case -22: return "CEIL"; case -21: return "FLOOR"; case -20: return "ABS";
    case -19: return "NEG"; case -18: return "LOG10"; case -17: return "LOG"; case -16: return "EXP";
    case -15: return "SQRT"; case -14: return "^"; case -13: return "/"; case -12: return "*";
    case -11: return "-"; case -10: return "+";
    default: return nullptr;
  }
}

// Whether converting e (or q) produces an operand: a live term with a non-zero coefficient, or a
// non-zero constant.
bool Produces(const LinExpr& e) {
  if (e.constant != 0.0) return true;
  for (std::size_t i = 0; i < e.coefs.size(); ++i) {
    if (e.coefs[i] != 0.0 && e.vars[i].Index() >= 0) return true;
  }
  return false;
}

bool Produces(const QuadExpr& q) {
  for (std::size_t i = 0; i < q.coefs.size(); ++i) {
    if (q.coefs[i] != 0.0 && q.vars1[i].Index() >= 0 && q.vars2[i].Index() >= 0) return true;
  }
  return Produces(q.lin);
}

bool TwoOperands(int t) { return t == -47 || (t <= -10 && t >= -14); }

double ApplyOne(int t, double a) {
  switch (t) {
    case -46: return std::atanh(a); case -45: return std::acosh(a); case -44: return std::asinh(a);
    case -43: return std::atan(a); case -42: return std::acos(a); case -41: return std::asin(a);
    case -36: return std::tanh(a); case -35: return std::cosh(a); case -34: return std::sinh(a);
    case -33: return std::tan(a); case -32: return std::cos(a); case -31: return std::sin(a);
    case -22: return std::ceil(a); case -21: return std::floor(a); case -20: return std::fabs(a);
    case -19: return 0.0 - a; case -18: return std::log10(a); case -17: return std::log(a);
    case -16: return std::exp(a); default: return std::sqrt(a);
  }
}

}  // namespace

void NlExpr::Op(int token, int count) {
  if (token == kSum) {
    tokens.push_back(kSum);
    tokens.push_back(count);
  } else if (token == kConst || OpName(token) != nullptr) {
    tokens.push_back(token);
  }
}

void NlExpr::PushVar(const VarRef& ref, int index, detail::HolderBlock* holder) {
  tokens.push_back(index);
  vars.push_back(ref);
  pins.Pin(holder);
}

int NlExpr::ConvertLin(const LinExpr& e, double mult, int trailing) {
  int n = 0;
  if (e.coefs.empty()) {
    if (e.constant == 0.0) return 0;
    PushConst(mult * e.constant);
    n = 1;
  } else {
    detail::GrowAhead(tokens, 3 * e.coefs.size() + 4);
    for (std::size_t i = 0; i < e.coefs.size(); ++i) {
      const int index = e.vars[i].Index();
      const double a = e.coefs[i];
      if (index < 0 || a == 0.0) continue;
      if (a == 1.0 && mult == 1.0) {
        PushVar(e.vars[i], index, e.vars[i].rec->Holder());
      } else {
        PushConst(a * mult);
        PushVar(e.vars[i], index, e.vars[i].rec->Holder());
        tokens.push_back(kMul);
      }
      ++n;
    }
    if (e.constant != 0.0) {
      PushConst(mult * e.constant);
      ++n;
    }
    if (n > 2) Op(kSum, n);
    if (n == 2) Op(kAdd);
  }
  if (trailing != 0 && n > 0) Op(trailing);
  return n;
}

int NlExpr::ConvertQuad(const QuadExpr& q, double mult, int trailing) {
  int n = 0;
  for (std::size_t i = 0; i < q.coefs.size(); ++i) {
    const int x = q.vars1[i].Index(), y = q.vars2[i].Index();
    const double c = q.coefs[i];
    if (x < 0 || y < 0 || c == 0.0) continue;
    if (c == 1.0 && mult == 1.0) {
      PushVar(q.vars1[i], x, q.vars1[i].rec->Holder());
      PushVar(q.vars2[i], y, q.vars2[i].rec->Holder());
      tokens.push_back(kMul);
    } else {
      PushConst(c * mult);
      PushVar(q.vars1[i], x, q.vars1[i].rec->Holder());
      tokens.push_back(kMul);
      PushVar(q.vars2[i], y, q.vars2[i].rec->Holder());
      tokens.push_back(kMul);
    }
    ++n;
  }
  if (n > 2) Op(kSum, n);
  if (n == 2) Op(kAdd);
  if (trailing != 0 && n > 0) Op(trailing);
  return n;
}

int NlExpr::AppendNl(const NlExpr& e, double mult, int trailing) {
  if (mult == 0.0) return 0;
  const int taken = static_cast<int>(e.tokens.size()) - 1;
  if (taken == 0) return 0;
  // e may be this expression: copy the sizes first.
  detail::GrowAhead(tokens, e.tokens.size() + 3);
  tokens.insert(tokens.end(), e.tokens.begin() + 1, e.tokens.begin() + 1 + taken);
  consts.insert(consts.end(), e.consts.begin(), e.consts.begin() + static_cast<std::ptrdiff_t>(e.consts.size()));
  vars.insert(vars.end(), e.vars.begin(), e.vars.begin() + static_cast<std::ptrdiff_t>(e.vars.size()));
  pins.Pin(e.pins);
  if (mult != 1.0) {
    PushConst(mult);
    tokens.push_back(kMul);
  }
  if (trailing != 0) Op(trailing);
  return taken;
}

int NlExpr::Operand(const Var& var) {
  const int index = var.Index();
  if (index < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid variable of index %d", index);
    return -1;
  }
  PushVar(VarRef{var.record.Get(), index, 0}, index, var.record.Holder());
  return 1;
}

int NlExpr::Operand(const QuadExpr& q) {
  const int nq = ConvertQuad(q, 1.0, 0);
  const int nl = ConvertLin(q.lin, 1.0, 0);
  if (nq > 0 && nl > 0) Op(kAdd);
  return nq + nl;
}

int NlExpr::Operand(const NlExpr& e) {
  const int t = AppendNl(e, 1.0, 0);
  const int nl = ConvertLin(e.lin, 1.0, 0);
  if (t > 0 && nl > 0) Op(kAdd);
  return t + nl;
}

void NlExpr::AddQuadExpr(const QuadExpr& q, double mult) {
  if (mult == 0.0) return;
  lin.AddExpr(q.lin, mult);
  ConvertQuad(q, mult, HasNl() ? kAdd : 0);
}

void NlExpr::AddNlExpr(const NlExpr& e, double mult) {
  if (mult == 0.0) return;
  if (&e == this) {
    const NlExpr copy = e.Copy();
    AddNlExpr(copy, mult);
    return;
  }
  lin.AddExpr(e.lin, mult);
  AppendNl(e, mult, HasNl() ? kAdd : 0);
}

void NlExpr::Clear() {
  lin.ClearTerms();
  lin.constant = 0;
  tokens.assign(1, kHeader);
  vars.clear();
  consts.clear();
  pins.Clear();
}

NlExpr NlExpr::Copy() const {
  NlExpr c;
  c.lin.AddExpr(lin, 1.0);
  c.tokens = tokens;
  c.vars = vars;
  c.consts = consts;
  c.pins = pins;
  return c;
}

void NlExpr::MultiplyBy(double c) {
  if (c == 1.0) return;
  if (c == 0.0) {
    Clear();
    return;
  }
  lin.MultiplyBy(c);
  if (!HasNl()) return;
  if (c == -1.0) {
    Op(kNeg);
  } else {
    PushConst(c);
    Op(kMul);
  }
}

void NlExpr::DivideBy(double c) {
  if (c == 1.0) return;
  if (c == 0.0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Nonlinear expression is divided by zero");
    return;
  }
  lin.DivideBy(c);
  if (!HasNl()) return;
  if (c == -1.0) {
    Op(kNeg);
  } else {
    PushConst(c);
    Op(kDiv);
  }
}

bool NlExpr::ToOperand() {
  if (!HasNl()) {
    const int n = ConvertLin(lin, 1.0, 0);
    lin.ClearTerms();
    lin.constant = 0;
    return n > 0;
  }
  ConvertLin(lin, 1.0, kAdd);
  lin.ClearTerms();
  lin.constant = 0;
  return true;
}

void NlExpr::ZeroOperand(bool mult) {
  if (mult) {
    Clear();
  } else {
    detail::Record(status, TARQ_RETCODE_INVALID, "Nonlinear expression is divided by zero");
  }
}

void NlExpr::Combine(const Var& var, bool mult) {
  const int index = var.Index();
  if (index < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid variable of index %d", index);
    return;
  }
  if (!ToOperand()) return;
  PushVar(VarRef{var.record.Get(), index, 0}, index, var.record.Holder());
  Op(mult ? kMul : kDiv);
}

void NlExpr::Combine(const LinExpr& e, bool mult) {
  if (e.coefs.empty()) {
    mult ? MultiplyBy(e.constant) : DivideBy(e.constant);
    return;
  }
  if (!Produces(e)) {  // terms of removed variables or zero coefficients only
    ZeroOperand(mult);
    return;
  }
  if (!ToOperand()) return;
  ConvertLin(e, 1.0, 0);
  Op(mult ? kMul : kDiv);
}

void NlExpr::Combine(const QuadExpr& q, bool mult) {
  if (q.coefs.empty() && q.lin.coefs.empty()) {
    mult ? MultiplyBy(q.lin.constant) : DivideBy(q.lin.constant);
    return;
  }
  if (!Produces(q)) {
    ZeroOperand(mult);
    return;
  }
  if (!ToOperand()) return;
  const int nq = ConvertQuad(q, 1.0, 0);
  ConvertLin(q.lin, 1.0, nq > 0 ? kAdd : 0);
  Op(mult ? kMul : kDiv);
}

void NlExpr::Combine(const NlExpr& e, bool mult) {
  if (&e == this) {
    const NlExpr copy = e.Copy();
    Combine(copy, mult);
    return;
  }
  if (!e.HasNl() && e.lin.coefs.empty()) {
    mult ? MultiplyBy(e.lin.constant) : DivideBy(e.lin.constant);
    return;
  }
  if (!e.HasNl() && !Produces(e.lin)) {
    ZeroOperand(mult);
    return;
  }
  if (!ToOperand()) return;
  const int t = AppendNl(e, 1.0, 0);
  ConvertLin(e.lin, 1.0, t > 0 ? kAdd : 0);
  Op(mult ? kMul : kDiv);
}

void NlExpr::Negate() {
  lin.MultiplyBy(-1.0);
  if (HasNl()) Op(kNeg);
}

double NlExpr::Evaluate() {
  const double linear = lin.Evaluate();
  status = lin.status;
  if (!status.Ok()) return TARQ_INFINITY;
  if (!HasNl()) return linear;
  std::vector<double> stack;
  stack.reserve(tokens.size());
  std::size_t nextVar = 0, nextConst = 0;
  for (std::size_t p = 0; p < tokens.size() && status.Ok(); ++p) {
    const int t = tokens[p];
    if (t >= 0) {
      if (nextVar >= vars.size()) {
        detail::Record(status, TARQ_RETCODE_INVALID, "Vars in nonlinear expression are out of bound");
        break;
      }
      const VarRef& ref = vars[nextVar++];
      if (ref.Index() < 0 || ref.Index() != t) {
        detail::Record(status, TARQ_RETCODE_INVALID, "Index of Var in nonlinear expression is out of order");
        break;
      }
      Var var = ref.ToVar();
      const double x = var.Get(detail::kColumnKind, "Value");
      if (!var.status.Ok()) {
        status = var.status;
        break;
      }
      stack.push_back(x);
    } else if (t == kConst) {
      if (nextConst >= consts.size()) break;
      stack.push_back(consts[nextConst++]);
    } else if (t == kSum) {
      if (p + 1 >= tokens.size()) break;
      const int n = tokens[++p];
      if (n < 0 || static_cast<std::size_t>(n) > stack.size()) break;
      double sum = 0;
      for (int k = 0; k < n; ++k) {
        sum += stack.back();
        stack.pop_back();
      }
      stack.push_back(sum);
    } else if (TwoOperands(t)) {
      if (stack.size() < 2) break;
      const double b = stack.back();
      stack.pop_back();
      const double a = stack.back();
      stack.pop_back();
      switch (t) {
        case -10: stack.push_back(a + b); break;
        case -11: stack.push_back(a - b); break;
        case -12: stack.push_back(a * b); break;
        case -13:
          if (b == 0.0) {
            detail::Record(status, TARQ_RETCODE_INVALID, "Nonlinear expression is divided by zero");
            break;
          }
          stack.push_back(a / b);
          break;
        case -14: stack.push_back(std::pow(a, b)); break;
        default: stack.push_back(std::atan2(a, b)); break;
      }
    } else if (OpName(t) != nullptr) {
      if (stack.empty()) break;
      stack.back() = ApplyOne(t, stack.back());
    }
  }
  if (!status.Ok()) return TARQ_INFINITY;  // the first error stays the one reported
  if (stack.size() != 1) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Nonlinear expression in postfix is incorrect");
    return TARQ_INFINITY;
  }
  return linear + stack.back();
}

void NlExpr::Print(std::ostream& out, std::size_t limit) {
  if (!lin.coefs.empty() || lin.constant != 0.0) {
    lin.Print(out, static_cast<int>(limit / 2));
    out << " + ";
  }
  out << "[ ";
  std::size_t consumed = 0, nextVar = 0, nextConst = 0;
  for (std::size_t p = 0; p < tokens.size(); ++p) {
    const int t = tokens[p];
    ++consumed;
    if (t >= 0) {
      out << "C(" << (nextVar < vars.size() ? vars[nextVar].Index() : t) << ") ";
      ++nextVar;
      continue;
    }
    if (t == kHeader) {
      out << "POSTFIX ";
    } else if (t == kConst) {
      out << (nextConst < consts.size() ? consts[nextConst] : 0.0) << " ";
      ++nextConst;
    } else if (t == kSum) {
      out << "SUM " << (p + 1 < tokens.size() ? tokens[p + 1] : 0) << " ";
      ++p;
      ++consumed;
    } else {
      const char* name = OpName(t);
      out << (name != nullptr ? name : "?") << " ";
    }
    if (consumed > limit / 8) {
      out << " ... ";
      break;
    }
  }
  out << "]";
}

int NlExpr::Refresh() {
  int changed = 0;
  std::size_t next = 0;
  for (std::size_t p = 1; p < tokens.size(); ++p) {
    const int t = tokens[p];
    if (t == kSum) {
      ++p;
      continue;
    }
    if (t < 0) continue;
    if (next >= vars.size()) return -1;
    const int index = vars[next++].Index();
    if (index < 0) return -1;
    if (index != t) {
      tokens[p] = index;
      ++changed;
    }
  }
  return next == vars.size() ? changed : -1;
}

std::ostream& operator<<(std::ostream& out, NlExpr& expr) {
  expr.Print(out, 512);
  return out;
}

}  // namespace Tarq
