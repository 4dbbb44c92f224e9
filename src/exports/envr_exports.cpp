#include "model/envr.h"
#include "tarq/exports.h"

using Tarq::detail::EnvrSource;

namespace {

Tarq::IEnvr* NewEnvr(const EnvrSource& source, Tarq::ILogCallback* sink) {
  return new TarqEnvr(Tarq::detail::MakeEnvr(source, sink));
}

}  // namespace

extern "C" {

Tarq::IEnvr* CreateEnvr(Tarq::ILogCallback* logSink) {
  return NewEnvr({nullptr, nullptr, false, "Fail to create TARQ environment"}, logSink);
}

Tarq::IEnvr* CreateEnvrWithPath(const char* path, Tarq::ILogCallback* logSink) {
  return NewEnvr({path, nullptr, false, "Fail to create TARQ environment with path"}, logSink);
}

Tarq::IEnvr* CreateEnvrWithConfig(Tarq::IEnvrConfig* config, Tarq::ILogCallback* logSink) {
  tarq_envconfig* handle = nullptr;
  if (config != nullptr) handle = static_cast<TarqEnvrConfig*>(config)->Data().holder->handle;
  return NewEnvr({nullptr, handle, true, "Fail to create TARQ environment with config"}, logSink);
}

Tarq::IEnvrConfig* CreateEnvrConfig() {
  auto data = Tarq::detail::BlockRef<Tarq::detail::EnvrConfigData>::Make();
  data->holder = Tarq::detail::BlockRef<Tarq::detail::ConfigHolder>::Make();
  TARQ_CreateEnvConfig(&data->holder->handle);  // a null handle makes later calls fail with 3
  return new TarqEnvrConfig(std::move(data));
}

}  // extern "C"
