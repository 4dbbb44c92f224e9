// Loading an LpData into Clp, and basis statuses in both directions. Shared by the LP engine and
// the MIP engine (which hands Cbc a Clp model).
#pragma once

#include "solve/engines.h"

#include <ClpSimplex.hpp>

namespace tarq_solver {

// Loads data (matrix rows, then the added rows) into model, replacing what it held.
void LoadIntoClp(const LpData& data, ClpSimplex& model);

// Engine status of a column or row in the TARQ_BASIS_* codes, and back. ToClpStatus repairs a
// status the bounds do not allow (a column "at" an infinite bound).
int FromClpStatus(ClpSimplex::Status status);
ClpSimplex::Status ToClpStatus(int code, double lower, double upper);

// After an LP solve of model (data loaded, status and solution in out): the certificate
// ("ReqFarkasRay") of an infeasible or unbounded LP, the engine's own offered first when
// simplexBasis (ray, when not empty, a known ray tried before those), and the ranges
// ("ReqSensitivity") of an optimal basis. See clp_analysis.cpp.
void AnalyseLp(const LpData& data, const EngineContext& ctx, ClpSimplex& model, bool simplexBasis,
               const std::vector<double>& ray, EngineResult& out);

// Engine log level for the "Logging" and "LogLevel" parameters.
int EngineLogLevel(const ParamSet& params);

}  // namespace tarq_solver
