// The engines for smooth problems: Ipopt (interior point) for continuous ones and Bonmin
// (nonlinear branch and bound over Ipopt) for mixed-integer ones. Both take a SmoothProblem with
// the solve's parameters, logger and interrupt flag, and fill a SmoothResult; neither touches
// the stored problem.
#pragma once

#include <vector>

#include "solve/engines.h"
#include "solve/smooth_problem.h"

namespace tarq_solver {

struct SmoothResult {
  int status = TARQ_STATUS_UNSTARTED;
  bool hasSolution = false;  // values and row values
  bool hasDuals = false;     // duals and reduced costs (continuous solves)
  std::vector<double> values;    // one per column
  std::vector<double> rowValues; // every row of the SmoothEvaluator, linear rows first
  // Row duals y and reduced costs d = grad F(x) - J(x)'y, with F the objective in its own sense
  // (the conventions of tarq.h).
  std::vector<double> duals;
  std::vector<double> redCosts;
  double objective = TARQ_INFINITY;  // with the constant
  double bound = -TARQ_INFINITY;     // best bound of a mixed-integer solve
  int iterations = 0;                // interior-point iterations (summed over nodes)
  int nodes = 0;
};

// Solves a continuous problem (integer markers ignored) with Ipopt. Returns 0, or 1 / 5 when
// the engine could not run; the outcome is in out.
int SolveSmooth(const SmoothProblem& problem, const EngineContext& ctx, SmoothResult& out);

// Solves a problem with integer columns or special ordered sets by nonlinear branch and bound,
// which branches on the sets as sets.
int SolveSmoothMip(const SmoothProblem& problem, const EngineContext& ctx, SmoothResult& out);

// Ipopt's settings from the solve's parameters, shared by both engines: tolerances, iteration
// limit, barrier strategy, constant derivatives.
struct IpoptSetting {
  enum Kind { kText, kNumber, kInteger };
  const char* name;
  Kind kind;
  const char* text;  // kText
  double number;     // kNumber
  int integer;       // kInteger
  static IpoptSetting Text(const char* n, const char* v) { return {n, kText, v, 0, 0}; }
  static IpoptSetting Number(const char* n, double v) { return {n, kNumber, nullptr, v, 0}; }
  static IpoptSetting Integer(const char* n, int v) { return {n, kInteger, nullptr, 0, v}; }
};
std::vector<IpoptSetting> IpoptSettings(const ParamSet& params, const SmoothEvaluator& eval);

// Fills a solution's row values and objective from its values, and its reduced costs from its
// duals when it has them.
void CompleteSmoothSolution(const SmoothEvaluator& eval, SmoothResult& out);

}  // namespace tarq_solver
