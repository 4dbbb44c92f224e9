// Symmetric matrices (stored in a model, or cached single elements), their arrays, and
// symmetric-matrix expressions: the value types and their handles.
#pragma once

#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "frame/status.h"
#include "scalar/record.h"
#include "tarq/sym_mat.h"

namespace Tarq {

// A stored matrix shares the model's record of it (its index); a cached one is one element
// (row, col, value) of a matrix of dimension dim and has no record of a model.
struct SymMatrix {
  detail::RecordRef record;
  detail::Status status;
  int dim = 0;
  int row = 0;
  int col = 0;
  double value = 0;
  bool cached = false;

  SymMatrix() : record(detail::FailedRecord()) {}
  SymMatrix(detail::RecordRef r, int d) : record(std::move(r)), dim(d) {}
  static SymMatrix Cached(int dim, int row, int col, double value);

  // -1 for a cached matrix.
  int Index() const { return cached ? -1 : record->index; }
  const detail::ProblemHolder* Holder() const { return cached ? nullptr : record->Problem(); }
  // Equal: both stored with the same index, or both cached with the same element.
  bool operator==(const SymMatrix& o) const;
};

// One element of a matrix's lower triangle (row >= col).
struct SymElement {
  int row;
  int col;
  double val;
};

// sum coefs[k] * mats[k]; terms are never merged while the expression is built.
struct SymMatExpr {
  std::vector<SymMatrix> mats;
  std::vector<double> coefs;
  int dim = 0;  // meaningful while mats is not empty
  detail::Status status;

  SymMatExpr() = default;
  SymMatExpr(const SymMatrix& m, double c) { AddTerm(m, c); }
  int Dim() const { return mats.empty() ? 0 : dim; }
  int Size() const { return static_cast<int>(mats.size()); }
  // 1 when added, 0 when refused (see ISymMatExpr::AddTerm).
  int AddTerm(const SymMatrix& m, double c);
  void AddExpr(const SymMatExpr& other, double mult);
  void MultiplyBy(double factor);
  void RemoveAt(int i);
  // The elements of the whole expression, each position of the lower triangle once, ordered by
  // column then row, zero sums dropped. Stored matrices are read from their models. False when
  // a matrix cannot be read (or is no matrix at all).
  bool Elements(std::vector<SymElement>& out) const;
  // Whether the expression is exactly one stored matrix with coefficient 1.
  bool IsOneStored() const;
};

using SymMatrixArray = detail::LongVector<SymMatrix>;

// The elements of one matrix (stored ones read with the two-call protocol), scaled by f,
// appended to out unordered. False when the matrix cannot be read.
bool AppendElements(const SymMatrix& m, double f, std::vector<SymElement>& out);

}  // namespace Tarq

class TarqSymMatrix final : public Tarq::detail::InlineHandled<Tarq::ISymMatrix, Tarq::SymMatrix> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  int GetDim() const override { return Data().dim; }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqSymMatrixArray final : public Tarq::detail::InlineHandled<Tarq::ISymMatrixArray, Tarq::SymMatrixArray> {
 public:
  using InlineHandled::InlineHandled;
  TarqSymMatrixArray() : InlineHandled(std::in_place) {}

  void PushBack(const Tarq::ISymMatrix* mat) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Tarq::detail::GrowAhead(Data(), n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::ISymMatrix* GetMatrix(int i) const override {
    return new TarqSymMatrix(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::SymMatrix());
  }
};

class TarqSymMatExpr final : public Tarq::detail::InlineHandled<Tarq::ISymMatExpr, Tarq::SymMatExpr> {
 public:
  using InlineHandled::InlineHandled;
  TarqSymMatExpr() : InlineHandled(std::in_place) {}

  int GetDim() const override { return Data().Dim(); }
  int GetSize() const override { return Data().Size(); }
  Tarq::ISymMatrix* GetSymMat(int i) const override {
    return new TarqSymMatrix(Tarq::detail::InRange(Data().mats, i) ? Data().mats[i] : Tarq::SymMatrix());
  }
  double GetCoeff(int i) const override {
    return Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : TARQ_INFINITY;
  }
  void SetCoeff(int i, double value) override {
    if (Tarq::detail::InRange(Data().coefs, i)) Data().coefs[i] = value;
  }
  int AddTerm(const Tarq::ISymMatrix* mat, double coeff) override;
  int AddTerms(const Tarq::ISymMatrixArray* mats, const double* coeffs, int len) override;
  void AddSymMatExpr(const Tarq::ISymMatExpr* other, double mult) override;
  void Remove(int i) override { Data().RemoveAt(i); }
  void Remove(const Tarq::ISymMatrix* mat) override;
  void Reserve(int n) override;
  Tarq::ISymMatExpr* Clone() const override { return new TarqSymMatExpr(Data()); }
  void MultiplyBy(double factor) override { Data().MultiplyBy(factor); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

namespace Tarq {
inline const SymMatrix& SymMatOf(const ISymMatrix* m) { return detail::DataOf<TarqSymMatrix>(m); }
inline const SymMatrixArray& SymMatsOf(const ISymMatrixArray* a) { return detail::DataOf<TarqSymMatrixArray>(a); }
inline const SymMatExpr& SymExprOf(const ISymMatExpr* e) { return detail::DataOf<TarqSymMatExpr>(e); }
}  // namespace Tarq
