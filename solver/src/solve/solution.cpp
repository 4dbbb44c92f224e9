#include "solve/solution.h"

#include <algorithm>
#include <cmath>

namespace tarq_solver {
namespace {

bool AllFinite(const double* v, int n) {
  return v == nullptr || std::all_of(v, v + n, [](double x) { return std::isfinite(x); });
}

}  // namespace

int InstallLpSolution(Problem& p, const double* values, const double* slack, const double* duals,
                      const double* redcost) {
  const int cols = p.Cols().Size(), rows = p.Rows().Size();
  if (values == nullptr && cols > 0) return TARQ_RETCODE_INVALID;
  if (!AllFinite(values, cols) || !AllFinite(slack, rows) || !AllFinite(duals, rows) || !AllFinite(redcost, cols)) {
    return TARQ_RETCODE_INVALID;
  }
  Results& r = p.Result();
  r.values.assign(values, values + cols);
  if (duals != nullptr) {
    r.duals.assign(duals, duals + rows);
  } else {
    r.duals.assign(static_cast<size_t>(rows), 0.0);
  }
  // Activities A x and reduced costs c - A'y, in one pass over the columns.
  r.activity.assign(static_cast<size_t>(rows), 0.0);
  r.redCosts.assign(p.Cols().obj.begin(), p.Cols().obj.end());
  SparseMatrix& m = p.Matrix();
  m.Consolidate(Axis::kCol);
  for (int j = 0; j < cols; ++j) {
    const VectorView v = m.Vector(j);
    for (std::int64_t k = 0; k < v.len; ++k) {
      r.activity[v.idx[k]] += v.val[k] * values[j];
      r.redCosts[j] -= v.val[k] * r.duals[v.idx[k]];
    }
  }
  if (slack != nullptr) r.activity.assign(slack, slack + rows);
  if (redcost != nullptr) r.redCosts.assign(redcost, redcost + cols);
  r.attrs[IntAttr::HasLpSol] = 1;
  p.StampResults();
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
