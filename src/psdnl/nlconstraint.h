// Nonlinear constraint handles, their arrays, builders and builder arrays.
#pragma once

#include <string>
#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "psdnl/nl_expr.h"
#include "scalar/scalar_value.h"
#include "tarq/nlconstraint.h"

namespace Tarq {

// A nonlinear row of a model: a shared record plus a status, as Tarq::Constraint.
class NlConstraint : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
  double Info(const char* info);
  void SetInfo(const char* info, double value);
};

using NlConstrArray = detail::LongVector<NlConstraint>;

// A whole nonlinear constraint: expression (constant included), sense letter (0 when fresh) and
// range.
struct NlConstrBuilder {
  NlExpr expr;
  char sense = 0;
  double range = 0;
};

using NlConstrBuilderArray = detail::LongVector<NlConstrBuilder>;

namespace detail {
// How nonlinear rows are named through the solver library.
extern const ScalarKind kNlRowKind;
}  // namespace detail

}  // namespace Tarq

class TarqNlConstraint final : public Tarq::detail::InlineHandled<Tarq::INlConstraint, Tarq::NlConstraint> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kNlRowKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kNlRowKind, name); }
  double Get(const char* info) override { return Data().Info(info); }
  void Set(const char* info, double value) override { Data().SetInfo(info, value); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

namespace Tarq {
inline const NlConstraint& NlConstrOf(const INlConstraint* c) { return detail::DataOf<TarqNlConstraint>(c); }
}  // namespace Tarq

class TarqNlConstrArray final : public Tarq::detail::Handled<Tarq::INlConstrArray, Tarq::NlConstrArray> {
 public:
  using Handled::Handled;
  TarqNlConstrArray() : Handled(Tarq::detail::BlockRef<Tarq::NlConstrArray>::Make()) {}
  explicit TarqNlConstrArray(Tarq::NlConstrArray a)
      : Handled(Tarq::detail::BlockRef<Tarq::NlConstrArray>::Make(std::move(a))) {}

  void PushBack(const Tarq::INlConstraint* c) override { Data().push_back(Tarq::NlConstrOf(c)); }
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Data().reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::INlConstraint* GetNlConstr(int i) const override {
    return new TarqNlConstraint(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::NlConstraint());
  }
};

class TarqNlConstrBuilder final : public Tarq::detail::Handled<Tarq::INlConstrBuilder, Tarq::NlConstrBuilder> {
 public:
  using Handled::Handled;
  TarqNlConstrBuilder() : Handled(Tarq::detail::BlockRef<Tarq::NlConstrBuilder>::Make()) {}
  explicit TarqNlConstrBuilder(const Tarq::NlConstrBuilder& b)
      : Handled(Tarq::detail::BlockRef<Tarq::NlConstrBuilder>::Make(
            Tarq::NlConstrBuilder{b.expr.Copy(), b.sense, b.range})) {}

  Tarq::INlExpr* GetNlExpr() const override { return new TarqNlExpr(Data().expr.Copy()); }
  char GetSense() const override { return Data().sense; }
  double GetRange() const override { return Data().range; }
  void SetBuilder(const Tarq::INlExpr* expr, char sense, double rhs) override;
  void SetRange(const Tarq::INlExpr* expr, double range) override;
  const char* ToString(std::size_t limit) override;

 private:
  std::string text_;
};

class TarqNlConstrBuilderArray final
    : public Tarq::detail::Handled<Tarq::INlConstrBuilderArray, Tarq::NlConstrBuilderArray> {
 public:
  using Handled::Handled;
  TarqNlConstrBuilderArray() : Handled(Tarq::detail::BlockRef<Tarq::NlConstrBuilderArray>::Make()) {}

  void PushBack(const Tarq::INlConstrBuilder* b) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Data().reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::INlConstrBuilder* GetBuilder(int i) const override {
    return Tarq::detail::InRange(Data(), i) ? new TarqNlConstrBuilder(Data()[i]) : new TarqNlConstrBuilder();
  }
};

namespace Tarq {
inline NlConstrArray& NlConstrsOf(const INlConstrArray* a) { return detail::DataOf<TarqNlConstrArray>(a); }
inline NlConstrBuilder& NlBuilderOf(const INlConstrBuilder* b) { return detail::DataOf<TarqNlConstrBuilder>(b); }
inline NlConstrBuilderArray& NlBuildersOf(const INlConstrBuilderArray* a) {
  return detail::DataOf<TarqNlConstrBuilderArray>(a);
}
}  // namespace Tarq
