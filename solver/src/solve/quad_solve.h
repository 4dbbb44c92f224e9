// Solving problems with a quadratic objective or quadratic rows: the problem as a smooth
// problem, the convexity check, the choice between the continuous and the mixed-integer engine,
// and recording what they found.
#pragma once

#include "solve/smooth_problem.h"
#include "store/problem.h"

namespace tarq_solver {

// True when the problem has quadratic terms in its objective or quadratic rows.
bool HasQuadratic(const Problem& problem);

// TARQ_Solve (lpOnly false) and TARQ_SolveLp (true) for such problems.
int SolveQuadratic(Problem& problem, bool lpOnly);

class QuadObjectiveBlock;
class QuadRowsBlock;

// The quadratic blocks of a smooth problem (null when the problem has no such part).
struct QuadBlocks {
  const QuadObjectiveBlock* objective = nullptr;
  const QuadRowsBlock* rows = nullptr;
};

// The problem as a smooth problem: its linear part, then the quadratic objective and the
// quadratic rows as blocks. With relax, integer columns are continuous. Returns 3 when the
// matrix is too large for the engines.
int BuildSmoothProblem(Problem& problem, bool relax, SmoothProblem& out, QuadBlocks* blocks = nullptr);

// Logs that an operation does not take quadratic parts and returns true when the problem has
// them; operations built on linear solves (IIS, relaxation, tuning, multi-objective) use it.
bool RefuseQuadratic(Problem& problem, const char* operation);

}  // namespace tarq_solver
