#include "solve/cbc_pool.h"

#include <CbcModel.hpp>

#include <cmath>

namespace tarq_solver {
namespace {

thread_local PoolStash* tStash = nullptr;

}  // namespace

bool MeetsMip(const LpData& data, const double* x, double tol, std::vector<double>& act) {
  for (int j = 0; j < data.nCol; ++j) {
    if (x[j] < data.colLower[j] - tol || x[j] > data.colUpper[j] + tol) return false;
    if (data.integer[j] && std::fabs(x[j] - std::round(x[j])) > tol) return false;
  }
  data.Activities(x, act);
  for (int i = 0; i < data.Rows(); ++i) {
    const double lo = i < data.nRow ? data.rowLower[i] : data.addLower[i - data.nRow];
    const double up = i < data.nRow ? data.rowUpper[i] : data.addUpper[i - data.nRow];
    const double scale = std::max(1.0, std::fabs(act[i]));
    if (act[i] < lo - tol * scale || act[i] > up + tol * scale) return false;
  }
  return true;
}

void PoolStash::Take(const CbcModel& model, const double* x) {
  if (x == nullptr) return;
  const int n = model.getNumCols();
  StashedSolution s;
  s.values.assign(x, x + n);
  if (const int* original = model.originalColumns()) s.originalColumns.assign(original, original + n);
  std::lock_guard<std::mutex> lock(mutex);
  if (solutions.size() == kMaxKept) solutions.erase(solutions.begin());
  solutions.push_back(std::move(s));
}

CbcEventHandler::CbcAction CbcSolutionWatch::event(CbcEvent whichEvent) {
  // At beforeSolution2 the model holds the offered solution as its best for the event's length.
  if (whichEvent == beforeSolution2 && model_ != nullptr && model_->parentModel() == nullptr) {
    stash_->Take(*model_, model_->bestSolution());
  }
  return CbcInterrupt::event(whichEvent);
}

StashScope::StashScope(PoolStash& stash) { tStash = &stash; }
StashScope::~StashScope() { tStash = nullptr; }

int TakeSavedSolutions(CbcModel* model, int whereFrom) {
  if (whereFrom != 4 || tStash == nullptr || model == nullptr) return 0;
  for (int k = 1; k < model->numberSavedSolutions(); ++k) tStash->Take(*model, model->savedSolution(k));
  while (model->numberSavedSolutions() > 1) model->deleteSavedSolution(1);
  return 0;
}

std::vector<std::vector<double>> MapStashed(const LpData& data, const EngineContext& ctx, const PoolStash& stash,
                                            const std::vector<double>& best, double tol) {
  std::vector<std::vector<double>> out;
  if (static_cast<int>(best.size()) != data.nCol) return out;
  std::vector<double> act;
  LpData fixed;  // data with the integer columns fixed, made when first needed
  bool hasContinuous = false;
  for (int j = 0; j < data.nCol && !hasContinuous; ++j) hasContinuous = !data.integer[j];
  for (const StashedSolution& saved : stash.solutions) {
    std::vector<double> x = best;
    const bool mapped = !saved.originalColumns.empty();
    for (int k = 0; k < static_cast<int>(saved.values.size()); ++k) {
      const int j = mapped ? saved.originalColumns[k] : k;
      if (j >= 0 && j < data.nCol) x[j] = saved.values[k];
    }
    if (!MeetsMip(data, x.data(), tol, act)) {
      if (!hasContinuous) continue;
      if (fixed.nCol == 0) fixed = data;
      for (int j = 0; j < data.nCol; ++j) {
        if (data.integer[j]) fixed.colLower[j] = fixed.colUpper[j] = std::round(x[j]);
      }
      EngineResult lp;
      if (SolveLp(fixed, ctx, StartBasis{}, lp) != TARQ_RETCODE_OK || !lp.hasSolution) continue;
      x = lp.values;
      for (int j = 0; j < data.nCol; ++j) {
        if (data.integer[j]) x[j] = fixed.colLower[j];
      }
      if (!MeetsMip(data, x.data(), tol, act)) continue;
    }
    out.push_back(std::move(x));
  }
  return out;
}

}  // namespace tarq_solver
