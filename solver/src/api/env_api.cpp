// Environment and configuration functions of the C interface.
#include "core/boundary.h"
#include "env/environment.h"

using tarq_solver::EnvSettings;
using tarq_solver::Guard;

namespace {

int NewEnv(const EnvSettings& settings, tarq_env** env) {
  std::shared_ptr<const tarq_solver::EnvCore> core;
  int rc = tarq_solver::MakeEnvCore(settings, core);
  if (rc != TARQ_RETCODE_OK) return rc;
  *env = new tarq_env{std::move(core), false};
  return TARQ_RETCODE_OK;
}

}  // namespace

extern "C" {

int TARQ_CreateEnvConfig(tarq_envconfig** config) {
  if (config == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    auto settings = std::make_unique<EnvSettings>();
    *config = new tarq_envconfig{0, settings.get()};
    settings.release();
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetEnvConfig(tarq_envconfig* config, const char* name, const char* value) {
  if (config == nullptr || config->settings == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    int rc = tarq_solver::ApplyEnvSetting(*config->settings, name, value);
    config->quiet = config->settings->banner ? 0 : 1;
    return rc;
  });
}

int TARQ_DeleteEnvConfig(tarq_envconfig** config) {
  if (config == nullptr) return TARQ_RETCODE_INVALID;
  if (*config != nullptr) {
    delete (*config)->settings;
    delete *config;
    *config = nullptr;
  }
  return TARQ_RETCODE_OK;
}

int TARQ_CreateEnvWithPath(const char* path, tarq_env** env) {
  if (env == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    EnvSettings settings;
    if (path != nullptr) settings.homeDir = path;
    return NewEnv(settings, env);
  });
}

int TARQ_CreateEnvWithConfig(tarq_envconfig* config, tarq_env** env) {
  if (config == nullptr || config->settings == nullptr || env == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] { return NewEnv(*config->settings, env); });
}

int TARQ_CloseEnv(tarq_env** env) {
  if (env == nullptr || *env == nullptr) return TARQ_RETCODE_INVALID;
  (*env)->closed = true;
  return TARQ_RETCODE_OK;
}

int TARQ_DeleteEnv(tarq_env** env) {
  if (env == nullptr) return TARQ_RETCODE_INVALID;
  delete *env;
  *env = nullptr;
  return TARQ_RETCODE_OK;
}

}  // extern "C"
