// A solver environment whose problems send no log line to standard output.
#pragma once

#include "tarq.h"

inline tarq_env* NewQuietEnv() {
  tarq_envconfig* config = nullptr;
  tarq_env* env = nullptr;
  if (TARQ_CreateEnvConfig(&config) != 0) return nullptr;
  if (TARQ_SetEnvConfig(config, "LogToConsole", "0") == 0) TARQ_CreateEnvWithConfig(config, &env);
  TARQ_DeleteEnvConfig(&config);
  return env;
}
