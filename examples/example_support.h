// What the examples share: ownership of the library's objects, turning a failed operation into
// an exception, the solve statuses they test for, and a main that reports an exception.
#pragma once

#include <cstdio>
#include <memory>

#include "tarq/tarq.hpp"

namespace example {

// The library's objects belong to the caller, who deletes them through their interface.
template <class T>
using Own = std::unique_ptr<T>;

// Raises Tarq::Exception when the last operation on obj failed.
template <class T>
void Check(const T& obj) {
  if (obj.GetErrorCode() != 0) throw Tarq::Exception(obj.GetErrorMsg(), obj.GetErrorCode());
}

// "LpStatus" / "MipStatus" of a solve that proved optimality, and "LpStatus" of one that found a
// local optimum of a problem with nonlinear functions.
constexpr int kOptimal = 1;
constexpr int kLocallyOptimal = 10;

// An environment that prints neither its banner nor the solver's log on the console.
inline Own<Tarq::IEnvr> QuietEnvironment() {
  Own<Tarq::IEnvrConfig> config(CreateEnvrConfig());
  config->Set("Banner", "0");
  config->Set("LogToConsole", "0");
  Check(*config);
  Own<Tarq::IEnvr> env(CreateEnvrWithConfig(config.get(), nullptr));
  Check(*env);
  return env;
}

// Runs the example's body and returns its exit code; an exception the library raised is printed
// and gives exit code 1.
template <class Body>
int RunReporting(Body&& body) {
  try {
    return body();
  } catch (const Tarq::Exception& e) {
    std::fprintf(stderr, "tarq error %d: %s\n", e.GetErrorCode(), e.what());
    return 1;
  }
}

}  // namespace example
