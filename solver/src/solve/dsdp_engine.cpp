#include "solve/dsdp_engine.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>

// DSDP's headers are C, and one of them declares DSDPSetConvergenceFlag outside its C block.
extern "C" {
#include <dsdp5.h>
}

namespace tarq_solver {

namespace {

std::mutex& DsdpMutex() {
  static std::mutex mutex;
  return mutex;
}

// The relative duality gap (of DSDP's own objectives) at which a point where DSDP stopped short of
// convergence is accepted as optimal.
constexpr double kAcceptGap = 1e-6;
// The relative gap between b'y and <C, X> (with the X that DSDP computes at the end, less accurate
// than its iterates) beyond which no stop is accepted as optimal: DSDP's own objectives include
// its penalty and bound terms, and can close on a point that is not optimal when the problem has
// no strictly feasible y.
constexpr double kTrustGap = 1e-5;

// DSDP's packed index of element (i, j), i >= j: the lower triangle row by row.
int DsdpIndex(int i, int j) { return i * (i + 1) / 2 + j; }

// The data of one block in DSDP's layout. DSDP keeps pointers into these arrays until it is
// destroyed, so they live as long as the solver object.
struct BlockData {
  std::vector<int> start;  // per variable 0..m: entries [start[v], start[v + 1])
  std::vector<int> index;
  std::vector<double> value;
};

void Layout(const ConicBlock& blk, int m, BlockData& out) {
  out.start.assign(static_cast<size_t>(m) + 2, 0);
  out.index.resize(blk.entries.size());
  out.value.resize(blk.entries.size());
  for (const ConicEntry& e : blk.entries) ++out.start[e.var + 1];
  for (int v = 0; v <= m; ++v) out.start[v + 1] += out.start[v];
  for (size_t k = 0; k < blk.entries.size(); ++k) {
    const ConicEntry& e = blk.entries[k];
    int pos = e.pos;
    if (!blk.lp) {
      int i = 0, j = 0;
      PackedRowCol(blk.dim, e.pos, i, j);
      pos = DsdpIndex(i, j);
    }
    out.index[k] = pos;
    out.value[k] = e.val;
  }
  if (blk.lp) return;
  // Within a variable, DSDP's order of the entries.
  for (int v = 0; v <= m; ++v) {
    std::vector<std::pair<int, double>> run;
    for (int k = out.start[v]; k < out.start[v + 1]; ++k) run.emplace_back(out.index[k], out.value[k]);
    std::sort(run.begin(), run.end());
    for (size_t q = 0; q < run.size(); ++q) {
      out.index[out.start[v] + q] = run[q].first;
      out.value[out.start[v] + q] = run[q].second;
    }
  }
}

struct Monitor {
  const DsdpSettings* settings;
  bool timedOut = false;
  bool interrupted = false;
};

int MonitorCallback(DSDP dsdp, void* ctx) {
  Monitor& mon = *static_cast<Monitor*>(ctx);
  const DsdpSettings& s = *mon.settings;
  int iter = 0;
  DSDPGetIts(dsdp, &iter);
  if (s.log != nullptr && s.logLevel >= 1 && (s.logLevel >= 2 || iter % 5 == 0)) {
    double pp = 0, dd = 0, r = 0, mu = 0;
    DSDPGetPPObjective(dsdp, &pp);
    DSDPGetDDObjective(dsdp, &dd);
    DSDPGetR(dsdp, &r);
    DSDPGetBarrierParameter(dsdp, &mu);
    s.log->Printf("SDP iter %3d  primal %16.8e  dual %16.8e  infeas %8.1e  mu %8.1e", iter, pp, dd, r, mu);
  }
  if (s.interrupt != nullptr && s.interrupt->Raised()) {
    mon.interrupted = true;
  } else if (std::chrono::steady_clock::now() >= s.deadline) {
    mon.timedOut = true;
  }
  if (mon.interrupted || mon.timedOut) DSDPSetConvergenceFlag(dsdp, DSDP_USER_TERMINATION);
  return 0;
}

// Owns a DSDP solver object.
struct DsdpHandle {
  DSDP dsdp = nullptr;
  ~DsdpHandle() {
    if (dsdp != nullptr) DSDPDestroy(dsdp);
  }
};

// Whether a symmetric matrix (packed, ours) is positive semidefinite within tol: a Cholesky
// factorisation of A + tol I. O(n^3); used only for forms without variables.
bool NearlyPsd(int n, const std::vector<double>& packed, double tol) {
  std::vector<double> a(static_cast<size_t>(n) * n, 0.0);
  for (int j = 0; j < n; ++j) {
    for (int i = j; i < n; ++i) {
      const double v = packed[PackedPos(n, i, j)];
      a[static_cast<size_t>(i) * n + j] = v + (i == j ? tol : 0.0);
    }
  }
  for (int j = 0; j < n; ++j) {
    double d = a[static_cast<size_t>(j) * n + j];
    for (int k = 0; k < j; ++k) d -= a[static_cast<size_t>(j) * n + k] * a[static_cast<size_t>(j) * n + k];
    if (d < 0) return false;
    d = std::sqrt(d);
    a[static_cast<size_t>(j) * n + j] = d;
    for (int i = j + 1; i < n; ++i) {
      double v = a[static_cast<size_t>(i) * n + j];
      for (int k = 0; k < j; ++k) v -= a[static_cast<size_t>(i) * n + k] * a[static_cast<size_t>(j) * n + k];
      a[static_cast<size_t>(i) * n + j] = d > 0 ? v / d : 0.0;
      if (d == 0 && std::fabs(v) > tol) return false;
    }
  }
  return true;
}

// What DSDP cannot take is removed before it runs, and restored afterwards: variables without
// entries (the maximisation is unbounded along one with a non-zero objective; otherwise it is 0),
// LP rows and SDP blocks without variables (their constant must lie in the cone; their X is 0).
struct Pruned {
  ConicForm form;
  std::vector<int> varOf;    // DSDP variable -> form variable
  std::vector<int> blockOf;  // DSDP block -> form block
  std::vector<std::vector<int>> rowOf;  // per DSDP LP block: DSDP row -> form row
  bool unbounded = false;  // a variable without entries has a non-zero objective
  bool outside = false;    // a constant LP row or block lies outside its cone
};

void Prune(const ConicForm& form, double tol, Pruned& p) {
  std::vector<int> newVar(static_cast<size_t>(form.m) + 1, 0);
  for (const ConicBlock& blk : form.blocks) {
    for (const ConicEntry& e : blk.entries) newVar[e.var] = 1;
  }
  newVar[0] = 0;  // the constant keeps number 0
  p.form.b.assign(1, 0.0);
  p.varOf.assign(1, 0);
  for (int v = 1; v <= form.m; ++v) {
    if (!newVar[v]) {
      p.unbounded = p.unbounded || form.b[v] != 0.0;
      continue;
    }
    newVar[v] = p.form.AddVar(form.b[v]);
    p.varOf.push_back(v);
  }
  std::vector<double> c;
  const std::vector<double> zero(static_cast<size_t>(form.m) + 1, 0.0);
  for (size_t k = 0; k < form.blocks.size(); ++k) {
    const ConicBlock& blk = form.blocks[k];
    ConicBlock out;
    out.lp = blk.lp;
    std::vector<int> rows;
    if (blk.lp) {
      // Rows that some variable uses stay; the others must have C >= 0.
      std::vector<int> newRow(static_cast<size_t>(blk.dim), -1);
      for (const ConicEntry& e : blk.entries) {
        if (e.var > 0 && newRow[e.pos] < 0) newRow[e.pos] = 0;
      }
      form.Slack(static_cast<int>(k), zero, c);
      for (int r = 0; r < blk.dim; ++r) {
        if (newRow[r] < 0) {
          p.outside = p.outside || c[r] < -tol;
          continue;
        }
        newRow[r] = static_cast<int>(rows.size());
        rows.push_back(r);
      }
      out.dim = static_cast<int>(rows.size());
      for (const ConicEntry& e : blk.entries) {
        if (newRow[e.pos] >= 0) out.Add(newVar[e.var], newRow[e.pos], e.val);
      }
    } else {
      const bool used = std::any_of(blk.entries.begin(), blk.entries.end(), [](const ConicEntry& e) { return e.var > 0; });
      if (!used) {
        form.Slack(static_cast<int>(k), zero, c);
        p.outside = p.outside || !NearlyPsd(blk.dim, c, tol);
        continue;
      }
      out.dim = blk.dim;
      for (const ConicEntry& e : blk.entries) out.Add(newVar[e.var], e.pos, e.val);
    }
    if (out.dim == 0) continue;
    out.Finish();
    p.form.blocks.push_back(std::move(out));
    p.blockOf.push_back(static_cast<int>(k));
    p.rowOf.push_back(std::move(rows));
  }
}

// How one DSDP run is set up besides the form; later attempts try what earlier ones did not.
struct Attempt {
  int dynamicRho;
  int reuse;  // -1: DSDP's default
};
constexpr Attempt kAttempts[] = {{0, -1}, {1, -1}, {0, 0}};

struct RunResult {
  DSDPTerminationReason reason = CONTINUE_ITERATING;
  DSDPSolutionType type = DSDP_PDUNKNOWN;
  int code = 0;
  double ppEngine = 0;
  double ddEngine = 0;
  double r = 0;
  double ybound = 0;
};

// One DSDP run on a pruned form (m >= 1); y and x are in the pruned form's numbering.
int RunOnce(const ConicForm& form, std::vector<BlockData>& data, const DsdpSettings& settings, Attempt attempt,
            Monitor& mon, ConicSolution& out, RunResult& run) {
  const int m = form.m;
  DsdpHandle h;
  if (DSDPCreate(m, &h.dsdp) != 0) return TARQ_RETCODE_MEMORY;
  for (int i = 1; i <= m; ++i) {
    if (DSDPSetDualObjective(h.dsdp, i, form.b[i]) != 0) return TARQ_RETCODE_INTERNAL;
  }
  int nSdp = 0;
  for (const ConicBlock& blk : form.blocks) nSdp += blk.lp ? 0 : 1;
  SDPCone sdp = nullptr;
  if (nSdp > 0 && DSDPCreateSDPCone(h.dsdp, nSdp, &sdp) != 0) return TARQ_RETCODE_MEMORY;
  std::vector<LPCone> lps(form.blocks.size(), nullptr);
  std::vector<int> sdpIndex(form.blocks.size(), -1);
  int nextSdp = 0;
  for (size_t k = 0; k < form.blocks.size(); ++k) {
    const ConicBlock& blk = form.blocks[k];
    BlockData& d = data[k];
    if (blk.lp) {
      if (DSDPCreateLPCone(h.dsdp, &lps[k]) != 0 ||
          LPConeSetData(lps[k], blk.dim, d.start.data(), d.index.data(), d.value.data()) != 0) {
        return TARQ_RETCODE_INTERNAL;
      }
      continue;
    }
    const int j = nextSdp++;
    sdpIndex[k] = j;
    int used = 0;
    for (int v = 0; v <= m; ++v) used += d.start[v + 1] > d.start[v] ? 1 : 0;
    if (SDPConeSetBlockSize(sdp, j, blk.dim) != 0 || SDPConeSetSparsity(sdp, j, used) != 0) {
      return TARQ_RETCODE_INTERNAL;
    }
    for (int v = 0; v <= m; ++v) {
      const int n = d.start[v + 1] - d.start[v];
      if (n == 0) continue;
      if (SDPConeSetASparseVecMat(sdp, j, v, blk.dim, 1.0, 0, d.index.data() + d.start[v],
                                  d.value.data() + d.start[v], n) != 0) {
        return TARQ_RETCODE_INTERNAL;
      }
    }
  }
  DSDPSetGapTolerance(h.dsdp, settings.gapTol);
  DSDPSetMaxIts(h.dsdp, settings.maxIter);
  DSDPUseDynamicRho(h.dsdp, attempt.dynamicRho);
  if (attempt.reuse >= 0) DSDPReuseMatrix(h.dsdp, attempt.reuse);
  DSDPSetMonitor(h.dsdp, MonitorCallback, &mon);
  if (DSDPSetup(h.dsdp) != 0) return TARQ_RETCODE_MEMORY;
  run.code = DSDPSolve(h.dsdp);

  DSDPStopReason(h.dsdp, &run.reason);
  if (run.reason != DSDP_INFEASIBLE_START) DSDPComputeX(h.dsdp);
  DSDPStopReason(h.dsdp, &run.reason);
  DSDPGetSolutionType(h.dsdp, &run.type);
  int its = 0;
  DSDPGetIts(h.dsdp, &its);
  out.iterations += its;
  out.y.assign(static_cast<size_t>(m) + 1, 0.0);
  DSDPGetY(h.dsdp, out.y.data() + 1, m);
  DSDPGetPPObjective(h.dsdp, &run.ppEngine);
  DSDPGetDDObjective(h.dsdp, &run.ddEngine);
  DSDPGetR(h.dsdp, &run.r);
  double ylow = 0, yhigh = 0;
  DSDPGetYBounds(h.dsdp, &ylow, &yhigh);
  run.ybound = std::min(-ylow, yhigh);
  out.x.resize(form.blocks.size());
  for (size_t k = 0; k < form.blocks.size(); ++k) {
    const ConicBlock& blk = form.blocks[k];
    std::vector<double>& x = out.x[k];
    x.assign(static_cast<size_t>(blk.Positions()), 0.0);
    double* arr = nullptr;
    int n = 0;
    if (blk.lp) {
      if (LPConeGetXArray(lps[k], &arr, &n) == 0 && n == blk.dim) std::copy(arr, arr + n, x.begin());
      continue;
    }
    if (SDPConeGetXArray(sdp, sdpIndex[k], &arr, &n) != 0 || n != DsdpIndex(blk.dim, 0)) continue;
    for (int jj = 0; jj < blk.dim; ++jj) {
      for (int ii = jj; ii < blk.dim; ++ii) x[PackedPos(blk.dim, ii, jj)] = arr[DsdpIndex(ii, jj)];
    }
  }
  return TARQ_RETCODE_OK;
}

// The outcome of a run: its status, and its gap computed from y and X.
double Classify(const ConicForm& form, const DsdpSettings& settings, const Monitor& mon, const RunResult& run,
                ConicSolution& out) {
  double dd = 0, pp = 0, ymax = 0;
  for (int i = 1; i <= form.m; ++i) {
    dd += form.b[i] * out.y[i];
    ymax = std::max(ymax, std::fabs(out.y[i]));
  }
  for (size_t k = 0; k < form.blocks.size(); ++k) {
    for (const ConicEntry& e : form.blocks[k].entries) {
      if (e.var == 0) pp += e.val * out.x[k][e.pos] * InnerWeight(form.blocks[k], e.pos);
    }
  }
  const double gap = std::fabs(pp - dd) / (1.0 + std::fabs(pp) + std::fabs(dd));
  // DSDP's own objectives of its final point measure its progress; the X it computes afterwards
  // is less accurate.
  const double engineGap =
      std::fabs(run.ppEngine - run.ddEngine) / (1.0 + std::fabs(run.ppEngine) + std::fabs(run.ddEngine));
  const bool converged = run.reason == DSDP_CONVERGED && run.type == DSDP_PDFEASIBLE && gap <= kTrustGap;
  const bool feasible = run.r <= 1e-8 * (1.0 + ymax);
  // DSDP keeps y within bounds; y at a bound with a large gap means the maximisation has no
  // finite optimum, whatever type DSDP reports.
  const bool atBound = ymax >= 0.5 * run.ybound && gap > 1e-4;
  if (mon.interrupted) {
    out.status = ConicStatus::kInterrupted;
  } else if (mon.timedOut) {
    out.status = ConicStatus::kTimeLimit;
  } else if (run.type == DSDP_UNBOUNDED || atBound) {
    out.status = ConicStatus::kPrimalInfeasible;
  } else if (run.type == DSDP_INFEASIBLE) {
    out.status = ConicStatus::kDualInfeasible;
  } else if (feasible && run.type != DSDP_PDUNKNOWN &&
             (converged || (engineGap <= std::max(settings.gapTol, kAcceptGap) && gap <= kTrustGap))) {
    // Converged, or stopped by short steps or numerical trouble at a point that is optimal
    // within the tolerance.
    out.status = ConicStatus::kOptimal;
  } else if (run.reason == DSDP_MAX_IT || out.iterations >= settings.maxIter) {
    out.status = ConicStatus::kIterationLimit;
  } else {
    out.status = ConicStatus::kNumerical;
  }
  out.dualObj = dd + form.objConst;
  out.primalObj = pp + form.objConst;
  return gap;
}

}  // namespace

int SolveWithDsdp(const ConicForm& form, const DsdpSettings& settings, ConicSolution& out) {
  out = ConicSolution();
  Pruned p;
  Prune(form, 1e-9, p);
  out.y.assign(static_cast<size_t>(form.m) + 1, 0.0);
  out.x.clear();
  for (const ConicBlock& blk : form.blocks) out.x.emplace_back(static_cast<size_t>(blk.Positions()), 0.0);
  out.status = ConicStatus::kOptimal;
  if (p.unbounded || p.outside) {
    out.status = p.unbounded ? ConicStatus::kPrimalInfeasible : ConicStatus::kDualInfeasible;
    return TARQ_RETCODE_OK;
  }
  ConicSolution run;
  if (p.form.m > 0) {
    std::vector<BlockData> data(p.form.blocks.size());
    for (size_t k = 0; k < p.form.blocks.size(); ++k) Layout(p.form.blocks[k], p.form.m, data[k]);
    std::lock_guard<std::mutex> lock(DsdpMutex());
    Monitor mon{&settings};
    for (const Attempt& attempt : kAttempts) {
      RunResult rr;
      if (int rc = RunOnce(p.form, data, settings, attempt, mon, run, rr); rc != TARQ_RETCODE_OK) return rc;
      const double gap = Classify(p.form, settings, mon, rr, run);
      if (settings.log != nullptr && settings.logLevel >= 1) {
        settings.log->Printf("DSDP (dynamic rho %d) stopped after %d iterations: reason %d, type %d, relative gap %.2e",
                             attempt.dynamicRho, run.iterations, static_cast<int>(rr.reason),
                             static_cast<int>(rr.type), gap);
      }
      if (run.status != ConicStatus::kNumerical || run.iterations >= settings.maxIter) break;
    }
  } else if (p.form.blocks.empty()) {
    run.y.assign(1, 0.0);
  } else {
    // Every variable was left out and some block remains: impossible, since blocks without
    // variables are left out too.
    run.status = ConicStatus::kNumerical;
  }
  out.status = run.status;
  out.iterations = run.iterations;
  for (int i = 1; i <= p.form.m; ++i) out.y[p.varOf[i]] = run.y[i];
  for (size_t k = 0; k < p.form.blocks.size(); ++k) {
    std::vector<double>& x = out.x[p.blockOf[k]];
    if (p.form.blocks[k].lp) {
      for (size_t r = 0; r < p.rowOf[k].size(); ++r) x[p.rowOf[k][r]] = run.x[k][r];
    } else {
      x = run.x[k];
    }
  }
  double dd = form.objConst, pp = form.objConst;
  for (int i = 1; i <= form.m; ++i) dd += form.b[i] * out.y[i];
  for (size_t k = 0; k < form.blocks.size(); ++k) {
    for (const ConicEntry& e : form.blocks[k].entries) {
      if (e.var == 0) pp += e.val * out.x[k][e.pos] * InnerWeight(form.blocks[k], e.pos);
    }
  }
  out.dualObj = dd;
  out.primalObj = pp;
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
