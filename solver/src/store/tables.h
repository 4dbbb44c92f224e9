// Per-object data of columns and rows, one vector per field.
#pragma once

#include <cstdint>
#include <vector>

#include "core/pod_vector.h"
#include "store/name_table.h"

namespace tarq_solver {

// Removes the elements whose drop flag is set, keeping order; O(size).
template <class Vec>
void EraseFlagged(Vec& v, const std::vector<char>& drop) {
  if (v.empty()) return;
  size_t out = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    if (drop[i]) continue;
    if (out != i) v[out] = std::move(v[i]);
    ++out;
  }
  v.resize(out);
}

struct ColumnTable {
  PodVector<double> obj;
  PodVector<double> lower;
  PodVector<double> upper;
  PodVector<char> type;
  PodVector<double> branch;  // empty until a branch factor is set; then one per column
  NameTable names{'C'};

  int Size() const { return static_cast<int>(obj.size()); }
  void Erase(const std::vector<char>& drop) {
    EraseFlagged(obj, drop);
    EraseFlagged(lower, drop);
    EraseFlagged(upper, drop);
    EraseFlagged(type, drop);
    EraseFlagged(branch, drop);
    names.Erase(drop);
  }
};

struct RowTable {
  PodVector<double> lower;
  PodVector<double> upper;
  NameTable names{'R'};

  int Size() const { return static_cast<int>(lower.size()); }
  void Erase(const std::vector<char>& drop) {
    EraseFlagged(lower, drop);
    EraseFlagged(upper, drop);
    names.Erase(drop);
  }
};

// MIP starts: each start gives values for some of the columns, kept as one sparse vector per
// start (start k holds entries [begin[k], begin[k + 1]) of col/value).
struct MipStartTable {
  std::vector<std::int64_t> begin{0};
  std::vector<int> col;
  std::vector<double> value;

  int Size() const { return static_cast<int>(begin.size()) - 1; }
  // Drops the entries of deleted columns and renumbers the others; O(columns + entries).
  void EraseColumns(const std::vector<char>& drop);
};

}  // namespace tarq_solver
