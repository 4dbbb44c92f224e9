// Runs a function body on the problem behind a handle, through the C boundary guard. Every C
// function that takes a problem goes through one of three kinds of access:
//   ReadProblem    reads (getters, attributes, names, writers of files): allowed at any time, also
//                  from a log callback of the problem's own solve.
//   WithProblem    changes the problem: refused with 6 (TARQ_RETCODE_THREAD) and a log line while
//                  the problem is solving, so a solve never ends with results of other data.
//   SolveProblemAs solves it (solve, IIS, relaxation, tuning): refused likewise; the problem
//                  counts as solving until the body returns.
// The log line names the C function, which the compiler supplies as a default argument.
#pragma once


#include "core/boundary.h"
#include "store/problem.h"

namespace tarq_solver {

// Logs that the C function caller (named by the compiler at the call site) is refused because
// the problem is solving; returns 6.
int RefuseWhileSolving(Problem& problem, const char* caller);

template <class Body>
int ReadProblem(tarq_prob* prob, Body&& body) noexcept {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] { return body(prob->problem); });
}

template <class Body>
int WithProblem(tarq_prob* prob, Body&& body, const char* caller = __builtin_FUNCTION()) noexcept {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    if (prob->problem.Solving().Busy()) return RefuseWhileSolving(prob->problem, caller);
    return body(prob->problem);
  });
}

template <class Body>
int SolveProblemAs(tarq_prob* prob, Body&& body, const char* caller = __builtin_FUNCTION()) noexcept {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    BusyFlag& solving = prob->problem.Solving();
    if (!solving.Enter()) return RefuseWhileSolving(prob->problem, caller);
    struct Leave {
      BusyFlag& flag;
      ~Leave() { flag.Leave(); }
    } leave{solving};
    return body(prob->problem);
  });
}

}  // namespace tarq_solver
