// Column operations of the problem.
#include <algorithm>

#include "store/checks.h"
#include "store/grow.h"
#include "store/analysis_info.h"
#include "store/info_names.h"
#include "store/problem.h"

namespace tarq_solver {

int Problem::AddCols(int num, const double* obj, const VectorList& entries, const char* types, const double* lower,
                     const double* upper, const char* const* names) {
  if (num < 0) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (obj != nullptr && !ValidCoef(obj[k])) return TARQ_RETCODE_INVALID;
    if (types != nullptr && !ValidType(types[k])) return TARQ_RETCODE_INVALID;
    if (lower != nullptr && !ValidLower(lower[k])) return TARQ_RETCODE_INVALID;
    if (upper != nullptr && !ValidUpper(upper[k])) return TARQ_RETCODE_INVALID;
  }
  VectorList list = entries;
  list.num = num;
  if (int rc = CheckVectors(list, rows_.Size(), stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;

  const size_t n = static_cast<size_t>(num);
  ReserveFor(cols_.obj, n);
  ReserveFor(cols_.lower, n);
  ReserveFor(cols_.upper, n);
  ReserveFor(cols_.type, n);
  if (!cols_.branch.empty()) ReserveFor(cols_.branch, n);
  auto staged = cols_.names.Stage(num, names);
  matrix_.Append(Axis::kCol, list);
  // Nothing below allocates.
  cols_.names.Commit(std::move(staged));
  // Each array is written in one pass over its reserved room.
  const size_t at = cols_.obj.size();
  double* o = cols_.obj.data() + at;
  double* lo = cols_.lower.data() + at;
  double* up = cols_.upper.data() + at;
  char* ty = cols_.type.data() + at;
  for (size_t k = 0; k < n; ++k) o[k] = obj != nullptr ? obj[k] : 0.0;
  for (size_t k = 0; k < n; ++k) lo[k] = lower != nullptr ? ClampInf(lower[k]) : 0.0;
  for (size_t k = 0; k < n; ++k) up[k] = upper != nullptr ? ClampInf(upper[k]) : TARQ_INFINITY;
  for (size_t k = 0; k < n; ++k) ty[k] = types != nullptr ? types[k] : 'C';
  cols_.obj.SetSize(at + n);
  cols_.lower.SetSize(at + n);
  cols_.upper.SetSize(at + n);
  cols_.type.SetSize(at + n);
  if (!cols_.branch.empty()) cols_.branch.resize(cols_.branch.size() + n, 0.0);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::SetColBounds(bool lower, int num, const int* list, const double* values) {
  int rc = lower ? AssignListed(cols_.lower, num, list, values, ValidLower, ClampInf)
                 : AssignListed(cols_.upper, num, list, values, ValidUpper, ClampInf);
  if (rc == TARQ_RETCODE_OK) Modified();
  return rc;
}

int Problem::SetColObj(int num, const int* list, const double* values) {
  int rc = AssignListed(cols_.obj, num, list, values, ValidCoef, Same);
  if (rc == TARQ_RETCODE_OK) Modified();
  return rc;
}

int Problem::ReplaceColObj(int num, const int* list, const double* values) {
  if (int rc = CheckListed(cols_.Size(), num, list, values, ValidCoef); rc != TARQ_RETCODE_OK) return rc;
  std::fill(cols_.obj.begin(), cols_.obj.end(), 0.0);
  return SetColObj(num, list, values);
}

int Problem::SetColTypes(int num, const int* list, const char* types) {
  int rc = AssignListed(cols_.type, num, list, types, ValidType, [](char t) { return t; });
  if (rc == TARQ_RETCODE_OK) Modified();
  return rc;
}

int Problem::GetColTypes(int num, const int* list, char* types) const {
  return ReadListed(cols_.type, num, list, types);
}

int Problem::SetBranchFactors(int num, const int* list, const double* values) {
  if (int rc = CheckListed(cols_.Size(), num, list, values, ValidCoef); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  if (cols_.branch.empty()) cols_.branch.assign(cols_.obj.size(), 0.0);
  for (int k = 0; k < num; ++k) cols_.branch[At(list, k)] = values[k];
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::GetColInfo(const char* name, int num, const int* list, double* values) {
  switch (ParseInfoName(name)) {
    case InfoName::kLB: return ReadListed(cols_.lower, num, list, values);
    case InfoName::kUB: return ReadListed(cols_.upper, num, list, values);
    case InfoName::kObj: return ReadListed(cols_.obj, num, list, values);
    case InfoName::kBranchFactor:
      if (!cols_.branch.empty()) return ReadListed(cols_.branch, num, list, values);
      if (int rc = CheckListed(cols_.Size(), num, list, values, [](double) { return true; }); rc != 0) return rc;
      std::fill(values, values + num, 0.0);
      return TARQ_RETCODE_OK;
    case InfoName::kValue: {
      const Results& r = Result();
      if (!r.HasSolution(cols_.Size(), rows_.Size())) return TARQ_RETCODE_INVALID;
      return ReadListed(r.values, num, list, values);
    }
    case InfoName::kRedCost: {
      const Results& r = Result();
      if (!r.HasDuals(cols_.Size(), rows_.Size())) return TARQ_RETCODE_INVALID;
      return ReadListed(r.redCosts, num, list, values);
    }
    default: return ReadAnalysisInfo(*this, ParseInfoName(name), Axis::kCol, num, list, values);
  }
}

}  // namespace tarq_solver
