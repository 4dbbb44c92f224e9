// Problem life-cycle and log functions of the C interface.
#include <memory>

#include "api/with_problem.h"

using tarq_solver::Guard;

extern "C" {

int TARQ_CreateProb(tarq_env* env, tarq_prob** prob) {
  if (env == nullptr || prob == nullptr || env->closed || !env->core) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    *prob = new tarq_prob(env->core);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_CreateCopy(tarq_prob* src, tarq_prob** dst) {
  if (src == nullptr || dst == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    *dst = new tarq_prob(*src);
    return TARQ_RETCODE_OK;
  });
}

// Deleting a problem from within its own solve (from its log callback) would pull the data from
// under the engine: refused like any other change.
int TARQ_DeleteProb(tarq_prob** prob) {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  if (*prob != nullptr) {
    if (int rc = tarq_solver::WithProblem(*prob, [](tarq_solver::Problem&) { return TARQ_RETCODE_OK; });
        rc != TARQ_RETCODE_OK) {
      return rc;
    }
  }
  delete *prob;
  *prob = nullptr;
  return TARQ_RETCODE_OK;
}

int TARQ_ClearProb(tarq_prob* prob) {
  return tarq_solver::WithProblem(prob, [](tarq_solver::Problem& p) {
    p.Clear();
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetLogCallback(tarq_prob* prob, TARQ_LogCallback cb, void* userdata) {
  return tarq_solver::WithProblem(prob, [&](tarq_solver::Problem& p) {
    p.Log().SetCallback(cb, userdata);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetLogFile(tarq_prob* prob, const char* filename) {
  return tarq_solver::WithProblem(prob, [&](tarq_solver::Problem& p) {
    if (filename == nullptr || *filename == '\0') {
      p.Log().SetFile(nullptr);
      return TARQ_RETCODE_OK;
    }
    auto file = tarq_solver::OpenLogFile(p.Env().Resolve(filename));
    if (!file) return TARQ_RETCODE_FILE;
    p.Log().SetFile(std::move(file));
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
