// The solver library's problem: what it was made from (its environment's core), where its log
// lines go, and (as the library grows) the problem data, parameters and results.
#pragma once

#include <memory>

#include "core/log.h"
#include "env/environment.h"
#include "params/param_set.h"

namespace tarq_solver {

class Problem {
 public:
  explicit Problem(std::shared_ptr<const EnvCore> env);

  const EnvCore& Env() const { return *env_; }
  Logger& Log() { return log_; }
  const Logger& Log() const { return log_; }
  ParamSet& Params() { return params_; }
  const ParamSet& Params() const { return params_; }

  // Removes every object; parameters and log destinations stay.
  void Clear();

 private:
  std::shared_ptr<const EnvCore> env_;
  Logger log_;
  ParamSet params_;
};

}  // namespace tarq_solver

struct tarq_prob {
  explicit tarq_prob(std::shared_ptr<const tarq_solver::EnvCore> env) : problem(std::move(env)) {}
  tarq_solver::Problem problem;
};
