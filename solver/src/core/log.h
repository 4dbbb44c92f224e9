// Log destinations of a problem: a caller callback, a file shared with copies of the problem,
// and standard output. Every line goes to each destination that is set.
//
// The callback is never re-entered: a line logged while it runs on the same thread (by a call it
// makes into the library, such as a refused change) reaches it once it has returned. Lines
// logged while those are delivered go to the other destinations only, so a callback that calls
// something that logs, for every line, cannot loop.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "tarq.h"

namespace tarq_solver {

using SharedFile = std::shared_ptr<std::FILE>;

// True while the calling thread runs the log callback of some problem.
bool InLogCallback();

// Opens a file for appending log lines; null when it cannot be opened.
SharedFile OpenLogFile(const std::string& path);

class Logger {
 public:
  void SetCallback(TARQ_LogCallback cb, void* userdata) {
    cb_ = cb;
    userdata_ = userdata;
  }
  void SetFile(SharedFile file) { file_ = std::move(file); }
  void SetConsole(bool on) { console_ = on; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Console() const { return console_; }

  // Sends one line (no trailing newline) to every destination.
  void Line(std::string_view text) const;
  // printf-style Line; the text is cut at 4095 characters.
  void Printf(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

 private:
  void Deliver(std::string_view text) const;

  TARQ_LogCallback cb_ = nullptr;
  void* userdata_ = nullptr;
  SharedFile file_;
  bool console_ = true;
  bool enabled_ = true;
};

}  // namespace tarq_solver
