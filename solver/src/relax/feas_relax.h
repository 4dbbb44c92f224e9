// Feasibility relaxation (see TARQ_FeasRelax in tarq.h).
#pragma once

#include "solve/lp_data.h"
#include "store/quad_table.h"

namespace tarq_solver {

// Penalty arrays as the caller gave them; null means not relaxable.
struct RelaxPenalties {
  const double* colLow = nullptr;
  const double* colUpp = nullptr;
  const double* rowBnd = nullptr;
  const double* rowUpp = nullptr;
};

int FeasRelax(Problem& problem, const RelaxPenalties& pen);

// Builds the relaxed problem of the last TARQ_FeasRelax call, in the form its "FeasRelaxMode"
// solved, into data, with names for its added columns and rows: mode 0 prices the violations
// linearly; mode 2 adds the counting binaries and rows (see count_relax.h); mode 1 moves the
// penalties to the squared terms returned in squares (diagonal, one per priced violation).
// Returns 3 when no relaxation was run on the problem as it stands.
int BuildStoredRelaxation(Problem& problem, LpData& data, std::vector<std::string>& colNames,
                          std::vector<std::string>& rowNames, QuadTerms& squares);

}  // namespace tarq_solver
