// Environments and their configurations. An environment's settings live in an immutable EnvCore
// that every problem made in it shares, so problems outlive the environment handle safely.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/log.h"
#include "tarq.h"

namespace tarq_solver {

struct EnvSettings {
  bool banner = true;
  bool logToConsole = true;
  std::string logFile;  // empty: none
  std::string homeDir;  // empty: none
};

// Validates and applies one named setting; returns 0 or 3 (unknown name or malformed value).
int ApplyEnvSetting(EnvSettings& settings, const char* name, const char* value);

// What problems take from their environment when they are created.
struct EnvCore {
  EnvSettings settings;
  SharedFile logFile;  // opened once, shared by every problem of the environment

  // Resolves a file name against the home directory when it is relative.
  std::string Resolve(const std::string& name) const;
};

// Builds the core of a new environment; returns 2 when the home directory is missing or the
// log file cannot be opened.
int MakeEnvCore(const EnvSettings& settings, std::shared_ptr<const EnvCore>& out);

}  // namespace tarq_solver

// The handles are standard-layout records. The configuration's first field is a 32-bit word that
// callers may read directly: it is non-zero when the configuration turns the banner off.
struct tarq_envconfig {
  std::int32_t quiet;
  tarq_solver::EnvSettings* settings;
};

struct tarq_env {
  std::shared_ptr<const tarq_solver::EnvCore> core;
  bool closed = false;
};
