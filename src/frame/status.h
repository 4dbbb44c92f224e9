// The status every failing internal object carries, and the one place that formats its messages.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <memory>

namespace Tarq::detail {

constexpr int kMessageBytes = 128;
constexpr int kPrefixBytes = 32;  // "(NAME) " with its terminator
constexpr int kTextBytes = 96;    // the operation's text with its terminator

// One pointer: the code and its message live in a buffer allocated on the first error, so an
// object that never fails pays eight bytes for its status.
class Status {
 public:
  Status() = default;
  Status(const Status& other) { *this = other; }
  // Copies the code; a message travels only with a non-zero code.
  Status& operator=(const Status& other);
  Status(Status&&) noexcept = default;
  Status& operator=(Status&&) noexcept = default;

  int Code() const noexcept { return buf_ ? static_cast<int>(buf_->code) : 0; }
  // The last message, or null when no error was ever recorded.
  const char* Message() const noexcept { return buf_ ? buf_->text : nullptr; }
  bool Ok() const noexcept { return Code() == 0; }
  // Stores code 0, keeping the old message text.
  void ClearCode() noexcept {
    if (buf_) buf_->code = 0;
  }
  // Stores a code and a message given whole (cut to the buffer).
  void Set(int code, const char* message);

 private:
  friend void RecordText(Status& status, int code, const char* fmt, std::va_list ap);
  struct Buffer {
    std::uint32_t code = 0;
    char text[kMessageBytes] = {};
  };
  Buffer& Buf() {
    if (!buf_) buf_ = std::make_unique<Buffer>();
    return *buf_;
  }
  std::unique_ptr<Buffer> buf_;
};

// The name of a return code in message prefixes ("MEMORY", "FILE", "INVALID", ...).
const char* CodeName(int code) noexcept;

// Stores the code. For a non-zero code, writes "(NAME) " (at most 31 characters) then the
// formatted text (at most 95), allocating the message buffer on first use. Code 0 keeps the old
// message text.
void Record(Status& status, int code, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

// Follows every solver-library call: records its return code with the operation's message and
// tells whether it succeeded:  if (!Checked(status_, TARQ_Foo(...), "Fail to foo")) return;
bool Checked(Status& status, int rc, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

// Throws Tarq::Exception with the solver library's text for a non-zero code; returns for 0.
void ThrowSolverCode(int code);

}  // namespace Tarq::detail
