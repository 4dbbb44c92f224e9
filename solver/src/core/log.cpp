#include "core/log.h"

#include <cstdarg>
#include <string>

namespace tarq_solver {

SharedFile OpenLogFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "a");
  if (f == nullptr) return nullptr;
  return SharedFile(f, [](std::FILE* p) { std::fclose(p); });
}

void Logger::Line(std::string_view text) const {
  if (!enabled_) return;
  if (cb_ != nullptr) {
    std::string line(text);
    cb_(line.c_str(), userdata_);
  }
  if (file_) {
    std::fwrite(text.data(), 1, text.size(), file_.get());
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
  }
  if (console_) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
}

void Logger::Printf(const char* fmt, ...) const {
  char buf[4096];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) return;
  Line(std::string_view(buf, static_cast<size_t>(n) < sizeof buf ? static_cast<size_t>(n) : sizeof buf - 1));
}

}  // namespace tarq_solver
