// The other solutions branch and cut found, kept also when its preprocessing ran.
//
// Every solution the search is offered (by its heuristics or at a node), also one no better than
// the incumbent, is copied at the search's "before solution" event, with the map from the
// search's columns to the caller's (the search may run on the preprocessed model). Cbc's driver
// also saves solutions of the preprocessed model. After the search it copies them into
// the caller's model reading the caller's (larger) column count from each, past the end of the
// shorter arrays, before mapping them back properly. So the saved solutions are taken out of the
// search's model at the driver's callback after the search (where 4) and mapped back here: the
// preprocessed columns' values go to the columns they came from, the columns preprocessing
// removed keep the values of the best solution (preprocessing fixed or substituted them), and a
// solution that is then not feasible is completed by an LP over the continuous columns with the
// integer ones fixed. Only solutions feasible for the caller's problem are kept.
#pragma once

#include <vector>

#include <mutex>

#include "solve/engine_hooks.h"
#include "solve/engines.h"

class CbcModel;

namespace tarq_solver {

// A solution of the search's model, and where its columns came from (empty: the same position).
struct StashedSolution {
  std::vector<double> values;
  std::vector<int> originalColumns;
};

struct PoolStash {
  static constexpr size_t kMaxKept = 50;  // the latest ones (solutions tend to improve)
  std::mutex mutex;                       // the search's threads report solutions too
  std::vector<StashedSolution> solutions;
  // Copies the solution model holds as its best (columns of model), keeping at most kMaxKept.
  void Take(const CbcModel& model, const double* x);
};

// Stops the search on interrupt like CbcInterrupt and copies every solution offered to the main
// search (not those of sub-searches, which have columns of their own) into a stash.
class CbcSolutionWatch : public CbcInterrupt {
 public:
  CbcSolutionWatch(StopRecord& record, PoolStash& stash) : CbcInterrupt(record), stash_(&stash) {}
  CbcAction event(CbcEvent whichEvent) override;
  CbcEventHandler* clone() const override { return new CbcSolutionWatch(*this); }

 private:
  PoolStash* stash_;
};

// The driver's callback: with a stash installed (see StashScope), takes the saved solutions out
// of the search's model after the search. Returns 0 (carry on).
int TakeSavedSolutions(CbcModel* model, int whereFrom);

// Installs stash for the callback on this thread while it lives.
class StashScope {
 public:
  explicit StashScope(PoolStash& stash);
  ~StashScope();
  StashScope(const StashScope&) = delete;
  StashScope& operator=(const StashScope&) = delete;
};

// True when x (data.nCol values) meets data's bounds, rows and integrality within tol (rows
// relative to the size of their activity); act receives the row activities.
bool MeetsMip(const LpData& data, const double* x, double tol, std::vector<double>& act);

// Maps the stashed solutions to data's columns (best: the best solution, data.nCol values) and
// returns those feasible for data within tol, in the stash's order.
std::vector<std::vector<double>> MapStashed(const LpData& data, const EngineContext& ctx, const PoolStash& stash,
                                            const std::vector<double>& best, double tol);

}  // namespace tarq_solver
