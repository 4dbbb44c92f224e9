// Row operations of the problem.
#include "store/checks.h"
#include "store/grow.h"
#include "store/analysis_info.h"
#include "store/info_names.h"
#include "store/problem.h"

namespace tarq_solver {

int Problem::AddRows(int num, const VectorList& entries, const char* senses, const double* bound, const double* upper,
                     const char* const* names) {
  if (num < 0) return TARQ_RETCODE_INVALID;
  // The bounds of row k; checked for every row before anything is stored, computed again when
  // storing (cheaper than two scratch arrays per call on the one-row path).
  const auto bounds = [&](int k, double* lo, double* up) {
    const char sense = senses != nullptr ? senses[k] : 0;
    const double b = bound != nullptr ? bound[k] : (sense == 0 ? -TARQ_INFINITY : 0.0);
    const double u = upper != nullptr ? upper[k] : (sense == 0 ? TARQ_INFINITY : 0.0);
    return RowBounds(sense, b, u, lo, up);
  };
  for (int k = 0; k < num; ++k) {
    double lo = 0, up = 0;
    if (int rc = bounds(k, &lo, &up); rc != TARQ_RETCODE_OK) return rc;
  }
  VectorList list = entries;
  list.num = num;
  if (int rc = CheckVectors(list, cols_.Size(), stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;

  ReserveFor(rows_.lower, static_cast<size_t>(num));
  ReserveFor(rows_.upper, static_cast<size_t>(num));
  auto staged = rows_.names.Stage(num, names);
  matrix_.Append(Axis::kRow, list);
  // Nothing below allocates.
  rows_.names.Commit(std::move(staged));
  for (int k = 0; k < num; ++k) {
    double lo = 0, up = 0;
    bounds(k, &lo, &up);
    rows_.lower.push_back(lo);
    rows_.upper.push_back(up);
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::AddRow(int nnz, const int* idx, const double* val, char sense, double bound, double upper,
                    const char* name) {
  constexpr int kShortRow = 16;
  if (nnz < 0) return TARQ_RETCODE_INVALID;
  if (nnz > kShortRow || (name != nullptr && name[0] != '\0')) {
    const int beg[2] = {0, nnz};
    return AddRows(1, VectorList{1, beg, nullptr, idx, val}, &sense, &bound, &upper, &name);
  }
  double lo = 0, up = 0;
  if (int rc = RowBounds(sense, bound, upper, &lo, &up); rc != TARQ_RETCODE_OK) return rc;
  if (nnz > 0 && (idx == nullptr || val == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckShortEntries(idx, val, nnz, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  ReserveFor(rows_.lower, 1);
  ReserveFor(rows_.upper, 1);
  auto staged = rows_.names.Stage(1, nullptr);
  matrix_.AppendOne(Axis::kRow, idx, val, nnz);
  // Nothing below allocates.
  rows_.names.Commit(std::move(staged));
  rows_.lower.push_back(lo);
  rows_.upper.push_back(up);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::Delete(Axis axis, int num, const int* list) {
  const int size = axis == Axis::kRow ? rows_.Size() : cols_.Size();
  if (num < 0 || (num > 0 && list == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckList(num, list, size); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  std::vector<char> drop(static_cast<size_t>(size), 0);
  for (int k = 0; k < num; ++k) drop[list[k]] = 1;
  matrix_.Erase(axis, drop);
  if (axis == Axis::kRow) {
    rows_.Erase(drop);
  } else {
    cols_.Erase(drop);
    mipStarts_.EraseColumns(drop);
    multiObjs_.EraseColumns(drop);
    quad_.EraseColumns(drop);
    nl_.EraseColumns(drop);
    psd_.EraseColumns(drop);
    sos_cone_.EraseColumns(drop);
  }
  results_.colBasis.clear();  // the basis cannot follow a deletion
  results_.rowBasis.clear();
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::SetRowBounds(bool lower, int num, const int* list, const double* values) {
  int rc = lower ? AssignListed(rows_.lower, num, list, values, ValidLower, ClampInf)
                 : AssignListed(rows_.upper, num, list, values, ValidUpper, ClampInf);
  if (rc == TARQ_RETCODE_OK) Modified();
  return rc;
}

int Problem::GetRowInfo(const char* name, int num, const int* list, double* values) {
  switch (ParseInfoName(name)) {
    case InfoName::kLB: return ReadListed(rows_.lower, num, list, values);
    case InfoName::kUB: return ReadListed(rows_.upper, num, list, values);
    case InfoName::kSlack: {
      const Results& r = Result();
      if (!r.HasSolution(cols_.Size(), rows_.Size())) return TARQ_RETCODE_INVALID;
      return ReadListed(r.activity, num, list, values);
    }
    case InfoName::kDual: {
      const Results& r = Result();
      if (!r.HasDuals(cols_.Size(), rows_.Size())) return TARQ_RETCODE_INVALID;
      return ReadListed(r.duals, num, list, values);
    }
    default: return ReadAnalysisInfo(*this, ParseInfoName(name), Axis::kRow, num, list, values);
  }
}

}  // namespace tarq_solver
