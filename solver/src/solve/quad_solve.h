// Solving problems with a quadratic objective or quadratic rows: the problem as a smooth
// problem, the convexity check, the choice between the continuous and the mixed-integer engine,
// and recording what they found.
#pragma once

#include "solve/smooth_problem.h"
#include "store/problem.h"

namespace tarq_solver {

// True when the problem has quadratic terms in its objective or quadratic rows.
bool HasQuadratic(const Problem& problem);
// True when the problem has nonlinear rows or a nonlinear objective.
bool HasNonlinear(const Problem& problem);

// TARQ_Solve (lpOnly false) and TARQ_SolveLp (true) for problems with either.
int SolveQuadratic(Problem& problem, bool lpOnly);

class QuadObjectiveBlock;
class QuadRowsBlock;
class NlBlock;

// The quadratic and nonlinear blocks of a smooth problem (null when the problem has no such
// part).
struct QuadBlocks {
  const QuadObjectiveBlock* objective = nullptr;
  const QuadRowsBlock* rows = nullptr;
  const NlBlock* nonlinear = nullptr;
};

// The problem as a smooth problem: its linear part, then the quadratic objective, the
// quadratic rows and the nonlinear rows and objective as blocks, and the start point. With relax, integer columns are continuous. Returns 3 when the
// matrix is too large for the engines.
int BuildSmoothProblem(Problem& problem, bool relax, SmoothProblem& out, QuadBlocks* blocks = nullptr);

// Logs that an operation does not take quadratic or nonlinear parts and returns true when the
// problem has them; operations built on linear solves (IIS, relaxation, tuning, multi-objective) use it.
bool RefuseQuadratic(Problem& problem, const char* operation);

}  // namespace tarq_solver
