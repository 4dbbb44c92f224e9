// A minimal library for the builders loop of model_build: variable handles, expressions, builders
// and a builder list behind virtual interfaces, as the modeling layer offers them, but with
// nothing the loop does not need (no checks, no statuses, no model, no shared ownership). It only
// measures: its time shows what that loop costs on this machine before any library work, so the
// modeling layer's builders ratio is read against it.
#pragma once

#include <vector>

struct tarq_prob;

namespace bare {

class Var {
 public:
  virtual ~Var() = default;
  virtual int Index() const = 0;
};

class Expr {
 public:
  virtual ~Expr() = default;
  virtual void Reserve(int n) = 0;
  virtual void AddTerm(const Var* var, double coef) = 0;
};

class Builder {
 public:
  virtual ~Builder() = default;
  virtual void Set(const Expr* expr, char sense, double rhs) = 0;
};

class BuilderList {
 public:
  virtual ~BuilderList() = default;
  virtual void Reserve(int n) = 0;
  virtual void PushBack(const Builder* builder) = 0;
};

// n variable handles of positions 0 .. n-1, in one array that lives until the program ends.
std::vector<Var*> MakeVars(int n);
Expr* NewExpr();
Builder* NewBuilder();
BuilderList* NewBuilderList();
// Merges each builder's duplicate terms and adds all builders as rows of prob with one
// TARQ_AddRows; returns its code.
int AddRows(const BuilderList* list, tarq_prob* prob);

}  // namespace bare
