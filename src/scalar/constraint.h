// Constraint handles, constraint arrays, builders and builder arrays.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "frame/grow.h"
#include "frame/handle.h"
#include "frame/huge_alloc.h"
#include "scalar/lin_expr.h"
#include "scalar/scalar_handle.h"
#include "tarq/constraint.h"

class TarqConstraint final
    : public Tarq::detail::ScalarHandle<Tarq::IConstraint, Tarq::Constraint, Tarq::detail::kRowKind> {
 public:
  using ScalarHandle::ScalarHandle;
};

namespace Tarq {

inline const Constraint& ConstrOf(const IConstraint* c) { return detail::DataOf<TarqConstraint>(c); }

using ConstrArray = detail::LongVector<Constraint>;

// A whole constraint: expression (constant included), sense letter (0 when fresh), range.
struct ConstrBuilder {
  LinExpr expr;
  char sense = 0;
  double range = 0;
};

// A list of constraint builders, kept packed: the terms of all builders in two long arrays (a
// run of terms per builder) and each builder's constant, sense and range in arrays of their own,
// so a list of a million builders takes a few long allocations instead of two per builder. The
// holders of all terms are pinned once for the list; the rare builder whose expression holds a
// failure keeps that status aside.
struct ConstrBuilderArray {
  detail::LongVector<std::size_t> start{0};  // builder k's terms: [start[k], start[k + 1])
  detail::LongVector<double> coefs;
  detail::LongVector<VarRef> vars;
  detail::LongVector<double> constant;
  detail::LongVector<double> range;
  detail::LongVector<char> sense;
  std::vector<std::pair<std::size_t, detail::Status>> failed;  // by position, ascending
  detail::HolderPins pins;

  std::size_t size() const { return sense.size(); }
  void reserve(std::size_t n);
  void push_back(const ConstrBuilder& b);
  // A builder with builder k's contents (k < size()).
  ConstrBuilder At(std::size_t k) const;
};

}  // namespace Tarq

class TarqConstrArray final : public Tarq::detail::Handled<Tarq::IConstrArray, Tarq::ConstrArray> {
 public:
  using Handled::Handled;
  TarqConstrArray() : Handled(Tarq::detail::BlockRef<Tarq::ConstrArray>::Make()) {}
  explicit TarqConstrArray(Tarq::ConstrArray a)
      : Handled(Tarq::detail::BlockRef<Tarq::ConstrArray>::Make(std::move(a))) {}

  void PushBack(const Tarq::IConstraint* c) override { Data().push_back(Tarq::ConstrOf(c)); }
  int GetSize() const override { return static_cast<int>(Data().size()); }
  // Out of range: a constraint of index -2.
  Tarq::IConstraint* GetConstr(int i) const override {
    return new TarqConstraint(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::Constraint());
  }
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
  // Out of range: an empty builder.
  Tarq::IConstrBuilder* GetBuilder(int i) const override {
    return Tarq::detail::InRange(Data(), i) ? new TarqConstrBuilder(Data().At(static_cast<std::size_t>(i)))
                                            : new TarqConstrBuilder();
  }
};

namespace Tarq {
inline ConstrArray& ConstrsOf(const IConstrArray* a) { return detail::DataOf<TarqConstrArray>(a); }
inline ConstrBuilder& BuilderOf(const IConstrBuilder* b) { return detail::DataOf<TarqConstrBuilder>(b); }
inline ConstrBuilderArray& BuildersOf(const IConstrBuilderArray* a) { return detail::DataOf<TarqConstrBuilderArray>(a); }
}  // namespace Tarq
