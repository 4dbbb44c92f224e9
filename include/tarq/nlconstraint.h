// Nonlinear constraints, nonlinear constraint builders and their arrays.
#pragma once

#include <cstddef>

namespace Tarq {

class INlExpr;

// One nonlinear row of a model. Copies share the row's record, as variables do.
class INlConstraint {
 public:
  virtual ~INlConstraint() = default;
  virtual int GetIdx() const = 0;
  virtual const char* GetName() = 0;
  virtual void SetName(const char* name) = 0;
  // Information by name ("LB", "UB", "Slack", "Dual"); 1e30 on failure.
  virtual double Get(const char* info) = 0;
  // "LB" or "UB" (any letter case).
  virtual void Set(const char* info, double value) = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class INlConstrArray {
 public:
  virtual ~INlConstrArray() = default;
  virtual void PushBack(const INlConstraint* constr) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  // A new object for element i; out of range: a nonlinear constraint of index -2.
  virtual INlConstraint* GetNlConstr(int i) const = 0;
};

// A whole nonlinear constraint before it is added: expression e (constant included), sense and
// range: 'L' e <= 0, 'G' e >= 0, 'E' e = 0, 'R' -range <= e <= 0.
class INlConstrBuilder {
 public:
  virtual ~INlConstrBuilder() = default;
  virtual INlExpr* GetNlExpr() const = 0;
  virtual char GetSense() const = 0;
  virtual double GetRange() const = 0;
  // expression - rhs with the sense, range 0.
  virtual void SetBuilder(const INlExpr* expr, char sense, double rhs) = 0;
  // The expression with sense 'R' and the range.
  virtual void SetRange(const INlExpr* expr, double range) = 0;
  virtual const char* ToString(std::size_t limit) = 0;
};

class INlConstrBuilderArray {
 public:
  virtual ~INlConstrBuilderArray() = default;
  virtual void PushBack(const INlConstrBuilder* builder) = 0;
  virtual int Size() const = 0;
  virtual void Reserve(int n) = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual INlConstrBuilder* GetBuilder(int i) const = 0;
};

}  // namespace Tarq
