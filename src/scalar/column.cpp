#include "scalar/column.h"

#include "frame/grow.h"
#include "scalar/terms.h"

void TarqColumn::AddTerm(const Tarq::IConstraint* constr, double coeff) {
  Data().coefs.push_back(coeff);
  Data().constrs.push_back(Tarq::ConstrOf(constr));
}

int TarqColumn::AddTerms(const Tarq::IConstrArray* constrs, const double* coeffs, int len) {
  const Tarq::ConstrArray& a = Tarq::ConstrsOf(constrs);
  if (coeffs == nullptr || len < static_cast<int>(a.size())) return -1;
  Tarq::Column& c = Data();
  Tarq::detail::GrowAhead(c.coefs, a.size());
  Tarq::detail::GrowAhead(c.constrs, a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    c.coefs.push_back(coeffs[i]);
    c.constrs.push_back(a[i]);
  }
  return static_cast<int>(a.size());
}

void TarqColumn::AddColumn(const Tarq::IColumn* other, double mult) {
  const Tarq::Column& o = Tarq::ColumnOf(other);
  Tarq::Column& c = Data();
  const std::size_t n = o.coefs.size();  // the other column may be this one
  Tarq::detail::GrowAhead(c.coefs, n);
  Tarq::detail::GrowAhead(c.constrs, n);
  for (std::size_t i = 0; i < n; ++i) {
    c.coefs.push_back(o.coefs[i] * mult);
    c.constrs.push_back(o.constrs[i]);
  }
}

void TarqColumn::Remove(int i) {
  Tarq::Column& c = Data();
  if (i < 0 || i >= static_cast<int>(c.coefs.size())) return;
  Tarq::detail::RemoveTermAt(c.coefs, c.constrs, static_cast<std::size_t>(i));
}

bool TarqColumn::Remove(const Tarq::IConstraint* constr) {
  const int index = Tarq::ConstrOf(constr).Index();
  if (index < 0) return false;
  return Tarq::detail::RemoveTermsOf(Data().coefs, Data().constrs, index);
}

void TarqColumn::Reserve(int n) {
  Data().coefs.reserve(static_cast<std::size_t>(n));
  Data().constrs.reserve(static_cast<std::size_t>(n));
}

void TarqColumn::Clear() {
  Data().coefs.clear();
  Data().constrs.clear();
}

void TarqColumnArray::PushBack(const Tarq::IColumn* col) { Data().push_back(Tarq::ColumnOf(col)); }
