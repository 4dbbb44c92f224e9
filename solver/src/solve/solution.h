// Installing a solution given from outside (TARQ_SetLpSolution, solution files) as if a solve
// had found it.
#pragma once

#include "store/problem.h"

namespace tarq_solver {

// values: one per column (required unless there are no columns). Null slack is computed as the
// row activities A x, null duals taken as 0, null redcost computed as c - A'y. Returns 3 for a
// non-finite entry, changing nothing. "HasLpSol" becomes 1; other results stay.
int InstallLpSolution(Problem& problem, const double* values, const double* slack, const double* duals,
                      const double* redcost);

}  // namespace tarq_solver
