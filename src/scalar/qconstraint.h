// Quadratic constraint handles, their arrays, builders and builder arrays.
#pragma once

#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "scalar/quad_expr.h"
#include "scalar/scalar_value.h"
#include "tarq/qconstraint.h"

namespace Tarq {

// A quadratic row of a model: a shared record plus a status, as Tarq::Constraint.
class QConstraint : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
  double Rhs();
  char Sense();
  void SetRhs(double rhs);
  void SetSense(char sense);
  double Info(const char* info);
  void SetInfo(const char* info);
};

using QConstrArray = detail::LongVector<QConstraint>;

// A whole quadratic constraint: expression (constant included) and sense letter (0 when fresh).
struct QConstrBuilder {
  QuadExpr expr;
  char sense = 0;
};

using QConstrBuilderArray = detail::LongVector<QConstrBuilder>;

namespace detail {
// How quadratic rows are named through the solver library (names only: the other operations of
// quadratic constraints are their own).
extern const ScalarKind kQuadRowKind;
}  // namespace detail

}  // namespace Tarq

class TarqQConstraint final : public Tarq::detail::InlineHandled<Tarq::IQConstraint, Tarq::QConstraint> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kQuadRowKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kQuadRowKind, name); }
  double GetRhs() override { return Data().Rhs(); }
  char GetSense() override { return Data().Sense(); }
  void SetRhs(double rhs) override { Data().SetRhs(rhs); }
  void SetSense(char sense) override { Data().SetSense(sense); }
  double Get(const char* info) override { return Data().Info(info); }
  void Set(const char* info, double) override { Data().SetInfo(info); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

namespace Tarq {
inline const QConstraint& QConstrOf(const IQConstraint* c) { return detail::DataOf<TarqQConstraint>(c); }
}  // namespace Tarq

class TarqQConstrArray final : public Tarq::detail::Handled<Tarq::IQConstrArray, Tarq::QConstrArray> {
 public:
  using Handled::Handled;
  TarqQConstrArray() : Handled(Tarq::detail::BlockRef<Tarq::QConstrArray>::Make()) {}
  explicit TarqQConstrArray(Tarq::QConstrArray a)
      : Handled(Tarq::detail::BlockRef<Tarq::QConstrArray>::Make(std::move(a))) {}

  void PushBack(const Tarq::IQConstraint* c) override { Data().push_back(Tarq::QConstrOf(c)); }
  int GetSize() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Data().reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::IQConstraint* GetQConstr(int i) const override {
    return new TarqQConstraint(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::QConstraint());
  }
};

class TarqQConstrBuilder final : public Tarq::detail::Handled<Tarq::IQConstrBuilder, Tarq::QConstrBuilder> {
 public:
  using Handled::Handled;
  TarqQConstrBuilder() : Handled(Tarq::detail::BlockRef<Tarq::QConstrBuilder>::Make()) {}
  explicit TarqQConstrBuilder(Tarq::QConstrBuilder b)
      : Handled(Tarq::detail::BlockRef<Tarq::QConstrBuilder>::Make(std::move(b))) {}

  Tarq::IQuadExpr* GetQuadExpr() const override { return new TarqQuadExpr(Data().expr); }
  char GetSense() const override { return Data().sense; }
  void Set(const Tarq::IQuadExpr* expr, char sense, double rhs) override;
};

class TarqQConstrBuilderArray final
    : public Tarq::detail::Handled<Tarq::IQConstrBuilderArray, Tarq::QConstrBuilderArray> {
 public:
  using Handled::Handled;
  TarqQConstrBuilderArray() : Handled(Tarq::detail::BlockRef<Tarq::QConstrBuilderArray>::Make()) {}

  void PushBack(const Tarq::IQConstrBuilder* b) override;
  int GetSize() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Data().reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::IQConstrBuilder* GetBuilder(int i) const override {
    return Tarq::detail::InRange(Data(), i) ? new TarqQConstrBuilder(Data()[i]) : new TarqQConstrBuilder();
  }
};

namespace Tarq {
inline QConstrArray& QConstrsOf(const IQConstrArray* a) { return detail::DataOf<TarqQConstrArray>(a); }
inline QConstrBuilder& QBuilderOf(const IQConstrBuilder* b) { return detail::DataOf<TarqQConstrBuilder>(b); }
inline QConstrBuilderArray& QBuildersOf(const IQConstrBuilderArray* a) {
  return detail::DataOf<TarqQConstrBuilderArray>(a);
}
}  // namespace Tarq
