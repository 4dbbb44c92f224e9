// What the engines call back into while they run: a message handler that relays every engine
// message line by line to the problem's logger, and event handlers that stop a solve once the
// problem's interrupt flag is raised.
//
// The handlers hold plain pointers to the logger and the flag, which outlive every solve. Cbc
// copies handlers into its sub-models and, with several threads, prints from worker threads: all
// copies of one relay share a mutex, so lines never interleave.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "core/log.h"
#include "store/problem.h"

// COIN headers are included as system headers by the build; keep them after our own.
#include <CbcEventHandler.hpp>
#include <ClpEventHandler.hpp>
#include <CoinMessageHandler.hpp>

class ClpInterior;

namespace tarq_solver {

// What the relay watches while Clp's barrier runs. The barrier reports no events, but it logs
// every iteration, so each message is the moment to check the interrupt flag and the deadline;
// stopping lowers the barrier's iteration limit, which ends it at its next iteration check.
// During the run every barrier message is let through at detail 0 (and the handler's own level
// is 0, which also keeps the engine's direct prints to standard output quiet); the relay shows a
// message only when its original detail is within the level the caller asked for.
struct BarrierWatch {
  ClpInterior* barrier = nullptr;
  const InterruptFlag* flag = nullptr;
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
  int level = 0;                       // the caller's log level
  std::vector<signed char> detail;     // original detail by external message number
  bool interrupted = false;
  bool timedOut = false;

  bool Shown(int externalNumber) const {
    const int d = externalNumber >= 0 && externalNumber < static_cast<int>(detail.size()) ? detail[externalNumber] : 1;
    return d <= level;
  }
};

class LogRelay : public CoinMessageHandler {
 public:
  // level: the engine's log level (0 quiet, 1 progress, more for details).
  LogRelay(const Logger& log, int level);
  LogRelay(const LogRelay& other) = default;
  LogRelay& operator=(const LogRelay& other) = default;
  int print() override;
  CoinMessageHandler* clone() const override { return new LogRelay(*this); }
  // Watches the messages of one barrier run; null ends the watch.
  void Watch(BarrierWatch* watch) { watch_ = watch; }

 private:
  void CheckBarrier();

  const Logger* log_;
  BarrierWatch* watch_ = nullptr;
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
