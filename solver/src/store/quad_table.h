// The quadratic part of a problem: the quadratic terms of the objective and the quadratic rows.
//
// A quadratic term (i, j, q) stands for q * x_i * x_j; terms are kept as given (order, repeats),
// without exact zeros. Quadratic rows are stored back to back in compressed form: row k owns the
// linear entries [linBegin[k], linBegin[k + 1]) and the terms [quadBegin[k], quadBegin[k + 1]).
// Memory: 16 bytes per quadratic term, 12 per linear entry, about 25 bytes per row plus its name.
// Appending is amortised O(entries) (the row arrays grow in place, see PodVector); deleting rows or columns is O(rows + entries).
#pragma once

#include <cstdint>
#include <vector>

#include "core/pod_vector.h"
#include "store/name_table.h"

namespace tarq_solver {

struct QuadTerms {
  std::vector<int> row;
  std::vector<int> col;
  std::vector<double> val;

  int Size() const { return static_cast<int>(val.size()); }
  bool Empty() const { return val.empty(); }
  void Clear() {
    row.clear();
    col.clear();
    val.clear();
  }
};

struct QuadRowTable {
  PodVector<std::int64_t> linBegin{0};
  PodVector<int> linIdx;
  PodVector<double> linVal;
  PodVector<std::int64_t> quadBegin{0};
  PodVector<int> quadRow;
  PodVector<int> quadCol;
  PodVector<double> quadVal;
  PodVector<char> sense;  // 'L', 'G' or 'E'
  PodVector<double> rhs;
  NameTable names{'Q'};

  int Size() const { return static_cast<int>(sense.size()); }
  std::int64_t LinBegin(int k) const { return linBegin[static_cast<size_t>(k)]; }
  std::int64_t LinEnd(int k) const { return linBegin[static_cast<size_t>(k) + 1]; }
  std::int64_t QuadBegin(int k) const { return quadBegin[static_cast<size_t>(k)]; }
  std::int64_t QuadEnd(int k) const { return quadBegin[static_cast<size_t>(k) + 1]; }
  // Row bounds the sense and right-hand side give (infinite sides as +-1e30).
  double Lower(int k) const;
  double Upper(int k) const;
  // Removes the rows whose drop flag is set; the others keep their order.
  void Erase(const std::vector<char>& drop);
  // Appends one checked row, leaving out terms of coefficient 0; the caller has reserved room
  // for its nonzeros, so nothing allocates. The row's name is the caller's to stage.
  void Append(const int* linIdx, const double* linVal, std::int64_t linN, const int* qRow, const int* qCol,
              const double* qVal, std::int64_t quadN, char rowSense, double rowRhs) noexcept;
};

// Lower triangles (row >= column) of symmetric matrices, one after another: matrix k holds the
// entries [begin[k], begin[k + 1]). The Hessian of terms q * x_i * x_j is the symmetric H with
// H_ij = H_ji = q (i != j) and H_ii = 2q, so that the terms sum to x'Hx / 2; repeated products
// (x*y and y*x among them) meet in one entry, and entries that cancel to exactly 0 are dropped.
struct SymLowerList {
  std::vector<std::int64_t> begin{0};
  std::vector<int> row;
  std::vector<int> col;
  std::vector<double> val;

  int Count() const { return static_cast<int>(begin.size()) - 1; }
  std::int64_t Begin(int k) const { return begin[static_cast<std::size_t>(k)]; }
  std::int64_t End(int k) const { return begin[static_cast<std::size_t>(k) + 1]; }
  // Appends the Hessian of the terms q[p] * x_r[p] * x_c[p], p in [from, to).
  void AppendHessian(const int* r, const int* c, const double* q, std::int64_t from, std::int64_t to);
};

struct QuadStore {
  QuadTerms objective;
  QuadRowTable rows;

  bool Empty() const { return objective.Empty() && rows.Size() == 0; }
  // Drops every term on a column whose drop flag is set and renumbers the other columns; rows
  // stay. O(rows + entries).
  void EraseColumns(const std::vector<char>& drop);
};

}  // namespace tarq_solver
