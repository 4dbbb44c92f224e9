#include "store/sparse_matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using tarq_solver::Axis;
using tarq_solver::SparseMatrix;
using tarq_solver::VectorList;

// Dense reference of the matrix under test.
struct Dense {
  int rows = 0;
  int cols = 0;
  std::vector<std::vector<double>> v;  // v[row][col]

  void AddRows(int n) {
    rows += n;
    v.resize(static_cast<size_t>(rows), std::vector<double>(static_cast<size_t>(cols), 0.0));
  }
  void AddCols(int n) {
    cols += n;
    for (auto& row : v) row.resize(static_cast<size_t>(cols), 0.0);
  }
  void Erase(Axis axis, const std::vector<char>& drop) {
    std::vector<std::vector<double>> kept;
    for (int i = 0; i < rows; ++i) {
      if (axis == Axis::kRow && drop[i]) continue;
      std::vector<double> row;
      for (int j = 0; j < cols; ++j) {
        if (axis == Axis::kCol && drop[j]) continue;
        row.push_back(v[i][j]);
      }
      kept.push_back(row);
    }
    v = kept;
    rows = static_cast<int>(v.size());
    if (axis == Axis::kCol) cols -= static_cast<int>(std::count(drop.begin(), drop.end(), 1));
  }
};

// Appends vectors along axis to both the matrix and the reference.
void AppendRandom(SparseMatrix& m, Dense& ref, Axis axis, int num, std::mt19937& rng, double density) {
  const int minor = axis == Axis::kRow ? ref.cols : ref.rows;
  std::vector<int> beg{0}, idx;
  std::vector<double> val;
  std::bernoulli_distribution take(density);
  std::uniform_int_distribution<int> coef(-3, 3);  // includes zeros, which are not stored
  for (int k = 0; k < num; ++k) {
    for (int j = 0; j < minor; ++j) {
      if (!take(rng)) continue;
      idx.push_back(j);
      val.push_back(coef(rng));
    }
    beg.push_back(static_cast<int>(idx.size()));
  }
  const int first = axis == Axis::kRow ? ref.rows : ref.cols;
  // One vector goes in through either entry, at random: both must give the same matrix.
  if (num == 1 && rng() % 2 == 0) {
    m.AppendOne(axis, idx.data(), val.data(), beg[1]);
  } else {
    m.Append(axis, VectorList{num, beg.data(), nullptr, idx.data(), val.data()});
  }
  if (axis == Axis::kRow) ref.AddRows(num);
  else ref.AddCols(num);
  for (int k = 0; k < num; ++k) {
    for (int p = beg[k]; p < beg[k + 1]; ++p) {
      if (axis == Axis::kRow) ref.v[first + k][idx[p]] = val[p];
      else ref.v[idx[p]][first + k] = val[p];
    }
  }
}

void ExpectSame(SparseMatrix& m, const Dense& ref, Axis axis) {
  ASSERT_EQ(m.Rows(), ref.rows);
  ASSERT_EQ(m.Cols(), ref.cols);
  long long nnz = 0;
  for (const auto& row : ref.v) nnz += std::count_if(row.begin(), row.end(), [](double x) { return x != 0; });
  EXPECT_EQ(m.Nonzeros(), nnz);
  m.Consolidate(axis);
  const int nMajor = axis == Axis::kRow ? ref.rows : ref.cols;
  const int nMinor = axis == Axis::kRow ? ref.cols : ref.rows;
  for (int i = 0; i < nMajor; ++i) {
    std::vector<double> dense(static_cast<size_t>(nMinor), 0.0);
    auto vec = m.Vector(i);
    for (long long p = 0; p < vec.len; ++p) {
      ASSERT_NE(vec.val[p], 0.0) << "zeros are never stored";
      ASSERT_EQ(dense[vec.idx[p]], 0.0) << "an index appears twice";
      dense[vec.idx[p]] = vec.val[p];
    }
    for (int j = 0; j < nMinor; ++j) {
      const double expected = axis == Axis::kRow ? ref.v[i][j] : ref.v[j][i];
      ASSERT_EQ(dense[j], expected) << i << "," << j;
      ASSERT_EQ(axis == Axis::kRow ? m.Get(i, j) : m.Get(j, i), expected);
    }
  }
}

TEST(SparseMatrix, MixedOperationsMatchADenseReference) {
  std::mt19937 rng(12345);
  SparseMatrix m;
  Dense ref;
  m.AddEmpty(Axis::kCol, 5);
  ref.AddCols(5);
  for (int round = 0; round < 120; ++round) {
    const Axis axis = rng() % 2 ? Axis::kRow : Axis::kCol;
    AppendRandom(m, ref, axis, 1 + static_cast<int>(rng() % 3), rng, 0.4);
    if (round % 3 == 0 && ref.rows > 0 && ref.cols > 0) {
      int r = static_cast<int>(rng() % ref.rows), c = static_cast<int>(rng() % ref.cols);
      double x = static_cast<double>(static_cast<int>(rng() % 5)) - 2;
      m.Set(r, c, x);
      ref.v[r][c] = x;
    }
    if (round % 7 == 6) {
      const Axis erase = rng() % 2 ? Axis::kRow : Axis::kCol;
      std::vector<char> drop(static_cast<size_t>(erase == Axis::kRow ? ref.rows : ref.cols), 0);
      for (auto& d : drop) d = rng() % 4 == 0;
      m.Erase(erase, drop);
      ref.Erase(erase, drop);
    }
    ExpectSame(m, ref, round % 2 ? Axis::kRow : Axis::kCol);
  }
}

TEST(SparseMatrix, BuffersEntriesAlongTheOtherAxisAndMergesThemInBulk) {
  std::mt19937 rng(7);
  SparseMatrix m;
  Dense ref;
  AppendRandom(m, ref, Axis::kRow, 300, rng, 0.0);  // 300 empty rows, no columns yet
  ASSERT_EQ(m.Major(), Axis::kRow);
  AppendRandom(m, ref, Axis::kCol, 1, rng, 0.5);  // nothing stored yet: turns around for free
  EXPECT_EQ(m.Major(), Axis::kCol);
  AppendRandom(m, ref, Axis::kRow, 2, rng, 1.0);  // buffered
  AppendRandom(m, ref, Axis::kCol, 600, rng, 0.5);
  AppendRandom(m, ref, Axis::kRow, 300, rng, 0.5);  // about 90000 buffered entries: merged on the way
  EXPECT_EQ(m.Major(), Axis::kRow) << "the buffer overflowed and the matrix followed the row additions";
  ExpectSame(m, ref, Axis::kCol);
  ExpectSame(m, ref, Axis::kRow);
}

TEST(SparseMatrix, SetToZeroRemovesAndGetSeesPendingValues) {
  SparseMatrix m;
  m.AddEmpty(Axis::kCol, 3);
  const int beg[] = {0, 2};
  const int idx[] = {0, 2};
  const double val[] = {1, 2};
  m.Append(Axis::kRow, VectorList{1, beg, nullptr, idx, val});
  m.Set(0, 0, 0.0);  // in place
  EXPECT_EQ(m.Nonzeros(), 1);
  m.Set(0, 1, 5.0);  // pending
  m.Set(0, 1, 6.0);
  EXPECT_EQ(m.Get(0, 1), 6.0);
  m.Set(0, 2, 0.0);
  EXPECT_EQ(m.Nonzeros(), 1);
  m.Consolidate(Axis::kRow);
  auto v = m.Vector(0);
  ASSERT_EQ(v.len, 1);
  EXPECT_EQ(v.idx[0], 1);
  EXPECT_EQ(v.val[0], 6.0);
}

}  // namespace
