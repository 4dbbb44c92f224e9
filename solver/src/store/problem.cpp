#include "store/problem.h"

namespace tarq_solver {

Problem::Problem(std::shared_ptr<const EnvCore> env) : env_(std::move(env)) {
  log_.SetConsole(env_->settings.logToConsole);
  log_.SetFile(env_->logFile);
}

void Problem::Clear() {}

}  // namespace tarq_solver
