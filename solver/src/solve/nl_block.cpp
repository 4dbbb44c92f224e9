#include "solve/nl_block.h"

#include <algorithm>

namespace tarq_solver {

NlBlock::NlBlock(const NlStore& nl) : rows_(nl.rows) {
  const NlPrograms& p = rows_.programs;
  for (int k = 0; k < rows_.Size(); ++k) tape_.Add(p.Tokens(k), p.TokEnd(k) - p.TokBegin(k), p.Consts(k));
  if (nl.HasObjective()) {
    const NlPrograms& o = nl.objective;
    objective_ = tape_.Add(o.Tokens(0), o.TokEnd(0) - o.TokBegin(0), o.Consts(0));
    grad_.resize(static_cast<std::size_t>(tape_.NumColumns(objective_)));
  }
  std::int64_t hess = 0;
  for (int f = 0; f < tape_.Functions(); ++f) {
    hessBegin_.push_back(hess);
    hess += tape_.NumHess(f);
    constantHessian_ = constantHessian_ && tape_.Affine(f);
  }
  std::vector<int> extra;
  for (int k = 0; k < rows_.Size(); ++k) {
    const int* cols = tape_.Columns(k);
    const int n = tape_.NumColumns(k);
    const std::int64_t base = jacBegin_.back();
    jacCol_.insert(jacCol_.end(), cols, cols + n);
    extra.clear();
    for (std::int64_t q = rows_.LinBegin(k); q < rows_.LinEnd(k); ++q) {
      const int j = rows_.linIdx[static_cast<std::size_t>(q)];
      const int* at = std::lower_bound(cols, cols + n, j);
      if (at != cols + n && *at == j) {
        linPos_.push_back(base + (at - cols));
      } else {
        linPos_.push_back(base + n + static_cast<std::int64_t>(extra.size()));
        extra.push_back(j);
      }
    }
    jacCol_.insert(jacCol_.end(), extra.begin(), extra.end());
    jacBegin_.push_back(static_cast<std::int64_t>(jacCol_.size()));
  }
}

void NlBlock::RowBounds(double* lower, double* upper) const {
  std::copy(rows_.lower.begin(), rows_.lower.end(), lower);
  std::copy(rows_.upper.begin(), rows_.upper.end(), upper);
}

void NlBlock::JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    for (std::int64_t p = jacBegin_[static_cast<std::size_t>(k)]; p < jacBegin_[static_cast<std::size_t>(k) + 1]; ++p) {
      rows.push_back(k);
      cols.push_back(jacCol_[static_cast<std::size_t>(p)]);
    }
  }
}

void NlBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int f = 0; f < tape_.Functions(); ++f) {
    rows.insert(rows.end(), tape_.HessRows(f), tape_.HessRows(f) + tape_.NumHess(f));
    cols.insert(cols.end(), tape_.HessCols(f), tape_.HessCols(f) + tape_.NumHess(f));
  }
}

bool NlBlock::Objective(const double* x, double* f) const {
  double v = 0;
  if (!tape_.Value(objective_, x, &v)) return false;
  *f += v;
  return true;
}

bool NlBlock::Gradient(const double* x, double* grad) const {
  double v = 0;
  if (!tape_.Gradient(objective_, x, &v, grad_.data())) return false;
  const int* cols = tape_.Columns(objective_);
  for (std::size_t k = 0; k < grad_.size(); ++k) grad[cols[k]] += grad_[k];
  return true;
}

bool NlBlock::Values(const double* x, double* g) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    double v = 0;
    if (!tape_.Value(k, x, &v)) return false;
    for (std::int64_t q = rows_.LinBegin(k); q < rows_.LinEnd(k); ++q) {
      v += rows_.linVal[static_cast<std::size_t>(q)] * x[rows_.linIdx[static_cast<std::size_t>(q)]];
    }
    g[k] = v;
  }
  return true;
}

bool NlBlock::Jacobian(const double* x, double* values) const {
  for (int k = 0; k < rows_.Size(); ++k) {
    const std::int64_t base = jacBegin_[static_cast<std::size_t>(k)];
    const std::int64_t n = tape_.NumColumns(k);
    double v = 0;
    if (!tape_.Gradient(k, x, &v, values + base)) return false;
    std::fill(values + base + n, values + jacBegin_[static_cast<std::size_t>(k) + 1], 0.0);
    for (std::int64_t q = rows_.LinBegin(k); q < rows_.LinEnd(k); ++q) {
      values[linPos_[static_cast<std::size_t>(q)]] += rows_.linVal[static_cast<std::size_t>(q)];
    }
  }
  return true;
}

bool NlBlock::Hessian(const double* x, double objFactor, const double* lambda, double* values) const {
  for (int f = 0; f < tape_.Functions(); ++f) {
    const int n = tape_.NumHess(f);
    if (n == 0) continue;
    double* out = values + hessBegin_[static_cast<std::size_t>(f)];
    const double scale = f == objective_ ? objFactor : lambda[f];
    if (scale == 0.0) {
      std::fill(out, out + n, 0.0);
    } else if (!tape_.Hessian(f, x, scale, out)) {
      return false;
    }
  }
  return true;
}

}  // namespace tarq_solver
