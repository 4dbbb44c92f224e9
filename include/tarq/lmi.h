// Linear matrix inequalities: C + sum_i x_i A_i positive semidefinite, with C and every A_i a
// symmetric-matrix expression of one dimension and x_i scalar variables.
#pragma once

namespace Tarq {

class IVar;
class IVarArray;
class ISymMatrix;
class ISymMatrixArray;
class ISymMatExpr;

class ILmiExpr {
 public:
  virtual ~ILmiExpr() = default;
  virtual int GetSize() const = 0;
  virtual IVar* GetVar(int i) const = 0;           // out of range: a variable of index -2
  virtual ISymMatExpr* GetCoeff(int i) const = 0;  // a copy; out of range: an empty one
  virtual ISymMatExpr* GetConstant() const = 0;    // a copy
  virtual void SetCoeff(int i, const ISymMatrix* mat) = 0;
  virtual void SetConstant(const ISymMatrix* mat) = 0;
  // Appends the expression's terms to the constant.
  virtual void AddConstant(const ISymMatExpr* expr) = 0;
  virtual void AddTerm(const IVar* var, const ISymMatrix* mat) = 0;
  virtual void AddTerm(const IVar* var, const ISymMatExpr* expr) = 0;
  // One term per pair; -1 and nothing added when the sizes differ, else the number of pairs.
  virtual int AddTerms(const IVarArray* vars, const ISymMatrixArray* mats) = 0;
  // Appends the other's terms with coefficients times mult and adds mult times its constant;
  // returns the number of terms appended.
  virtual int AddLmiExpr(const ILmiExpr* other, double mult) = 0;
  virtual void Remove(int i) = 0;
  virtual void Remove(const IVar* var) = 0;
  virtual void Reserve(int n) = 0;
  virtual ILmiExpr* Clone() const = 0;
  virtual void MultiplyBy(double factor) = 0;
};

// One LMI row of a model; copies share its record.
class ILmiConstraint {
 public:
  virtual ~ILmiConstraint() = default;
  virtual int GetIdx() const = 0;
  virtual int GetDim() const = 0;
  virtual int GetLen() const = 0;  // dimension squared
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  // "Slack" and "Dual" once a solution exists, as a full matrix row by row; length must be at
  // least GetLen().
  virtual void Get(const char* info, double* out, int length) = 0;
  // The constant term becomes mat, a stored matrix of the row's dimension.
  virtual void SetRhs(const ISymMatrix* mat) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class ILmiConstrArray {
 public:
  virtual ~ILmiConstrArray() = default;
  virtual void PushBack(const ILmiConstraint* constr) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  virtual ILmiConstraint* GetLmiConstr(int i) const = 0;
};

}  // namespace Tarq
