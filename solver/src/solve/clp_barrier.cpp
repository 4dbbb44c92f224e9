#include "solve/clp_barrier.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <ClpCholeskyBase.hpp>
#include <ClpInterior.hpp>
#include <ClpPresolve.hpp>

namespace tarq_solver {
namespace {

// Without crossover, Clp's barrier can report an optimum for an infeasible or unbounded problem,
// at a point that misses the bounds, runs off towards infinity or leaves a wide duality gap. Its
// optimum is believed only when the point misses the bounds and the gap by at most
// kPointTolerance (relative) and stays below kRunaway.
constexpr double kPointTolerance = 1e-4;
constexpr double kRunaway = 1e15;

constexpr double kEngineTolerance = 1e-7;  // the engine's default primal and dual tolerance

std::chrono::steady_clock::time_point Deadline(double seconds) {
  using Clock = std::chrono::steady_clock;
  if (!(seconds < 1e9)) return Clock::time_point::max();
  const std::chrono::duration<double> span(std::max(seconds, 0.0));
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(span);
}

// Lets every message of the barrier through at detail 0, remembering the original details.
void OpenMessages(CoinMessages& messages, std::vector<signed char>& detail) {
  for (int i = 0; i < messages.numberMessages_; ++i) {
    CoinOneMessage* m = messages.message_[i];
    if (m == nullptr || m->externalNumber() < 0) continue;
    const auto n = static_cast<size_t>(m->externalNumber());
    if (n >= detail.size()) detail.resize(n + 1, 1);
    detail[n] = static_cast<signed char>(m->detail());
    m->setDetail(0);
  }
}

// The barrier on work; returns with the outcome's flags and iteration count set.
void Barrier(ClpSimplex& work, int iterationLimit, LogRelay& relay, BarrierWatch& watch, BarrierOutcome& out) {
  ClpInterior barrier;
  barrier.borrowModel(work);
  barrier.setCholesky(new ClpCholeskyBase());  // owned by the barrier from here
  // The barrier keeps the engine's own tolerances; the caller's apply to the crossover. The
  // barrier is tuned for these: with looser ones it has diverged on real problems, and the
  // engine ends the process when its barrier diverges.
  barrier.setDblParam(ClpPrimalTolerance, kEngineTolerance);
  barrier.setDblParam(ClpDualTolerance, kEngineTolerance);
  barrier.setMaximumBarrierIterations(std::max(iterationLimit - 1, 0));  // the engine runs one more
  OpenMessages(*barrier.messagesPointer(), watch.detail);
  watch.barrier = &barrier;
  watch.level = relay.logLevel();
  relay.setLogLevel(0);
  relay.Watch(&watch);
  barrier.primalDual();
  relay.Watch(nullptr);
  relay.setLogLevel(watch.level);
  watch.barrier = nullptr;
  out.barrierIter = barrier.numberIterations();
  const double gap = static_cast<double>(barrier.complementarityGap());
  out.relativeGap = std::fabs(gap) / (1 + std::fabs(barrier.objectiveValue()));
  barrier.returnModel(work);
  out.interrupted = watch.interrupted;
  out.timedOut = watch.timedOut;
}

// The values pass can end "optimal" at a point that is not: when the barrier stopped short of
// an infeasible or unbounded problem. A check of the basis it reached, and if needed a plain
// primal simplex from there, settle the status. Returns the extra iterations.
int Settle(ClpSimplex& m) {
  if (m.status() != 0) return 0;
  m.checkSolution();
  if (m.status() == 0) return 0;
  m.primal(0);
  return m.numberIterations();
}

// The largest violation of a row or bound at the barrier's last point, relative to the size of
// the bound; a point that ran off beyond kRunaway counts as violating everything.
double LargestViolation(const ClpSimplex& m) {
  const int cols = m.numberColumns(), rows = m.numberRows();
  const double* x = m.primalColumnSolution();
  std::vector<double> act(static_cast<size_t>(rows), 0.0);
  m.matrix()->times(x, act.data());
  double worst = 0;
  const auto check = [&worst](double v, double lo, double up) {
    if (!(std::fabs(v) < kRunaway)) worst = std::numeric_limits<double>::infinity();
    if (v < lo) worst = std::max(worst, (lo - v) / (1 + std::fabs(lo)));
    if (v > up) worst = std::max(worst, (v - up) / (1 + std::fabs(up)));
  };
  for (int j = 0; j < cols; ++j) check(x[j], m.columnLower()[j], m.columnUpper()[j]);
  for (int i = 0; i < rows; ++i) check(act[i], m.rowLower()[i], m.rowUpper()[i]);
  return worst;
}

}  // namespace

BarrierOutcome RunBarrier(ClpSimplex& model, LogRelay& relay, const InterruptFlag& flag, const BarrierRun& run) {
  BarrierOutcome out;
  BarrierWatch watch;
  watch.flag = &flag;
  watch.deadline = Deadline(run.timeLimit);

  ClpPresolve presolve;
  ClpSimplex* reduced = run.presolve ? presolve.presolvedModel(model, 1e-8, false, 5) : nullptr;
  // Presolve may find the problem infeasible (null): the barrier and simplex on the whole
  // problem then give the engine's own account of it.
  std::unique_ptr<ClpSimplex> owned(reduced);
  ClpSimplex& work = reduced != nullptr ? *reduced : model;

  // The barrier takes no problem without rows or columns (presolve may leave one): the simplex
  // finishes such a problem at once, crossover or not.
  const bool empty = work.numberRows() == 0 || work.numberColumns() == 0;
  if (!empty) Barrier(work, run.iterationLimit, relay, watch, out);
  if (out.interrupted || out.timedOut) return out;
  if (!run.crossover && !empty) {
    const int status = work.status();
    if (reduced != nullptr) {
      // The barrier point mapped back to the whole problem (the basis postsolve builds with it
      // is not used).
      presolve.postsolve(true);
      owned.reset();
      model.setProblemStatus(status);
    }
    out.violation = LargestViolation(model);
    out.trusted = model.status() != 0 || (out.violation <= kPointTolerance && out.relativeGap <= kPointTolerance);
    return out;
  }

  // The simplex passes get what is left of the time limit.
  const bool limited = watch.deadline != std::chrono::steady_clock::time_point::max();
  const auto limit = [&](ClpSimplex& m) {
    if (limited) {
      const double left = std::chrono::duration<double>(watch.deadline - std::chrono::steady_clock::now()).count();
      m.setMaximumWallSeconds(std::max(left, 0.0));
    }
  };
  limit(work);
  work.primal(empty ? 0 : 1);  // crossover: a values pass from the barrier point
  out.simplexIter = work.numberIterations();
  out.simplexIter += Settle(work);
  out.hasBasis = reduced == nullptr;
  if (reduced != nullptr && work.status() == 0) {
    presolve.postsolve(true);
    owned.reset();
    limit(model);
    model.primal(1);  // cleans up what postsolve left, usually in no iterations
    out.simplexIter += model.numberIterations();
    out.simplexIter += Settle(model);
    out.hasBasis = true;
  } else if (reduced != nullptr) {
    // No optimum on the reduced problem: its status stands for the whole one.
    model.setProblemStatus(work.status());
    model.setSecondaryStatus(work.secondaryStatus());
  }
  return out;
}

}  // namespace tarq_solver
