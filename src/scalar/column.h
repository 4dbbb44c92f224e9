// Columns (the entries of a new variable in existing rows) and column arrays.
#pragma once

#include <vector>

#include "frame/grow.h"
#include "frame/handle.h"
#include "scalar/constraint.h"
#include "tarq/var.h"

namespace Tarq {

struct Column {
  std::vector<double> coefs;
  std::vector<Constraint> constrs;
};

using ColumnArray = std::vector<Column>;

}  // namespace Tarq

class TarqColumn final : public Tarq::detail::Handled<Tarq::IColumn, Tarq::Column> {
 public:
  using Handled::Handled;
  TarqColumn() : Handled(Tarq::detail::BlockRef<Tarq::Column>::Make()) {}
  explicit TarqColumn(const Tarq::Column& c) : Handled(Tarq::detail::BlockRef<Tarq::Column>::Make(c)) {}

  int GetSize() const override { return static_cast<int>(Data().coefs.size()); }
  // Out of range: a constraint of index -2, and 1e30.
  Tarq::IConstraint* GetConstr(int i) const override {
    return new TarqConstraint(Tarq::detail::InRange(Data().constrs, i) ? Data().constrs[i] : Tarq::Constraint());
  }
  double GetCoeff(int i) const override {
    return Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : TARQ_INFINITY;
  }
  void AddTerm(const Tarq::IConstraint* constr, double coeff) override;
  int AddTerms(const Tarq::IConstrArray* constrs, const double* coeffs, int len) override;
  void AddColumn(const Tarq::IColumn* other, double mult) override;
  void Remove(int i) override;
  bool Remove(const Tarq::IConstraint* constr) override;
  void Reserve(int n) override;
  void Clear() override;
  Tarq::IColumn* Clone() const override { return new TarqColumn(Data()); }
};

class TarqColumnArray final : public Tarq::detail::Handled<Tarq::IColumnArray, Tarq::ColumnArray> {
 public:
  using Handled::Handled;
  TarqColumnArray() : Handled(Tarq::detail::BlockRef<Tarq::ColumnArray>::Make()) {}

  void PushBack(const Tarq::IColumn* col) override;
  int GetSize() const override { return static_cast<int>(Data().size()); }
  // Out of range: an empty column.
  Tarq::IColumn* GetColumn(int i) const override {
    return Tarq::detail::InRange(Data(), i) ? new TarqColumn(Data()[i]) : new TarqColumn();
  }
  void Reserve(int n) override { Data().reserve(static_cast<std::size_t>(n)); }
  void Clear() override { Data().clear(); }
};

namespace Tarq {
inline Column& ColumnOf(const IColumn* c) { return detail::DataOf<TarqColumn>(c); }
inline ColumnArray& ColumnsOf(const IColumnArray* a) { return detail::DataOf<TarqColumnArray>(a); }
}  // namespace Tarq
