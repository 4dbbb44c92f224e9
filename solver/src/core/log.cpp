#include "core/log.h"

#include <cstdarg>
#include <string>
#include <vector>

namespace tarq_solver {

SharedFile OpenLogFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "a");
  if (f == nullptr) return nullptr;
  return SharedFile(f, [](std::FILE* p) { std::fclose(p); });
}

namespace {

// A logger whose callback runs on this thread, with the lines logged meanwhile; frames nest when
// a callback logs to another problem.
struct Delivery {
  const Logger* logger;
  Delivery* outer;
  std::vector<std::string> pending;
  bool draining = false;
};

thread_local Delivery* tlDelivery = nullptr;

}  // namespace

bool InLogCallback() { return tlDelivery != nullptr; }

void Logger::Deliver(std::string_view text) const {
  for (Delivery* d = tlDelivery; d != nullptr; d = d->outer) {
    if (d->logger != this) continue;
    if (!d->draining) d->pending.emplace_back(text);
    return;
  }
  Delivery frame{this, tlDelivery, {}};
  tlDelivery = &frame;
  struct Pop {
    Delivery& frame;
    ~Pop() { tlDelivery = frame.outer; }
  } pop{frame};
  std::string line(text);
  cb_(line.c_str(), userdata_);
  frame.draining = true;
  for (const std::string& later : frame.pending) {
    if (cb_ != nullptr) cb_(later.c_str(), userdata_);  // the callback may have unregistered itself
  }
}

void Logger::Line(std::string_view text) const {
  if (!enabled_) return;
  if (cb_ != nullptr) Deliver(text);
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
