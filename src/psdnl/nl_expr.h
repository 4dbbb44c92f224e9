// Nonlinear expressions: the value type Tarq::NlExpr, its handle TarqNlExpr and the function
// factory TarqNlHelper.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "frame/handle.h"
#include "frame/status.h"
#include "scalar/lin_expr.h"
#include "scalar/quad_expr.h"
#include "tarq/nl_expr.h"

namespace Tarq {

// A linear part plus a postfix program. tokens always starts with the header -99; vars holds one
// entry per column token and consts one per constant token, in token order. Every variable's
// record belongs to a holder in pins (the linear part pins its own).
struct NlExpr {
  LinExpr lin;
  std::vector<int> tokens{-99};
  std::vector<VarRef> vars;
  std::vector<double> consts;
  detail::Status status;
  detail::HolderPins pins;

  NlExpr() = default;
  explicit NlExpr(double constant) : lin(constant) {}

  bool HasNl() const { return tokens.size() > 1; }
  // Appends an operator token: only the tokens of the format; -50 with its count; others ignored.
  void Op(int token, int count = 0);
  void PushConst(double value) {
    tokens.push_back(-60);
    consts.push_back(value);
  }
  // Appends a column token for a live variable (index >= 0).
  void PushVar(const VarRef& ref, int index, detail::HolderBlock* holder);
  // The conversions: operands they produced (0 for none). trailing 0: no trailing operator.
  int ConvertLin(const LinExpr& e, double mult, int trailing);
  int ConvertQuad(const QuadExpr& q, double mult, int trailing);
  int AppendNl(const NlExpr& e, double mult, int trailing);
  // The operand of a function argument; -1 for a variable of negative index (recorded).
  int Operand(double value) {
    PushConst(value);
    return 1;
  }
  int Operand(const Var& var);
  int Operand(const LinExpr& e) { return ConvertLin(e, 1.0, 0); }
  int Operand(const QuadExpr& q);
  int Operand(const NlExpr& e);

  void AddQuadExpr(const QuadExpr& q, double mult);
  void AddNlExpr(const NlExpr& e, double mult);
  // Both parts emptied; the status stays.
  void Clear();
  // Both parts, without the statuses.
  NlExpr Copy() const;
  void MultiplyBy(double c);
  void DivideBy(double c);
  // this = this * operand (mult) or this / operand.
  void Combine(const Var& var, bool mult);
  void Combine(const LinExpr& e, bool mult);
  void Combine(const QuadExpr& q, bool mult);
  void Combine(const NlExpr& e, bool mult);
  void Negate();
  double Evaluate();
  void Print(std::ostream& out, std::size_t limit);
  // Brings the column tokens up to the variables' current indices: the number changed, or -1 when
  // a variable is removed or the list does not match the tokens.
  int Refresh();

 private:
  // Makes this whole expression one operand on the program; false when it is identically zero.
  bool ToOperand();
  // Ends a combination whose operand produced nothing: clears (multiplication) or records the
  // division by zero.
  void ZeroOperand(bool mult);
};

std::ostream& operator<<(std::ostream& out, NlExpr& expr);

}  // namespace Tarq

class TarqNlExpr final : public Tarq::detail::InlineHandled<Tarq::INlExpr, Tarq::NlExpr> {
 public:
  using InlineHandled::InlineHandled;
  explicit TarqNlExpr(double constant) : InlineHandled(std::in_place, constant) {}

  std::size_t GetSize() const override { return Data().tokens.size(); }
  double GetConstant() const override { return Data().lin.constant; }
  Tarq::IExpr* GetLinExpr() const override { return new TarqExpr(Data().lin); }
  void SetConstant(double value) override { Data().lin.constant = value; }
  void AddConstant(double value) override { Data().lin.constant += value; }
  void AddTerm(const Tarq::IVar* var, double coeff) override;
  int AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) override;
  int AddTerms(const Tarq::IVarArray* vars, double coeff) override;
  void AddLinExpr(const Tarq::IExpr* expr, double mult) override;
  void AddQuadExpr(const Tarq::IQuadExpr* expr, double mult) override;
  void AddNlExpr(const Tarq::INlExpr* expr, double mult) override;
  void Clear() override { Data().Clear(); }
  Tarq::INlExpr* Clone() const override { return new TarqNlExpr(Data().Copy()); }
  double Evaluate() override { return Data().Evaluate(); }
  void Reserve(int n) override;
  void DivideBy(double value) override { Data().DivideBy(value); }
  void DivideBy(const Tarq::IVar* var) override;
  void DivideBy(const Tarq::IExpr* expr) override;
  void DivideBy(const Tarq::IQuadExpr* expr) override;
  void DivideBy(const Tarq::INlExpr* expr) override;
  void MultiplyBy(double value) override { Data().MultiplyBy(value); }
  void MultiplyBy(const Tarq::IVar* var) override;
  void MultiplyBy(const Tarq::IExpr* expr) override;
  void MultiplyBy(const Tarq::IQuadExpr* expr) override;
  void MultiplyBy(const Tarq::INlExpr* expr) override;
  void Negate() override { Data().Negate(); }
  const char* ToString(std::size_t limit) override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }

 private:
  std::string text_;  // the last printed form
};

namespace Tarq {
inline NlExpr& NlExprOf(const INlExpr* e) { return detail::DataOf<TarqNlExpr>(e); }
}  // namespace Tarq

#define TARQ_NL_HELPER_FUNCTION(Name)                                   \
  Tarq::INlExpr* Name(double value) const override;                     \
  Tarq::INlExpr* Name(const Tarq::IVar* var) const override;            \
  Tarq::INlExpr* Name(const Tarq::IExpr* expr) const override;          \
  Tarq::INlExpr* Name(const Tarq::IQuadExpr* expr) const override;      \
  Tarq::INlExpr* Name(const Tarq::INlExpr* expr) const override;

// Stateless: a virtual table only.
class TarqNlHelper final : public Tarq::INlHelper {
 public:
  Tarq::INlExpr* Sum(const std::vector<Tarq::INlExpr*>& exprs) const override;
  Tarq::INlExpr* Sum(const Tarq::INlExpr* e1, const Tarq::INlExpr* e2, const Tarq::INlExpr* e3) const override;
  Tarq::INlExpr* Sum(const Tarq::INlExpr* e1, const Tarq::INlExpr* e2, const Tarq::INlExpr* e3,
                     const Tarq::INlExpr* e4) const override;
  Tarq::INlExpr* Atan2(double a, const Tarq::INlExpr* b) const override;
  Tarq::INlExpr* Atan2(const Tarq::INlExpr* a, double b) const override;
  Tarq::INlExpr* Atan2(const Tarq::INlExpr* a, const Tarq::INlExpr* b) const override;
  Tarq::INlExpr* Pow(const Tarq::INlExpr* a, double b) const override;
  Tarq::INlExpr* Pow(double a, const Tarq::INlExpr* b) const override;
  Tarq::INlExpr* Pow(const Tarq::INlExpr* a, const Tarq::INlExpr* b) const override;
  TARQ_NL_HELPER_FUNCTION(Sqrt)
  TARQ_NL_HELPER_FUNCTION(Exp)
  TARQ_NL_HELPER_FUNCTION(Log)
  TARQ_NL_HELPER_FUNCTION(Log10)
  TARQ_NL_HELPER_FUNCTION(Neg)
  TARQ_NL_HELPER_FUNCTION(Abs)
  TARQ_NL_HELPER_FUNCTION(Floor)
  TARQ_NL_HELPER_FUNCTION(Ceil)
  TARQ_NL_HELPER_FUNCTION(Cos)
  TARQ_NL_HELPER_FUNCTION(Sin)
  TARQ_NL_HELPER_FUNCTION(Tan)
  TARQ_NL_HELPER_FUNCTION(Cosh)
  TARQ_NL_HELPER_FUNCTION(Sinh)
  TARQ_NL_HELPER_FUNCTION(Tanh)
  TARQ_NL_HELPER_FUNCTION(Acos)
  TARQ_NL_HELPER_FUNCTION(Asin)
  TARQ_NL_HELPER_FUNCTION(Atan)
  TARQ_NL_HELPER_FUNCTION(Acosh)
  TARQ_NL_HELPER_FUNCTION(Asinh)
  TARQ_NL_HELPER_FUNCTION(Atanh)
};

#undef TARQ_NL_HELPER_FUNCTION
