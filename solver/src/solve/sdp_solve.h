// Solving problems with semidefinite parts (PSD columns, PSD rows, LMI rows): the problem is
// mapped onto the conic form (sdp_mapping.h), its equalities are eliminated (conic_reduce.h), DSDP
// solves it (dsdp_engine.h) and the solution is mapped back.
#pragma once

#include "solve/engines.h"
#include "store/psd_results.h"

namespace tarq_solver {

// Solves p with params into out (status, scalar solution, duals, barrier iterations) and psd.
// Returns 0 when the solve ran (whatever its outcome), 1 or 5 when the engine failed to run.
int SolveSdp(Problem& p, const ParamSet& params, EngineResult& out, PsdResults& psd);

// For operations that work on the linear part only (IIS, feasibility relaxation, tuning): when
// the problem has semidefinite parts, logs that the operation does not take them and returns true.
bool RefuseSemidefinite(Problem& problem, const char* operation);

}  // namespace tarq_solver
