#include "store/results.h"

#include "tarq.h"

namespace tarq_solver {

void Results::ClearSolution() {
  values.clear();
  activity.clear();
  duals.clear();
  redCosts.clear();
  quadActivity.clear();
  quadDuals.clear();
  nlActivity.clear();
  nlDuals.clear();
  poolValues.clear();
  poolObj.clear();
  colLowerIis.clear();
  colUpperIis.clear();
  rowLowerIis.clear();
  rowUpperIis.clear();
  sosIis.clear();
  indicatorIis.clear();
  relaxPenalties.clear();
  relaxMode = 0;
  psd.Clear();
  farkas.clear();
  ray.clear();
  ranges.Clear();
  for (IntAttr a :
       {IntAttr::HasLpSol, IntAttr::HasMipSol, IntAttr::HasFeasRelaxSol, IntAttr::PoolSols, IntAttr::HasDualFarkas,
        IntAttr::HasPrimalRay, IntAttr::HasSensitivity, IntAttr::HasIIS, IntAttr::IISCols, IntAttr::IISRows, IntAttr::IsMinIIS,
        IntAttr::IISSOSs, IntAttr::IISIndicators}) {
    attrs[a] = 0;
  }
}

// The basis outlives value changes and additions: added columns join nonbasic at a finite bound
// (superbasic when free), added rows join basic. Fewer columns or rows than the basis has means
// a deletion happened that the basis cannot follow, so it is dropped.
void Results::ForgetStale(int cols, int rows, const double* colLower, const double* colUpper) {
  ClearSolution();
  const auto oldCols = static_cast<int>(colBasis.size());
  const auto oldRows = static_cast<int>(rowBasis.size());
  if (oldCols == 0 && oldRows == 0) return;
  if (oldCols > cols || oldRows > rows) {
    colBasis.clear();
    rowBasis.clear();
    return;
  }
  colBasis.resize(static_cast<size_t>(cols));
  for (int j = oldCols; j < cols; ++j) {
    const bool lowFinite = colLower[j] > -TARQ_INFINITY;
    const bool upFinite = colUpper[j] < TARQ_INFINITY;
    colBasis[j] = lowFinite ? TARQ_BASIS_LOWER : upFinite ? TARQ_BASIS_UPPER : TARQ_BASIS_SUPERBASIC;
  }
  rowBasis.resize(static_cast<size_t>(rows), TARQ_BASIS_BASIC);
}

}  // namespace tarq_solver
