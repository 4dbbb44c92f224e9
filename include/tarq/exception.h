// Tarq::Exception: the exception the caller's side raises from a non-zero status, and the one the
// library throws itself when a parameter or attribute name is unknown to the solver library.
#pragma once

#include <stdexcept>
#include <string>

#include "tarq/visibility.h"

namespace Tarq {

class TARQ_CPP_API Exception : public std::runtime_error {
 public:
  Exception(const char* message, int code);
  Exception(const std::string& message, int code);
  // The message is "ERROR".
  explicit Exception(int code);
  ~Exception() override;

  // The solver library's return code.
  int GetErrorCode() const noexcept { return code_; }

 private:
  int code_;
};

}  // namespace Tarq
