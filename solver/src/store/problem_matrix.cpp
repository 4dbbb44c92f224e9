// Matrix access, names and bulk loading of the problem.
#include <climits>
#include <cstring>

#include "store/checks.h"
#include "store/named_objects.h"
#include "store/problem.h"

namespace tarq_solver {

int Problem::GetVectors(Axis axis, int num, const int* list, int* beg, int* cnt, int* idx, double* val, int size,
                        int* reqSize) {
  if (int rc = CheckList(num, list, matrix_.Count(axis)); rc != TARQ_RETCODE_OK) return rc;
  matrix_.Consolidate(axis);
  std::int64_t total = 0;
  for (int k = 0; k < num; ++k) total += matrix_.Vector(At(list, k)).len;
  if (total > INT_MAX) return TARQ_RETCODE_INVALID;  // cannot be described by int offsets
  if (reqSize != nullptr) *reqSize = static_cast<int>(total);
  if (beg == nullptr && cnt == nullptr && idx == nullptr && val == nullptr) {
    return reqSize != nullptr ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  }
  if ((idx != nullptr || val != nullptr) && size < total) return TARQ_RETCODE_INVALID;
  int offset = 0;
  for (int k = 0; k < num; ++k) {
    VectorView v = matrix_.Vector(At(list, k));
    if (beg != nullptr) beg[k] = offset;
    if (cnt != nullptr) cnt[k] = static_cast<int>(v.len);
    if (idx != nullptr && v.len > 0) std::memcpy(idx + offset, v.idx, sizeof(int) * static_cast<size_t>(v.len));
    if (val != nullptr && v.len > 0) std::memcpy(val + offset, v.val, sizeof(double) * static_cast<size_t>(v.len));
    offset += static_cast<int>(v.len);
  }
  return TARQ_RETCODE_OK;
}

int Problem::GetElem(int row, int col, double* value) const {
  if (value == nullptr || row < 0 || row >= rows_.Size() || col < 0 || col >= cols_.Size()) {
    return TARQ_RETCODE_INVALID;
  }
  *value = matrix_.Get(row, col);
  return TARQ_RETCODE_OK;
}

int Problem::SetElems(int num, const int* rows, const int* cols, const double* values) {
  if (num < 0 || (num > 0 && (rows == nullptr || cols == nullptr || values == nullptr))) {
    return TARQ_RETCODE_INVALID;
  }
  for (int k = 0; k < num; ++k) {
    if (rows[k] < 0 || rows[k] >= rows_.Size() || cols[k] < 0 || cols[k] >= cols_.Size() || !ValidCoef(values[k])) {
      return TARQ_RETCODE_INVALID;
    }
  }
  for (int k = 0; k < num; ++k) matrix_.Set(rows[k], cols[k], values[k]);
  if (num > 0) Modified();
  return TARQ_RETCODE_OK;
}

int Problem::SetNames(Axis axis, int num, const int* list, const char* const* names) {
  return SetListedNames(Names(axis), num, list, names);
}

int Problem::GetName(Axis axis, int pos, char* buf, int len, int* reqSize) const {
  return CopyName(axis == Axis::kRow ? rows_.names : cols_.names, pos, buf, len, reqSize);
}

int Problem::FindName(Axis axis, const char* name, int* pos) { return FindNamed(Names(axis), name, pos); }

int Problem::Load(const LoadArgs& a) {
  if (a.nCol < 0 || a.nRow < 0 || (a.objSense != 1 && a.objSense != -1) || !ValidCoef(a.objConst)) {
    return TARQ_RETCODE_INVALID;
  }
  // Build the new data aside with the checked add operations, then swap it in.
  Problem fresh(env_);
  if (int rc = fresh.AddRows(a.nRow, VectorList{}, a.rowSense, a.rowBound, a.rowUpper, a.rowNames); rc != 0) return rc;
  VectorList cols = a.cols;
  cols.num = a.nCol;
  if (int rc = fresh.AddCols(a.nCol, a.obj, cols, a.types, a.colLower, a.colUpper, a.colNames); rc != 0) return rc;
  if (a.branch != nullptr) {
    if (int rc = fresh.SetBranchFactors(a.nCol, nullptr, a.branch); rc != 0) return rc;
  }
  std::swap(cols_, fresh.cols_);
  std::swap(rows_, fresh.rows_);
  std::swap(matrix_, fresh.matrix_);
  std::swap(mipStarts_, fresh.mipStarts_);
  std::swap(quad_, fresh.quad_);
  std::swap(nl_, fresh.nl_);
  multiObjs_.Clear();
  psd_ = PsdStore();
  sos_cone_ = SosConeStore();
  results_.Clear();
  objSense_ = a.objSense;
  objConst_ = a.objConst;
  Modified();
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
