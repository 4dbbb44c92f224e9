// Linear expressions: a constant plus (variable, coefficient) terms, kept as the caller builds
// them; the model merges terms by variable when it consumes an expression.
#pragma once

#include <vector>

namespace Tarq {

class IVar;
class IVarArray;

class IExpr {
 public:
  virtual ~IExpr() = default;
  virtual int GetSize() const = 0;
  virtual IVar* GetVar(int i) const = 0;
  virtual double GetCoeff(int i) const = 0;
  virtual double GetConstant() const = 0;
  virtual void SetCoeff(int i, double value) = 0;
  virtual void SetConstant(double value) = 0;
  virtual void AddConstant(double value) = 0;
  virtual void AddTerm(const IVar* var, double coeff) = 0;
  virtual int AddTerms(const IVarArray* vars, const double* coeffs, int len) = 0;
  virtual int AddTerms(const IVarArray* vars, double coeff) = 0;
  virtual int AddTerms(const std::vector<IVar*>& vars, const double* coeffs, int len) = 0;
  virtual int AddTerms(const std::vector<IVar*>& vars, double coeff) = 0;
  virtual void AddExpr(const IExpr* other, double mult) = 0;
  // The value at the current solution; 1e30 on failure (the status tells why).
  virtual double Evaluate() = 0;
  virtual void Remove(int i) = 0;
  virtual void Remove(const IVar* var) = 0;
  virtual void Reserve(int n) = 0;
  virtual void Clear() = 0;
  virtual IExpr* Clone() const = 0;
  virtual void DivideBy(double d) = 0;
  virtual void MultiplyBy(double d) = 0;
  // Printed form, examining at most maxLen / 8 terms; valid until the next call on this object.
  virtual const char* ToString(int maxLen) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
