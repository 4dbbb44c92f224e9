#include "store/psd_info.h"

#include <algorithm>

#include "store/checks.h"
#include "store/info_names.h"

namespace tarq_solver {

bool HasPsdSolution(Problem& p) {
  const PsdStore& s = p.Psd();
  Results& r = p.Result();
  const PsdResults& x = r.psd;
  const auto cols = static_cast<size_t>(s.PackedColLen());
  const auto lmis = static_cast<size_t>(s.PackedLmiLen());
  const auto rows = static_cast<size_t>(s.Rows().Size());
  return r.HasSolution(p.Cols().Size(), p.Rows().Size()) && x.colValues.size() == cols && x.colDuals.size() == cols &&
         x.lmiSlack.size() == lmis && x.lmiDuals.size() == lmis && x.rowActivity.size() == rows &&
         x.rowDuals.size() == rows;
}

void UnpackSym(const double* packed, int n, double* full) {
  for (int j = 0; j < n; ++j) {
    for (int i = j; i < n; ++i) {
      const double v = packed[PackedPos(n, i, j)];
      full[static_cast<size_t>(i) * n + j] = v;
      full[static_cast<size_t>(j) * n + i] = v;
    }
  }
}

namespace {

// Offset of matrix k in a packed array of matrices of the given dimensions.
std::int64_t PackedOffset(const std::vector<int>& dims, int k) {
  std::int64_t off = 0;
  for (int i = 0; i < k; ++i) off += PackedLen(dims[i]);
  return off;
}

// "Value"/"Slack" (first) or "Dual" (second) of matrix idx among dims, unpacked into values.
int MatrixInfo(Problem& p, const char* name, int idx, double* values, const std::vector<int>& dims,
               InfoName first, const std::vector<double>& firsts, const std::vector<double>& duals) {
  if (values == nullptr || idx < 0 || idx >= static_cast<int>(dims.size())) return TARQ_RETCODE_INVALID;
  const InfoName which = ParseInfoName(name);
  if (which != first && which != InfoName::kDual) return TARQ_RETCODE_INVALID;
  if (!HasPsdSolution(p)) return TARQ_RETCODE_INVALID;
  const std::vector<double>& src = which == first ? firsts : duals;
  UnpackSym(src.data() + PackedOffset(dims, idx), dims[idx], values);
  return TARQ_RETCODE_OK;
}

}  // namespace

int GetPsdColInfo(Problem& p, const char* name, int idx, double* values) {
  const PsdResults& r = p.Result().psd;
  return MatrixInfo(p, name, idx, values, p.Psd().Cols().dim, InfoName::kValue, r.colValues, r.colDuals);
}

int GetLmiInfo(Problem& p, const char* name, int idx, double* values) {
  const PsdResults& r = p.Result().psd;
  return MatrixInfo(p, name, idx, values, p.Psd().Lmis().dim, InfoName::kSlack, r.lmiSlack, r.lmiDuals);
}

int GetPsdRowInfo(Problem& p, const char* name, int num, const int* list, double* values) {
  const PsdRowTable& rows = p.Psd().Rows();
  switch (ParseInfoName(name)) {
    case InfoName::kLB: return ReadListed(rows.lower, num, list, values);
    case InfoName::kUB: return ReadListed(rows.upper, num, list, values);
    case InfoName::kSlack:
      if (!HasPsdSolution(p)) return TARQ_RETCODE_INVALID;
      return ReadListed(p.Result().psd.rowActivity, num, list, values);
    case InfoName::kDual:
      if (!HasPsdSolution(p)) return TARQ_RETCODE_INVALID;
      return ReadListed(p.Result().psd.rowDuals, num, list, values);
    default: return TARQ_RETCODE_INVALID;
  }
}

namespace {

int CopyPair(Problem& p, const std::vector<double>& a, const std::vector<double>& b, double* outA, double* outB) {
  if (!HasPsdSolution(p)) return TARQ_RETCODE_INVALID;
  if (outA != nullptr) std::copy(a.begin(), a.end(), outA);
  if (outB != nullptr) std::copy(b.begin(), b.end(), outB);
  return TARQ_RETCODE_OK;
}

}  // namespace

int GetPsdSolution(Problem& p, double* values, double* duals) {
  const PsdResults& r = p.Result().psd;
  return CopyPair(p, r.colValues, r.colDuals, values, duals);
}

int GetLmiSolution(Problem& p, double* slacks, double* duals) {
  const PsdResults& r = p.Result().psd;
  return CopyPair(p, r.lmiSlack, r.lmiDuals, slacks, duals);
}

}  // namespace tarq_solver
