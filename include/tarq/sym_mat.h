// Symmetric matrices, their arrays, and linear combinations of them.
//
// A symmetric matrix is either stored in a model (made by the model's symmetric-matrix builders,
// numbered 0, 1, ... and never removed) or cached: a single element (row, column, value) of a
// given dimension that a PSD variable's operations produce and that becomes a stored matrix only
// when a model needs one. A cached matrix has index -1.
#pragma once

namespace Tarq {

class ISymMatrix {
 public:
  virtual ~ISymMatrix() = default;
  // The index among the model's matrices; -1 for a cached matrix, -2 for none.
  virtual int GetIdx() const = 0;
  virtual int GetDim() const = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class ISymMatrixArray {
 public:
  virtual ~ISymMatrixArray() = default;
  virtual void PushBack(const ISymMatrix* mat) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  // A copy of element i; out of range, a matrix of index -2.
  virtual ISymMatrix* GetMatrix(int i) const = 0;
};

// sum_k coef_k M_k over matrices of one dimension. Terms are kept as added (a matrix may occur
// several times) until a model turns the expression into one stored matrix.
class ISymMatExpr {
 public:
  virtual ~ISymMatExpr() = default;
  // The dimension of the matrices, 0 while the expression is empty.
  virtual int GetDim() const = 0;
  virtual int GetSize() const = 0;
  virtual ISymMatrix* GetSymMat(int i) const = 0;  // out of range: a matrix of index -2
  virtual double GetCoeff(int i) const = 0;        // out of range: 1e30
  virtual void SetCoeff(int i, double value) = 0;
  // 1 when added; 0 for a matrix of dimension below 1, and for one of another dimension than the
  // expression's (which records "Dimension of symmetric matrix mismatch").
  virtual int AddTerm(const ISymMatrix* mat, double coeff) = 0;
  // -1 when coeffs is null or len is below the array's size; otherwise one term per matrix,
  // stopping with -1 at the first refused one (earlier terms stay); the array's size on success.
  virtual int AddTerms(const ISymMatrixArray* mats, const double* coeffs, int len) = 0;
  virtual void AddSymMatExpr(const ISymMatExpr* other, double mult) = 0;
  // Removes term i (nothing when out of range), or every term of a matrix equal to mat.
  virtual void Remove(int i) = 0;
  virtual void Remove(const ISymMatrix* mat) = 0;
  virtual void Reserve(int n) = 0;
  virtual ISymMatExpr* Clone() const = 0;
  virtual void MultiplyBy(double factor) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
