// The symmetric-matrix builders: each stores one matrix in the model.
#include <cstddef>
#include <cstdlib>
#include <limits>

#include "model/model_lookup.h"
#include "model/psd_helpers.h"
#include "model/tarq_model.h"

using Tarq::SymMatrix;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

constexpr const char* kAddFailure = "Failed to add a symmetric matrix to model";

// Elements gathered as triplets.
struct Triplets {
  std::vector<int> rows, cols;
  std::vector<double> vals;
  void Add(int r, int c, double v) {
    rows.push_back(r);
    cols.push_back(c);
    vals.push_back(v);
  }
  int Size() const { return static_cast<int>(vals.size()); }
};

Tarq::ISymMatrix* Store(ModelData& m, int dim, const Triplets& t) {
  return new TarqSymMatrix(
      AddStoredMat(m, dim, t.Size(), t.rows.data(), t.cols.data(), t.vals.data(), kAddFailure));
}

Tarq::ISymMatrix* Refuse(ModelData& m, const char* message) {
  Record(m.status, TARQ_RETCODE_INVALID, "%s", message);
  return new TarqSymMatrix(SymMatrix());
}

// The lower triangle column by column from the first count values (count >= 1).
Tarq::ISymMatrix* Dense(ModelData& m, int dim, const double* values, long long count) {
  Triplets t;
  long long k = 0;
  for (int c = 0; c < dim && k < count; ++c) {
    for (int r = c; r < dim && k < count; ++r) t.Add(r, c, values[k++]);
  }
  return Store(m, dim, t);
}

// The diagonal `offset` below the main one, (i + offset, i) from values (or one value) for i
// below count while inside the matrix.
Tarq::ISymMatrix* Diagonal(ModelData& m, int dim, const double* values, double value, long long count, int offset) {
  Triplets t;
  for (long long i = 0; i < count && i + offset < dim; ++i) {
    t.Add(static_cast<int>(i + offset), static_cast<int>(i), values != nullptr ? values[i] : value);
  }
  return Store(m, dim, t);
}

}  // namespace

Tarq::ISymMatrix* TarqModel::AddSymMat(int dim, int nz, const int* rows, const int* cols, const double* vals) {
  return new TarqSymMatrix(
      AddStoredMat(Data(), dim, nz, rows, cols, vals, "Failed to add a sparse symmetric matrix to model"));
}

Tarq::ISymMatrix* TarqModel::AddSparseMat(int dim, int nz, const int* rows, const int* cols, const double* vals) {
  return AddSymMat(dim, nz, rows, cols, vals);
}

Tarq::ISymMatrix* TarqModel::AddDenseMat(int dim, const double* values, int count) {
  if (values == nullptr || count < 1 || dim < 1) return Refuse(Data(), "Invalid dimension of input symmetric matrix");
  return Dense(Data(), dim, values, count);
}

Tarq::ISymMatrix* TarqModel::AddOnesMat(int dim, double value) {
  // The lower triangle must fit one count of the solver library (dim up to 65535).
  const std::size_t entries = static_cast<std::size_t>(dim) * (static_cast<std::size_t>(dim) + 1) / 2;
  if (dim < 1 || entries > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return Refuse(Data(), "Invalid dimension of input symmetric matrix");
  }
  const std::vector<double> ones(entries, value);
  return Dense(Data(), dim, ones.data(), static_cast<long long>(ones.size()));
}

Tarq::ISymMatrix* TarqModel::AddDiagMat(int dim, const double* values, int count) {
  if (values == nullptr || count < 1 || dim < 1) return Refuse(Data(), "Invalid dimension of input diagonal matrix");
  return Diagonal(Data(), dim, values, 0, count, 0);
}

Tarq::ISymMatrix* TarqModel::AddDiagMat(int dim, double value) {
  if (dim < 1) return Refuse(Data(), "Invalid dimension of input symmetric matrix");
  return Diagonal(Data(), dim, nullptr, value, dim, 0);
}

Tarq::ISymMatrix* TarqModel::AddDiagMat(int dim, const double* values, int count, int offset) {
  if (offset == 0) return AddDiagMat(dim, values, count);
  const long long off = std::llabs(offset);
  if (dim < 1 || values == nullptr || count < 1 || dim <= off) {
    return Refuse(Data(), "Invalid dimension of input diagonal matrix with offset");
  }
  return Diagonal(Data(), dim, values, 0, count, static_cast<int>(off));
}

Tarq::ISymMatrix* TarqModel::AddDiagMat(int dim, double value, int offset) {
  if (dim < 1) return Refuse(Data(), "Invalid dimension of input diagonal matrix with offset");
  if (offset == 0) return AddDiagMat(dim, value);
  const long long off = std::llabs(offset);
  if (dim <= off) return Refuse(Data(), "Invalid dimension of input diagonal matrix with offset");
  return Diagonal(Data(), dim, nullptr, value, dim, static_cast<int>(off));
}

Tarq::ISymMatrix* TarqModel::AddOnesMat(int dim) { return AddOnesMat(dim, 1.0); }

Tarq::ISymMatrix* TarqModel::AddEyeMat(int dim) { return AddDiagMat(dim, 1.0); }

Tarq::ISymMatrix* TarqModel::AddSymMat(Tarq::ISymMatExpr* expr) {
  ModelData& m = Data();
  const Tarq::SymMatExpr& e = Tarq::SymExprOf(expr);
  if (e.Size() == 0) return Refuse(m, "Empty symmetric matrix expression object");
  int index = -1;
  if (!StoreSymExpr(m, e, index)) return new TarqSymMatrix(SymMatrix());
  m.status.ClearCode();
  return new TarqSymMatrix(Tarq::detail::StoredMat(m, index));
}

Tarq::ISymMatrix* TarqModel::GetSymMat(int idx) {
  ModelData& m = Data();
  const auto rec = Tarq::detail::ByIndex(m, Kind::kSymMat, idx, "Invalid index of symmetric matrix",
                                         "Internal index error of symmetric matrix");
  if (rec->index < 0) return new TarqSymMatrix(SymMatrix());
  return new TarqSymMatrix(Tarq::detail::StoredMat(m, idx));
}
