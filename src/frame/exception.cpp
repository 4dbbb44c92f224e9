#include "tarq/exception.h"

namespace Tarq {

Exception::Exception(const char* message, int code) : std::runtime_error(message), code_(code) {}
Exception::Exception(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
Exception::Exception(int code) : std::runtime_error("ERROR"), code_(code) {}
Exception::~Exception() = default;

}  // namespace Tarq
