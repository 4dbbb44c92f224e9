// Each candidate setting is one full solve of the problem with the problem's parameters plus the
// setting, quiet, limited by the time left. Candidates that solve to optimality are ranked by
// wall time, fastest first. The first trial runs the problem's parameters unchanged; it also
// fixes the run's limit when "TuneTimeLimit" is 0.
#include "tune/tune.h"

#include <algorithm>

#include "solve/solve_driver.h"

namespace tarq_solver {
namespace {

std::vector<TuneResult> Candidates(bool mip) {
  auto setting = [](std::string label, std::vector<std::pair<IntParam, int>> ints) {
    TuneResult r;
    r.label = std::move(label);
    r.ints = std::move(ints);
    return r;
  };
  if (!mip) {
    return {setting("current settings", {}),
            setting("dual simplex", {{IntParam::LpMethod, 0}}),
            setting("primal simplex", {{IntParam::LpMethod, 1}}),
            setting("barrier", {{IntParam::LpMethod, 2}}),
            setting("dual simplex, presolve off", {{IntParam::LpMethod, 0}, {IntParam::Presolve, 0}}),
            setting("primal simplex, presolve off", {{IntParam::LpMethod, 1}, {IntParam::Presolve, 0}})};
  }
  return {setting("current settings", {}),
          setting("cuts off", {{IntParam::CutLevel, 0}}),
          setting("root cuts only", {{IntParam::CutLevel, 1}}),
          setting("aggressive cuts", {{IntParam::CutLevel, 3}}),
          setting("heuristics off", {{IntParam::HeurLevel, 0}}),
          setting("presolve off", {{IntParam::Presolve, 0}}),
          setting("strong branching off", {{IntParam::StrongBranching, 0}}),
          setting("cuts off, heuristics off", {{IntParam::CutLevel, 0}, {IntParam::HeurLevel, 0}})};
}

}  // namespace

int ApplyTuneResult(const TuneResult& result, ParamSet& params) {
  for (const auto& [id, value] : result.ints) {
    if (!ParamSet::Accepts(id, value)) return TARQ_RETCODE_INVALID;
  }
  for (const auto& [id, value] : result.dbls) {
    if (!ParamSet::Accepts(id, value)) return TARQ_RETCODE_INVALID;
  }
  for (const auto& [id, value] : result.ints) params.Set(id, value);
  for (const auto& [id, value] : result.dbls) params.Set(id, value);
  return TARQ_RETCODE_OK;
}

int Tune(Problem& p) {
  p.Interrupt().Lower();
  const double started = WallSeconds();
  LpData data;
  if (int rc = BuildLpData(p, false, data); rc != TARQ_RETCODE_OK) return rc;
  const bool mip = data.IsMip();
  const int output = p.Params().Int(IntParam::TuneOutputLevel);
  double limit = p.Params().Dbl(DblParam::TuneTimeLimit);
  const double target = p.Params().Dbl(DblParam::TuneTargetTime);
  const double ownLimit = p.Params().Dbl(DblParam::TimeLimit);

  std::vector<TuneResult> ranked;
  double best = TARQ_INFINITY;
  for (TuneResult& cand : Candidates(mip)) {
    const double elapsed = WallSeconds() - started;
    if (p.Interrupt().Raised() || (limit > 0 && elapsed >= limit)) break;
    ParamSet params = p.Params();
    ApplyTuneResult(cand, params);
    params.Set(IntParam::LogLevel, 0);
    double trialLimit = ownLimit;
    if (limit > 0) trialLimit = std::min(trialLimit, limit - elapsed);
    params.Set(DblParam::TimeLimit, std::max(0.0, trialLimit));
    const double trialStart = WallSeconds();
    EngineResult res;
    if (int rc = RunEngine(p, data, params, false, StartBasis{}, res); rc != TARQ_RETCODE_OK) return rc;
    cand.seconds = WallSeconds() - trialStart;
    const bool solved = res.status == TARQ_STATUS_OPTIMAL;
    if (limit <= 0) limit = std::max(1.0, 10 * cand.seconds);  // fixed by the first trial
    if (output >= 3 || (output >= 2 && solved && cand.seconds < best)) {
      p.Log().Printf("Tune: %-30s %s in %.3f s", cand.label.c_str(), solved ? "solved" : StatusName(res.status),
                     cand.seconds);
    }
    if (!solved) continue;
    best = std::min(best, cand.seconds);
    ranked.push_back(std::move(cand));
    if (best <= target) break;
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const TuneResult& a, const TuneResult& b) { return a.seconds < b.seconds; });
  Results& r = p.Result();
  r.tune = std::move(ranked);
  r.attrs[IntAttr::TuneResults] = static_cast<int>(r.tune.size());
  r.attrs[DblAttr::TuneTime] = WallSeconds() - started;
  if (output >= 1) {
    p.Log().Printf("Tune: %d setting(s) solved the problem; best: %s", static_cast<int>(r.tune.size()),
                   r.tune.empty() ? "none" : r.tune.front().label.c_str());
  }
  return TARQ_RETCODE_OK;
}

int LoadTuneParam(Problem& p, int index) {
  Results& r = p.Result();
  if (index < 0 || index >= static_cast<int>(r.tune.size())) return TARQ_RETCODE_INVALID;
  if (int rc = ApplyTuneResult(r.tune[index], p.Params()); rc != TARQ_RETCODE_OK) return rc;
  ApplyLogParams(p.Params(), p.Log());
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
