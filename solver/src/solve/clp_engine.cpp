// The LP engine: Clp's dual or primal simplex, or its barrier method with crossover.
#include "solve/clp_engine.h"

#include <ClpDualRowDantzig.hpp>
#include <ClpDualRowSteepest.hpp>
#include <ClpSolve.hpp>

#include "solve/clp_barrier.h"
#include "solve/engine_hooks.h"
#include "solve/engines.h"

namespace tarq_solver {

void LoadIntoClp(const LpData& data, ClpSimplex& model) {
  // Clp reads bounds beyond 1e27 in magnitude as infinite, so the store's 1e30 passes as it is.
  model.loadProblem(data.nCol, data.nRow, data.start.data(), data.index.data(), data.value.data(), data.colLower.data(),
                    data.colUpper.data(), data.obj.data(), data.rowLower.data(), data.rowUpper.data());
  const int added = static_cast<int>(data.addLower.size());
  if (added > 0) {
    model.addRows(added, data.addLower.data(), data.addUpper.data(), data.addStart.data(), data.addIndex.data(),
                  data.addValue.data());
  }
  model.setOptimizationDirection(data.sense);
}

int FromClpStatus(ClpSimplex::Status status) {
  switch (status) {
    case ClpSimplex::basic:
      return TARQ_BASIS_BASIC;
    case ClpSimplex::atLowerBound:
      return TARQ_BASIS_LOWER;
    case ClpSimplex::atUpperBound:
      return TARQ_BASIS_UPPER;
    case ClpSimplex::isFixed:
      return TARQ_BASIS_FIXED;
    case ClpSimplex::isFree:
    case ClpSimplex::superBasic:
      return TARQ_BASIS_SUPERBASIC;
  }
  return TARQ_BASIS_SUPERBASIC;
}

ClpSimplex::Status ToClpStatus(int code, double lower, double upper) {
  const bool lowFinite = lower > -TARQ_INFINITY, upFinite = upper < TARQ_INFINITY;
  auto nonbasicAtBound = [&](bool preferUpper) {
    if (lowFinite && upFinite && lower == upper) return ClpSimplex::isFixed;
    if (preferUpper ? upFinite : !lowFinite) return upFinite ? ClpSimplex::atUpperBound : ClpSimplex::isFree;
    return lowFinite ? ClpSimplex::atLowerBound : ClpSimplex::isFree;
  };
  switch (code) {
    case TARQ_BASIS_BASIC:
      return ClpSimplex::basic;
    case TARQ_BASIS_LOWER:
      return nonbasicAtBound(false);
    case TARQ_BASIS_UPPER:
      return nonbasicAtBound(true);
    case TARQ_BASIS_FIXED:
      return nonbasicAtBound(false);
    default:
      return lowFinite || upFinite ? ClpSimplex::superBasic : ClpSimplex::isFree;
  }
}

int EngineLogLevel(const ParamSet& params) {
  if (params.Int(IntParam::Logging) == 0) return 0;
  return params.Int(IntParam::LogLevel);
}

namespace {

int StatusFromClp(const ClpSimplex& model) {
  switch (model.status()) {
    case 0:
      return TARQ_STATUS_OPTIMAL;
    case 1:
      return TARQ_STATUS_INFEASIBLE;
    case 2:
      return TARQ_STATUS_UNBOUNDED;
    case 3:
      return model.secondaryStatus() == 9 ? TARQ_STATUS_TIMEOUT : TARQ_STATUS_UNFINISHED;
    case 4:
      return TARQ_STATUS_NUMERICAL;
    case 5:
      return TARQ_STATUS_INTERRUPTED;
    default:
      return TARQ_STATUS_UNFINISHED;
  }
}

// Gives model a starting basis; the statuses are repaired against the bounds.
void ApplyBasis(const LpData& data, StartBasis basis, ClpSimplex& model) {
  model.createStatus();
  const int rows = data.Rows();
  for (int j = 0; j < data.nCol; ++j) {
    model.setColumnStatus(j, ToClpStatus((*basis.cols)[j], data.colLower[j], data.colUpper[j]));
  }
  const double* rowLower = model.rowLower();
  const double* rowUpper = model.rowUpper();
  for (int i = 0; i < rows; ++i) {
    const double lo = rowLower[i] <= -TARQ_INFINITY ? -TARQ_INFINITY : rowLower[i];
    const double up = rowUpper[i] >= TARQ_INFINITY ? TARQ_INFINITY : rowUpper[i];
    const int code = i < static_cast<int>(basis.rows->size()) ? (*basis.rows)[i] : TARQ_BASIS_BASIC;
    model.setRowStatus(i, ToClpStatus(code, lo, up));
  }
}

// Options of a simplex solve; method 2 (barrier) is run by RunBarrier instead.
ClpSolve SolveOptions(const ParamSet& params, bool warm, int& method) {
  ClpSolve options;
  method = params.Int(IntParam::LpMethod);
  if (method < 0) method = 0;
  switch (method) {
    case 1:
      options.setSolveType(ClpSolve::usePrimal);
      break;
    default:
      options.setSolveType(ClpSolve::useDual);
      break;
  }
  const int presolve = params.Int(IntParam::Presolve);
  if (warm || presolve == 0) {
    options.setPresolveType(ClpSolve::presolveOff);
  } else {
    options.setPresolveType(ClpSolve::presolveOn, presolve == 2 ? 10 : 5);
  }
  options.setSpecialOption(2, 1);  // no signal handler of its own: the library is a guest
  return options;
}

// Columns without matrix entries whose cost improves without limit in a direction their bounds
// leave open. Clp's simplex reports such an LP infeasible (its dual side is unbounded at once),
// so each is held at a finite value for the solve: exact, since the column touches no row, so the
// rest of the LP is unchanged, and a feasible rest then makes the LP unbounded along the column.
// Returns the directions (unit rays over the columns, sparse: column and sign). O(columns).
std::vector<std::pair<int, double>> HoldOpenEmptyColumns(const LpData& data, ClpSimplex& model) {
  std::vector<std::pair<int, double>> open;
  std::vector<char> used;
  for (int j = 0; j < data.nCol; ++j) {
    if (data.start[j + 1] > data.start[j]) continue;
    const double c = data.sense * data.obj[j];
    const bool up = c < 0 && data.colUpper[j] >= TARQ_INFINITY, down = c > 0 && data.colLower[j] <= -TARQ_INFINITY;
    if (!up && !down) continue;
    if (used.empty()) {  // a column in an added row is not empty
      used.assign(static_cast<size_t>(data.nCol), 0);
      for (int col : data.addIndex) used[col] = 1;
    }
    if (used[j]) continue;
    const double lo = data.colLower[j], hi = data.colUpper[j];
    const double at = lo > -TARQ_INFINITY ? lo : hi < TARQ_INFINITY ? hi : 0.0;
    model.setColumnLower(j, at);
    model.setColumnUpper(j, at);
    open.emplace_back(j, up ? 1.0 : -1.0);
  }
  return open;
}

}  // namespace

int SolveLp(const LpData& data, const EngineContext& ctx, StartBasis basis, EngineResult& out) {
  out = EngineResult();
  const ParamSet& params = ctx.params;
  LogRelay relay(ctx.log, EngineLogLevel(params));  // outlives the model that points to it
  StopRecord stops(ctx.interrupt);
  ClpInterrupt interrupt(stops);
  ClpSimplex model;
  model.passInMessageHandler(&relay);
  model.passInEventHandler(&interrupt);
  LoadIntoClp(data, model);
  const std::vector<std::pair<int, double>> open = HoldOpenEmptyColumns(data, model);
  model.setPrimalTolerance(params.Dbl(DblParam::FeasTol));
  model.setDualTolerance(params.Dbl(DblParam::DualTol));
  const double timeLimit = params.Dbl(DblParam::TimeLimit);
  if (timeLimit < TARQ_INFINITY) model.setMaximumWallSeconds(timeLimit);
  switch (params.Int(IntParam::Scaling)) {
    case 0:
      model.scaling(0);
      break;
    case 1:
      model.scaling(2);
      break;  // geometric
    case 2:
      model.scaling(1);
      break;  // equilibration
    default:
      break;
  }
  if (int pricing = params.Int(IntParam::DualPrice); pricing == 0) {
    ClpDualRowDantzig dantzig;
    model.setDualRowPivotAlgorithm(dantzig);
  } else if (pricing == 1) {
    ClpDualRowSteepest steepest;
    model.setDualRowPivotAlgorithm(steepest);
  }

  const bool warm = basis.cols != nullptr && basis.rows != nullptr &&
                    static_cast<int>(basis.cols->size()) == data.nCol && params.Int(IntParam::LpMethod) != 2;
  if (warm) ApplyBasis(data, basis, model);
  int method = 0;
  ClpSolve options = SolveOptions(params, warm, method);
  if (ctx.interrupt.Raised()) {
    out.status = TARQ_STATUS_INTERRUPTED;
    return TARQ_RETCODE_OK;
  }
  bool basisMeaningful = true;
  if (method == 2) {
    BarrierRun run;
    run.crossover = params.Int(IntParam::Crossover) != 0;
    run.presolve = params.Int(IntParam::Presolve) != 0;
    run.timeLimit = timeLimit;
    run.iterationLimit = params.Int(IntParam::BarIterLimit);
    const BarrierOutcome barrier = RunBarrier(model, relay, ctx.interrupt, run);
    out.status = barrier.interrupted ? TARQ_STATUS_INTERRUPTED
                 : barrier.timedOut  ? TARQ_STATUS_TIMEOUT
                 : barrier.trusted   ? StatusFromClp(model)
                                     : TARQ_STATUS_UNFINISHED;
    if (!barrier.trusted) {
      ctx.log.Printf("Barrier: the last point misses the tolerances (largest relative violation %g, relative gap "
                     "%g); without crossover its status stays open",
                     barrier.violation, barrier.relativeGap);
    }
    out.barrierIter = barrier.barrierIter;
    out.simplexIter = barrier.simplexIter;
    basisMeaningful = barrier.hasBasis;
  } else {
    model.initialSolve(options);
    out.status = StatusFromClp(model);
    // Once a pass was stopped, only an optimum the engine went on to prove stands; any other
    // conclusion may come from the stopped pass.
    if (stops.Stopped() && out.status != TARQ_STATUS_OPTIMAL) out.status = TARQ_STATUS_INTERRUPTED;
    out.simplexIter = model.numberIterations();
  }
  out.methodUsed = method;
  if (!open.empty() && out.status == TARQ_STATUS_OPTIMAL) {
    out.status = TARQ_STATUS_UNBOUNDED;
    if (params.Int(IntParam::LogLevel) >= 1) {
      ctx.log.Printf("LP: column %d has no matrix entries and its cost improves without limit: unbounded",
                     open[0].first);
    }
  }
  const int rows = data.Rows();
  if (basisMeaningful && model.statusArray() != nullptr) {
    out.hasBasis = true;
    out.colBasis.resize(static_cast<size_t>(data.nCol));
    out.rowBasis.resize(static_cast<size_t>(rows));
    for (int j = 0; j < data.nCol; ++j) out.colBasis[j] = FromClpStatus(model.getColumnStatus(j));
    for (int i = 0; i < rows; ++i) out.rowBasis[i] = FromClpStatus(model.getRowStatus(i));
  }
  if (out.status == TARQ_STATUS_OPTIMAL) {
    out.hasSolution = true;
    out.hasDuals = true;
    const double* x = model.primalColumnSolution();
    out.values.assign(x, x + data.nCol);
    const double* act = model.primalRowSolution();
    out.activity.assign(act, act + rows);
    const double* y = model.dualRowSolution();
    out.duals.assign(y, y + rows);
    const double* d = model.dualColumnSolution();
    out.redCosts.assign(d, d + data.nCol);
    out.objective = data.Objective(out.values.data());
  }
  if (ctx.analyse) {
    std::vector<double> ray;
    if (!open.empty()) {
      ray.assign(static_cast<size_t>(data.nCol), 0.0);
      ray[open[0].first] = open[0].second;
    }
    AnalyseLp(data, ctx, model, method != 2 && basisMeaningful, ray, out);
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
