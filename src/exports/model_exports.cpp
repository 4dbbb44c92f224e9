#include "model/tarq_model.h"
#include "tarq/exports.h"

using Tarq::detail::BlockRef;
using Tarq::detail::ModelData;

extern "C" Tarq::IModel* CreateModel(Tarq::IEnvr* env, const char* name) {
  if (auto* own = dynamic_cast<TarqEnvr*>(env)) {
    return new TarqModel(Tarq::detail::MakeModel(own->Data().holder, name));
  }
  // Another implementation of the environment: adopt the model it makes when it is one of ours.
  Tarq::IModel* made = env != nullptr ? env->CreateModel(name) : nullptr;
  if (auto* ours = dynamic_cast<TarqModel*>(made)) {
    auto* model = new TarqModel(ours->Ref());
    delete made;
    return model;
  }
  delete made;
  return new TarqModel(Tarq::detail::MakeModel(BlockRef<Tarq::detail::EnvHolder>(), name));
}
