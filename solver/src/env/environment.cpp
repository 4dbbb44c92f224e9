#include "env/environment.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/text.h"

namespace tarq_solver {
namespace {

// Accepts exactly "0" or "1".
bool ParseFlag(const char* value, bool& out) {
  std::string_view v(value);
  if (v == "0") {
    out = false;
    return true;
  }
  if (v == "1") {
    out = true;
    return true;
  }
  return false;
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

int ApplyEnvSetting(EnvSettings& settings, const char* name, const char* value) {
  if (name == nullptr || value == nullptr) return TARQ_RETCODE_INVALID;
  if (EqualNoCase(name, "Banner")) {
    return ParseFlag(value, settings.banner) ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  }
  if (EqualNoCase(name, "LogToConsole")) {
    return ParseFlag(value, settings.logToConsole) ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  }
  if (EqualNoCase(name, "LogFile")) {
    settings.logFile = value;
    return TARQ_RETCODE_OK;
  }
  if (EqualNoCase(name, "HomeDir")) {
    settings.homeDir = value;
    return TARQ_RETCODE_OK;
  }
  return TARQ_RETCODE_INVALID;
}

std::string EnvCore::Resolve(const std::string& name) const {
  std::filesystem::path p(name);
  if (p.is_absolute() || settings.homeDir.empty()) return name;
  return (std::filesystem::path(settings.homeDir) / p).string();
}

int MakeEnvCore(const EnvSettings& settings, std::shared_ptr<const EnvCore>& out) {
  if (!settings.homeDir.empty() && !IsDirectory(settings.homeDir)) return TARQ_RETCODE_FILE;
  auto core = std::make_shared<EnvCore>();
  core->settings = settings;
  if (!settings.logFile.empty()) {
    core->logFile = OpenLogFile(core->Resolve(settings.logFile));
    if (!core->logFile) return TARQ_RETCODE_FILE;
  }
  out = std::move(core);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
