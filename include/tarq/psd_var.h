// PSD variables (symmetric positive-semidefinite matrix variables of a model) and their arrays.
#pragma once

namespace Tarq {

class IPsdExpr;
template <class T, int N>
class INdArray;

// One PSD column of a model. Copies share the column's record, so renumbering and removal are
// seen through all of them.
class IPsdVar {
 public:
  virtual ~IPsdVar() = default;
  // The PSD column's position; negative when invalid (-2) or removed (-3 - old position).
  virtual int GetIdx() const = 0;
  virtual int GetDim() const = 0;
  // The number of elements, dimension squared (GetSize is the same).
  virtual int GetLen() const = 0;
  virtual int GetSize() const = 0;
  // Fetched from the model once and kept; a removed variable gives its last known name.
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  // Information by name as a full matrix, row by row: "Value" and "Dual" once a solution
  // exists. length must be at least GetLen().
  virtual void Get(const char* info, double* out, int length) = 0;
  // The same as a dimension x dimension array (without storage after a failure).
  virtual INdArray<double, 2>* Get(const char* info) = 0;
  // The sum of all elements of X: one term per position i <= j with a cached one-element matrix
  // (an off-diagonal element stands for both of its positions).
  virtual IPsdExpr* Sum() = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IPsdVarArray {
 public:
  virtual ~IPsdVarArray() = default;
  virtual void PushBack(const IPsdVar* var) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  virtual IPsdVarArray* Clone() const = 0;
  // A new variable sharing element i's record; out of range, one of index -2.
  virtual IPsdVar* GetPsdVar(int i) const = 0;
};

}  // namespace Tarq
