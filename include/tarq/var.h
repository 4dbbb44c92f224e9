// Variables, columns and their arrays.
#pragma once

#include <vector>

namespace Tarq {

class IConstraint;
class IConstrArray;

// One column of a model. Every copy shares the column's record, so renumbering and removal by
// the model are seen through all of them.
class IVar {
 public:
  virtual ~IVar() = default;
  // The column's position; negative when the variable is invalid (-2) or removed (-3 - old).
  virtual int GetIdx() const = 0;
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  virtual char GetType() = 0;
  virtual void SetType(char type) = 0;
  virtual int GetBasis() = 0;
  virtual int GetLowerIIS() = 0;
  virtual int GetUpperIIS() = 0;
  // Information by name ("LB", "UB", "Obj", "BranchFactor", "Value", ...); 1e30 on failure.
  virtual double Get(const char* info) = 0;
  virtual void Set(const char* info, double value) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IVarArray {
 public:
  virtual ~IVarArray() = default;
  virtual void PushBack(const IVar* var) = 0;
  virtual void PushBack(const std::vector<IVar*>& vars) = 0;
  virtual int GetSize() const = 0;
  // A new object for element i (0 <= i < GetSize()).
  virtual IVar* GetVar(int i) const = 0;
  // New objects for every element, owned by the caller.
  virtual std::vector<IVar*> GetAll() const = 0;
  virtual void Reserve(int n) = 0;
};

// The entries of a new variable in existing rows: (constraint, coefficient) terms.
class IColumn {
 public:
  virtual ~IColumn() = default;
  virtual int GetSize() const = 0;
  virtual IConstraint* GetConstr(int i) const = 0;
  virtual double GetCoeff(int i) const = 0;
  virtual void AddTerm(const IConstraint* constr, double coeff) = 0;
  // -1 and no change when coeffs is null or len < the array's size; else the number added.
  virtual int AddTerms(const IConstrArray* constrs, const double* coeffs, int len) = 0;
  virtual void AddColumn(const IColumn* other, double mult) = 0;
  // Removes term i by moving the last term into its place; an i out of range does nothing.
  virtual void Remove(int i) = 0;
  // Removes every term of the constraint; false when it had none or its index is negative.
  virtual bool Remove(const IConstraint* constr) = 0;
  virtual void Reserve(int n) = 0;
  virtual void Clear() = 0;
  virtual IColumn* Clone() const = 0;
};

class IColumnArray {
 public:
  virtual ~IColumnArray() = default;
  virtual void PushBack(const IColumn* col) = 0;
  virtual int GetSize() const = 0;
  virtual IColumn* GetColumn(int i) const = 0;
  virtual void Reserve(int n) = 0;
  virtual void Clear() = 0;
};

}  // namespace Tarq
