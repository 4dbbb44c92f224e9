#include "frame/status.h"

#include <cstdarg>
#include <cstdio>

#include "tarq.h"
#include "tarq/exception.h"

namespace Tarq::detail {
namespace {

void RecordV(Status& status, int code, const char* fmt, va_list ap) {
  status.code = static_cast<std::uint32_t>(code);
  if (code == 0) return;
  if (!status.message) status.message = std::make_unique<char[]>(kMessageBytes);
  char* buf = status.message.get();
  int prefix = std::snprintf(buf, kPrefixBytes, "(%s) ", CodeName(code));
  if (prefix < 0) prefix = 0;
  if (prefix > kPrefixBytes - 1) prefix = kPrefixBytes - 1;
  std::vsnprintf(buf + prefix, kTextBytes, fmt, ap);
}

}  // namespace

Status& Status::operator=(const Status& other) {
  if (this == &other) return *this;
  code = other.code;
  if (other.code != 0 && other.message) {
    if (!message) message = std::make_unique<char[]>(kMessageBytes);
    std::snprintf(message.get(), kMessageBytes, "%s", other.message.get());
  }
  return *this;
}

const char* CodeName(int code) noexcept {
  switch (code) {
    case TARQ_RETCODE_MEMORY: return "MEMORY";
    case TARQ_RETCODE_FILE: return "FILE";
    case TARQ_RETCODE_INVALID: return "INVALID";
    case TARQ_RETCODE_INTERNAL: return "INTERNAL";
    case TARQ_RETCODE_THREAD: return "THREAD";
    case TARQ_RETCODE_SERVER: return "SERVER";
    case TARQ_RETCODE_NONCONVEX: return "NONCONVEX";
    default: return "UNKNOWN";
  }
}

void Record(Status& status, int code, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  RecordV(status, code, fmt, ap);
  va_end(ap);
}

bool Checked(Status& status, int rc, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  RecordV(status, rc, fmt, ap);
  va_end(ap);
  return rc == 0;
}

void ThrowSolverCode(int code) {
  if (code == 0) return;
  char text[1024] = {};
  TARQ_GetRetcodeMsg(code, text, 1020);
  throw Tarq::Exception(text, code);
}

}  // namespace Tarq::detail
