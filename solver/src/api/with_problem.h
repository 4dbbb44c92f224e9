// Runs a function body on the problem behind a handle, through the C boundary guard.
#pragma once

#include "core/boundary.h"
#include "store/problem.h"

namespace tarq_solver {

template <class Body>
int WithProblem(tarq_prob* prob, Body&& body) noexcept {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] { return body(prob->problem); });
}

}  // namespace tarq_solver
