// Pieces of the Ipopt adapter that the Bonmin adapter shares: the journal that relays Ipopt's
// output to the problem's logger, and the watch on the interrupt flag and the deadline.
#pragma once

#include <chrono>
#include <string>

#include "core/log.h"
#include "store/problem.h"

// Ipopt headers are included as system headers by the build; keep them after our own.
#include <IpJournalist.hpp>
#include <IpOptionsList.hpp>

namespace tarq_solver {

// Sends Ipopt's output to the logger line by line (Ipopt prints in fragments).
class IpoptLogJournal : public Ipopt::Journal {
 public:
  IpoptLogJournal(const Logger& log, Ipopt::EJournalLevel level);
  ~IpoptLogJournal() override;

 protected:
  void PrintImpl(Ipopt::EJournalCategory category, Ipopt::EJournalLevel level, const char* str) override;
  void PrintfImpl(Ipopt::EJournalCategory category, Ipopt::EJournalLevel level, const char* pformat,
                  va_list ap) override;
  void FlushBufferImpl() override;

 private:
  const Logger& log_;
  std::string pending_;
};

// Why a run should stop: the interrupt flag or the deadline.
class StopWatch {
 public:
  StopWatch(const InterruptFlag& flag, double timeLimit);
  // True once the run should stop; remembers why.
  bool Stop();
  bool Interrupted() const { return interrupted_; }
  bool TimedOut() const { return timedOut_; }
  // Seconds left before the deadline (1e30 without one).
  double SecondsLeft() const;

 private:
  const InterruptFlag& flag_;
  std::chrono::steady_clock::time_point deadline_;
  bool limited_;
  bool interrupted_ = false;
  bool timedOut_ = false;
};

struct IpoptSetting;
// Sets one option; false when Ipopt refuses it.
bool ApplyIpoptSetting(Ipopt::OptionsList& options, const IpoptSetting& s);

// Ipopt's log level for the problem's "LogLevel" (0 quiet).
Ipopt::EJournalLevel IpoptPrintLevel(int logLevel);

}  // namespace tarq_solver
