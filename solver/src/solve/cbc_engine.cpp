// The MIP engine: Cbc's standard driver (its default presolve, cuts and heuristics) over a Clp
// model loaded from the LpData. Parameters are handed over as the driver's own command words.
//
// The driver keeps process-wide state while it parses its commands, so MIP solves of different
// problems run one at a time in a process (DriverMutex); the driver's own signal handling is
// switched off.
#include <CbcModel.hpp>
#include <CbcSOS.hpp>
#include <CbcSolver.hpp>
#include <OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>

#include "solve/cbc_pool.h"
#include "solve/clp_engine.h"
#include "solve/engine_hooks.h"
#include "solve/engines.h"
#include "solve/sos_cone_lp.h"

namespace tarq_solver {
namespace {

std::mutex& DriverMutex() {
  static std::mutex mutex;
  return mutex;
}

constexpr int kPoolSize = 10;
// Tolerance of the check of an interrupted run's solution (bounds, integrality, rows relative to
// their activity); at least the solve's own tolerances.
constexpr double kCheckTolerance = 1e-5;

// The driver calls this at fixed stages of its run: 3 just before the branch-and-cut search of
// the (preprocessed) model, 4 just after it. The search's model carries a copy of our event
// handler, which leads to the solve's StopRecord. After the search the saved solutions are taken
// out of its model (see cbc_pool.h).
int DriverStage(CbcModel* model, int stage) {
  auto* hook = model != nullptr ? dynamic_cast<CbcInterrupt*>(model->getEventHandler()) : nullptr;
  if (hook != nullptr && stage == 3) {
    hook->Record().SetSearch(model);
  } else if (hook != nullptr && stage == 4) {
    hook->Record().SetSearch(nullptr);
    hook->Record().AllowLpStops(false);
  }
  return TakeSavedSolutions(model, stage);
}

// The bound that holds when nothing is known: -infinity for a minimisation, +infinity for a
// maximisation.
double NoBound(int sense) { return sense > 0 ? -TARQ_INFINITY : TARQ_INFINITY; }

// Log level of the branch-and-cut search (see DriverCommands).
int SearchLogLevel(const ParamSet& params) { return std::min(EngineLogLevel(params), 1); }

std::string Num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// The driver's command words for the parameters of the solve.
std::vector<std::string> DriverCommands(const ParamSet& params) {
  std::vector<std::string> cmd{"tarq"};
  auto add = [&cmd](std::string key, std::string value) {
    cmd.push_back("-" + std::move(key));
    cmd.push_back(std::move(value));
  };
  // Level 1 gives the driver's summary and progress lines; 2 and 3 add the LP engine's summaries
  // within the search. The search stays at level 1 and its LP engine at 1: above those, parts of
  // them print to standard output directly instead of through the message handler.
  const int level = EngineLogLevel(params);
  add("log", std::to_string(SearchLogLevel(params)));
  add("slog", std::to_string(level >= 2 ? 1 : 0));
  add("timeMode", "elapsed");
  if (double t = params.Dbl(DblParam::TimeLimit); t < TARQ_INFINITY) add("seconds", Num(t));
  add("ratioGap", Num(params.Dbl(DblParam::RelGap)));
  add("allowableGap", Num(params.Dbl(DblParam::AbsGap)));
  add("integerTolerance", Num(params.Dbl(DblParam::IntTol)));
  add("primalTolerance", Num(params.Dbl(DblParam::FeasTol)));
  add("dualTolerance", Num(params.Dbl(DblParam::DualTol)));
  if (int n = params.Int(IntParam::NodeLimit); n >= 0) add("maxNodes", std::to_string(n));
  if (int n = params.Int(IntParam::Threads); n > 1) add("threads", std::to_string(n));
  switch (params.Int(IntParam::Presolve)) {
    case 0:
      add("presolve", "off");
      add("preprocess", "off");
      break;
    case 2:
      add("presolve", "more");
      break;
    default:
      break;
  }
  switch (params.Int(IntParam::CutLevel)) {
    case 0:
      add("cutsOnOff", "off");
      break;
    case 1:
      add("cutsOnOff", "root");
      break;
    case 3:
      add("cutsOnOff", "forceOn");
      break;
    default:
      break;
  }
  if (int n = params.Int(IntParam::RootCutRounds); n >= 0) add("passCuts", std::to_string(n));
  if (int n = params.Int(IntParam::NodeCutRounds); n >= 0) add("passTreeCuts", std::to_string(n));
  if (params.Int(IntParam::HeurLevel) == 0) add("heuristicsOnOff", "off");
  static constexpr int kStrong[] = {0, 3, 5, 20};
  if (int s = params.Int(IntParam::StrongBranching); s >= 0) add("strongBranching", std::to_string(kStrong[s]));
  cmd.push_back("-solve");
  cmd.push_back("-quit");
  return cmd;
}

// The outcome of a run that no interrupt touched, from the driver's status (0 finished, 1 stopped
// at a limit, 2 numerical difficulties) and its secondary status (why).
int StatusFromCbc(const CbcModel& model, bool hasSolution) {
  const int why = model.secondaryStatus();
  switch (model.status()) {
    case 0:
      if (why == 7) return hasSolution ? TARQ_STATUS_UNBOUNDED : TARQ_STATUS_INF_OR_UNB;
      if (why == 1) return TARQ_STATUS_INFEASIBLE;
      return hasSolution ? TARQ_STATUS_OPTIMAL : TARQ_STATUS_INFEASIBLE;
    case 1:
      switch (why) {
        case 3:
          return TARQ_STATUS_NODELIMIT;
        case 4:
          return TARQ_STATUS_TIMEOUT;
        default:
          return TARQ_STATUS_UNFINISHED;
      }
    case 2:
      return TARQ_STATUS_NUMERICAL;
    default:
      return TARQ_STATUS_UNFINISHED;
  }
}

// The pool: the best solution first, then the other saved solutions (those left in model and
// those mapped back from the search, see cbc_pool.h) that are feasible and distinct, by
// objective.
void CollectPool(const LpData& data, const CbcModel& model, const std::vector<std::vector<double>>& mapped,
                 EngineResult& out) {
  std::vector<std::pair<double, const double*>> found;
  if (out.hasSolution) found.emplace_back(out.objective, out.values.data());
  for (const std::vector<double>& x : mapped) found.emplace_back(data.Objective(x.data()), x.data());
  std::vector<double> act;
  const double tol = 1e-5;
  if (model.getNumCols() == data.nCol) {
    for (int k = 0; k < model.numberSavedSolutions(); ++k) {
      const double* x = model.savedSolution(k);
      if (x == nullptr || !MeetsMip(data, x, tol, act) || !MeetsSets(data, x, tol)) continue;
      found.emplace_back(data.Objective(x), x);
    }
  }
  std::stable_sort(found.begin() + (found.empty() ? 0 : 1), found.end(),
                   [&](const auto& a, const auto& b) { return data.sense * a.first < data.sense * b.first; });
  for (const auto& [objective, x] : found) {
    if (static_cast<int>(out.poolObj.size()) == kPoolSize) break;
    bool duplicate = false;
    for (size_t k = 0; k < out.poolObj.size() && !duplicate; ++k) {
      const double* y = out.poolValues.data() + k * data.nCol;
      duplicate = std::equal(x, x + data.nCol, y, [](double a, double b) { return std::fabs(a - b) <= 1e-9; });
    }
    if (duplicate) continue;
    out.poolValues.insert(out.poolValues.end(), x, x + data.nCol);
    out.poolObj.push_back(objective);
  }
}

// The first stored MIP start, by the column names the driver matches against.
void PassMipStart(const MipStartTable& starts, const LpData& data, const ParamSet& params,
                  const OsiClpSolverInterface& solver, CbcModel& model) {
  const int mode = params.Int(IntParam::MipStartMode);
  if (mode == 0 || starts.Size() < 1) return;
  std::vector<std::pair<std::string, double>> entries;
  std::vector<char> given(static_cast<size_t>(data.nCol), 0);
  for (std::int64_t p = starts.begin[0]; p < starts.begin[1]; ++p) {
    const int j = starts.col[p];
    if (j < 0 || j >= data.nCol) continue;
    entries.emplace_back(solver.getColName(j), starts.value[p]);
    given[j] = 1;
  }
  if (mode == 1) {
    for (int j = 0; j < data.nCol; ++j) {
      if (data.integer[j] && !given[j]) return;  // complete starts only
    }
  }
  if (!entries.empty()) model.setMIPStart(entries);
}

// The data's special ordered sets as the search's branching objects: the search branches on a
// set by splitting its members at a weight, instead of on single columns. The model copies them.
void AddSetObjects(const LpData& data, CbcModel& model) {
  for (int k = 0; k < data.Sets(); ++k) {
    const CoinBigIndex b = data.sosStart[k];
    const int n = static_cast<int>(data.sosStart[k + 1] - b);
    CbcSOS set(&model, n, data.sosIndex.data() + b, data.sosWeight.data() + b, k, data.sosType[k]);
    CbcObject* object = &set;
    model.addObjects(1, &object);
  }
}

}  // namespace

int SolveMip(const LpData& data, const EngineContext& ctx, const MipStartTable* starts, EngineResult& out) {
  out = EngineResult();
  out.mip = true;
  const ParamSet& params = ctx.params;
  // The driver sets the levels of the LP's and the search's handlers apart, so each gets its own
  // relay (the copies share one lock).
  LogRelay relay(ctx.log, EngineLogLevel(params));
  LogRelay lpRelay(relay);
  StopRecord stops(ctx.interrupt);
  ClpInterrupt clpInterrupt(stops);
  PoolStash stash;
  CbcSolutionWatch cbcInterrupt(stops, stash);
  out.bound = NoBound(data.sense);

  OsiClpSolverInterface solver;
  solver.passInMessageHandler(&lpRelay);
  LoadIntoClp(data, *solver.getModelPtr());
  solver.getModelPtr()->passInEventHandler(&clpInterrupt);
  for (int j = 0; j < data.nCol; ++j) {
    if (data.integer[j]) solver.setInteger(j);
  }
  solver.setObjSense(data.sense);

  std::vector<std::string> words = DriverCommands(params);
  if (data.Sets() > 0) {
    // The driver's integer preprocessing fails an internal check on some models with sets (a
    // process abort); the sets' columns are left as they are instead.
    words.insert(words.end() - 2, {"-preprocess", "off"});
  }
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());

  // A log callback that starts a MIP solve while another runs could be waiting for its own
  // caller (the thread that holds the driver, or a search thread working for it): it is refused
  // instead.
  std::unique_lock<std::mutex> lock(DriverMutex(), std::defer_lock);
  if (!InLogCallback()) {
    lock.lock();
  } else if (!lock.try_lock()) {
    ctx.log.Printf("MIP solve refused: it was started from a log callback while branch and cut runs for another "
                   "solve, and MIP solves run one at a time");
    return TARQ_RETCODE_THREAD;
  }
  if (ctx.interrupt.Raised()) {
    out.status = TARQ_STATUS_INTERRUPTED;
    return TARQ_RETCODE_OK;
  }
  CbcModel model(solver);
  // The handler goes in first: adding the sets already reports through it.
  model.passInMessageHandler(&relay);
  AddSetObjects(data, model);
  model.passInEventHandler(&cbcInterrupt);
  CbcSolverUsefulData driverData;
  driverData.noPrinting_ = EngineLogLevel(params) == 0;
  driverData.useSignalHandler_ = false;
  CbcMain0(model, driverData);
  // Other solutions are saved in the search's model and taken out of it before the driver
  // copies them (see cbc_pool.h).
  model.setMaximumSavedSolutions(kPoolSize);
  if (starts != nullptr) PassMipStart(*starts, data, params, solver, model);
  model.setLogLevel(SearchLogLevel(params));
  {
    StashScope scope(stash);
    CbcMain1(static_cast<int>(argv.size()), argv.data(), model, DriverStage, driverData);
  }

  // After a stop the driver's account of the run is not evidence (see StopRecord): the run is
  // interrupted, its best solution is kept only when it checks out, and its bound is the one
  // recorded before the first stop.
  const bool stopped = stops.Stopped();
  const double* best = model.bestSolution();
  if (best != nullptr && model.getNumCols() == data.nCol) {
    std::vector<double> act;
    const double tol = std::max({kCheckTolerance, params.Dbl(DblParam::FeasTol), params.Dbl(DblParam::IntTol)});
    if (!stopped || (MeetsMip(data, best, tol, act) && MeetsSets(data, best, tol))) {
      out.hasSolution = true;
      out.values.assign(best, best + data.nCol);
      data.Activities(out.values.data(), out.activity);
      out.objective = data.Objective(out.values.data());
    } else {
      ctx.log.Printf("Branch and cut was interrupted; its last solution misses the bounds, rows or integrality and "
                     "is not kept");
    }
  }
  out.nodes = model.getNodeCount();
  out.simplexIter = model.getIterationCount();
  out.methodUsed = 0;
  if (stopped) {
    out.status = TARQ_STATUS_INTERRUPTED;
    if (double bound; stops.Bound(bound) && std::isfinite(bound) && std::fabs(bound) < TARQ_INFINITY) {
      out.bound = data.sense * bound + data.objConst;
    }
  } else {
    out.status = StatusFromCbc(model, out.hasSolution);
    if (out.status == TARQ_STATUS_OPTIMAL) {
      out.bound = out.objective;
    } else if (out.status != TARQ_STATUS_INFEASIBLE && out.status != TARQ_STATUS_INF_OR_UNB) {
      const double bound = model.getBestPossibleObjValue();
      if (std::isfinite(bound) && std::fabs(bound) < TARQ_INFINITY) out.bound = bound + data.objConst;
    }
  }
  std::vector<std::vector<double>> mapped;
  if (out.hasSolution && !stash.solutions.empty()) mapped = MapStashed(data, ctx, stash, out.values, 1e-5);
  CollectPool(data, model, mapped, out);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
