// LMI expressions, LMI constraints and their arrays: value types and handles.
#pragma once

#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "psdnl/psd_kinds.h"
#include "psdnl/sym_mat.h"
#include "scalar/scalar_value.h"
#include "tarq/lmi.h"

namespace Tarq {

// constant + sum vars[k] * coefs[k].
struct LmiExpr {
  SymMatExpr constant;
  std::vector<SymMatExpr> coefs;
  std::vector<Var> vars;

  int Size() const { return static_cast<int>(vars.size()); }
  void AddTerm(const Var& var, SymMatExpr coef);
  void RemoveAt(int i);
};

class LmiConstraint : public detail::ScalarValue {
 public:
  LmiConstraint() = default;
  explicit LmiConstraint(detail::RecordRef r, int d = 0) : ScalarValue(std::move(r)), dim(d) {}
  void Info(const char* info, double* out, int length);
  void SetRhs(const SymMatrix& m);

  int dim = 0;
};

using LmiConstrArray = detail::LongVector<LmiConstraint>;

}  // namespace Tarq

class TarqLmiExpr final : public Tarq::detail::InlineHandled<Tarq::ILmiExpr, Tarq::LmiExpr> {
 public:
  using InlineHandled::InlineHandled;
  TarqLmiExpr() : InlineHandled(std::in_place) {}

  int GetSize() const override { return Data().Size(); }
  Tarq::IVar* GetVar(int i) const override;
  Tarq::ISymMatExpr* GetCoeff(int i) const override {
    return new TarqSymMatExpr(Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : Tarq::SymMatExpr());
  }
  Tarq::ISymMatExpr* GetConstant() const override { return new TarqSymMatExpr(Data().constant); }
  void SetCoeff(int i, const Tarq::ISymMatrix* mat) override;
  void SetConstant(const Tarq::ISymMatrix* mat) override {
    Data().constant = Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0);
  }
  void AddConstant(const Tarq::ISymMatExpr* expr) override;
  void AddTerm(const Tarq::IVar* var, const Tarq::ISymMatrix* mat) override;
  void AddTerm(const Tarq::IVar* var, const Tarq::ISymMatExpr* expr) override;
  int AddTerms(const Tarq::IVarArray* vars, const Tarq::ISymMatrixArray* mats) override;
  int AddLmiExpr(const Tarq::ILmiExpr* other, double mult) override;
  void Remove(int i) override { Data().RemoveAt(i); }
  void Remove(const Tarq::IVar* var) override;
  void Reserve(int n) override;
  Tarq::ILmiExpr* Clone() const override { return new TarqLmiExpr(Data()); }
  void MultiplyBy(double factor) override;
};

class TarqLmiConstraint final : public Tarq::detail::InlineHandled<Tarq::ILmiConstraint, Tarq::LmiConstraint> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  int GetDim() const override { return Data().dim; }
  int GetLen() const override { return Data().dim * Data().dim; }
  const char* GetName() override { return Data().Name(Tarq::detail::kLmiRowKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kLmiRowKind, name); }
  void Get(const char* info, double* out, int length) override { Data().Info(info, out, length); }
  void SetRhs(const Tarq::ISymMatrix* mat) override { Data().SetRhs(Tarq::SymMatOf(mat)); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqLmiConstrArray final : public Tarq::detail::InlineHandled<Tarq::ILmiConstrArray, Tarq::LmiConstrArray> {
 public:
  using InlineHandled::InlineHandled;
  TarqLmiConstrArray() : InlineHandled(std::in_place) {}

  void PushBack(const Tarq::ILmiConstraint* c) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Tarq::detail::GrowAhead(Data(), n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::ILmiConstraint* GetLmiConstr(int i) const override {
    return new TarqLmiConstraint(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::LmiConstraint());
  }
};

namespace Tarq {
inline LmiExpr& LmiExprOf(const ILmiExpr* e) { return detail::DataOf<TarqLmiExpr>(e); }
inline const LmiConstraint& LmiConstrOf(const ILmiConstraint* c) { return detail::DataOf<TarqLmiConstraint>(c); }
inline const LmiConstrArray& LmiConstrsOf(const ILmiConstrArray* a) { return detail::DataOf<TarqLmiConstrArray>(a); }
}  // namespace Tarq
