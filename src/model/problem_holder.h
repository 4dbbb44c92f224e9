// The owner of a model's solver problem.
#pragma once

#include "tarq.h"

namespace Tarq::detail {

// Every object record of the model holds a reference on it, so the problem lives until the
// last object of the model is gone.
struct ProblemHolder {
  bool pending = false;  // an object is marked removed and not yet deleted
  tarq_prob* problem = nullptr;

  ProblemHolder() = default;
  ProblemHolder(const ProblemHolder&) = delete;
  ProblemHolder& operator=(const ProblemHolder&) = delete;
  ~ProblemHolder() {
    if (problem != nullptr) TARQ_DeleteProb(&problem);
  }
};

}  // namespace Tarq::detail
