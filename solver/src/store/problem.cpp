#include "store/problem.h"

namespace tarq_solver {

Problem::Problem(std::shared_ptr<const EnvCore> env) : env_(std::move(env)) {
  // The environment's "LogToConsole" setting is the problem's default for that parameter.
  params_.SetDefault(IntParam::LogToConsole, env_->settings.logToConsole ? 1 : 0);
  ApplyLogParams(params_, log_);
  log_.SetFile(env_->logFile);
}

void Problem::Clear() {}

}  // namespace tarq_solver
