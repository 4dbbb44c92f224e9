#include "params/param_set.h"

#include "core/log.h"

namespace tarq_solver {

ParamSet::ParamSet() {
  for (int i = 0; i < kNumDblParams; ++i) current_.dbls[i] = kDblParamInfo[i].def;
  for (int i = 0; i < kNumIntParams; ++i) current_.ints[i] = kIntParamInfo[i].def;
  defaults_ = current_;
}

void ApplyLogParams(const ParamSet& params, Logger& log) {
  log.SetEnabled(params.Int(IntParam::Logging) != 0);
  log.SetConsole(params.Int(IntParam::LogToConsole) != 0);
}

}  // namespace tarq_solver
