// Writing a problem in the SDPA sparse format (see tarq_psd.h for which problems fit): one block
// per LMI row (F_0 = -D, F_j the terms) and one diagonal block holding every finite row and
// column bound as an entry a'x - lower >= 0 or upper - a'x >= 0.
#include <algorithm>

#include "io/formats.h"

namespace tarq_solver {

namespace {

struct DiagEntry {
  int col;  // -1 for F_0
  int pos;
  double val;
};

}  // namespace

int WriteSdpa(Problem& problem, OutBuffer& out, IoError& err) {
  const PsdStore& psd = problem.Psd();
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  if (!problem.SosCone().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "SOS constraints, indicator rows and cones cannot be written in the SDPA format");
  }
  if (psd.Cols().Size() > 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "PSD columns cannot be written in the SDPA format");
  for (std::int64_t n : psd.Rows().psd.begin) {
    if (n != 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "PSD rows cannot be written in the SDPA format");
  }
  if (std::any_of(cols.type.begin(), cols.type.end(), [](char t) { return t != 'C'; })) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "integer columns cannot be written in the SDPA format");
  }
  if (!problem.Quad().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "quadratic objectives and quadratic rows cannot be written in the SDPA format");
  }
  if (!problem.Nl().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "nonlinear rows and a nonlinear objective cannot be written in the SDPA format");
  }
  if (problem.ObjConst() != 0.0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "an objective constant cannot be written in the SDPA format");
  }
  const int m = cols.Size();
  const double s = problem.ObjSense();

  // Diagonal entries: sign * (a'x - bound) >= 0 for every finite bound.
  std::vector<DiagEntry> diag;
  int nDiag = 0;
  auto addBound = [&](double bound, double sign, const int* idx, const double* val, std::int64_t n, int single) {
    const int pos = nDiag++;
    diag.push_back({-1, pos, sign * bound});
    for (std::int64_t k = 0; k < n; ++k) diag.push_back({idx[k], pos, sign * val[k]});
    if (single >= 0) diag.push_back({single, pos, sign});
  };
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kRow);
  const PsdRowTable& prow = psd.Rows();
  const int nRows = rows.Size() + prow.Size();
  for (int r = 0; r < nRows; ++r) {
    const bool scalar = r < rows.Size();
    const int i = scalar ? r : r - rows.Size();
    const double lo = scalar ? rows.lower[i] : prow.lower[i];
    const double up = scalar ? rows.upper[i] : prow.upper[i];
    const int* idx = scalar ? matrix.Vector(i).idx : prow.lin.index.data() + prow.lin.begin[i];
    const double* val = scalar ? matrix.Vector(i).val : prow.lin.payload.data() + prow.lin.begin[i];
    const std::int64_t n = scalar ? matrix.Vector(i).len : prow.lin.Count(i);
    if (lo > -TARQ_INFINITY) addBound(lo, 1.0, idx, val, n, -1);
    if (up < TARQ_INFINITY) addBound(up, -1.0, idx, val, n, -1);
  }
  for (int j = 0; j < m; ++j) {
    if (cols.lower[j] > -TARQ_INFINITY) addBound(cols.lower[j], 1.0, nullptr, nullptr, 0, j);
    if (cols.upper[j] < TARQ_INFINITY) addBound(cols.upper[j], -1.0, nullptr, nullptr, 0, j);
  }
  const LmiRowTable& lmis = psd.Lmis();
  const int nBlocks = lmis.Size() + (nDiag > 0 ? 1 : 0);
  if (nBlocks == 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "the SDPA format needs at least one block");

  out.Put("* written by tarq: minimise c'x such that sum x_i F_i - F_0 is positive semidefinite\n");
  out.PutInt(m);
  out.Put('\n');
  out.PutInt(nBlocks);
  out.Put('\n');
  for (int l = 0; l < lmis.Size(); ++l) {
    out.PutInt(lmis.dim[l]);
    out.Put(' ');
  }
  if (nDiag > 0) out.PutInt(-static_cast<std::int64_t>(nDiag));
  out.Put('\n');
  for (int j = 0; j < m; ++j) {
    if (j > 0) out.Put(' ');
    out.PutNum(s * cols.obj[j]);
  }
  out.Put('\n');
  const SymMatTable& mats = psd.Mats();
  auto putEntry = [&](int mat, int block, int i, int j, double v) {
    out.PutInt(mat);
    out.Put(' ');
    out.PutInt(block);
    out.Put(' ');
    out.PutInt(i);
    out.Put(' ');
    out.PutInt(j);
    out.Put(' ');
    out.PutNum(v);
    out.Put('\n');
  };
  auto putMat = [&](int number, int block, int mat, double sign) {
    for (std::int64_t p = mats.begin[mat]; p < mats.begin[mat + 1]; ++p) {
      putEntry(number, block, mats.col[p] + 1, mats.row[p] + 1, sign * mats.val[p]);
    }
  };
  for (int l = 0; l < lmis.Size(); ++l) {
    if (lmis.constMat[l] >= 0) putMat(0, l + 1, lmis.constMat[l], -1.0);
    for (std::int64_t t = lmis.terms.begin[l]; t < lmis.terms.begin[l + 1]; ++t) {
      putMat(lmis.terms.index[t] + 1, l + 1, lmis.terms.payload[t], 1.0);
    }
  }
  // F_0 of the diagonal block is the bounds, F_j their coefficients.
  for (const DiagEntry& d : diag) {
    if (d.val != 0.0) putEntry(d.col + 1, nBlocks, d.pos + 1, d.pos + 1, d.val);
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
