#include "store/checks.h"

namespace tarq_solver {

int CheckList(int num, const int* list, int size) {
  if (num < 0) return TARQ_RETCODE_INVALID;
  if (list == nullptr) return num <= size ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (list[k] < 0 || list[k] >= size) return TARQ_RETCODE_INVALID;
  }
  return TARQ_RETCODE_OK;
}

namespace {

// Vectors this short are checked for repeated indices pairwise: no scratch array is touched, so
// the one-vector path of a model built row by row does not take a cache miss per entry.
constexpr std::int64_t kShortVector = 16;

}  // namespace

int CheckShortEntries(const int* idx, const double* val, std::int64_t n, int minorCount) {
  for (std::int64_t p = 0; p < n; ++p) {
    const int j = idx[p];
    if (j < 0 || j >= minorCount || !ValidCoef(val[p])) return TARQ_RETCODE_INVALID;
    for (std::int64_t q = 0; q < p; ++q) {
      if (idx[q] == j) return TARQ_RETCODE_INVALID;
    }
  }
  return TARQ_RETCODE_OK;
}

int CheckVectors(const VectorList& v, int minorCount, std::vector<int>& stamp) {
  if (v.num < 0) return TARQ_RETCODE_INVALID;
  if (!v.HasEntries()) return TARQ_RETCODE_OK;
  bool any = false;
  for (int k = 0; k < v.num; ++k) {
    std::int64_t b = v.Begin(k), e = v.End(k);
    if (b < 0 || e < b) return TARQ_RETCODE_INVALID;
    any = any || e > b;
  }
  if (!any) return TARQ_RETCODE_OK;
  if (v.idx == nullptr || v.val == nullptr) return TARQ_RETCODE_INVALID;
  if (v.num == 1 && v.End(0) - v.Begin(0) <= kShortVector) {
    return CheckShortEntries(v.idx + v.Begin(0), v.val + v.Begin(0), v.End(0) - v.Begin(0), minorCount);
  }
  if (stamp.size() < static_cast<size_t>(minorCount)) stamp.resize(static_cast<size_t>(minorCount), -1);
  int rc = TARQ_RETCODE_OK;
  int k = 0;
  for (; k < v.num && rc == TARQ_RETCODE_OK; ++k) {
    for (std::int64_t p = v.Begin(k), e = v.End(k); p < e; ++p) {
      int j = v.idx[p];
      if (j < 0 || j >= minorCount || !ValidCoef(v.val[p]) || stamp[j] == k) {
        rc = TARQ_RETCODE_INVALID;
        break;
      }
      stamp[j] = k;
    }
  }
  // Leave the scratch clean for the next call: every stamp back to -1.
  for (int r = 0; r < k; ++r) {
    for (std::int64_t p = v.Begin(r), e = v.End(r); p < e; ++p) {
      int j = v.idx[p];
      if (j >= 0 && j < minorCount) stamp[j] = -1;
    }
  }
  return rc;
}

int RowBounds(char sense, double bound, double upper, double* lower, double* upperOut) {
  double lo = 0, up = 0;
  switch (sense) {
    case 0: lo = bound; up = upper; break;
    case 'L': lo = -TARQ_INFINITY; up = bound; break;
    case 'G': lo = bound; up = TARQ_INFINITY; break;
    case 'E': lo = bound; up = bound; break;
    case 'N': lo = -TARQ_INFINITY; up = TARQ_INFINITY; break;
    case 'R':
      if (IsNan(upper)) return TARQ_RETCODE_INVALID;
      lo = bound - upper;
      up = bound;
      break;
    default: return TARQ_RETCODE_INVALID;
  }
  if (IsNan(lo) || IsNan(up) || lo >= TARQ_INFINITY || up <= -TARQ_INFINITY) return TARQ_RETCODE_INVALID;
  *lower = ClampInf(lo);
  *upperOut = ClampInf(up);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
