// The relaxed problem: the original columns and rows; for every relaxable bound a violation
// column v >= 0 with the penalty as its cost; the objective is the weighted sum of violations.
//   row bounds:    a x + vL - vU in [lower, upper]       (vL, vU: columns with one matrix entry)
//   column bounds: x_j + vL - vU in [lower_j, upper_j]  (one added row; x_j loses those bounds)
// The problem's own objective is not part of it. The penalties are kept with the results so the
// relaxed problem can be written out later. "FeasRelaxMode" 1 prices the squared violations (see
// squared_relax.h), mode 2 counts them (see count_relax.h).
#include "relax/feas_relax.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "relax/count_relax.h"
#include "relax/squared_relax.h"
#include "solve/solve_driver.h"

namespace tarq_solver {
namespace {

// Penalty of one bound: finite, non-negative and below InfBound, or the bound is not relaxable.
double Penalty(const double* pen, int k, double inf) {
  if (pen == nullptr) return -1;
  const double v = pen[k];
  return std::isfinite(v) && v >= 0 && v < inf ? v : -1;
}

struct RelaxBuild {
  std::vector<std::string> colNames;
  std::vector<std::string> rowNames;
};

std::string NameOf(const Problem& p, Axis axis, int k) {
  int size = 0;
  p.GetName(axis, k, nullptr, 0, &size);
  std::string name(static_cast<size_t>(std::max(size, 1)), '\0');
  p.GetName(axis, k, name.data(), size, nullptr);
  name.resize(std::char_traits<char>::length(name.c_str()));
  return name;
}

// Adds the violation columns and rows to data (a copy of the problem). Names of the added
// columns and rows are filled when names is not null. O(columns + rows) besides the copy.
void AddViolations(const Problem& p, const std::vector<double>* pen, LpData& data, RelaxBuild* names) {
  const int nCol = data.nCol, nRow = data.nRow;
  data.obj.assign(static_cast<size_t>(nCol), 0.0);
  data.objConst = 0;
  data.sense = 1;
  auto named = [&](std::vector<std::string> RelaxBuild::*list, const char* prefix, Axis axis, int k) {
    if (names != nullptr) (names->*list).push_back(prefix + NameOf(p, axis, k));
  };
  const double one = 1.0, minusOne = -1.0;
  for (int i = 0; i < nRow; ++i) {
    if (pen[2][i] >= 0 && data.rowLower[i] > -TARQ_INFINITY) {
      data.AddCol(pen[2][i], 0, TARQ_INFINITY, 1, &i, &one);
      named(&RelaxBuild::colNames, "ArtL_", Axis::kRow, i);
    }
    if (pen[3][i] >= 0 && data.rowUpper[i] < TARQ_INFINITY) {
      data.AddCol(pen[3][i], 0, TARQ_INFINITY, 1, &i, &minusOne);
      named(&RelaxBuild::colNames, "ArtU_", Axis::kRow, i);
    }
  }
  for (int j = 0; j < nCol; ++j) {
    const bool low = pen[0][j] >= 0 && data.colLower[j] > -TARQ_INFINITY;
    const bool up = pen[1][j] >= 0 && data.colUpper[j] < TARQ_INFINITY;
    if (!low && !up) continue;
    int idx[3] = {j, 0, 0};
    double val[3] = {1.0, 0, 0};
    int nnz = 1;
    if (low) {
      data.AddCol(pen[0][j], 0, TARQ_INFINITY, 0, nullptr, nullptr);
      idx[nnz] = data.nCol - 1;
      val[nnz++] = 1.0;
      named(&RelaxBuild::colNames, "ArtL_", Axis::kCol, j);
    }
    if (up) {
      data.AddCol(pen[1][j], 0, TARQ_INFINITY, 0, nullptr, nullptr);
      idx[nnz] = data.nCol - 1;
      val[nnz++] = -1.0;
      named(&RelaxBuild::colNames, "ArtU_", Axis::kCol, j);
    }
    data.AddSparseRow(nnz, idx, val, low ? data.colLower[j] : -TARQ_INFINITY, up ? data.colUpper[j] : TARQ_INFINITY);
    named(&RelaxBuild::rowNames, "Bnd_", Axis::kCol, j);
    if (low) data.colLower[j] = -TARQ_INFINITY;
    if (up) data.colUpper[j] = TARQ_INFINITY;
  }
}

}  // namespace

int FeasRelax(Problem& p, const RelaxPenalties& given) {
  p.Interrupt().Lower();
  const int mode = p.Params().Int(IntParam::FeasRelaxMode);
  const double started = WallSeconds();
  const double inf = p.Params().Dbl(DblParam::InfBound);
  const int nCol = p.Cols().Size(), nRow = p.Rows().Size();
  std::vector<double> pen[4];
  pen[0].resize(static_cast<size_t>(nCol));
  pen[1].resize(static_cast<size_t>(nCol));
  pen[2].resize(static_cast<size_t>(nRow));
  pen[3].resize(static_cast<size_t>(nRow));
  for (int j = 0; j < nCol; ++j) {
    pen[0][j] = Penalty(given.colLow, j, inf);
    pen[1][j] = Penalty(given.colUpp, j, inf);
  }
  for (int i = 0; i < nRow; ++i) {
    pen[2][i] = Penalty(given.rowBnd, i, inf);
    pen[3][i] = Penalty(given.rowUpp != nullptr ? given.rowUpp : given.rowBnd, i, inf);
  }

  LpData data;
  if (int rc = BuildLpData(p, false, data); rc != TARQ_RETCODE_OK) return rc;
  std::vector<double> limits;
  std::vector<std::string> what;
  if (mode == 2) limits = ViolationLimits(data, pen, what);
  AddViolations(p, pen, data, nullptr);
  if (mode == 2) CountViolations(data, nCol, limits, what, p.Log());
  EngineResult res;
  const int rc = mode == 1 ? SolveSquaredViolations(p, data, nCol, res)
                           : RunEngine(p, data, p.Params(), false, StartBasis{}, res);
  if (rc != TARQ_RETCODE_OK) return rc;

  res.hasDuals = false;
  res.hasBasis = false;
  if (res.hasSolution) {
    // Activities of the problem's own rows, without the violation columns.
    std::vector<double> x(res.values.begin(), res.values.begin() + nCol);
    LpData plain;
    BuildLpData(p, false, plain);
    plain.Activities(x.data(), res.activity);
  }
  const double relaxObj = res.objective;
  RecordResult(p, res, false, WallSeconds() - started);
  Results& r = p.Result();
  if (res.hasSolution) {
    r.attrs[IntAttr::HasFeasRelaxSol] = 1;
    r.attrs[IntAttr::HasLpSol] = 0;
    r.attrs[IntAttr::HasMipSol] = 0;
    r.attrs[DblAttr::LpObjval] = TARQ_INFINITY;
    r.attrs[DblAttr::BestObj] = TARQ_INFINITY;
    r.attrs[DblAttr::FeasRelaxObj] = relaxObj;
    r.poolValues.clear();
    r.poolObj.clear();
    r.attrs[IntAttr::PoolSols] = 0;
  }
  r.attrs[DblAttr::FeasRelaxTime] = WallSeconds() - started;
  r.relaxPenalties.assign(pen, pen + 4);
  r.relaxMode = mode;
  p.StampResults();
  return TARQ_RETCODE_OK;
}

int BuildStoredRelaxation(Problem& p, LpData& data, std::vector<std::string>& colNames,
                          std::vector<std::string>& rowNames, QuadTerms& squares) {
  Results& r = p.Result();
  if (r.relaxPenalties.size() != 4 || static_cast<int>(r.relaxPenalties[0].size()) != p.Cols().Size() ||
      static_cast<int>(r.relaxPenalties[2].size()) != p.Rows().Size()) {
    return TARQ_RETCODE_INVALID;
  }
  if (int rc = BuildLpData(p, false, data); rc != TARQ_RETCODE_OK) return rc;
  const int nCol = data.nCol, mode = r.relaxMode;
  std::vector<double> limits;
  std::vector<std::string> what;
  if (mode == 2) limits = ViolationLimits(data, r.relaxPenalties.data(), what);
  RelaxBuild names;
  AddViolations(p, r.relaxPenalties.data(), data, &names);
  squares.Clear();
  if (mode == 2) {
    // The solve logged the bounds that stay hard already.
    Logger quiet;
    quiet.SetEnabled(false);
    const int before = data.nCol;
    CountViolations(data, nCol, limits, what, quiet);
    // CountViolations adds one binary and one row per violation with a finite, non-zero limit,
    // in the order of the violation columns.
    for (int k = 0; k < static_cast<int>(limits.size()) && data.nCol > before; ++k) {
      if (!std::isfinite(limits[static_cast<size_t>(k)]) || limits[static_cast<size_t>(k)] == 0) continue;
      names.rowNames.push_back("Cnt_" + names.colNames[static_cast<size_t>(k)]);
      names.colNames.push_back("Is_" + names.colNames[static_cast<size_t>(k)]);
    }
  } else if (mode == 1) {
    for (int k = nCol; k < data.nCol; ++k) {
      const double w = data.obj[static_cast<size_t>(k)];
      data.obj[static_cast<size_t>(k)] = 0;
      if (w == 0.0) continue;
      squares.row.push_back(k);
      squares.col.push_back(k);
      squares.val.push_back(w);
    }
  }
  colNames = std::move(names.colNames);
  rowNames = std::move(names.rowNames);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
