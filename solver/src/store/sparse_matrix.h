// The constraint matrix, kept sparse in one orientation at a time.
//
// Storage: compressed vectors along the major axis (rows or columns) - 4 bytes of index and 8
// of value per nonzero, plus 8 bytes per major vector - and a list of pending (row, col, value)
// entries that arrived along the other axis or changed the pattern since the last
// consolidation. Appending along the major axis costs O(entries); appending along the other
// axis is buffered and merged in O(nonzeros) once the buffer exceeds a fraction of the matrix,
// so any sequence of adds costs amortised time linear in its entries. Reading vectors along an
// axis consolidates the matrix into that axis first (O(nonzeros) when it must convert).
// Exact zeros are never stored: setting an entry to 0 removes it.
#pragma once

#include "core/pod_vector.h"
#include <cstdint>
#include <vector>

namespace tarq_solver {

enum class Axis : std::uint8_t { kRow = 0, kCol = 1 };

inline Axis Other(Axis a) { return a == Axis::kRow ? Axis::kCol : Axis::kRow; }

// A caller's list of sparse vectors: vector k has entries [Begin(k), End(k)) of idx/val. With
// cnt null, beg holds num + 1 offsets; with beg null there are no entries at all.
struct VectorList {
  int num = 0;
  const int* beg = nullptr;
  const int* cnt = nullptr;
  const int* idx = nullptr;
  const double* val = nullptr;

  bool HasEntries() const { return beg != nullptr; }
  std::int64_t Begin(int k) const { return beg[k]; }
  std::int64_t End(int k) const { return cnt != nullptr ? std::int64_t{beg[k]} + cnt[k] : std::int64_t{beg[k + 1]}; }
};

// Read-only view of one stored vector.
struct VectorView {
  const int* idx;
  const double* val;
  std::int64_t len;
};

class SparseMatrix {
 public:
  int Rows() const { return Count(Axis::kRow); }
  int Cols() const { return Count(Axis::kCol); }
  int Count(Axis axis) const { return axis == major_ ? nMajor_ : nMinor_; }
  Axis Major() const { return major_; }

  // Number of stored nonzeros; consolidates pending changes.
  std::int64_t Nonzeros();

  // Adds num empty vectors along axis.
  void AddEmpty(Axis axis, int num);
  // Adds list.num vectors along axis with the given (validated) entries; zeros are skipped.
  // Either adds everything or, when an allocation fails, throws and changes nothing.
  void Append(Axis axis, const VectorList& list);
  // The same for one vector of n validated entries: along the major axis the entries are copied
  // straight in, without the list machinery.
  void AppendOne(Axis axis, const int* idx, const double* val, int n);

  double Get(int row, int col) const;
  void Set(int row, int col, double value);

  // Deletes the vectors along axis whose flag in drop (one per vector) is non-zero, renumbering
  // the rest in order.
  void Erase(Axis axis, const std::vector<char>& drop);

  // Brings the matrix into compressed form along axis, with no pending entries and no zeros.
  void Consolidate(Axis axis);
  // Vector k along the major axis; valid after Consolidate until the next change.
  VectorView Vector(int k) const {
    return {index_.data() + start_[k], value_.data() + start_[k], start_[k + 1] - start_[k]};
  }

  void Clear();
  // Releases unused capacity.
  void Shrink();

 private:
  struct Entry {
    int row;
    int col;
    double value;
  };

  void Transpose();
  void MergePending();
  void DropZeros();
  void MaybeConsolidate(Axis preferred) noexcept;

  Axis major_ = Axis::kRow;
  int nMajor_ = 0;
  int nMinor_ = 0;
  PodVector<std::int64_t> start_{0};
  PodVector<int> index_;
  PodVector<double> value_;
  std::vector<Entry> pending_;  // applied in order over the compressed vectors; last wins
  std::int64_t zeros_ = 0;      // entries of the compressed vectors set to 0 in place
};

}  // namespace tarq_solver
