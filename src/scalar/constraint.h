// Constraint handles, constraint arrays, builders and builder arrays.
#pragma once

#include <vector>

#include "frame/handle.h"
#include "scalar/lin_expr.h"
#include "scalar/scalar_handle.h"
#include "tarq/constraint.h"

class TarqConstraint final
    : public Tarq::detail::ScalarHandle<Tarq::IConstraint, Tarq::Constraint, Tarq::detail::kRowKind> {
 public:
  using ScalarHandle::ScalarHandle;
};

namespace Tarq {

inline const Constraint& ConstrOf(const IConstraint* c) { return static_cast<const TarqConstraint*>(c)->Data(); }

using ConstrArray = std::vector<Constraint>;

// A whole constraint: expression (constant included), sense letter (0 when fresh), range.
struct ConstrBuilder {
  LinExpr expr;
  char sense = 0;
  double range = 0;
};

using ConstrBuilderArray = std::vector<ConstrBuilder>;

}  // namespace Tarq

class TarqConstrArray final : public Tarq::detail::Handled<Tarq::IConstrArray, Tarq::ConstrArray> {
 public:
  using Handled::Handled;
  TarqConstrArray() : Handled(Tarq::detail::BlockRef<Tarq::ConstrArray>::Make()) {}
  explicit TarqConstrArray(Tarq::ConstrArray a)
      : Handled(Tarq::detail::BlockRef<Tarq::ConstrArray>::Make(std::move(a))) {}

  void PushBack(const Tarq::IConstraint* c) override { Data().push_back(Tarq::ConstrOf(c)); }
  int GetSize() const override { return static_cast<int>(Data().size()); }
  Tarq::IConstraint* GetConstr(int i) const override { return new TarqConstraint(Data()[i]); }
  std::vector<Tarq::IConstraint*> GetAll() const override;
  void Reserve(int n) override { Data().reserve(static_cast<std::size_t>(n)); }
};

class TarqConstrBuilder final : public Tarq::detail::Handled<Tarq::IConstrBuilder, Tarq::ConstrBuilder> {
 public:
  using Handled::Handled;
  TarqConstrBuilder() : Handled(Tarq::detail::BlockRef<Tarq::ConstrBuilder>::Make()) {}
  explicit TarqConstrBuilder(Tarq::ConstrBuilder b)
      : Handled(Tarq::detail::BlockRef<Tarq::ConstrBuilder>::Make(std::move(b))) {}

  Tarq::IExpr* GetExpr() const override;
  char GetSense() const override { return Data().sense; }
  double GetRange() const override { return Data().range; }
  void Set(const Tarq::IExpr* expr, char sense, double rhs) override;
  void SetRange(const Tarq::IExpr* expr, double range) override;
};

class TarqConstrBuilderArray final
    : public Tarq::detail::Handled<Tarq::IConstrBuilderArray, Tarq::ConstrBuilderArray> {
 public:
  using Handled::Handled;
  TarqConstrBuilderArray() : Handled(Tarq::detail::BlockRef<Tarq::ConstrBuilderArray>::Make()) {}

  void PushBack(const Tarq::IConstrBuilder* b) override;
  int GetSize() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Data().reserve(static_cast<std::size_t>(n)); }
  Tarq::IConstrBuilder* GetBuilder(int i) const override { return new TarqConstrBuilder(Data()[i]); }
};

namespace Tarq {
inline ConstrArray& ConstrsOf(const IConstrArray* a) { return static_cast<const TarqConstrArray*>(a)->Data(); }
inline ConstrBuilder& BuilderOf(const IConstrBuilder* b) { return static_cast<const TarqConstrBuilder*>(b)->Data(); }
inline ConstrBuilderArray& BuildersOf(const IConstrBuilderArray* a) {
  return static_cast<const TarqConstrBuilderArray*>(a)->Data();
}
}  // namespace Tarq
