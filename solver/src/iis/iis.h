// Irreducible infeasible subsystems (see TARQ_ComputeIIS in tarq.h).
#pragma once

#include "store/problem.h"

namespace tarq_solver {

int ComputeIis(Problem& problem);

}  // namespace tarq_solver
