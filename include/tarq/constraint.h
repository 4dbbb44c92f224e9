// Linear constraints, constraint builders and their arrays.
#pragma once

#include <vector>

namespace Tarq {

class IExpr;

// One row of a model. Copies share the row's record, as variables do.
class IConstraint {
 public:
  virtual ~IConstraint() = default;
  virtual int GetIdx() const = 0;
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  virtual int GetBasis() = 0;
  virtual int GetLowerIIS() = 0;
  virtual int GetUpperIIS() = 0;
  // Information by name ("LB", "UB", "Slack", "Dual", ...); 1e30 on failure.
  virtual double Get(const char* info) = 0;
  virtual void Set(const char* info, double value) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IConstrArray {
 public:
  virtual ~IConstrArray() = default;
  virtual void PushBack(const IConstraint* constr) = 0;
  virtual int GetSize() const = 0;
  virtual IConstraint* GetConstr(int i) const = 0;
  virtual std::vector<IConstraint*> GetAll() const = 0;
  virtual void Reserve(int n) = 0;
};

// A whole linear constraint before it is added: expression e (constant included), sense and
// range. 'L': e <= 0, 'G': e >= 0, 'E': e = 0, 'R': -range <= e <= 0, 'N': free.
class IConstrBuilder {
 public:
  virtual ~IConstrBuilder() = default;
  virtual IExpr* GetExpr() const = 0;
  virtual char GetSense() const = 0;
  virtual double GetRange() const = 0;
  // expression - rhs, with the sense as given.
  virtual void Set(const IExpr* expr, char sense, double rhs) = 0;
  virtual void SetRange(const IExpr* expr, double range) = 0;
};

class IConstrBuilderArray {
 public:
  virtual ~IConstrBuilderArray() = default;
  virtual void PushBack(const IConstrBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  virtual void Reserve(int n) = 0;
  virtual IConstrBuilder* GetBuilder(int i) const = 0;
};

}  // namespace Tarq
