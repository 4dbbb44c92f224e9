// Lexicographic solving of a problem's multi-objectives (see tarq.h, "Multi-objectives").
#pragma once

#include "store/problem.h"

namespace tarq_solver {

int SolveMultiObjective(Problem& problem, bool lpOnly);

}  // namespace tarq_solver
