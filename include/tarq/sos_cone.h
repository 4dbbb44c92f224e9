// SOS, indicator and cone constraints of a model: special ordered sets (SOS), indicator ("general") constraints,
// second-order cones and exponential cones; for each kind the handle on an added constraint, a
// list of handles, a builder that carries a constraint before it is added, and a list of builders.
//
// Handles share their constraint's record with the model, as variables do: removing through one
// handle is seen through every other, and renumbering after a deletion too. SOS and indicator
// handles carry a status of their own; cone handles have none (their adds report through the
// model's status).
#pragma once

#include <vector>

namespace Tarq {

class IVar;
class IVarArray;
class IExpr;

// One SOS constraint of a model.
class ISos {
 public:
  virtual ~ISos() = default;
  virtual int GetIdx() const = 0;
  // IIS membership after an IIS computation (1 member, 0 not); 0 on failure.
  virtual int GetIIS() = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class ISosArray {
 public:
  virtual ~ISosArray() = default;
  virtual void PushBack(const ISos* sos) = 0;
  virtual int GetSize() const = 0;
  // A new handle on element i; out of range: an SOS of index -2.
  virtual ISos* GetSos(int i) const = 0;
};

// An SOS before it is added: type (passed on unchanged), variables and one weight per variable.
class ISosBuilder {
 public:
  virtual ~ISosBuilder() = default;
  virtual int GetType() const = 0;
  virtual int GetSize() const = 0;
  // Out of range: a variable of index -2.
  virtual IVar* GetVar(int i) const = 0;
  virtual IVarArray* GetVars() const = 0;
  // Out of range: 1e30.
  virtual double GetWeight(int i) const = 0;
  // Copies every weight into weights (GetSize() entries); a null buffer is not filled.
  virtual void GetWeights(double* weights) const = 0;
  // Sets the type and appends (vars[i], weights[i]) for every variable in order; pairs already
  // held stay. A null weight array gives the appended variables the weights of their positions
  // in the builder, counting from 1.
  virtual void Set(const IVarArray* vars, const double* weights, int type) = 0;
};

class ISosBuilderArray {
 public:
  virtual ~ISosBuilderArray() = default;
  // Appends a deep copy.
  virtual void PushBack(const ISosBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual ISosBuilder* GetBuilder(int i) const = 0;
};

// One indicator constraint of a model: a linear row that must hold when a binary variable takes
// a given value.
class IGenConstr {
 public:
  virtual ~IGenConstr() = default;
  virtual int GetIdx() const = 0;
  // The cached name, fetched from the solver while the cache is empty.
  virtual const char* GetName() = 0;
  // Trimmed, inner blanks replaced by "_"; a null name does nothing.
  virtual void SetName(const char* name) = 0;
  // IIS membership after an IIS computation; 0 on failure.
  virtual int GetIIS() = 0;
  virtual void Remove() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

class IGenConstrArray {
 public:
  virtual ~IGenConstrArray() = default;
  virtual void PushBack(const IGenConstr* constr) = 0;
  virtual int GetSize() const = 0;
  // One new handle per element, in order; the caller destroys them.
  virtual std::vector<IGenConstr*> GetAll() const = 0;
  // Out of range: a general constraint of index -2.
  virtual IGenConstr* GetGenConstr(int i) const = 0;
  virtual void Reserve(int n) = 0;
};

// An indicator constraint before it is added: when the indicator variable takes the indicator
// value, expression <sense> 0 must hold (the expression's constant included).
class IGenConstrBuilder {
 public:
  virtual ~IGenConstrBuilder() = default;
  virtual IVar* GetBinVar() const = 0;
  virtual int GetBinVal() const = 0;
  // A copy of the expression.
  virtual IExpr* GetExpr() const = 0;
  virtual char GetSense() const = 0;
  virtual int GetType() const = 0;
  // Replaces every field; the expression is copied, the sense is checked only when adding.
  virtual void Set(const IVar* binVar, int binVal, const IExpr* expr, char sense, int type) = 0;
};

class IGenConstrBuilderArray {
 public:
  virtual ~IGenConstrBuilderArray() = default;
  virtual void PushBack(const IGenConstrBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual IGenConstrBuilder* GetBuilder(int i) const = 0;
};

// One second-order cone of a model.
class ICone {
 public:
  virtual ~ICone() = default;
  virtual int GetIdx() const = 0;
  virtual void Remove() = 0;
};

class IConeArray {
 public:
  virtual ~IConeArray() = default;
  virtual void PushBack(const ICone* cone) = 0;
  virtual int GetSize() const = 0;
  // Out of range: a cone of index -2.
  virtual ICone* GetCone(int i) const = 0;
};

// A cone before it is added: type (1 quadratic, 2 rotated) and its variables in order.
class IConeBuilder {
 public:
  virtual ~IConeBuilder() = default;
  virtual int GetType() const = 0;
  virtual int GetSize() const = 0;
  // Out of range: a variable of index -2.
  virtual IVar* GetVar(int i) const = 0;
  virtual IVarArray* GetVars() const = 0;
  // Sets the type and appends the variables in order; variables already held stay.
  virtual void Set(const IVarArray* vars, int type) = 0;
};

class IConeBuilderArray {
 public:
  virtual ~IConeBuilderArray() = default;
  virtual void PushBack(const IConeBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual IConeBuilder* GetBuilder(int i) const = 0;
};

// One exponential cone of a model.
class IExpCone {
 public:
  virtual ~IExpCone() = default;
  virtual int GetIdx() const = 0;
  virtual void Remove() = 0;
};

class IExpConeArray {
 public:
  virtual ~IExpConeArray() = default;
  virtual void PushBack(const IExpCone* cone) = 0;
  virtual int GetSize() const = 0;
  // Out of range: an exponential cone of index -2.
  virtual IExpCone* GetExpCone(int i) const = 0;
};

// An exponential cone before it is added: type (3 primal, 4 dual) and its three variables.
class IExpConeBuilder {
 public:
  virtual ~IExpConeBuilder() = default;
  virtual int GetType() const = 0;
  virtual int GetSize() const = 0;
  // Out of range: a variable of index -2.
  virtual IVar* GetVar(int i) const = 0;
  virtual IVarArray* GetVars() const = 0;
  // Sets the type and appends the variables in order; variables already held stay.
  virtual void Set(const IVarArray* vars, int type) = 0;
};

class IExpConeBuilderArray {
 public:
  virtual ~IExpConeBuilderArray() = default;
  virtual void PushBack(const IExpConeBuilder* builder) = 0;
  virtual int GetSize() const = 0;
  // A deep copy of element i; out of range: an empty builder.
  virtual IExpConeBuilder* GetBuilder(int i) const = 0;
};

}  // namespace Tarq
