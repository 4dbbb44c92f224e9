// MIP starts of the problem.
#include "store/checks.h"
#include "store/grow.h"
#include "store/problem.h"

namespace tarq_solver {

void MipStartTable::EraseColumns(const std::vector<char>& drop) {
  if (col.empty()) return;
  std::vector<int> newIndex(drop.size(), -1);
  int kept = 0;
  for (size_t j = 0; j < drop.size(); ++j) {
    if (!drop[j]) newIndex[j] = kept++;
  }
  std::int64_t out = 0;
  for (int s = 0; s < Size(); ++s) {
    const std::int64_t from = begin[s], to = begin[s + 1];
    begin[s] = out;
    for (std::int64_t p = from; p < to; ++p) {
      const int j = newIndex[col[p]];
      if (j < 0) continue;
      col[out] = j;
      value[out] = value[p];
      ++out;
    }
  }
  begin.back() = out;
  col.resize(static_cast<size_t>(out));
  value.resize(static_cast<size_t>(out));
}

int Problem::AddMipStart(int num, const int* list, const double* values) {
  if (int rc = CheckListed(cols_.Size(), num, list, values, ValidCoef); rc != TARQ_RETCODE_OK) return rc;
  if (list != nullptr) {
    if (stamp_.size() < static_cast<size_t>(cols_.Size())) stamp_.resize(static_cast<size_t>(cols_.Size()), -1);
    int rc = TARQ_RETCODE_OK;
    int k = 0;
    for (; k < num; ++k) {
      if (stamp_[list[k]] == 0) {
        rc = TARQ_RETCODE_INVALID;
        break;
      }
      stamp_[list[k]] = 0;
    }
    for (int r = 0; r < k; ++r) stamp_[list[r]] = -1;
    if (rc != TARQ_RETCODE_OK) return rc;
  }
  const size_t n = static_cast<size_t>(num);
  ReserveFor(mipStarts_.col, n);
  ReserveFor(mipStarts_.value, n);
  ReserveFor(mipStarts_.begin, 1);
  // Nothing below allocates.
  for (int k = 0; k < num; ++k) {
    mipStarts_.col.push_back(At(list, k));
    mipStarts_.value.push_back(values[k]);
  }
  mipStarts_.begin.push_back(static_cast<std::int64_t>(mipStarts_.col.size()));
  Modified();
  return TARQ_RETCODE_OK;
}

void Problem::ReplaceMipStarts(MipStartTable&& table) noexcept {
  std::swap(mipStarts_, table);
  Modified();
}

}  // namespace tarq_solver
