// Environment and configuration: internal objects and implementation classes.
#pragma once

#include "frame/handle.h"
#include "frame/status.h"
#include "tarq.h"
#include "tarq/envr.h"

namespace Tarq::detail {

// Owns the solver environment handle; shared by the environment and every model made in it.
struct EnvHolder {
  tarq_env* handle = nullptr;
  ILogCallback* sink = nullptr;  // not owned

  EnvHolder(const EnvHolder&) = delete;
  EnvHolder& operator=(const EnvHolder&) = delete;
  explicit EnvHolder(ILogCallback* logSink) : sink(logSink) {}
  ~EnvHolder() {
    if (handle != nullptr) TARQ_DeleteEnv(&handle);
  }
};

struct EnvrData {
  BlockRef<EnvHolder> holder;
  Status status;
};

// Owns the solver configuration handle.
struct ConfigHolder {
  tarq_envconfig* handle = nullptr;

  ConfigHolder() = default;
  ConfigHolder(const ConfigHolder&) = delete;
  ConfigHolder& operator=(const ConfigHolder&) = delete;
  ~ConfigHolder() {
    if (handle != nullptr) TARQ_DeleteEnvConfig(&handle);
  }
};

struct EnvrConfigData {
  BlockRef<ConfigHolder> holder;
  Status status;
};

// How an environment is created: with a path (possibly null) or from a configuration handle.
struct EnvrSource {
  const char* path = nullptr;
  tarq_envconfig* config = nullptr;
  bool useConfig = false;
  const char* failMessage = "";
};

// Builds an environment, shows the banner and records the outcome; never throws on a solver
// failure (the status tells).
BlockRef<EnvrData> MakeEnvr(const EnvrSource& source, ILogCallback* sink);

}  // namespace Tarq::detail

class TarqEnvr final : public Tarq::detail::Handled<Tarq::IEnvr, Tarq::detail::EnvrData> {
 public:
  using Handled::Handled;
  Tarq::IModel* CreateModel(const char* name) override;
  int Close() override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqEnvrConfig final : public Tarq::detail::Handled<Tarq::IEnvrConfig, Tarq::detail::EnvrConfigData> {
 public:
  using Handled::Handled;
  void Set(const char* name, const char* value) override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};
