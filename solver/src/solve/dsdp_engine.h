// The adapter to DSDP, the dual-scaling interior-point engine for semidefinite programs. It
// solves a conic form without equalities (conic_form.h, whose maximisation over y is DSDP's
// dual problem and whose minimisation over X is DSDP's primal one) and nothing else; mapping a
// problem onto the form and back is the business of sdp_solve.cpp. No other file includes a
// DSDP header.
//
// DSDP keeps process-wide state (its event log and output file), so its solves run one at a
// time within a process.
#pragma once

#include <chrono>

#include "core/log.h"
#include "solve/conic_form.h"
#include "store/problem.h"

namespace tarq_solver {

struct DsdpSettings {
  double gapTol = 1e-8;  // relative duality gap at which the solve stops
  int maxIter = 500;
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
  const InterruptFlag* interrupt = nullptr;
  const Logger* log = nullptr;
  int logLevel = 0;  // 1: a line every few iterations and a summary; 2: every iteration
};

// Solves form (which must have no equalities). Returns 0, or 1 when memory ran out and 5 when
// DSDP refused the data; the outcome is in out.
int SolveWithDsdp(const ConicForm& form, const DsdpSettings& settings, ConicSolution& out);

}  // namespace tarq_solver
