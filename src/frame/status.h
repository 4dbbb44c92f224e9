// The status every failing internal object carries, and the one place that formats its messages.
#pragma once

#include <cstdint>
#include <memory>

namespace Tarq::detail {

constexpr int kMessageBytes = 128;
constexpr int kPrefixBytes = 32;  // "(NAME) " with its terminator
constexpr int kTextBytes = 96;    // the operation's text with its terminator

struct Status {
  std::uint32_t code = 0;
  std::unique_ptr<char[]> message;  // kMessageBytes, allocated on the first error

  Status() = default;
  Status(const Status& other) { *this = other; }
  // Copies the code; a message travels only with a non-zero code.
  Status& operator=(const Status& other);
  Status(Status&&) noexcept = default;
  Status& operator=(Status&&) noexcept = default;

  int Code() const noexcept { return static_cast<int>(code); }
  const char* Message() const noexcept { return message.get(); }
  bool Ok() const noexcept { return code == 0; }
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
