#include "store/sparse_matrix.h"

#include "store/grow.h"

#include <algorithm>
#include <utility>

namespace tarq_solver {

std::int64_t SparseMatrix::Nonzeros() {
  if (!pending_.empty()) Consolidate(major_);
  return static_cast<std::int64_t>(index_.size()) - zeros_;
}

void SparseMatrix::AddEmpty(Axis axis, int num) {
  if (num <= 0) return;
  if (axis == major_) {
    start_.insert(start_.end(), static_cast<size_t>(num), start_.back());
    nMajor_ += num;
  } else {
    nMinor_ += num;
  }
}

void SparseMatrix::Append(Axis axis, const VectorList& list) {
  if (!list.HasEntries()) {
    AddEmpty(axis, list.num);
    return;
  }
  std::int64_t total = 0;
  for (int k = 0; k < list.num; ++k) total += list.End(k) - list.Begin(k);
  if (axis != major_ && index_.empty() && pending_.empty()) {
    // Nothing stored yet: turn the matrix around for free.
    PodVector<std::int64_t> start(static_cast<size_t>(nMinor_) + 1, 0);
    start_.swap(start);
    std::swap(nMajor_, nMinor_);
    major_ = axis;
    zeros_ = 0;
  }
  // Reserve first, so that nothing below allocates and a failure changes nothing.
  if (axis == major_) {
    ReserveFor(index_, static_cast<size_t>(total));
    ReserveFor(value_, static_cast<size_t>(total));
    ReserveFor(start_, static_cast<size_t>(list.num));
    for (int k = 0; k < list.num; ++k) {
      for (std::int64_t p = list.Begin(k), e = list.End(k); p < e; ++p) {
        if (list.val[p] == 0.0) continue;
        index_.push_back(list.idx[p]);
        value_.push_back(list.val[p]);
      }
      start_.push_back(static_cast<std::int64_t>(index_.size()));
    }
    nMajor_ += list.num;
    return;
  }
  // Along the minor axis: buffer the entries as (row, col) pairs of the new vectors.
  ReserveFor(pending_, static_cast<size_t>(total));
  const int first = nMinor_;
  nMinor_ += list.num;
  for (int k = 0; k < list.num; ++k) {
    for (std::int64_t p = list.Begin(k), e = list.End(k); p < e; ++p) {
      if (list.val[p] == 0.0) continue;
      if (axis == Axis::kCol) {
        pending_.push_back({list.idx[p], first + k, list.val[p]});
      } else {
        pending_.push_back({first + k, list.idx[p], list.val[p]});
      }
    }
  }
  MaybeConsolidate(axis);
}

void SparseMatrix::AppendOne(Axis axis, const int* idx, const double* val, int n) {
  if (axis != major_ || n <= 0) {
    const int beg[2] = {0, n > 0 ? n : 0};
    Append(axis, VectorList{1, beg, nullptr, idx, val});
    return;
  }
  ReserveFor(index_, static_cast<size_t>(n));
  ReserveFor(value_, static_cast<size_t>(n));
  ReserveFor(start_, 1);
  // Nothing below allocates. Every entry is written; a zero is overwritten by the next one.
  std::size_t at = index_.size();
  int* index = index_.data();
  double* value = value_.data();
  for (int p = 0; p < n; ++p) {
    index[at] = idx[p];
    value[at] = val[p];
    at += val[p] != 0.0 ? 1 : 0;
  }
  index_.SetSize(at);
  value_.SetSize(at);
  start_.push_back(static_cast<std::int64_t>(at));
  ++nMajor_;
}

double SparseMatrix::Get(int row, int col) const {
  for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
    if (it->row == row && it->col == col) return it->value;
  }
  int major = major_ == Axis::kRow ? row : col;
  int minor = major_ == Axis::kRow ? col : row;
  for (std::int64_t p = start_[major], e = start_[major + 1]; p < e; ++p) {
    if (index_[p] == minor) return value_[p];
  }
  return 0.0;
}

void SparseMatrix::Set(int row, int col, double value) {
  if (pending_.empty()) {
    int major = major_ == Axis::kRow ? row : col;
    int minor = major_ == Axis::kRow ? col : row;
    for (std::int64_t p = start_[major], e = start_[major + 1]; p < e; ++p) {
      if (index_[p] != minor) continue;
      zeros_ += (value == 0.0) - (value_[p] == 0.0);
      value_[p] = value;
      return;
    }
    if (value == 0.0) return;
  }
  pending_.push_back({row, col, value});
  MaybeConsolidate(major_);
}

void SparseMatrix::MaybeConsolidate(Axis preferred) noexcept {
  const size_t limit = std::max<size_t>(size_t{1} << 16, index_.size() / 2);
  if (pending_.size() <= limit) return;
  try {
    Consolidate(preferred);
  } catch (...) {
    // Consolidation builds new arrays before it replaces the old ones, so a failure leaves the
    // matrix as it was; the pending entries stay buffered.
  }
}

void SparseMatrix::Consolidate(Axis axis) {
  if (axis != major_) Transpose();
  if (!pending_.empty()) {
    MergePending();
  } else if (zeros_ > 0) {
    DropZeros();
  }
}

void SparseMatrix::Transpose() {
  // Counting sort of the entries by their minor index; zeros are dropped on the way.
  PodVector<std::int64_t> start(static_cast<size_t>(nMinor_) + 1, 0);
  for (size_t p = 0; p < index_.size(); ++p) {
    if (value_[p] != 0.0) ++start[static_cast<size_t>(index_[p]) + 1];
  }
  for (int j = 0; j < nMinor_; ++j) start[j + 1] += start[j];
  PodVector<int> index(static_cast<size_t>(start[nMinor_]));
  PodVector<double> value(index.size());
  std::vector<std::int64_t> next(start.begin(), start.end() - 1);
  for (int i = 0; i < nMajor_; ++i) {
    for (std::int64_t p = start_[i]; p < start_[i + 1]; ++p) {
      if (value_[p] == 0.0) continue;
      std::int64_t q = next[index_[p]]++;
      index[q] = i;
      value[q] = value_[p];
    }
  }
  start_ = std::move(start);
  index_ = std::move(index);
  value_ = std::move(value);
  std::swap(nMajor_, nMinor_);
  major_ = Other(major_);
  zeros_ = 0;
}

void SparseMatrix::MergePending() {
  const bool rowMajor = major_ == Axis::kRow;
  // Sort the pending entries stably by major index (counting sort), keeping their order.
  std::vector<std::int64_t> pstart(static_cast<size_t>(nMajor_) + 1, 0);
  for (const Entry& e : pending_) ++pstart[static_cast<size_t>(rowMajor ? e.row : e.col) + 1];
  for (int i = 0; i < nMajor_; ++i) pstart[i + 1] += pstart[i];
  std::vector<int> pminor(pending_.size());
  std::vector<double> pvalue(pending_.size());
  {
    std::vector<std::int64_t> next(pstart.begin(), pstart.end() - 1);
    for (const Entry& e : pending_) {
      std::int64_t q = next[rowMajor ? e.row : e.col]++;
      pminor[q] = rowMajor ? e.col : e.row;
      pvalue[q] = e.value;
    }
  }
  // Merge vector by vector: stored entries first, then pending ones overriding or extending.
  std::vector<std::int64_t> where(static_cast<size_t>(nMinor_), -1);
  PodVector<std::int64_t> start(static_cast<size_t>(nMajor_) + 1, 0);
  PodVector<int> index;
  PodVector<double> value;
  index.reserve(index_.size() + pminor.size());
  value.reserve(index_.size() + pminor.size());
  for (int i = 0; i < nMajor_; ++i) {
    const std::int64_t first = static_cast<std::int64_t>(index.size());
    for (std::int64_t p = start_[i]; p < start_[i + 1]; ++p) {
      where[index_[p]] = static_cast<std::int64_t>(index.size());
      index.push_back(index_[p]);
      value.push_back(value_[p]);
    }
    for (std::int64_t p = pstart[i]; p < pstart[i + 1]; ++p) {
      std::int64_t& at = where[pminor[p]];
      if (at >= 0) {
        value[at] = pvalue[p];
      } else {
        at = static_cast<std::int64_t>(index.size());
        index.push_back(pminor[p]);
        value.push_back(pvalue[p]);
      }
    }
    // Reset the markers and squeeze out zeros.
    std::int64_t out = first;
    for (std::int64_t p = first; p < static_cast<std::int64_t>(index.size()); ++p) {
      where[index[p]] = -1;
      if (value[p] == 0.0) continue;
      index[out] = index[p];
      value[out] = value[p];
      ++out;
    }
    index.resize(static_cast<size_t>(out));
    value.resize(static_cast<size_t>(out));
    start[i + 1] = out;
  }
  start_ = std::move(start);
  index_ = std::move(index);
  value_ = std::move(value);
  zeros_ = 0;
  std::vector<Entry>().swap(pending_);
}

void SparseMatrix::DropZeros() {
  std::int64_t out = 0;
  for (int i = 0; i < nMajor_; ++i) {
    std::int64_t b = start_[i], e = start_[i + 1];
    start_[i] = out;
    for (std::int64_t p = b; p < e; ++p) {
      if (value_[p] == 0.0) continue;
      index_[out] = index_[p];
      value_[out] = value_[p];
      ++out;
    }
  }
  start_[nMajor_] = out;
  index_.resize(static_cast<size_t>(out));
  value_.resize(static_cast<size_t>(out));
  zeros_ = 0;
}

void SparseMatrix::Erase(Axis axis, const std::vector<char>& drop) {
  Consolidate(major_);
  if (axis == major_) {
    std::int64_t out = 0;
    int kept = 0;
    for (int i = 0; i < nMajor_; ++i) {
      std::int64_t b = start_[i], e = start_[i + 1];
      if (drop[i]) continue;
      start_[kept] = out;
      for (std::int64_t p = b; p < e; ++p) {
        index_[out] = index_[p];
        value_[out] = value_[p];
        ++out;
      }
      ++kept;
    }
    start_[kept] = out;
    start_.resize(static_cast<size_t>(kept) + 1);
    index_.resize(static_cast<size_t>(out));
    value_.resize(static_cast<size_t>(out));
    nMajor_ = kept;
    return;
  }
  std::vector<int> renumber(static_cast<size_t>(nMinor_));
  int kept = 0;
  for (int j = 0; j < nMinor_; ++j) renumber[j] = drop[j] ? -1 : kept++;
  std::int64_t out = 0;
  for (int i = 0; i < nMajor_; ++i) {
    std::int64_t b = start_[i], e = start_[i + 1];
    start_[i] = out;
    for (std::int64_t p = b; p < e; ++p) {
      int j = renumber[index_[p]];
      if (j < 0) continue;
      index_[out] = j;
      value_[out] = value_[p];
      ++out;
    }
  }
  start_[nMajor_] = out;
  index_.resize(static_cast<size_t>(out));
  value_.resize(static_cast<size_t>(out));
  nMinor_ = kept;
}

void SparseMatrix::Clear() { *this = SparseMatrix(); }

void SparseMatrix::Shrink() {
  start_.shrink_to_fit();
  index_.shrink_to_fit();
  value_.shrink_to_fit();
  pending_.shrink_to_fit();
}

}  // namespace tarq_solver
