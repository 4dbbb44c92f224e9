// Clp's barrier method, driven here rather than through ClpSolve so that an interrupt or the time
// limit can end it between iterations (see BarrierWatch).
#pragma once

#include <ClpSimplex.hpp>

#include "solve/engine_hooks.h"

namespace tarq_solver {

struct BarrierRun {
  bool crossover = true;  // a simplex from the barrier point to an optimal basis
  bool presolve = true;   // presolve first
  double timeLimit = TARQ_INFINITY;
  int iterationLimit = 500;  // barrier iterations
};

struct BarrierOutcome {
  bool interrupted = false;
  bool timedOut = false;
  int barrierIter = 0;
  int simplexIter = 0;
  double relativeGap = 0;  // the barrier's last duality gap over 1 + |objective|
  double violation = 0;    // without crossover: the largest relative violation at the last point
  // False when, without crossover, the barrier reported an optimum at a point that misses the
  // tolerances (what it does on some infeasible and unbounded problems).
  bool trusted = true;
  bool hasBasis = false;  // the problem holds the basis the crossover ended with
};

// Solves model (loaded, with relay as its message handler) by the barrier method. Afterwards
// model.status() is the outcome unless the run was interrupted or timed out; without crossover
// the solution is the barrier's last point and no basis is meaningful.
BarrierOutcome RunBarrier(ClpSimplex& model, LogRelay& relay, const InterruptFlag& flag, const BarrierRun& run);

}  // namespace tarq_solver
