#include "frame/status.h"

#include <cstdarg>
#include <cstdio>

#include "tarq.h"
#include "tarq/exception.h"

namespace Tarq::detail {
void RecordText(Status& status, int code, const char* fmt, std::va_list ap) {
  if (code == 0) {
    status.ClearCode();
    return;
  }
  Status::Buffer& b = status.Buf();
  b.code = static_cast<std::uint32_t>(code);
  char* buf = b.text;
  int prefix = std::snprintf(buf, kPrefixBytes, "(%s) ", CodeName(code));
  if (prefix < 0) prefix = 0;
  if (prefix > kPrefixBytes - 1) prefix = kPrefixBytes - 1;
  std::vsnprintf(buf + prefix, kTextBytes, fmt, ap);
}

Status& Status::operator=(const Status& other) {
  if (this == &other) return *this;
  if (other.Code() == 0) {
    ClearCode();
    return *this;
  }
  Buffer& b = Buf();
  b.code = other.buf_->code;
  std::snprintf(b.text, kMessageBytes, "%s", other.buf_->text);
  return *this;
}

void Status::Set(int code, const char* message) {
  if (code == 0) {
    ClearCode();
    return;
  }
  Buffer& b = Buf();
  b.code = static_cast<std::uint32_t>(code);
  std::snprintf(b.text, kMessageBytes, "%s", message != nullptr ? message : "");
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
  RecordText(status, code, fmt, ap);
  va_end(ap);
}

bool Checked(Status& status, int rc, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  RecordText(status, rc, fmt, ap);
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
