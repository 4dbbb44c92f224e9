// Solving problems with a quadratic objective or quadratic rows: the problem as a smooth
// problem, the convexity check, the choice between the continuous and the mixed-integer engine,
// and recording what they found.
#pragma once

#include "solve/engines.h"
#include "solve/lp_data.h"
#include "solve/smooth_engines.h"
#include "solve/smooth_problem.h"
#include "store/problem.h"

namespace tarq_solver {

// True when the problem has quadratic terms in its objective or quadratic rows.
bool HasQuadratic(const Problem& problem);
// True when the problem has nonlinear rows or a nonlinear objective.
bool HasNonlinear(const Problem& problem);

// True when the problem has second-order or exponential cones.
bool HasCones(const Problem& problem);

// TARQ_Solve (lpOnly false) and TARQ_SolveLp (true) for problems with any of them.
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

// The linear problem of lp (the matrix rows, then the added rows) and its special ordered sets
// as a smooth problem without blocks; lp's arrays are moved out. O(columns + rows + nonzeros +
// set members).
void SmoothFromLp(LpData& lp, SmoothProblem& out);

// The problem as a smooth problem: its linear part, then the quadratic objective, the quadratic
// rows, the nonlinear rows and objective, and the cones as blocks, and the start point. With relax, integer
// columns are continuous. Returns 3 when the matrix is too large for the engines.
int BuildSmoothProblem(Problem& problem, bool relax, SmoothProblem& out, QuadBlocks* blocks = nullptr);

// The status, objective, bound, counts and values of a smooth solve as an engine result (without
// activities, duals or pool).
EngineResult OutcomeOf(const SmoothResult& res, bool mip);
// Branch and bound holds a set's member at 0 through its upper bound only: sets over columns that
// may be negative are refused (code 3 and a log line naming the column and, in `where`, the
// kind of solve).
int CheckSetMemberSigns(Problem& p, const SmoothProblem& sp, const char* where);

// Logs that an operation does not take quadratic or nonlinear parts and returns true when the
// problem has them; operations built on linear solves (IIS, relaxation, tuning, multi-objective)
// use it.
bool RefuseQuadratic(Problem& problem, const char* operation);

}  // namespace tarq_solver
