// The weighted sum of squared violations ("FeasRelaxMode" 1), built on the violation columns of
// the weighted-sum relaxation (see feas_relax.cpp).
#pragma once

#include "solve/engines.h"
#include "solve/lp_data.h"

namespace tarq_solver {

// Solves the relaxation in data (violation columns from position first on, their costs the
// penalties) with the squared violations priced instead: each violation v with penalty w costs
// w * v^2, a convex quadratic objective, so the problem is a QP (an MIQP when data has integer
// columns) solved by the engines for smooth problems. The feasible points are those of the
// weighted-sum relaxation; only the objective differs. data's arrays are consumed. out receives
// every column's value (violations included), the objective and the status; no duals.
int SolveSquaredViolations(Problem& problem, LpData& data, int first, EngineResult& out);

}  // namespace tarq_solver
