#include "solve/engine_hooks.h"

#include <string_view>

#include <CbcModel.hpp>
#include <ClpInterior.hpp>

namespace tarq_solver {

LogRelay::LogRelay(const Logger& log, int level) : log_(&log), mutex_(std::make_shared<std::mutex>()) {
  setLogLevel(level);
}

// The engine has formatted one message into messageBuffer(); it may hold several lines.
int LogRelay::print() {
  if (watch_ != nullptr) {
    CheckBarrier();
    if (!watch_->Shown(currentMessage().externalNumber())) return 0;
  }
  std::string_view text(messageBuffer());
  std::lock_guard<std::mutex> lock(*mutex_);
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (!line.empty()) log_->Line(line);
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return 0;
}

void LogRelay::CheckBarrier() {
  BarrierWatch& w = *watch_;
  if (w.interrupted || w.timedOut || w.barrier == nullptr) return;
  if (w.flag != nullptr && w.flag->Raised()) {
    w.interrupted = true;
  } else if (std::chrono::steady_clock::now() >= w.deadline) {
    w.timedOut = true;
  } else {
    return;
  }
  w.barrier->setMaximumBarrierIterations(0);
}

void StopRecord::RecordBound(double bound) {
  if (Stopped()) return;
  bound_.store(bound);
  hasBound_.store(true);
}

bool StopRecord::Bound(double& bound) const {
  if (!hasBound_.load()) return false;
  bound = bound_.load();
  return true;
}

int ClpInterrupt::event(Event whichEvent) {
  if (!record_->Raised() || !record_->LpStopsAllowed()) return -1;
  switch (whichEvent) {
    case endOfIteration:
    case endOfFactorization:
    case startOfIterationInDual:
      record_->NoteStop();
      return 5;  // stop; Clp reports status 5
    default:
      return -1;
  }
}

CbcEventHandler::CbcAction CbcInterrupt::event(CbcEvent whichEvent) {
  // The search reports its progress (and has just computed its bound over the open nodes) from
  // its main loop only, also when nodes are solved by several threads. It runs as a minimisation
  // (a maximisation's objective negated); the bound it reports is in the solver's sense.
  if (whichEvent == treeStatus && model_ != nullptr && model_ == record_->Search()) {
    record_->RecordBound(model_->getBestPossibleObjValue() * model_->solver()->getObjSense());
  }
  if (whichEvent == endSearch || !record_->Raised()) return noAction;
  record_->NoteStop();
  return stop;
}

}  // namespace tarq_solver
