// Quadratic constraints, quadratic constraint builders and their arrays.
#pragma once

namespace Tarq {

class IQuadExpr;

// One quadratic row of a model. Copies share the row's record, as variables do.
class IQConstraint {
 public:
  virtual ~IQConstraint() = default;
  virtual int GetIdx() const = 0;
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  virtual double GetRhs() = 0;   // 0 on failure
  virtual char GetSense() = 0;   // 0 on failure
  virtual void SetRhs(double rhs) = 0;
  virtual void SetSense(char sense) = 0;
  // Information by name ("LB", "UB", "Slack", "Dual"); 1e30 on failure.
  virtual double Get(const char* info) = 0;
  // No information of quadratic constraints can be set: always records a failure.
  virtual void Set(const char* info, double value) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IQConstrArray {
 public:
  virtual ~IQConstrArray() = default;
  virtual void PushBack(const IQConstraint* constr) = 0;
  virtual int GetSize() const = 0;
  virtual void Reserve(int n) = 0;
  // A new object for element i; out of range: a quadratic constraint of index -2.
  virtual IQConstraint* GetQConstr(int i) const = 0;
};

// A whole quadratic constraint before it is added: expression e (constant included) and sense:
// 'L': e <= 0, 'G': e >= 0, 'E': e = 0.
class IQConstrBuilder {
 public:
  virtual ~IQConstrBuilder() = default;
  virtual IQuadExpr* GetQuadExpr() const = 0;
  virtual char GetSense() const = 0;
  // expression - rhs, with the sense as given.
  virtual void Set(const IQuadExpr* expr, char sense, double rhs) = 0;
};

class IQConstrBuilderArray {
 public:
  virtual ~IQConstrBuilderArray() = default;
  virtual void PushBack(const IQConstrBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  virtual void Reserve(int n) = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual IQConstrBuilder* GetBuilder(int i) const = 0;
};

}  // namespace Tarq
