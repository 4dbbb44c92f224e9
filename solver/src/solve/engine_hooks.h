// What the engines call back into while they run: a message handler that relays every engine
// message line by line to the problem's logger, and event handlers that stop a solve once the
// problem's interrupt flag is raised.
//
// The handlers hold plain pointers to the logger and to a StopRecord, which outlive every solve.
// Cbc copies handlers into its sub-models and, with several threads, prints from worker threads:
// all copies of one relay share a mutex, so lines never interleave, and all copies of a stop
// hook share one StopRecord.
#pragma once

#include <atomic>
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

class CbcModel;
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

// What the stop hooks of one solve share: the flag they watch, whether they stopped anything, and
// for branch and cut the best bound of the search recorded before the first stop.
//
// Branch and cut cannot tell an LP solve that an interrupt cut short from an infeasible one: it
// prunes the node (at the root it declares the problem infeasible), so after such a stop its
// status and bound no longer hold, and it may even run out of nodes and claim optimality. The
// MIP engine therefore reports any run in which a hook stopped something as interrupted, with a
// bound recorded while no stop had happened yet.
class StopRecord {
 public:
  explicit StopRecord(const InterruptFlag& flag) : flag_(&flag) {}
  StopRecord(const StopRecord&) = delete;
  StopRecord& operator=(const StopRecord&) = delete;

  bool Raised() const { return flag_->Raised(); }
  // A hook stops its engine now.
  void NoteStop() { stops_.fetch_add(1); }
  bool Stopped() const { return stops_.load() > 0; }

  // Whether LP solves may be cut short. Off once the branch-and-cut search has ended: mapping
  // its best solution back through preprocessing re-solves LPs, which must run to their end.
  void AllowLpStops(bool on) { lpStops_.store(on); }
  bool LpStopsAllowed() const { return lpStops_.load(); }

  // The branch-and-cut model whose bounds are recorded (null outside its search).
  void SetSearch(const CbcModel* model) { search_.store(model); }
  const CbcModel* Search() const { return search_.load(); }
  // Keeps bound as the best known bound; ignored once a hook has stopped something. The search
  // minimises: bound is on the objective times the problem's sense, without its constant.
  void RecordBound(double bound);
  // The last recorded bound; false when none was recorded.
  bool Bound(double& bound) const;

 private:
  const InterruptFlag* flag_;
  std::atomic<int> stops_{0};
  std::atomic<bool> lpStops_{true};
  std::atomic<const CbcModel*> search_{nullptr};
  std::atomic<bool> hasBound_{false};
  std::atomic<double> bound_{0};
};

// Stops Clp (status 5) at the end of an iteration or factorisation once the flag is raised, while
// the record allows LP stops.
class ClpInterrupt : public ClpEventHandler {
 public:
  explicit ClpInterrupt(StopRecord& record) : record_(&record) {}
  int event(Event whichEvent) override;
  ClpEventHandler* clone() const override { return new ClpInterrupt(*this); }

 private:
  StopRecord* record_;
};

// Stops Cbc at its next event (node, solution, heuristic pass, ...) once the flag is raised, and
// records the search's bound at each progress report of the recorded model (see StopRecord).
class CbcInterrupt : public CbcEventHandler {
 public:
  explicit CbcInterrupt(StopRecord& record) : record_(&record) {}
  CbcAction event(CbcEvent whichEvent) override;
  CbcEventHandler* clone() const override { return new CbcInterrupt(*this); }
  StopRecord& Record() const { return *record_; }

 private:
  StopRecord* record_;
};

}  // namespace tarq_solver
