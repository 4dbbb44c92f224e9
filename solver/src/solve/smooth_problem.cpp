#include "solve/smooth_problem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <numeric>

namespace tarq_solver {

HessianChoice ChooseHessian(std::int64_t entries, std::int64_t jacobianEntries, std::int64_t cols,
                            const HessianLimits& limits) {
  if (entries > limits.hard) return HessianChoice::kTooLarge;
  const double rest = static_cast<double>(jacobianEntries) + static_cast<double>(cols);
  if (entries > limits.entries && static_cast<double>(entries) > limits.densityFactor * rest) {
    return HessianChoice::kTooDense;
  }
  return HessianChoice::kExact;
}

bool SmoothProblem::IsMip() const {
  return !sosType.empty() || std::any_of(integer.begin(), integer.end(), [](char c) { return c != 0; });
}

double SmoothProblem::StartValue(int j) const {
  const auto k = static_cast<std::size_t>(j);
  const double x = k < start.size() ? start[k] : 0.0;
  return std::clamp(x, colLower[k], colUpper[k]);
}

SmoothEvaluator::SmoothEvaluator(const SmoothProblem& problem) : p_(problem) {
  const int linear = p_.LinearRows();
  rows_ = linear;
  lower_.assign(p_.rowLower.begin(), p_.rowLower.end());
  upper_.assign(p_.rowUpper.begin(), p_.rowUpper.end());
  for (int i = 0; i < linear; ++i) {
    for (std::int64_t k = p_.rowStart[i]; k < p_.rowStart[i + 1]; ++k) {
      jacRow_.push_back(i);
      jacCol_.push_back(p_.rowIndex[static_cast<std::size_t>(k)]);
    }
  }
  for (const auto& block : p_.blocks) {
    offset_.push_back(rows_);
    const int n = block->Rows();
    lower_.resize(lower_.size() + static_cast<std::size_t>(n));
    upper_.resize(upper_.size() + static_cast<std::size_t>(n));
    block->RowBounds(lower_.data() + rows_, upper_.data() + rows_);
    jacAt_.push_back(jacRow_.size());
    const std::size_t first = jacRow_.size();
    block->JacobianStructure(jacRow_, jacCol_);
    for (std::size_t k = first; k < jacRow_.size(); ++k) jacRow_[k] += rows_;
    rows_ += n;
  }
  if (p_.approximateHessian) {
    hessianChoice_ = HessianChoice::kRequested;
    return;
  }
  try {
    BuildHessian();
  } catch (const std::bad_alloc&) {
    // The exact structure does not fit: the engines do without it.
    std::vector<int>().swap(hessRow_);
    std::vector<int>().swap(hessCol_);
    std::vector<std::vector<int>>().swap(hessSlot_);
    hessianChoice_ = HessianChoice::kNoMemory;
    hessianEntries_ = 0;
  }
}

// Every block's Hessian entries, sorted and counted; when the limits keep the exact Hessian,
// equal (row, column) pairs are merged into one slot. O(E log E) for E gathered entries, with
// 24 bytes of scratch per entry; nothing of the structure is kept when it is dropped.
void SmoothEvaluator::BuildHessian() {
  std::vector<int> hr, hc;
  std::vector<std::size_t> hessAt;
  for (const auto& block : p_.blocks) {
    hessAt.push_back(hr.size());
    block->HessianStructure(hr, hc);
  }
  hessAt.push_back(hr.size());
  std::vector<std::size_t> order(hr.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return hr[a] != hr[b] ? hr[a] < hr[b] : hc[a] < hc[b];
  });
  const auto sameAsPrevious = [&](std::size_t k) {
    return k > 0 && hr[order[k]] == hr[order[k - 1]] && hc[order[k]] == hc[order[k - 1]];
  };
  std::int64_t distinct = 0;
  for (std::size_t k = 0; k < order.size(); ++k) distinct += sameAsPrevious(k) ? 0 : 1;
  hessianEntries_ = distinct;
  hessianChoice_ = ChooseHessian(distinct, static_cast<std::int64_t>(jacRow_.size()), p_.nCol, p_.hessianLimits);
  if (hessianChoice_ != HessianChoice::kExact) return;
  hessRow_.reserve(static_cast<std::size_t>(distinct));
  hessCol_.reserve(static_cast<std::size_t>(distinct));
  std::vector<int> slot(hr.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::size_t e = order[k];
    if (!sameAsPrevious(k)) {
      hessRow_.push_back(hr[e]);
      hessCol_.push_back(hc[e]);
    }
    slot[e] = static_cast<int>(hessRow_.size()) - 1;
  }
  for (std::size_t b = 0; b < p_.blocks.size(); ++b) {
    hessSlot_.emplace_back(slot.begin() + static_cast<std::ptrdiff_t>(hessAt[b]),
                           slot.begin() + static_cast<std::ptrdiff_t>(hessAt[b + 1]));
  }
}

std::string SmoothEvaluator::HessianNote() const {
  const std::string what = "the Hessian of the Lagrangian is approximated by limited-memory updates";
  const HessianLimits& limits = p_.hessianLimits;
  switch (hessianChoice_) {
    case HessianChoice::kExact: return std::string();
    case HessianChoice::kRequested: return what + ", as the problem asks";
    case HessianChoice::kTooLarge:
      return what + ": its " + std::to_string(hessianEntries_) + " structural nonzeros exceed the limit of " +
             std::to_string(limits.hard);
    case HessianChoice::kTooDense: {
      char factor[32];
      std::snprintf(factor, sizeof factor, "%g", limits.densityFactor);
      return what + ": its " + std::to_string(hessianEntries_) + " structural nonzeros exceed the limit of " +
             std::to_string(limits.entries) + " and " + factor + " times the " +
             std::to_string(jacRow_.size() + static_cast<std::size_t>(p_.nCol)) + " Jacobian nonzeros and columns";
    }
    case HessianChoice::kNoMemory: return what + ": there is not enough memory for the structure of the exact one";
  }
  return std::string();
}

bool SmoothEvaluator::ConstantHessian() const {
  return std::all_of(p_.blocks.begin(), p_.blocks.end(), [](const auto& b) { return b->ConstantHessian(); });
}

bool SmoothEvaluator::LinearRowsOnly() const { return rows_ == p_.LinearRows(); }

bool SmoothEvaluator::Objective(const double* x, double* f) const {
  double value = p_.objConst;
  for (int j = 0; j < p_.nCol; ++j) value += p_.obj[static_cast<std::size_t>(j)] * x[j];
  for (const auto& block : p_.blocks) {
    if (block->HasObjective() && !block->Objective(x, &value)) return false;
  }
  *f = value;
  return true;
}

bool SmoothEvaluator::Gradient(const double* x, double* grad) const {
  std::copy(p_.obj.begin(), p_.obj.end(), grad);
  for (const auto& block : p_.blocks) {
    if (block->HasObjective() && !block->Gradient(x, grad)) return false;
  }
  return true;
}

bool SmoothEvaluator::Meets(const double* x, double tol) const {
  for (int j = 0; j < p_.nCol; ++j) {
    const auto k = static_cast<std::size_t>(j);
    if (!(x[j] >= p_.colLower[k] - tol && x[j] <= p_.colUpper[k] + tol)) return false;
    if (p_.integer[k] && std::fabs(x[j] - std::round(x[j])) > tol) return false;
  }
  std::vector<double> g(static_cast<std::size_t>(rows_));
  if (!Values(x, g.data())) return false;
  for (std::size_t i = 0; i < g.size(); ++i) {
    const double scale = std::max(1.0, std::fabs(g[i]));
    if (!(g[i] >= lower_[i] - tol * scale && g[i] <= upper_[i] + tol * scale)) return false;
  }
  return true;
}

bool SmoothEvaluator::Values(const double* x, double* g) const {
  for (int i = 0; i < p_.LinearRows(); ++i) {
    double sum = 0;
    for (std::int64_t k = p_.rowStart[i]; k < p_.rowStart[i + 1]; ++k) {
      sum += p_.rowValue[static_cast<std::size_t>(k)] * x[p_.rowIndex[static_cast<std::size_t>(k)]];
    }
    g[i] = sum;
  }
  for (std::size_t b = 0; b < p_.blocks.size(); ++b) {
    if (p_.blocks[b]->Rows() > 0 && !p_.blocks[b]->Values(x, g + offset_[b])) return false;
  }
  return true;
}

bool SmoothEvaluator::Jacobian(const double* x, double* values) const {
  std::copy(p_.rowValue.begin(), p_.rowValue.end(), values);  // none when there are no linear entries
  for (std::size_t b = 0; b < p_.blocks.size(); ++b) {
    if (p_.blocks[b]->Rows() > 0 && !p_.blocks[b]->Jacobian(x, values + jacAt_[b])) return false;
  }
  return true;
}

bool SmoothEvaluator::Hessian(const double* x, double objFactor, const double* lambda, double* values) const {
  if (ApproximatesHessian()) return false;
  std::fill(values, values + hessRow_.size(), 0.0);
  for (std::size_t b = 0; b < p_.blocks.size(); ++b) {
    const std::vector<int>& slots = hessSlot_[b];
    if (slots.empty()) continue;
    scratch_.resize(slots.size());
    if (!p_.blocks[b]->Hessian(x, objFactor, lambda + offset_[b], scratch_.data())) return false;
    for (std::size_t k = 0; k < slots.size(); ++k) values[slots[k]] += scratch_[k];
  }
  return true;
}

}  // namespace tarq_solver
