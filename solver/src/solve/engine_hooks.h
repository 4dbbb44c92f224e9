// What the engines call back into while they run: a message handler that relays every engine
// message line by line to the problem's logger, and event handlers that stop a solve once the
// problem's interrupt flag is raised.
//
// The handlers hold plain pointers to the logger and the flag, which outlive every solve. Cbc
// copies handlers into its sub-models and, with several threads, prints from worker threads: all
// copies of one relay share a mutex, so lines never interleave.
#pragma once

#include <memory>
#include <mutex>

#include "core/log.h"
#include "store/problem.h"

// COIN headers are included as system headers by the build; keep them after our own.
#include <CbcEventHandler.hpp>
#include <ClpEventHandler.hpp>
#include <CoinMessageHandler.hpp>

namespace tarq_solver {

class LogRelay : public CoinMessageHandler {
 public:
  // level: the engine's log level (0 quiet, 1 progress, more for details).
  LogRelay(const Logger& log, int level);
  LogRelay(const LogRelay& other) = default;
  LogRelay& operator=(const LogRelay& other) = default;
  int print() override;
  CoinMessageHandler* clone() const override { return new LogRelay(*this); }

 private:
  const Logger* log_;
  std::shared_ptr<std::mutex> mutex_;
};

// Stops Clp (status 5) at the end of an iteration or factorisation once the flag is raised.
class ClpInterrupt : public ClpEventHandler {
 public:
  explicit ClpInterrupt(const InterruptFlag& flag) : flag_(&flag) {}
  int event(Event whichEvent) override;
  ClpEventHandler* clone() const override { return new ClpInterrupt(*this); }

 private:
  const InterruptFlag* flag_;
};

// Stops Cbc at its next event (node, solution, heuristic pass, ...) once the flag is raised.
class CbcInterrupt : public CbcEventHandler {
 public:
  explicit CbcInterrupt(const InterruptFlag& flag) : flag_(&flag) {}
  CbcAction event(CbcEvent whichEvent) override;
  CbcEventHandler* clone() const override { return new CbcInterrupt(*this); }

 private:
  const InterruptFlag* flag_;
};

}  // namespace tarq_solver
