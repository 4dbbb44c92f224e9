#include "solve/solve_driver.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "solve/multi_obj_solve.h"
#include "solve/sdp_solve.h"
#include "solve/quad_solve.h"

namespace tarq_solver {

double WallSeconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

const char* StatusName(int status) {
  static constexpr const char* kNames[] = {
      "unstarted",         "optimal",    "infeasible", "unbounded",   "infeasible or unbounded",
      "numerical trouble", "node limit", "time limit", "interrupted", "unfinished", "locally optimal"};
  return status >= 0 && status <= TARQ_STATUS_LOCALLY_OPTIMAL ? kNames[status] : "unknown";
}

void ResetSolveAttrs(Results& r) {
  const int tuneResults = r.attrs[IntAttr::TuneResults];
  const double tuneTime = r.attrs[DblAttr::TuneTime];
  r.attrs = SolveAttrs();
  r.attrs[IntAttr::TuneResults] = tuneResults;
  r.attrs[DblAttr::TuneTime] = tuneTime;
}

namespace {

// A problem without columns: every row must hold 0.
void SolveWithoutColumns(const LpData& data, bool mip, EngineResult& out) {
  out = EngineResult();
  out.mip = mip;
  bool feasible = true;
  for (int i = 0; i < data.nRow; ++i) feasible = feasible && data.rowLower[i] <= 0 && data.rowUpper[i] >= 0;
  out.status = feasible ? TARQ_STATUS_OPTIMAL : TARQ_STATUS_INFEASIBLE;
  if (!feasible) return;
  out.hasSolution = true;
  out.hasDuals = !mip;
  out.activity.assign(static_cast<size_t>(data.nRow), 0.0);
  out.duals.assign(static_cast<size_t>(data.nRow), 0.0);
  out.objective = data.objConst;
  out.bound = data.objConst;
  out.hasBasis = !mip && data.nRow > 0;
  out.rowBasis.assign(static_cast<size_t>(data.nRow), TARQ_BASIS_BASIC);
}

double MaxViolation(const Problem& p, const std::vector<double>& x, const std::vector<double>& act) {
  const ColumnTable& cols = p.Cols();
  const RowTable& rows = p.Rows();
  double worst = 0;
  for (int j = 0; j < cols.Size() && j < static_cast<int>(x.size()); ++j) {
    worst = std::max({worst, cols.lower[j] - x[j], x[j] - cols.upper[j]});
  }
  for (int i = 0; i < rows.Size() && i < static_cast<int>(act.size()); ++i) {
    worst = std::max({worst, rows.lower[i] - act[i], act[i] - rows.upper[i]});
  }
  return worst;
}

}  // namespace

int RunEngine(Problem& problem, const LpData& data, const ParamSet& params, bool lpOnly, StartBasis basis,
              EngineResult& out, bool analyse) {
  const bool mip = !lpOnly && data.IsMip();
  const bool chatty = params.Int(IntParam::LogLevel) >= 1;
  if (chatty) {
    problem.Log().Printf("Solving %s: %d columns, %d rows, %lld nonzeros%s", mip ? "MIP" : "LP", data.nCol, data.Rows(),
                         static_cast<long long>(data.index.size() + data.addIndex.size()),
                         data.Sets() > 0 ? ", with special ordered sets" : "");
  }
  EngineContext ctx{params, problem.Log(), problem.Interrupt(), analyse && !mip};
  if (analyse && mip) NoteMipAnalysis(problem.Log(), params);
  int rc = TARQ_RETCODE_OK;
  if (data.nCol == 0) {
    SolveWithoutColumns(data, mip, out);
  } else if (mip) {
    rc = SolveMip(data, ctx, &problem.MipStarts(), out);
  } else {
    rc = SolveLp(data, ctx, basis, out);
  }
  if (rc == TARQ_RETCODE_OK && chatty) {
    if (out.hasSolution) {
      problem.Log().Printf("%s status: %s, objective %.12g", mip ? "MIP" : "LP", StatusName(out.status), out.objective);
    } else {
      problem.Log().Printf("%s status: %s", mip ? "MIP" : "LP", StatusName(out.status));
    }
  }
  return rc;
}

void RecordResult(Problem& p, const EngineResult& res, bool lpOnly, double seconds) {
  const int nCol = p.Cols().Size();
  const int nRow = p.Rows().Size();
  Results& r = p.Result();
  r.ClearSolution();
  ResetSolveAttrs(r);
  SolveAttrs& a = r.attrs;
  a[DblAttr::SolvingTime] = seconds;
  a[IntAttr::SimplexIter] = res.simplexIter;
  a[IntAttr::BarrierIter] = res.barrierIter;
  a[IntAttr::NodeCnt] = res.nodes;
  a[IntAttr::LpMethodUsed] = res.methodUsed;
  a[IntAttr::IsRelaxSolved] = lpOnly && HasIntegerColumns(p) ? 1 : 0;
  if (res.mip) {
    a[IntAttr::MipStatus] = res.status;
    a[DblAttr::BestBnd] = res.bound;
  } else {
    a[IntAttr::LpStatus] = res.status;
  }
  if (res.hasBasis && static_cast<int>(res.colBasis.size()) >= nCol && static_cast<int>(res.rowBasis.size()) >= nRow) {
    r.colBasis.assign(res.colBasis.begin(), res.colBasis.begin() + nCol);
    r.rowBasis.assign(res.rowBasis.begin(), res.rowBasis.begin() + nRow);
  }
  if (res.hasSolution && static_cast<int>(res.values.size()) >= nCol && static_cast<int>(res.activity.size()) >= nRow) {
    r.values.assign(res.values.begin(), res.values.begin() + nCol);
    r.activity.assign(res.activity.begin(), res.activity.begin() + nRow);
    a[DblAttr::PrimalInfMax] = std::max(0.0, MaxViolation(p, r.values, r.activity));
    if (res.mip) {
      a[IntAttr::HasMipSol] = 1;
      a[DblAttr::BestObj] = res.objective;
      const double gap = std::fabs(res.objective - res.bound);
      a[DblAttr::BestGap] = gap == 0 ? 0.0 : std::min(TARQ_INFINITY, gap / std::max(std::fabs(res.objective), 1e-10));
      const int pool = static_cast<int>(res.poolObj.size());
      for (int k = 0; k < pool; ++k) {
        const double* x = res.poolValues.data() + static_cast<size_t>(k) * res.values.size();
        r.poolValues.insert(r.poolValues.end(), x, x + nCol);
      }
      r.poolObj = res.poolObj;
    } else {
      a[IntAttr::HasLpSol] = 1;
      a[DblAttr::LpObjval] = res.objective;
      if (res.hasDuals) {
        r.duals.assign(res.duals.begin(), res.duals.begin() + nRow);
        r.redCosts.assign(res.redCosts.begin(), res.redCosts.begin() + nCol);
      }
      r.poolValues = r.values;
      r.poolObj.assign(1, res.objective);
    }
    a[IntAttr::PoolSols] = r.PoolSize();
  }
  RecordAnalysis(p, res);
  p.StampResults();
}

bool HasIntegerColumns(const Problem& p) {
  const auto& t = p.Cols().type;
  return std::any_of(t.begin(), t.end(), [](char c) { return c != 'C'; });
}

namespace {

// Problems with PSD columns, PSD rows or LMI rows go to the semidefinite engine.
int SolveSemidefinite(Problem& p, bool lpOnly, double started) {
  const PsdStore& s = p.Psd();
  if (!lpOnly && HasIntegerColumns(p)) {
    p.Log().Printf("Mixed-integer semidefinite problems are not supported: the problem has integer columns and "
                   "semidefinite parts (solve its continuous relaxation with TARQ_SolveLp)");
    return TARQ_RETCODE_INVALID;
  }
  if (p.MultiObjs().Count() > 0) {
    p.Log().Printf("Multiple objectives are not supported for problems with semidefinite parts");
    return TARQ_RETCODE_INVALID;
  }
  if (RefuseQuadratic(p, "The semidefinite solve")) return TARQ_RETCODE_INVALID;
  if (p.Params().Int(IntParam::LogLevel) >= 1) {
    p.Log().Printf("Solving SDP with DSDP (%d PSD columns, %d PSD rows, %d LMI rows): %d columns, %d rows",
                   s.Cols().Size(), s.Rows().Size(), s.Lmis().Size(), p.Cols().Size(), p.Rows().Size());
  }
  EngineResult res;
  PsdResults psd;
  if (int rc = SolveSdp(p, p.Params(), res, psd); rc != TARQ_RETCODE_OK) return rc;
  RecordResult(p, res, lpOnly, WallSeconds() - started);
  if (res.hasSolution) p.Result().psd = std::move(psd);
  if (p.Params().Int(IntParam::LogLevel) >= 1) {
    p.Log().Printf("SDP status: %s, objective %.12g", StatusName(res.status), res.objective);
  }
  return TARQ_RETCODE_OK;
}

}  // namespace

int SolveProblem(Problem& p, bool lpOnly) {
  p.Interrupt().Lower();
  if (p.Psd().HasParts()) return SolveSemidefinite(p, lpOnly, WallSeconds());
  if (p.MultiObjs().Count() > 0) {
    if (RefuseQuadratic(p, "The multi-objective solve")) return TARQ_RETCODE_INVALID;
    return SolveMultiObjective(p, lpOnly);
  }
  const SosConeStore& sosCones = p.SosCone();
  const bool setsOrIndicators = sosCones.sos.Size() > 0 || sosCones.indicators.Size() > 0;
  // Quadratic, nonlinear and conic parts go to the smooth engines (interior point, or nonlinear
  // branch and bound with integer columns or special ordered sets); cones as smooth rows
  // (cone_blocks.h), sets as the branch and bound's branching objects and indicator rows
  // linearised as for a MIP (sos_cone_lp.h).
  if (HasQuadratic(p) || HasNonlinear(p) || HasCones(p)) return SolveQuadratic(p, lpOnly);
  const double started = WallSeconds();
  if (setsOrIndicators && p.Params().Int(IntParam::LogLevel) >= 1) {
    if (lpOnly) {
      p.Log().Printf("Relaxation: %d SOS constraint(s) and %d indicator row(s) left out", sosCones.sos.Size(),
                     sosCones.indicators.Size());
    } else {
      p.Log().Printf("%d SOS constraint(s) and %d indicator row(s): solved as a MIP by branch and cut with the sets "
                     "as branching objects and the indicator rows linearised",
                     sosCones.sos.Size(), sosCones.indicators.Size());
    }
  }
  LpData data;
  if (int rc = BuildLpData(p, lpOnly, data); rc != TARQ_RETCODE_OK) return rc;
  Results& r = p.Result();
  StartBasis basis;
  if (r.HasBasis(data.nCol, data.nRow)) basis = StartBasis{&r.colBasis, &r.rowBasis};
  EngineResult res;
  if (int rc = RunEngine(p, data, p.Params(), lpOnly, basis, res, true); rc != TARQ_RETCODE_OK) return rc;
  RecordResult(p, res, lpOnly, WallSeconds() - started);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
