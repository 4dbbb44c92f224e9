// PSD expressions (a linear expression plus terms <C, X> of symmetric-matrix expressions C and
// PSD variables X), PSD constraints, their arrays and builders.
#pragma once

namespace Tarq {

class IVar;
class IVarArray;
class IExpr;
class IPsdVar;
class IPsdVarArray;
class ISymMatrix;
class ISymMatrixArray;
class ISymMatExpr;

// <C, X> is the full trace sum_ij C[i][j] X[i][j]: an off-diagonal element of C counts twice.
// Terms are kept as added (a variable may occur in several) until a model adds the expression.
class IPsdExpr {
 public:
  virtual ~IPsdExpr() = default;
  // The number of PSD terms.
  virtual int GetSize() const = 0;
  virtual IPsdVar* GetPsdVar(int i) const = 0;      // out of range: a variable of index -2
  virtual ISymMatExpr* GetCoeff(int i) const = 0;   // a copy; out of range: an empty one
  virtual double GetConstant() const = 0;
  virtual IExpr* GetLinExpr() const = 0;  // a copy of the linear part
  // Term i's coefficient becomes mat with coefficient 1.
  virtual void SetCoeff(int i, const ISymMatrix* mat) = 0;
  virtual void SetConstant(double value) = 0;
  virtual void AddConstant(double value) = 0;
  virtual void AddTerm(const IVar* var, double coeff) = 0;
  virtual void AddTerm(const IPsdVar* var, const ISymMatrix* mat) = 0;
  virtual void AddTerm(const IPsdVar* var, const ISymMatExpr* expr) = 0;
  // Linear terms: -1 when coeffs is null or len is below the array's size, else the number added.
  virtual int AddTerms(const IVarArray* vars, const double* coeffs, int len) = 0;
  // One PSD term per pair; -1 and nothing added when the sizes differ, else the number of pairs.
  virtual int AddTerms(const IPsdVarArray* vars, const ISymMatrixArray* mats) = 0;
  virtual void AddLinExpr(const IExpr* expr, double mult) = 0;
  virtual void AddPsdExpr(const IPsdExpr* expr, double mult) = 0;
  // The value at the current solution; 1e30 (with the failure recorded) when it cannot be read.
  virtual double Evaluate() = 0;
  virtual void Remove(int i) = 0;
  virtual void Remove(const IVar* var) = 0;
  virtual void Remove(const IPsdVar* var) = 0;
  virtual void Reserve(int n) = 0;
  virtual IPsdExpr* Clone() const = 0;
  virtual void MultiplyBy(double factor) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

// One PSD row of a model; copies share its record.
class IPsdConstraint {
 public:
  virtual ~IPsdConstraint() = default;
  virtual int GetIdx() const = 0;
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  // "LB", "UB", and "Slack" (the activity) and "Dual" once a solution exists; 1e30 on failure.
  virtual double Get(const char* info) = 0;
  // "LB" or "UB".
  virtual void Set(const char* info, double value) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IPsdConstrArray {
 public:
  virtual ~IPsdConstrArray() = default;
  virtual void PushBack(const IPsdConstraint* constr) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  virtual IPsdConstraint* GetPsdConstr(int i) const = 0;
};

// A whole PSD constraint before it is added: expression e (right-hand side in its constant),
// sense and range. 'L': e <= 0, 'G': e >= 0, 'E': e = 0, 'R': -range <= e <= 0.
class IPsdConstrBuilder {
 public:
  virtual ~IPsdConstrBuilder() = default;
  virtual IPsdExpr* GetPsdExpr() const = 0;
  virtual char GetSense() const = 0;
  virtual double GetRange() const = 0;
  // expression - rhs, with the sense as given.
  virtual void SetBuilder(const IPsdExpr* expr, char sense, double rhs) = 0;
  virtual void SetRange(const IPsdExpr* expr, double range) = 0;
};

class IPsdConstrBuilderArray {
 public:
  virtual ~IPsdConstrBuilderArray() = default;
  virtual void PushBack(const IPsdConstrBuilder* builder) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  virtual IPsdConstrBuilder* GetBuilder(int i) const = 0;
};

}  // namespace Tarq
