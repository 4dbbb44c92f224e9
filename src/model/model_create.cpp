#include "model/model.h"

namespace Tarq::detail {

BlockRef<ModelData> MakeModel(const BlockRef<EnvHolder>& env, const char* name) {
  auto data = BlockRef<ModelData>::Make();
  data->record = BlockRef<ModelRecord>::Make();
  ModelRecord& record = *data->record;
  record.env = env;
  record.problem = BlockRef<ProblemHolder>::Make();
  if (env && env->handle != nullptr) {
    TARQ_CreateProb(env->handle, &record.problem->problem);  // a null problem is checked below
  }
  if (name != nullptr) record.name = name;
  if (record.problem->problem == nullptr) {
    Record(data->status, TARQ_RETCODE_MEMORY, "Critical: fail to create problem");
  }
  return data;
}

}  // namespace Tarq::detail
