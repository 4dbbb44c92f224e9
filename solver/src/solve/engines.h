// The two engines behind every solve: Clp for LPs and Cbc (branch and cut over Clp) for MIPs.
// Both take an LpData, the parameters of the solve and the problem's logger and interrupt flag,
// and fill an EngineResult; neither touches the stored problem.
#pragma once

#include <vector>

#include "solve/lp_data.h"

namespace tarq_solver {

struct EngineResult {
  int status = TARQ_STATUS_UNSTARTED;
  bool mip = false;
  bool hasSolution = false;  // values and activities
  bool hasDuals = false;     // duals and reduced costs (LP only)
  bool hasBasis = false;
  std::vector<double> values;
  std::vector<double> activity;
  std::vector<double> duals;
  std::vector<double> redCosts;
  std::vector<int> colBasis;
  std::vector<int> rowBasis;
  double objective = TARQ_INFINITY;  // with the constant; 1e30 without a solution
  double bound = -TARQ_INFINITY;     // MIP best bound
  int simplexIter = 0;
  int barrierIter = 0;
  int nodes = 0;
  int methodUsed = -1;
  double primalInfMax = 0;
  double dualInfMax = 0;
  // Distinct integer solutions, best first, nCol values each.
  std::vector<double> poolValues;
  std::vector<double> poolObj;
  // With "ReqFarkasRay" (LP solves run with analyse): a checked certificate of infeasibility,
  // one entry per row, or of unboundedness, one per column; empty when there is none.
  std::vector<double> farkas;
  std::vector<double> ray;
  // With "ReqSensitivity" after an optimal LP solve run with analyse; empty otherwise.
  LpRanges ranges;
};

// A starting basis for an LP solve (TARQ_BASIS_* codes), or null pointers for none.
struct StartBasis {
  const std::vector<int>* cols = nullptr;
  const std::vector<int>* rows = nullptr;
};

struct EngineContext {
  const ParamSet& params;
  const Logger& log;
  const InterruptFlag& interrupt;
  // Leave the certificates and ranges the parameters ask for (the caller's own solves only, not
  // the trial solves of IIS, relaxation or multi-objective levels).
  bool analyse = false;
};

// Solves data as an LP (integer markers ignored). Returns 0 or 1 (memory); the outcome is in out.
int SolveLp(const LpData& data, const EngineContext& ctx, StartBasis basis, EngineResult& out);

// Solves data as a MIP with branch and cut. starts: MIP starts (sparse, the table's layout),
// tried as the solve's first incumbent. Returns 0, 1 / 5 when the engine failed to run, or 6 when it
// was started from a log callback while branch and cut ran for another solve.
int SolveMip(const LpData& data, const EngineContext& ctx, const MipStartTable* starts, EngineResult& out);

}  // namespace tarq_solver
