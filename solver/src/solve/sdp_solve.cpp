#include "solve/sdp_solve.h"

#include <cmath>

#include "solve/conic_reduce.h"
#include "solve/dsdp_engine.h"
#include "solve/sdp_mapping.h"

namespace tarq_solver {

namespace {

std::chrono::steady_clock::time_point Deadline(double seconds) {
  using Clock = std::chrono::steady_clock;
  if (!(seconds < 1e15)) return Clock::time_point::max();
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

int SolveSdp(Problem& p, const ParamSet& params, EngineResult& out, PsdResults& psd) {
  out = EngineResult();
  psd.Clear();
  SdpMapping mapping(p, params.Dbl(DblParam::InfBound));
  ConicForm form;
  mapping.Build(form);
  const int level = params.Int(IntParam::Logging) == 0 ? 0 : params.Int(IntParam::LogLevel);
  ConicReduction reduction;
  const bool consistent = reduction.Reduce(form);
  if (level >= 1) {
    p.Log().Printf("SDP form (%s mapping): %d variables, %d blocks, %d equalities eliminated",
                   mapping.PrimalMapping() ? "primal" : "dual", form.m, static_cast<int>(form.blocks.size()),
                   form.Equalities());
  }
  if (!consistent) {
    out.status = mapping.InconsistentStatus();
    return TARQ_RETCODE_OK;
  }
  DsdpSettings settings;
  settings.gapTol = params.Dbl(DblParam::BarGapTol);
  settings.maxIter = std::max(1, params.Int(IntParam::BarIterLimit));
  settings.deadline = Deadline(params.Dbl(DblParam::TimeLimit));
  settings.interrupt = &p.Interrupt();
  settings.log = &p.Log();
  settings.logLevel = level;
  ConicSolution sol;
  if (int rc = SolveWithDsdp(reduction.Reduced(), settings, sol); rc != TARQ_RETCODE_OK) return rc;
  out.status = mapping.Status(sol.status);
  out.barrierIter = sol.iterations;
  if (out.status != TARQ_STATUS_OPTIMAL) return TARQ_RETCODE_OK;
  std::vector<double> y, mu;
  reduction.Expand(sol.y, y);
  reduction.Multipliers(sol.x, mu);
  mapping.Recover(form, y, sol.x, mu, out, psd);
  return TARQ_RETCODE_OK;
}

bool RefuseSemidefinite(Problem& problem, const char* operation) {
  if (!problem.Psd().HasParts()) return false;
  problem.Log().Printf("%s does not take PSD columns, PSD rows or LMI rows", operation);
  return true;
}

}  // namespace tarq_solver
