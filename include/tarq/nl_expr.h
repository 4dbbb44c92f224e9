// Nonlinear expressions: a linear part plus a nonlinear part held as a flat postfix program of
// tokens (header -99 first, then operands and operators as the solver library reads them), with
// the program's variables and constants in token order. Nothing is simplified: a function of a
// constant is stored as the constant and the function. The only build-time rules are multipliers
// and factors of 0, 1 and -1 and operands that are identically zero.
//
// INlHelper builds function applications; each returns a new expression and leaves its arguments
// as they were.
#pragma once

#include <cstddef>
#include <vector>

namespace Tarq {

class IVar;
class IVarArray;
class IExpr;
class IQuadExpr;

class INlExpr {
 public:
  virtual ~INlExpr() = default;
  // Tokens, header included (1 for an empty nonlinear part).
  virtual std::size_t GetSize() const = 0;
  virtual double GetConstant() const = 0;
  // A copy of the linear part.
  virtual IExpr* GetLinExpr() const = 0;
  virtual void SetConstant(double value) = 0;
  virtual void AddConstant(double value) = 0;
  virtual void AddTerm(const IVar* var, double coeff) = 0;
  // -1 when coeffs is null or len is below the array's size, else the number of terms added.
  virtual int AddTerms(const IVarArray* vars, const double* coeffs, int len) = 0;
  virtual int AddTerms(const IVarArray* vars, double coeff) = 0;
  virtual void AddLinExpr(const IExpr* expr, double mult) = 0;
  virtual void AddQuadExpr(const IQuadExpr* expr, double mult) = 0;
  virtual void AddNlExpr(const INlExpr* expr, double mult) = 0;
  // Empties both parts; the status stays.
  virtual void Clear() = 0;
  virtual INlExpr* Clone() const = 0;
  // The value at the current solution; 1e30 with the status telling why when it has none.
  virtual double Evaluate() = 0;
  virtual void Reserve(int n) = 0;
  // In place: this = this / operand (this * operand). Dividing by an operand that is identically
  // zero records "Nonlinear expression is divided by zero" and changes nothing.
  virtual void DivideBy(double value) = 0;
  virtual void DivideBy(const IVar* var) = 0;
  virtual void DivideBy(const IExpr* expr) = 0;
  virtual void DivideBy(const IQuadExpr* expr) = 0;
  virtual void DivideBy(const INlExpr* expr) = 0;
  virtual void MultiplyBy(double value) = 0;
  virtual void MultiplyBy(const IVar* var) = 0;
  virtual void MultiplyBy(const IExpr* expr) = 0;
  virtual void MultiplyBy(const IQuadExpr* expr) = 0;
  virtual void MultiplyBy(const INlExpr* expr) = 0;
  virtual void Negate() = 0;
  // The linear part (within limit / 2 characters) and " + " when it is not zero, then the program
  // in brackets, cut after limit / 8 tokens; valid until the next call on this object.
  virtual const char* ToString(std::size_t limit) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

// Declares the five forms of one function: of a constant, a variable, a linear, a quadratic and a
// nonlinear expression.
#define TARQ_NL_FUNCTION(Name)                               \
  virtual INlExpr* Name(double value) const = 0;             \
  virtual INlExpr* Name(const IVar* var) const = 0;          \
  virtual INlExpr* Name(const IExpr* expr) const = 0;        \
  virtual INlExpr* Name(const IQuadExpr* expr) const = 0;    \
  virtual INlExpr* Name(const INlExpr* expr) const = 0;

class INlHelper {
 public:
  virtual ~INlHelper() = default;
  // Sums: the linear parts are added, the nonlinear parts joined by + or SUM.
  virtual INlExpr* Sum(const std::vector<INlExpr*>& exprs) const = 0;
  virtual INlExpr* Sum(const INlExpr* e1, const INlExpr* e2, const INlExpr* e3) const = 0;
  virtual INlExpr* Sum(const INlExpr* e1, const INlExpr* e2, const INlExpr* e3, const INlExpr* e4) const = 0;
  // atan2(a, b).
  virtual INlExpr* Atan2(double a, const INlExpr* b) const = 0;
  virtual INlExpr* Atan2(const INlExpr* a, double b) const = 0;
  virtual INlExpr* Atan2(const INlExpr* a, const INlExpr* b) const = 0;
  // a to the power b.
  virtual INlExpr* Pow(const INlExpr* a, double b) const = 0;
  virtual INlExpr* Pow(double a, const INlExpr* b) const = 0;
  virtual INlExpr* Pow(const INlExpr* a, const INlExpr* b) const = 0;
  TARQ_NL_FUNCTION(Sqrt)
  TARQ_NL_FUNCTION(Exp)
  TARQ_NL_FUNCTION(Log)
  TARQ_NL_FUNCTION(Log10)
  TARQ_NL_FUNCTION(Neg)
  TARQ_NL_FUNCTION(Abs)
  TARQ_NL_FUNCTION(Floor)
  TARQ_NL_FUNCTION(Ceil)
  TARQ_NL_FUNCTION(Cos)
  TARQ_NL_FUNCTION(Sin)
  TARQ_NL_FUNCTION(Tan)
  TARQ_NL_FUNCTION(Cosh)
  TARQ_NL_FUNCTION(Sinh)
  TARQ_NL_FUNCTION(Tanh)
  TARQ_NL_FUNCTION(Acos)
  TARQ_NL_FUNCTION(Asin)
  TARQ_NL_FUNCTION(Atan)
  TARQ_NL_FUNCTION(Acosh)
  TARQ_NL_FUNCTION(Asinh)
  TARQ_NL_FUNCTION(Atanh)
};

#undef TARQ_NL_FUNCTION

}  // namespace Tarq
