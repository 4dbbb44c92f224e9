#include "psdnl/sym_mat.h"

#include <algorithm>

namespace Tarq {

SymMatrix SymMatrix::Cached(int dim, int row, int col, double value) {
  SymMatrix m;
  m.dim = dim;
  m.row = row;
  m.col = col;
  m.value = value;
  m.cached = true;
  return m;
}

bool SymMatrix::operator==(const SymMatrix& o) const {
  if (cached != o.cached) return false;
  if (cached) return row == o.row && col == o.col && value == o.value;
  return record->index == o.record->index;
}

int SymMatExpr::AddTerm(const SymMatrix& m, double c) {
  if (m.dim < 1) return 0;
  if (mats.empty()) {
    dim = m.dim;
  } else if (m.dim != dim) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Dimension of symmetric matrix mismatch");
    return 0;
  }
  detail::GrowAhead(mats, 1);
  detail::GrowAhead(coefs, 1);
  mats.push_back(m);
  coefs.push_back(c);
  return 1;
}

void SymMatExpr::AddExpr(const SymMatExpr& other, double mult) {
  detail::GrowAhead(mats, other.mats.size());
  detail::GrowAhead(coefs, other.coefs.size());
  for (size_t k = 0; k < other.mats.size(); ++k) AddTerm(other.mats[k], other.coefs[k] * mult);
}

void SymMatExpr::MultiplyBy(double factor) {
  if (factor == 1.0) return;
  for (double& c : coefs) c *= factor;
}

void SymMatExpr::RemoveAt(int i) {
  if (!detail::InRange(mats, i)) return;
  mats.erase(mats.begin() + i);
  coefs.erase(coefs.begin() + i);
}

bool SymMatExpr::IsOneStored() const {
  return mats.size() == 1 && coefs[0] == 1.0 && !mats[0].cached && mats[0].Index() >= 0;
}

bool AppendElements(const SymMatrix& m, double f, std::vector<SymElement>& out) {
  if (m.dim < 1) return false;
  if (m.cached) {
    out.push_back({std::max(m.row, m.col), std::min(m.row, m.col), f * m.value});
    return true;
  }
  if (m.Index() < 0) return false;
  tarq_prob* prob = m.record->Problem()->problem;
  int n = 0;
  if (TARQ_GetSymMat(prob, m.Index(), nullptr, nullptr, nullptr, nullptr, 0, &n) != TARQ_RETCODE_OK) return false;
  std::vector<int> r(static_cast<size_t>(n)), c(static_cast<size_t>(n));
  std::vector<double> v(static_cast<size_t>(n));
  if (TARQ_GetSymMat(prob, m.Index(), nullptr, r.data(), c.data(), v.data(), n, &n) != TARQ_RETCODE_OK) return false;
  for (int k = 0; k < n; ++k) out.push_back({r[k], c[k], f * v[k]});
  return true;
}

bool SymMatExpr::Elements(std::vector<SymElement>& out) const {
  out.clear();
  if (Dim() < 1) return false;
  for (size_t k = 0; k < mats.size(); ++k) {
    if (!AppendElements(mats[k], coefs[k], out)) return false;
  }
  std::sort(out.begin(), out.end(),
            [](const SymElement& a, const SymElement& b) { return a.col != b.col ? a.col < b.col : a.row < b.row; });
  size_t w = 0;
  for (size_t k = 0; k < out.size();) {
    SymElement e = out[k++];
    while (k < out.size() && out[k].row == e.row && out[k].col == e.col) e.val += out[k++].val;
    if (e.val != 0.0) out[w++] = e;
  }
  out.resize(w);
  return true;
}

}  // namespace Tarq

void TarqSymMatrixArray::PushBack(const Tarq::ISymMatrix* mat) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::SymMatOf(mat));
}

int TarqSymMatExpr::AddTerm(const Tarq::ISymMatrix* mat, double coeff) {
  return Data().AddTerm(Tarq::SymMatOf(mat), coeff);
}

int TarqSymMatExpr::AddTerms(const Tarq::ISymMatrixArray* mats, const double* coeffs, int len) {
  const Tarq::SymMatrixArray& all = Tarq::SymMatsOf(mats);
  if (coeffs == nullptr || len < static_cast<int>(all.size())) return -1;
  for (size_t k = 0; k < all.size(); ++k) {
    if (Data().AddTerm(all[k], coeffs[k]) == 0) return -1;
  }
  return static_cast<int>(all.size());
}

void TarqSymMatExpr::AddSymMatExpr(const Tarq::ISymMatExpr* other, double mult) {
  const Tarq::SymMatExpr copy = Tarq::SymExprOf(other);  // other may be this expression
  Data().AddExpr(copy, mult);
}

void TarqSymMatExpr::Remove(const Tarq::ISymMatrix* mat) {
  const Tarq::SymMatrix& m = Tarq::SymMatOf(mat);
  Tarq::SymMatExpr& e = Data();
  for (int i = e.Size() - 1; i >= 0; --i) {
    if (e.mats[i] == m) e.RemoveAt(i);
  }
}

void TarqSymMatExpr::Reserve(int n) {
  if (n <= 0) return;
  Data().mats.reserve(static_cast<size_t>(n));
  Data().coefs.reserve(static_cast<size_t>(n));
}
