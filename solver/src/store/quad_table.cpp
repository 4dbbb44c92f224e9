#include "store/quad_table.h"

#include <algorithm>

#include "store/tables.h"
#include "tarq.h"

namespace tarq_solver {

namespace {

// Compacts the vectors that begin describes: vector k stays when keepVector(k), and within it
// entry p stays when keepEntry(p), moved by move(p, q) to its new position q. Rewrites begin
// for the vectors that stay; returns the number of entries left. O(vectors + entries).
template <class Begin, class KeepVector, class KeepEntry, class Move>
size_t Compact(Begin& begin, KeepVector keepVector, KeepEntry keepEntry, Move move) {
  size_t out = 0, kept = 0;
  std::int64_t from = begin[0];
  for (size_t k = 0; k + 1 < begin.size(); ++k) {
    const std::int64_t to = begin[k + 1];  // read before begin[kept <= k] is overwritten
    if (keepVector(k)) {
      begin[kept++] = static_cast<std::int64_t>(out);
      for (std::int64_t p = from; p < to; ++p) {
        if (keepEntry(static_cast<size_t>(p))) move(static_cast<size_t>(p), out++);
      }
    }
    from = to;
  }
  begin[kept] = static_cast<std::int64_t>(out);
  begin.resize(kept + 1);
  return out;
}

// The three parallel arrays of a list of quadratic terms.
template <class IntVec, class DblVec>
struct QuadTermsView {
  IntVec* row;
  IntVec* col;
  DblVec* val;
};

template <class... Arrays>
void ResizeAll(size_t n, Arrays&... arrays) {
  (arrays.resize(n), ...);
}

}  // namespace

namespace {

struct Entry {
  int row, col;
  double val;
};

}  // namespace

void SymLowerList::AppendHessian(const int* r, const int* c, const double* q, std::int64_t from, std::int64_t to) {
  std::vector<Entry> e;
  e.reserve(static_cast<std::size_t>(to - from));
  for (std::int64_t p = from; p < to; ++p) {
    const int i = std::max(r[p], c[p]), j = std::min(r[p], c[p]);
    e.push_back({i, j, i == j ? 2 * q[p] : q[p]});
  }
  std::sort(e.begin(), e.end(), [](const Entry& a, const Entry& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
  for (std::size_t k = 0; k < e.size();) {
    double sum = 0;
    std::size_t m = k;
    for (; m < e.size() && e[m].row == e[k].row && e[m].col == e[k].col; ++m) sum += e[m].val;
    if (sum != 0.0) {
      row.push_back(e[k].row);
      col.push_back(e[k].col);
      val.push_back(sum);
    }
    k = m;
  }
  begin.push_back(static_cast<std::int64_t>(val.size()));
}

double QuadRowTable::Lower(int k) const {
  return sense[static_cast<size_t>(k)] == 'L' ? -TARQ_INFINITY : rhs[static_cast<size_t>(k)];
}

double QuadRowTable::Upper(int k) const {
  return sense[static_cast<size_t>(k)] == 'G' ? TARQ_INFINITY : rhs[static_cast<size_t>(k)];
}

void QuadRowTable::Erase(const std::vector<char>& drop) {
  auto keepRow = [&](size_t k) { return !drop[k]; };
  auto all = [](size_t) { return true; };
  const size_t lin = Compact(linBegin, keepRow, all, [&](size_t p, size_t q) {
    linIdx[q] = linIdx[p];
    linVal[q] = linVal[p];
  });
  ResizeAll(lin, linIdx, linVal);
  const size_t quad = Compact(quadBegin, keepRow, all, [&](size_t p, size_t q) {
    quadRow[q] = quadRow[p];
    quadCol[q] = quadCol[p];
    quadVal[q] = quadVal[p];
  });
  ResizeAll(quad, quadRow, quadCol, quadVal);
  EraseFlagged(sense, drop);
  EraseFlagged(rhs, drop);
  names.Erase(drop);
}

void QuadStore::EraseColumns(const std::vector<char>& drop) {
  std::vector<int> pos(drop.size(), -1);  // new position of every column, -1 when dropped
  int next = 0;
  for (size_t j = 0; j < drop.size(); ++j) {
    if (!drop[j]) pos[j] = next++;
  }
  auto all = [](size_t) { return true; };
  auto moveTerm = [&pos](auto t) {
    return [&pos, t](size_t p, size_t q) {
      (*t.row)[q] = pos[static_cast<size_t>((*t.row)[p])];
      (*t.col)[q] = pos[static_cast<size_t>((*t.col)[p])];
      (*t.val)[q] = (*t.val)[p];
    };
  };
  auto termStays = [&pos](auto t) {
    return [&pos, t](size_t p) {
      return pos[static_cast<size_t>((*t.row)[p])] >= 0 && pos[static_cast<size_t>((*t.col)[p])] >= 0;
    };
  };
  const QuadTermsView<std::vector<int>, std::vector<double>> obj{&objective.row, &objective.col, &objective.val};
  std::vector<std::int64_t> whole{0, static_cast<std::int64_t>(objective.val.size())};
  ResizeAll(Compact(whole, all, termStays(obj), moveTerm(obj)), objective.row, objective.col, objective.val);

  QuadRowTable& r = rows;
  const size_t lin = Compact(
      r.linBegin, all, [&](size_t p) { return pos[static_cast<size_t>(r.linIdx[p])] >= 0; },
      [&](size_t p, size_t q) {
        r.linIdx[q] = pos[static_cast<size_t>(r.linIdx[p])];
        r.linVal[q] = r.linVal[p];
      });
  ResizeAll(lin, r.linIdx, r.linVal);
  const QuadTermsView<PodVector<int>, PodVector<double>> rowTerms{&r.quadRow, &r.quadCol, &r.quadVal};
  ResizeAll(Compact(r.quadBegin, all, termStays(rowTerms), moveTerm(rowTerms)), r.quadRow, r.quadCol, r.quadVal);
}

void QuadRowTable::Append(const int* lIdx, const double* lVal, std::int64_t linN, const int* qRow, const int* qCol,
                          const double* qVal, std::int64_t quadN, char rowSense, double rowRhs) noexcept {
  for (std::int64_t p = 0; p < linN; ++p) {
    if (lVal[p] == 0.0) continue;
    linIdx.push_back(lIdx[p]);
    linVal.push_back(lVal[p]);
  }
  for (std::int64_t p = 0; p < quadN; ++p) {
    if (qVal[p] == 0.0) continue;
    quadRow.push_back(qRow[p]);
    quadCol.push_back(qCol[p]);
    quadVal.push_back(qVal[p]);
  }
  linBegin.push_back(static_cast<std::int64_t>(linIdx.size()));
  quadBegin.push_back(static_cast<std::int64_t>(quadVal.size()));
  sense.push_back(rowSense);
  rhs.push_back(rowRhs);
}

}  // namespace tarq_solver
