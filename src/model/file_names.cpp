#include "model/file_names.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace Tarq::detail {
namespace {

std::string_view Trim(const char* text) {
  std::string_view s(text);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// The working directory at the first name resolution; empty when it could not be read.
const std::filesystem::path& StartDirectory() {
  static const std::filesystem::path dir = [] {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path() : p;
  }();
  return dir;
}

}  // namespace

bool HasSuffix(const char* name, const char* suffix) {
  if (name == nullptr || suffix == nullptr) return false;
  const std::string_view n = Trim(name), s = Trim(suffix);
  if (s.empty() || n.size() < s.size()) return false;
  const std::string_view tail = n.substr(n.size() - s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != std::tolower(static_cast<unsigned char>(s[i]))) {
      return false;
    }
  }
  return true;
}

std::string ResolveFileName(const char* name) {
  const std::filesystem::path& start = StartDirectory();  // read at the first resolution
  std::string text(Trim(name));
  if (!text.empty() && text[0] == '~') {
    const char* drive = std::getenv("HOMEDRIVE");
    const char* path = std::getenv("HOMEPATH");
    text = std::string(drive != nullptr ? drive : "") + (path != nullptr ? path : "") + text.substr(1);
  }
  if (text.empty()) return {};
  std::filesystem::path p(text);
  if (p.is_relative()) p = start / p;
  const auto utf8 = p.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace Tarq::detail
