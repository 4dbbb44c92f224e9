// Running the engines on a problem and recording what they found: the code behind TARQ_Solve and
// TARQ_SolveLp, and the pieces the IIS, relaxation, multi-objective and tuning code share.
#pragma once

#include "solve/engines.h"

namespace tarq_solver {

// TARQ_Solve (lpOnly false) and TARQ_SolveLp (true).
int SolveProblem(Problem& problem, bool lpOnly);

// Runs the engine data calls for (branch and cut when it has integer columns and !lpOnly) with
// params, warm-starting an LP from basis. Logs a summary line before and after. analyse: leave
// the certificates and ranges the parameters ask for (LP solves only).
int RunEngine(Problem& problem, const LpData& data, const ParamSet& params, bool lpOnly, StartBasis basis,
              EngineResult& out, bool analyse = false);

// Records an engine result as the problem's results: attributes, solution (the first nCol values
// and nRow activities of the problem), basis and pool. seconds: wall time of the whole solve.
void RecordResult(Problem& problem, const EngineResult& res, bool lpOnly, double seconds);

// Copies the certificates and ranges of res into the problem's results and sets their Has*
// attributes; those that do not fit the problem's sizes are left out.
void RecordAnalysis(Problem& problem, const EngineResult& res);

// Logs that a MIP solve leaves no certificates or ranges when the parameters ask for them.
void NoteMipAnalysis(const Logger& log, const ParamSet& params);

// Resets the attributes a solve sets, keeping those of tuning runs.
void ResetSolveAttrs(Results& results);

// True when the problem has a binary or integer column.
bool HasIntegerColumns(const Problem& problem);

// Name of a status code for log lines.
const char* StatusName(int status);

// Wall-clock seconds since some fixed point.
double WallSeconds();

}  // namespace tarq_solver
