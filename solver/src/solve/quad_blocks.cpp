#include "solve/quad_blocks.h"

#include <algorithm>

namespace tarq_solver {

namespace {

// x'Hx / 2 for the lower triangle [from, to) of H.
double HalfQuadraticForm(const SymLowerList& h, std::int64_t from, std::int64_t to, const double* x) {
  double sum = 0;
  for (std::int64_t p = from; p < to; ++p) {
    const auto k = static_cast<std::size_t>(p);
    const double v = h.val[k] * x[h.row[k]] * x[h.col[k]];
    sum += h.row[k] == h.col[k] ? 0.5 * v : v;
  }
  return sum;
}

}  // namespace

QuadObjectiveBlock::QuadObjectiveBlock(const QuadTerms& terms) {
  h_.AppendHessian(terms.row.data(), terms.col.data(), terms.val.data(), 0, terms.Size());
}

void QuadObjectiveBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  rows.insert(rows.end(), h_.row.begin(), h_.row.end());
  cols.insert(cols.end(), h_.col.begin(), h_.col.end());
}

bool QuadObjectiveBlock::Objective(const double* x, double* f) const {
  *f += HalfQuadraticForm(h_, 0, h_.End(0), x);
  return true;
}

bool QuadObjectiveBlock::Gradient(const double* x, double* grad) const {
  for (std::size_t k = 0; k < h_.val.size(); ++k) {
    const int i = h_.row[k], j = h_.col[k];
    grad[i] += h_.val[k] * x[j];
    if (i != j) grad[j] += h_.val[k] * x[i];
  }
  return true;
}

bool QuadObjectiveBlock::Hessian(const double*, double objFactor, const double*, double* values) const {
  for (std::size_t k = 0; k < h_.val.size(); ++k) values[k] = objFactor * h_.val[k];
  return true;
}

QuadRowsBlock::QuadRowsBlock(const QuadRowTable& rows) : rows_(rows) {
  const int m = rows.Size();
  std::vector<int> cols;
  for (int k = 0; k < m; ++k) {
    h_.AppendHessian(rows.quadRow.data(), rows.quadCol.data(), rows.quadVal.data(), rows.QuadBegin(k), rows.QuadEnd(k));
    // The row's Jacobian columns: its linear columns and every column of its Hessian.
    cols.clear();
    for (std::int64_t p = rows.LinBegin(k); p < rows.LinEnd(k); ++p) cols.push_back(rows.linIdx[static_cast<std::size_t>(p)]);
    for (std::int64_t p = h_.Begin(k); p < h_.End(k); ++p) {
      cols.push_back(h_.row[static_cast<std::size_t>(p)]);
      cols.push_back(h_.col[static_cast<std::size_t>(p)]);
    }
    std::sort(cols.begin(), cols.end());
    cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
    const std::int64_t base = jacBegin_.back();
    jacCol_.insert(jacCol_.end(), cols.begin(), cols.end());
    jacBegin_.push_back(base + static_cast<std::int64_t>(cols.size()));
    const auto at = [&](int j) {
      return base + static_cast<std::int64_t>(std::lower_bound(cols.begin(), cols.end(), j) - cols.begin());
    };
    for (std::int64_t p = rows.LinBegin(k); p < rows.LinEnd(k); ++p) linPos_.push_back(at(rows.linIdx[static_cast<std::size_t>(p)]));
    for (std::int64_t p = h_.Begin(k); p < h_.End(k); ++p) {
      rowPos_.push_back(at(h_.row[static_cast<std::size_t>(p)]));
      colPos_.push_back(at(h_.col[static_cast<std::size_t>(p)]));
    }
  }
}

void QuadRowsBlock::RowBounds(double* lower, double* upper) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    lower[k] = rows_.Lower(k);
    upper[k] = rows_.Upper(k);
  }
}

void QuadRowsBlock::JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    for (std::int64_t p = jacBegin_[static_cast<std::size_t>(k)]; p < jacBegin_[static_cast<std::size_t>(k) + 1]; ++p) {
      rows.push_back(k);
      cols.push_back(jacCol_[static_cast<std::size_t>(p)]);
    }
  }
}

void QuadRowsBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  rows.insert(rows.end(), h_.row.begin(), h_.row.end());
  cols.insert(cols.end(), h_.col.begin(), h_.col.end());
}

bool QuadRowsBlock::Values(const double* x, double* g) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    double sum = HalfQuadraticForm(h_, h_.Begin(k), h_.End(k), x);
    for (std::int64_t p = rows_.LinBegin(k); p < rows_.LinEnd(k); ++p) {
      const auto q = static_cast<std::size_t>(p);
      sum += rows_.linVal[q] * x[rows_.linIdx[q]];
    }
    g[k] = sum;
  }
  return true;
}

bool QuadRowsBlock::Jacobian(const double* x, double* values) const {
  std::fill(values, values + jacCol_.size(), 0.0);
  for (std::size_t p = 0; p < linPos_.size(); ++p) values[linPos_[p]] += rows_.linVal[p];
  for (std::size_t p = 0; p < h_.val.size(); ++p) {
    const int i = h_.row[p], j = h_.col[p];
    values[rowPos_[p]] += h_.val[p] * x[j];
    if (i != j) values[colPos_[p]] += h_.val[p] * x[i];
  }
  return true;
}

bool QuadRowsBlock::Hessian(const double*, double, const double* lambda, double* values) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    for (std::int64_t p = h_.Begin(k); p < h_.End(k); ++p) {
      values[static_cast<std::size_t>(p)] = lambda[k] * h_.val[static_cast<std::size_t>(p)];
    }
  }
  return true;
}

}  // namespace tarq_solver
