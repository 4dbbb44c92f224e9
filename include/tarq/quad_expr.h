// Quadratic expressions: a linear expression plus quadratic terms coefficient * var1 * var2.
// Terms stay as the caller gives them (x*y and y*x are different terms, repeats and zeros are
// kept); nothing merges them.
#pragma once

namespace Tarq {

class IVar;
class IVarArray;
class IExpr;

class IQuadExpr {
 public:
  virtual ~IQuadExpr() = default;
  // Number of quadratic terms.
  virtual int GetSize() const = 0;
  // The variables and coefficient of quadratic term i; out of range: a variable of index -2, and
  // 1e30 (SetCoeff then does nothing).
  virtual IVar* GetVar1(int i) const = 0;
  virtual IVar* GetVar2(int i) const = 0;
  virtual double GetCoeff(int i) const = 0;
  virtual double GetConstant() const = 0;
  // A copy of the linear part.
  virtual IExpr* GetLinExpr() const = 0;
  virtual void SetCoeff(int i, double value) = 0;
  virtual void SetConstant(double value) = 0;
  virtual void AddConstant(double value) = 0;
  virtual void AddLinTerm(const IVar* var, double coeff) = 0;
  virtual void AddQuadTerm(const IVar* var1, const IVar* var2, double coeff) = 0;
  // -1 and no change when coeffs is null or len < the array's size; else the number added.
  virtual int AddLinTerms(const IVarArray* vars, const double* coeffs, int len) = 0;
  virtual int AddLinTerms(const IVarArray* vars, double coeff) = 0;
  // Appends (vars1[i], vars2[i], coeffs[i]); -1 and no change when coeffs is null, len < the
  // size of vars1, or the arrays differ in size; else the number added.
  virtual int AddQuadTerms(const IVarArray* vars1, const IVarArray* vars2, const double* coeffs, int len) = 0;
  virtual int AddQuadTerms(const IVarArray* vars1, const IVarArray* vars2, double coeff) = 0;
  virtual void AddLinExpr(const IExpr* expr, double mult) = 0;
  virtual void AddQuadExpr(const IQuadExpr* expr, double mult) = 0;
  // Adds the product expr1 * expr2: n * m quadratic terms and the cross terms with the constants.
  virtual void AddMulExpr(const IExpr* expr1, const IExpr* expr2) = 0;
  // Adds the product expr * var.
  virtual void AddMulExprVar(const IExpr* expr, const IVar* var) = 0;
  // The value at the current solution; 1e30 on failure (the status tells why).
  virtual double Evaluate() = 0;
  // Removes quadratic term i by moving the last term into its place; out of range does nothing.
  virtual void Remove(int i) = 0;
  // Removes every quadratic term whose first variable is var (the linear part is untouched).
  virtual void Remove(const IVar* var) = 0;
  virtual void Reserve(int n) = 0;
  virtual void Clear() = 0;
  virtual IQuadExpr* Clone() const = 0;
  virtual void DivideBy(double d) = 0;
  virtual void MultiplyBy(double d) = 0;
  // The linear part within maxLen / 2 characters, then at most (maxLen - its length) / 8 quadratic
  // terms; valid until the next call on this object.
  virtual const char* ToString(int maxLen) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
