// The C boundary of the solver library: every TARQ_* function runs its body through Guard, so
// no C++ exception ever crosses into C. Allocation failures become code 1, anything else 5.
#pragma once

#include <new>

#include "tarq.h"

namespace tarq_solver {

template <class Body>
int Guard(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return TARQ_RETCODE_MEMORY;
  } catch (...) {
    return TARQ_RETCODE_INTERNAL;
  }
}

}  // namespace tarq_solver
