// What solves leave behind: the solution, the pool, the basis, IIS memberships and tuning
// results, with the attributes of the last solve.
//
// Results belong to the problem data of one moment (version): Problem::Result() calls
// ForgetStale when the data changed since, which drops everything tied to the old data but the
// basis, which it fits to the new sizes. Empty vectors mean "none", and every reader also checks
// the vector's length against the problem, so a result is never read out of bounds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "params/param_table.h"
#include "store/psd_results.h"

namespace tarq_solver {

// Attribute values set by solves, at their "no solve yet" defaults until then.
struct SolveAttrs {
  std::array<int, kNumIntAttrs> ints;
  std::array<double, kNumDblAttrs> dbls;
  SolveAttrs() {
    for (int k = 0; k < kNumIntAttrs; ++k) ints[k] = kIntAttrInfo[k].def;
    for (int k = 0; k < kNumDblAttrs; ++k) dbls[k] = kDblAttrInfo[k].def;
  }
  int& operator[](IntAttr a) { return ints[static_cast<int>(a)]; }
  double& operator[](DblAttr a) { return dbls[static_cast<int>(a)]; }
  int operator[](IntAttr a) const { return ints[static_cast<int>(a)]; }
  double operator[](DblAttr a) const { return dbls[static_cast<int>(a)]; }
};

// Ranging of an optimal LP basis (the "SA*" information of tarq.h): per column the objective
// coefficient's and both bounds' ranges, per row the right-hand side's range.
struct LpRanges {
  std::vector<double> objLow, objUp;
  std::vector<double> lbLow, lbUp, ubLow, ubUp;
  std::vector<double> rhsLow, rhsUp;
  bool Fits(int cols, int rows) const {
    return static_cast<int>(objLow.size()) == cols && static_cast<int>(rhsLow.size()) == rows && cols + rows > 0;
  }
  void Clear() { *this = LpRanges(); }
};

// One tuning result: parameter settings (by table position) and the time the trial took.
struct TuneResult {
  std::vector<std::pair<IntParam, int>> ints;
  std::vector<std::pair<DblParam, double>> dbls;
  double seconds = 0;
  std::string label;  // a short description for logs and files
};

struct Results {
  SolveAttrs attrs;
  std::uint64_t version = 0;  // problem version the solution, pool and IIS belong to

  // Primal values and row activities of the solution; duals and reduced costs of an LP solution.
  std::vector<double> values;
  std::vector<double> activity;
  std::vector<double> duals;
  std::vector<double> redCosts;
  // Activities and duals of the quadratic rows (empty when the problem has none or no solve gave
  // them).
  std::vector<double> quadActivity;
  std::vector<double> quadDuals;
  // Likewise for the nonlinear rows.
  std::vector<double> nlActivity;
  std::vector<double> nlDuals;
  // Pool solutions, one after another (cols entries each), and their objective values.
  std::vector<double> poolValues;
  std::vector<double> poolObj;

  std::vector<int> colBasis;
  std::vector<int> rowBasis;
  // Certificates of the last LP solve when "ReqFarkasRay" asked for them (see "DualFarkas" and
  // "PrimalRay" in tarq.h): one entry per row / per column, empty when there is none.
  std::vector<double> farkas;
  std::vector<double> ray;
  // Ranges of the last LP solve when "ReqSensitivity" asked for them.
  LpRanges ranges;
  std::vector<int> colLowerIis;
  std::vector<int> colUpperIis;
  std::vector<int> rowLowerIis;
  std::vector<int> rowUpperIis;
  std::vector<int> sosIis;        // one per SOS constraint
  std::vector<int> indicatorIis;  // one per indicator row

  // Penalties of the last feasibility relaxation (column lower, column upper, row lower, row
  // upper; negative: not relaxable) and its "FeasRelaxMode", kept to write the relaxed problem.
  std::vector<std::vector<double>> relaxPenalties;
  int relaxMode = 0;

  std::vector<TuneResult> tune;

  PsdResults psd;  // semidefinite parts of the solution

  bool HasSolution(int cols, int rows) const {
    return static_cast<int>(values.size()) == cols && static_cast<int>(activity.size()) == rows &&
           (attrs[IntAttr::HasLpSol] != 0 || attrs[IntAttr::HasMipSol] != 0 || attrs[IntAttr::HasFeasRelaxSol] != 0);
  }
  bool HasDuals(int cols, int rows) const {
    return attrs[IntAttr::HasLpSol] != 0 && static_cast<int>(duals.size()) == rows &&
           static_cast<int>(redCosts.size()) == cols;
  }
  bool HasBasis(int cols, int rows) const {
    return static_cast<int>(colBasis.size()) == cols && static_cast<int>(rowBasis.size()) == rows && cols + rows > 0;
  }
  bool HasIis(int cols, int rows) const {
    return !colLowerIis.empty() && static_cast<int>(colLowerIis.size()) == cols &&
           static_cast<int>(rowLowerIis.size()) == rows;
  }
  bool HasFarkas(int rows) const {
    return attrs[IntAttr::HasDualFarkas] != 0 && static_cast<int>(farkas.size()) == rows;
  }
  bool HasRay(int cols) const { return attrs[IntAttr::HasPrimalRay] != 0 && static_cast<int>(ray.size()) == cols; }
  bool HasRanges(int cols, int rows) const { return attrs[IntAttr::HasSensitivity] != 0 && ranges.Fits(cols, rows); }
  int PoolSize() const { return static_cast<int>(poolObj.size()); }

  // Drops the solution, the pool, the certificates, the ranges and the IIS (not the tuning
  // results).
  void ClearSolution();
  // Called when the problem data changed: drops what ClearSolution drops and fits the basis to
  // the new sizes (see results.cpp).
  void ForgetStale(int cols, int rows, const double* colLower, const double* colUpper);
  void Clear() { *this = Results(); }
};

}  // namespace tarq_solver
