#include "store/psd_store.h"

#include <algorithm>
#include <climits>

#include "store/checks.h"
#include "store/grow.h"
#include "store/tables.h"

namespace tarq_solver {

// ------------------------------------------------------------------------------ matrices --

void SymMatTable::Append(int n, const std::vector<SymElem>& elems) {
  ReserveFor(row, elems.size());
  ReserveFor(col, elems.size());
  ReserveFor(val, elems.size());
  ReserveFor(dim, 1);
  ReserveFor(begin, 1);
  for (const SymElem& e : elems) {
    row.push_back(e.row);
    col.push_back(e.col);
    val.push_back(e.val);
  }
  dim.push_back(n);
  begin.push_back(static_cast<std::int64_t>(row.size()));
}

int NormaliseSymMat(int dim, int nElem, const int* rows, const int* cols, const double* vals,
                    std::vector<SymElem>& out) {
  out.clear();
  if (dim < 1 || nElem < 0) return TARQ_RETCODE_INVALID;
  if (nElem > 0 && (rows == nullptr || cols == nullptr || vals == nullptr)) return TARQ_RETCODE_INVALID;
  struct Given {
    SymElem e;
    bool upper;  // given above the diagonal
  };
  std::vector<Given> given;
  given.reserve(static_cast<size_t>(nElem));
  for (int k = 0; k < nElem; ++k) {
    const int r = rows[k], c = cols[k];
    if (r < 0 || r >= dim || c < 0 || c >= dim || !ValidCoef(vals[k])) return TARQ_RETCODE_INVALID;
    given.push_back({{std::max(r, c), std::min(r, c), vals[k]}, r < c});
  }
  std::sort(given.begin(), given.end(), [](const Given& a, const Given& b) {
    return a.e.col != b.e.col ? a.e.col < b.e.col : a.e.row < b.e.row;
  });
  out.reserve(given.size());
  for (size_t k = 0; k < given.size();) {
    size_t same = k + 1;
    while (same < given.size() && given[same].e.row == given[k].e.row && given[same].e.col == given[k].e.col) ++same;
    if (same - k > 2) return TARQ_RETCODE_INVALID;
    // Twice is allowed only once per triangle and with equal values.
    if (same - k == 2 && (given[k].upper == given[k + 1].upper || given[k].e.val != given[k + 1].e.val)) {
      return TARQ_RETCODE_INVALID;
    }
    if (given[k].e.val != 0.0) out.push_back(given[k].e);
    k = same;
  }
  return TARQ_RETCODE_OK;
}

int PsdStore::CheckMat(int mat, int dim) const {
  if (mat < 0 || mat >= mats_.Size() || mats_.dim[mat] != dim) return TARQ_RETCODE_INVALID;
  return TARQ_RETCODE_OK;
}

int PsdStore::AddSymMat(int dim, int nElem, const int* rows, const int* cols, const double* vals) {
  std::vector<SymElem> elems;
  if (int rc = NormaliseSymMat(dim, nElem, rows, cols, vals, elems); rc != TARQ_RETCODE_OK) return rc;
  if (mats_.Size() == INT_MAX) return TARQ_RETCODE_INVALID;
  mats_.Append(dim, elems);
  return TARQ_RETCODE_OK;
}

int PsdStore::GetSymMat(int idx, int* dim, int* rows, int* cols, double* vals, int size, int* reqSize) const {
  if (idx < 0 || idx >= mats_.Size()) return TARQ_RETCODE_INVALID;
  const std::int64_t n = mats_.Count(idx);
  if (n > INT_MAX) return TARQ_RETCODE_INVALID;
  if (dim != nullptr) *dim = mats_.dim[idx];
  if (reqSize != nullptr) *reqSize = static_cast<int>(n);
  if (rows == nullptr && cols == nullptr && vals == nullptr) return TARQ_RETCODE_OK;
  if (size < n) return TARQ_RETCODE_INVALID;
  const std::int64_t b = mats_.begin[idx];
  if (rows != nullptr) std::copy(mats_.row.begin() + b, mats_.row.begin() + b + n, rows);
  if (cols != nullptr) std::copy(mats_.col.begin() + b, mats_.col.begin() + b + n, cols);
  if (vals != nullptr) std::copy(mats_.val.begin() + b, mats_.val.begin() + b + n, vals);
  return TARQ_RETCODE_OK;
}

// ------------------------------------------------------------------------------ term lists --

template <class Payload>
void TermLists<Payload>::Append(int n, const int* idx, const Payload* pay) {
  ReserveFor(index, static_cast<size_t>(n));
  ReserveFor(payload, static_cast<size_t>(n));
  ReserveFor(begin, 1);
  index.insert(index.end(), idx, idx + n);
  payload.insert(payload.end(), pay, pay + n);
  begin.push_back(static_cast<std::int64_t>(index.size()));
}

template <class Payload>
std::int64_t TermLists<Payload>::Find(int r, int i) const {
  for (std::int64_t p = begin[r]; p < begin[r + 1]; ++p) {
    if (index[p] == i) return p;
  }
  return -1;
}

template <class Payload>
void TermLists<Payload>::Set(int r, int i, const Payload& p, bool remove) {
  const std::int64_t at = Find(r, i);
  if (at >= 0 && !remove) {
    payload[at] = p;
    return;
  }
  if (at < 0 && remove) return;
  if (at >= 0) {
    index.erase(index.begin() + at);
    payload.erase(payload.begin() + at);
    for (size_t k = static_cast<size_t>(r) + 1; k < begin.size(); ++k) --begin[k];
    return;
  }
  const std::int64_t end = begin[r + 1];
  index.insert(index.begin() + end, i);
  payload.insert(payload.begin() + end, p);
  for (size_t k = static_cast<size_t>(r) + 1; k < begin.size(); ++k) ++begin[k];
}

template <class Payload>
void TermLists<Payload>::EraseRows(const std::vector<char>& dropRows) {
  size_t out = 0;
  std::vector<std::int64_t> nb{0};
  nb.reserve(begin.size());
  for (int r = 0; r < Rows(); ++r) {
    if (!dropRows.empty() && dropRows[r]) continue;
    for (std::int64_t p = begin[r]; p < begin[r + 1]; ++p, ++out) {
      index[out] = index[p];
      payload[out] = payload[p];
    }
    nb.push_back(static_cast<std::int64_t>(out));
  }
  index.resize(out);
  payload.resize(out);
  begin = std::move(nb);
}

template <class Payload>
void TermLists<Payload>::EraseIndices(const std::vector<char>& dropIndex) {
  std::vector<int> renumber(dropIndex.size(), -1);
  int next = 0;
  for (size_t k = 0; k < dropIndex.size(); ++k) {
    if (!dropIndex[k]) renumber[k] = next++;
  }
  size_t out = 0;
  for (int r = 0; r < Rows(); ++r) {
    const std::int64_t b = begin[r], e = begin[r + 1];
    begin[r] = static_cast<std::int64_t>(out);
    for (std::int64_t p = b; p < e; ++p) {
      const int to = renumber[index[p]];
      if (to < 0) continue;
      index[out] = to;
      payload[out] = payload[p];
      ++out;
    }
  }
  begin.back() = static_cast<std::int64_t>(out);
  index.resize(out);
  payload.resize(out);
}

template struct TermLists<double>;
template struct TermLists<int>;

namespace {

// Indices below limit, each at most once; O(n log n), independent of limit.
int CheckIndices(int n, const int* idx, int limit) {
  if (n < 0 || (n > 0 && idx == nullptr)) return TARQ_RETCODE_INVALID;
  std::vector<int> sorted(idx, idx + n);
  std::sort(sorted.begin(), sorted.end());
  if (n > 0 && (sorted.front() < 0 || sorted.back() >= limit)) return TARQ_RETCODE_INVALID;
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return TARQ_RETCODE_INVALID;
  return TARQ_RETCODE_OK;
}

std::vector<char> DropFlags(int num, const int* list, int size) {
  std::vector<char> drop(static_cast<size_t>(size), 0);
  for (int k = 0; k < num; ++k) drop[list[k]] = 1;
  return drop;
}

int CheckDeleteList(int num, const int* list, int size) {
  if (num < 0 || (num > 0 && list == nullptr)) return TARQ_RETCODE_INVALID;
  return CheckList(num, list, size);
}

// Two-call copy of n values starting at `from` into out (when given and large enough).
template <class T>
int CopyOut(const std::vector<T>& src, std::int64_t from, std::int64_t n, T* out, int size) {
  if (out == nullptr) return TARQ_RETCODE_OK;
  if (size < n) return TARQ_RETCODE_INVALID;
  std::copy(src.begin() + from, src.begin() + from + n, out);
  return TARQ_RETCODE_OK;
}

}  // namespace

// ------------------------------------------------------------------------------ PSD columns --

int PsdStore::AddPsdCols(int num, const int* dims, const char* const* names) {
  if (num < 0 || (num > 0 && dims == nullptr)) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (dims[k] < 1) return TARQ_RETCODE_INVALID;
  }
  if (num == 0) return TARQ_RETCODE_OK;
  ReserveFor(cols_.dim, static_cast<size_t>(num));
  ReserveFor(cols_.objMat, static_cast<size_t>(num));
  auto staged = cols_.names.Stage(num, names);
  cols_.names.Commit(std::move(staged));
  cols_.dim.insert(cols_.dim.end(), dims, dims + num);
  cols_.objMat.insert(cols_.objMat.end(), static_cast<size_t>(num), -1);
  return TARQ_RETCODE_OK;
}

int PsdStore::DelPsdCols(int num, const int* list) {
  if (int rc = CheckDeleteList(num, list, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  const std::vector<char> drop = DropFlags(num, list, cols_.Size());
  rows_.psd.EraseIndices(drop);
  EraseFlagged(cols_.dim, drop);
  EraseFlagged(cols_.objMat, drop);
  cols_.names.Erase(drop);
  return TARQ_RETCODE_OK;
}

int PsdStore::GetPsdCols(int num, const int* list, int* dims) const {
  if (int rc = CheckList(num, list, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num > 0 && dims == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) dims[k] = cols_.dim[At(list, k)];
  return TARQ_RETCODE_OK;
}

int PsdStore::ReplaceObj(int num, const int* psdCols, const int* mats) {
  if (num < 0 || (num > 0 && (psdCols == nullptr || mats == nullptr))) return TARQ_RETCODE_INVALID;
  if (int rc = CheckIndices(num, psdCols, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  for (int k = 0; k < num; ++k) {
    if (mats[k] != -1 && CheckMat(mats[k], cols_.dim[psdCols[k]]) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  }
  std::fill(cols_.objMat.begin(), cols_.objMat.end(), -1);
  for (int k = 0; k < num; ++k) cols_.objMat[psdCols[k]] = mats[k];
  return TARQ_RETCODE_OK;
}

void PsdStore::DelObj() { std::fill(cols_.objMat.begin(), cols_.objMat.end(), -1); }

bool PsdStore::HasObj() const {
  return std::any_of(cols_.objMat.begin(), cols_.objMat.end(), [](int m) { return m >= 0; });
}

// ------------------------------------------------------------------------------ PSD rows --

int PsdStore::AddPsdRow(int nCols, int nLin, const int* cols, const double* vals, int nPsd, const int* psdCols,
                        const int* mats, char sense, double bound, double upper, const char* name) {
  double lo = 0, up = 0;
  if (int rc = RowBounds(sense, bound, upper, &lo, &up); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = CheckIndices(nLin, cols, nCols); rc != TARQ_RETCODE_OK) return rc;
  if (nLin > 0 && vals == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < nLin; ++k) {
    if (!ValidCoef(vals[k])) return TARQ_RETCODE_INVALID;
  }
  if (int rc = CheckIndices(nPsd, psdCols, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (nPsd > 0 && mats == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < nPsd; ++k) {
    if (CheckMat(mats[k], cols_.dim[psdCols[k]]) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  }
  ReserveFor(rows_.lower, 1);
  ReserveFor(rows_.upper, 1);
  auto staged = rows_.names.Stage(1, &name);
  rows_.lin.Append(nLin, cols, vals);
  rows_.psd.Append(nPsd, psdCols, mats);
  rows_.names.Commit(std::move(staged));
  rows_.lower.push_back(lo);
  rows_.upper.push_back(up);
  return TARQ_RETCODE_OK;
}

int PsdStore::DelPsdRows(int num, const int* list) {
  if (int rc = CheckDeleteList(num, list, rows_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  const std::vector<char> drop = DropFlags(num, list, rows_.Size());
  rows_.lin.EraseRows(drop);
  rows_.psd.EraseRows(drop);
  EraseFlagged(rows_.lower, drop);
  EraseFlagged(rows_.upper, drop);
  rows_.names.Erase(drop);
  return TARQ_RETCODE_OK;
}

int PsdStore::GetPsdRow(int idx, int* cols, double* vals, int linSize, int* linReq, int* psdCols, int* mats,
                        int psdSize, int* psdReq) const {
  if (idx < 0 || idx >= rows_.Size()) return TARQ_RETCODE_INVALID;
  const std::int64_t nl = rows_.lin.Count(idx), np = rows_.psd.Count(idx);
  if (nl > INT_MAX || np > INT_MAX) return TARQ_RETCODE_INVALID;
  if ((cols != nullptr || vals != nullptr) && linSize < nl) return TARQ_RETCODE_INVALID;
  if ((psdCols != nullptr || mats != nullptr) && psdSize < np) return TARQ_RETCODE_INVALID;
  if (linReq != nullptr) *linReq = static_cast<int>(nl);
  if (psdReq != nullptr) *psdReq = static_cast<int>(np);
  CopyOut(rows_.lin.index, rows_.lin.begin[idx], nl, cols, linSize);
  CopyOut(rows_.lin.payload, rows_.lin.begin[idx], nl, vals, linSize);
  CopyOut(rows_.psd.index, rows_.psd.begin[idx], np, psdCols, psdSize);
  CopyOut(rows_.psd.payload, rows_.psd.begin[idx], np, mats, psdSize);
  return TARQ_RETCODE_OK;
}

int PsdStore::SetPsdRowBounds(bool lower, int num, const int* list, const double* values) {
  return lower ? AssignListed(rows_.lower, num, list, values, ValidLower, ClampInf)
               : AssignListed(rows_.upper, num, list, values, ValidUpper, ClampInf);
}

int PsdStore::GetPsdElem(int row, int psdCol, int* mat) const {
  if (mat == nullptr || row < 0 || row >= rows_.Size() || psdCol < 0 || psdCol >= cols_.Size()) {
    return TARQ_RETCODE_INVALID;
  }
  const std::int64_t at = rows_.psd.Find(row, psdCol);
  *mat = at >= 0 ? rows_.psd.payload[at] : -1;
  return TARQ_RETCODE_OK;
}

int PsdStore::SetPsdElem(int row, int psdCol, int mat) {
  if (row < 0 || row >= rows_.Size() || psdCol < 0 || psdCol >= cols_.Size()) return TARQ_RETCODE_INVALID;
  if (mat != -1 && CheckMat(mat, cols_.dim[psdCol]) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  rows_.psd.Set(row, psdCol, mat, mat == -1);
  return TARQ_RETCODE_OK;
}

// ------------------------------------------------------------------------------ LMI rows --

int PsdStore::AddLmiRow(int nCols, int dim, int nTerms, const int* cols, const int* mats, int constMat,
                        const char* name) {
  if (dim < 1) return TARQ_RETCODE_INVALID;
  if (int rc = CheckIndices(nTerms, cols, nCols); rc != TARQ_RETCODE_OK) return rc;
  if (nTerms > 0 && mats == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < nTerms; ++k) {
    if (CheckMat(mats[k], dim) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  }
  if (constMat != -1 && CheckMat(constMat, dim) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  ReserveFor(lmis_.dim, 1);
  ReserveFor(lmis_.constMat, 1);
  auto staged = lmis_.names.Stage(1, &name);
  lmis_.terms.Append(nTerms, cols, mats);
  lmis_.names.Commit(std::move(staged));
  lmis_.dim.push_back(dim);
  lmis_.constMat.push_back(constMat);
  return TARQ_RETCODE_OK;
}

int PsdStore::DelLmiRows(int num, const int* list) {
  if (int rc = CheckDeleteList(num, list, lmis_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  const std::vector<char> drop = DropFlags(num, list, lmis_.Size());
  lmis_.terms.EraseRows(drop);
  EraseFlagged(lmis_.dim, drop);
  EraseFlagged(lmis_.constMat, drop);
  lmis_.names.Erase(drop);
  return TARQ_RETCODE_OK;
}

int PsdStore::GetLmiRow(int idx, int* dim, int* cols, int* mats, int size, int* reqSize, int* constMat) const {
  if (idx < 0 || idx >= lmis_.Size()) return TARQ_RETCODE_INVALID;
  const std::int64_t n = lmis_.terms.Count(idx);
  if (n > INT_MAX) return TARQ_RETCODE_INVALID;
  if ((cols != nullptr || mats != nullptr) && size < n) return TARQ_RETCODE_INVALID;
  if (dim != nullptr) *dim = lmis_.dim[idx];
  if (constMat != nullptr) *constMat = lmis_.constMat[idx];
  if (reqSize != nullptr) *reqSize = static_cast<int>(n);
  CopyOut(lmis_.terms.index, lmis_.terms.begin[idx], n, cols, size);
  CopyOut(lmis_.terms.payload, lmis_.terms.begin[idx], n, mats, size);
  return TARQ_RETCODE_OK;
}

int PsdStore::SetLmiRhs(int num, const int* list, const int* mats) {
  if (int rc = CheckList(num, list, lmis_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num > 0 && mats == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (mats[k] != -1 && CheckMat(mats[k], lmis_.dim[At(list, k)]) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  }
  for (int k = 0; k < num; ++k) lmis_.constMat[At(list, k)] = mats[k];
  return TARQ_RETCODE_OK;
}

int PsdStore::GetLmiElem(int nCols, int row, int col, int* mat) const {
  if (mat == nullptr || row < 0 || row >= lmis_.Size() || col < 0 || col >= nCols) return TARQ_RETCODE_INVALID;
  const std::int64_t at = lmis_.terms.Find(row, col);
  *mat = at >= 0 ? lmis_.terms.payload[at] : -1;
  return TARQ_RETCODE_OK;
}

int PsdStore::SetLmiElem(int nCols, int row, int col, int mat) {
  if (row < 0 || row >= lmis_.Size() || col < 0 || col >= nCols) return TARQ_RETCODE_INVALID;
  if (mat != -1 && CheckMat(mat, lmis_.dim[row]) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
  lmis_.terms.Set(row, col, mat, mat == -1);
  return TARQ_RETCODE_OK;
}

// ------------------------------------------------------------------------------ the whole --

void PsdStore::EraseColumns(const std::vector<char>& drop) {
  rows_.lin.EraseIndices(drop);
  lmis_.terms.EraseIndices(drop);
}

std::int64_t PsdStore::PsdTerms() const {
  const auto obj = std::count_if(cols_.objMat.begin(), cols_.objMat.end(), [](int m) { return m >= 0; });
  return static_cast<std::int64_t>(rows_.psd.index.size()) + obj;
}

std::int64_t PsdStore::PackedColLen() const {
  std::int64_t s = 0;
  for (int d : cols_.dim) s += PackedLen(d);
  return s;
}

std::int64_t PsdStore::PackedLmiLen() const {
  std::int64_t s = 0;
  for (int d : lmis_.dim) s += PackedLen(d);
  return s;
}

std::int64_t PsdStore::PsdDims() const {
  std::int64_t s = 0;
  for (int d : cols_.dim) s += d;
  return s;
}

std::int64_t PsdStore::LmiDims() const {
  std::int64_t s = 0;
  for (int d : lmis_.dim) s += d;
  return s;
}

}  // namespace tarq_solver
