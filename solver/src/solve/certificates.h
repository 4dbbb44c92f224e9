// Certificates of an LP's infeasibility (a dual Farkas vector over the rows) and unboundedness
// (a primal ray over the columns): the checks every certificate passes before it is reported,
// and the auxiliary LPs that find one when the engine offers none that passes.
//
// Conventions (documented for callers in tarq.h, "DualFarkas" and "PrimalRay"):
//  - Farkas vector y, one entry per row: y_i > 0 combines row i's lower bound, y_i < 0 its upper
//    bound, so every x within the rows satisfies (y'A) x >= beta = sum(y_i > 0: y_i L_i) +
//    sum(y_i < 0: y_i U_i), while no x within the column bounds does: the largest value of
//    (y'A) x over the bounds stays below beta. These are the signs of the duals (tarq.h) taken
//    as a ray of the dual problem.
//  - Ray r, one entry per column: moving any feasible point along r keeps every row and bound
//    satisfied, and improves the objective in its sense.
#pragma once

#include <string>
#include <vector>

#include "solve/engines.h"

namespace tarq_solver {

struct CertificateTolerances {
  double feas = 1e-6;  // "FeasTol": how far a row or bound may be missed
  double dual = 1e-7;  // "DualTol": coefficients of y'A this small count as 0
};

// Scales y to largest magnitude 1 (entries below 1e-12 become 0) and checks that it proves
// data's rows (data.Rows() of them) and column bounds contradictory by more than the slack the
// feasibility tolerance allows every row and bound. Returns "" when it does, otherwise why not.
// O(nonzeros).
std::string CheckFarkas(const LpData& data, std::vector<double>& y, const CertificateTolerances& tol);

// Scales r to largest magnitude 1 (entries below 1e-12 become 0) and checks that it stays within
// the recession cone of the rows and bounds (to the feasibility tolerance, relative to the
// row's magnitude along r) and improves the objective by more than the dual tolerance. Returns
// "" when it does, otherwise why not. O(nonzeros).
std::string CheckRay(const LpData& data, std::vector<double>& r, const CertificateTolerances& tol);

// With out.status infeasible or unbounded, leaves a checked certificate in out.farkas or out.ray:
// one of the engine's candidates (tried in order; either may be empty) when it passes the check,
// otherwise one found by an auxiliary LP (see certificates.cpp). Logs a line when a candidate
// fails and when no certificate could be found. data must have no added rows.
void AttachCertificate(const LpData& data, const EngineContext& ctx, const std::vector<std::vector<double>>& candidates,
                       EngineResult& out);

}  // namespace tarq_solver
