// PSD expressions, PSD constraints, their arrays and builders: value types and handles.
#pragma once

#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "psdnl/psd_var.h"
#include "psdnl/sym_mat.h"
#include "scalar/lin_expr.h"
#include "tarq/psd_expr.h"

namespace Tarq {

// A linear part plus PSD terms <coefs[k], vars[k]>, kept as added.
struct PsdExpr {
  LinExpr lin;
  std::vector<SymMatExpr> coefs;
  std::vector<PsdVar> vars;
  detail::Status status;

  PsdExpr() = default;
  explicit PsdExpr(double constant) : lin(constant) {}
  int Size() const { return static_cast<int>(vars.size()); }
  void AddTerm(const PsdVar& var, SymMatExpr coef);
  void AddExpr(const PsdExpr& other, double mult);
  void RemoveAt(int i);
  void MultiplyBy(double factor);
  // The value at the current solution, or 1e30 with the failure recorded.
  double Evaluate();
};

class PsdConstraint : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
  // "LB"/"UB" through the solver library, with the messages of PSD constraints.
  void SetInfo(const char* info, double value);
};

using PsdConstrArray = detail::LongVector<PsdConstraint>;

// expr carries the right-hand side in its constant; sense 'E', 'G', 'L' or 'R' (0 when fresh).
struct PsdConstrBuilder {
  PsdExpr expr;
  char sense = 0;
  double range = 0;
};

using PsdConstrBuilderArray = detail::LongVector<PsdConstrBuilder>;

}  // namespace Tarq

class TarqPsdExpr final : public Tarq::detail::InlineHandled<Tarq::IPsdExpr, Tarq::PsdExpr> {
 public:
  using InlineHandled::InlineHandled;

  int GetSize() const override { return Data().Size(); }
  Tarq::IPsdVar* GetPsdVar(int i) const override {
    return new TarqPsdVar(Tarq::detail::InRange(Data().vars, i) ? Data().vars[i] : Tarq::PsdVar());
  }
  Tarq::ISymMatExpr* GetCoeff(int i) const override {
    return new TarqSymMatExpr(Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : Tarq::SymMatExpr());
  }
  double GetConstant() const override { return Data().lin.constant; }
  Tarq::IExpr* GetLinExpr() const override { return new TarqExpr(Data().lin); }
  void SetCoeff(int i, const Tarq::ISymMatrix* mat) override;
  void SetConstant(double value) override { Data().lin.constant = value; }
  void AddConstant(double value) override { Data().lin.constant += value; }
  void AddTerm(const Tarq::IVar* var, double coeff) override;
  void AddTerm(const Tarq::IPsdVar* var, const Tarq::ISymMatrix* mat) override;
  void AddTerm(const Tarq::IPsdVar* var, const Tarq::ISymMatExpr* expr) override;
  int AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) override;
  int AddTerms(const Tarq::IPsdVarArray* vars, const Tarq::ISymMatrixArray* mats) override;
  void AddLinExpr(const Tarq::IExpr* expr, double mult) override;
  void AddPsdExpr(const Tarq::IPsdExpr* expr, double mult) override;
  double Evaluate() override { return Data().Evaluate(); }
  void Remove(int i) override { Data().RemoveAt(i); }
  void Remove(const Tarq::IVar* var) override;
  void Remove(const Tarq::IPsdVar* var) override;
  void Reserve(int n) override;
  Tarq::IPsdExpr* Clone() const override { return new TarqPsdExpr(Data()); }
  void MultiplyBy(double factor) override { Data().MultiplyBy(factor); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqPsdConstraint final : public Tarq::detail::InlineHandled<Tarq::IPsdConstraint, Tarq::PsdConstraint> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kPsdRowKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kPsdRowKind, name); }
  double Get(const char* info) override { return Data().Get(Tarq::detail::kPsdRowKind, info); }
  void Set(const char* info, double value) override { Data().SetInfo(info, value); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqPsdConstrArray final : public Tarq::detail::InlineHandled<Tarq::IPsdConstrArray, Tarq::PsdConstrArray> {
 public:
  using InlineHandled::InlineHandled;
  TarqPsdConstrArray() : InlineHandled(std::in_place) {}

  void PushBack(const Tarq::IPsdConstraint* c) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Tarq::detail::GrowAhead(Data(), n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::IPsdConstraint* GetPsdConstr(int i) const override {
    return new TarqPsdConstraint(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::PsdConstraint());
  }
};

class TarqPsdConstrBuilder final : public Tarq::detail::InlineHandled<Tarq::IPsdConstrBuilder, Tarq::PsdConstrBuilder> {
 public:
  using InlineHandled::InlineHandled;
  TarqPsdConstrBuilder() : InlineHandled(std::in_place) {}

  Tarq::IPsdExpr* GetPsdExpr() const override { return new TarqPsdExpr(Data().expr); }
  char GetSense() const override { return Data().sense; }
  double GetRange() const override { return Data().range; }
  void SetBuilder(const Tarq::IPsdExpr* expr, char sense, double rhs) override;
  void SetRange(const Tarq::IPsdExpr* expr, double range) override;
};

class TarqPsdConstrBuilderArray final
    : public Tarq::detail::InlineHandled<Tarq::IPsdConstrBuilderArray, Tarq::PsdConstrBuilderArray> {
 public:
  using InlineHandled::InlineHandled;
  TarqPsdConstrBuilderArray() : InlineHandled(std::in_place) {}

  void PushBack(const Tarq::IPsdConstrBuilder* b) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Tarq::detail::GrowAhead(Data(), n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::IPsdConstrBuilder* GetBuilder(int i) const override {
    return Tarq::detail::InRange(Data(), i) ? new TarqPsdConstrBuilder(Data()[i]) : new TarqPsdConstrBuilder();
  }
};

namespace Tarq {
inline PsdExpr& PsdExprOf(const IPsdExpr* e) { return detail::DataOf<TarqPsdExpr>(e); }
inline const PsdConstraint& PsdConstrOf(const IPsdConstraint* c) { return detail::DataOf<TarqPsdConstraint>(c); }
inline const PsdConstrArray& PsdConstrsOf(const IPsdConstrArray* a) { return detail::DataOf<TarqPsdConstrArray>(a); }
inline PsdConstrBuilder& PsdBuilderOf(const IPsdConstrBuilder* b) { return detail::DataOf<TarqPsdConstrBuilder>(b); }
}  // namespace Tarq
