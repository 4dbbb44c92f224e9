// Objectives are grouped by priority, highest first; each group is blended by weight into one
// minimised objective and solved; a row keeps that objective within its tolerance of the optimum
// for every later group. The LP levels warm-start from the previous level's basis.
#include "solve/multi_obj_solve.h"

#include <algorithm>
#include <cmath>

#include "solve/solve_driver.h"

namespace tarq_solver {
namespace {

struct Level {
  std::vector<int> members;  // objective indices, ascending
};

std::vector<Level> Levels(const MultiObjTable& table) {
  std::vector<int> order;
  for (int k = 0; k < table.Slots(); ++k) {
    if (table.Exists(k)) order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return table.Find(a)->priority > table.Find(b)->priority; });
  std::vector<Level> levels;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i == 0 || table.Find(order[i])->priority != table.Find(order[i - 1])->priority) levels.emplace_back();
    levels.back().members.push_back(order[i]);
  }
  for (Level& l : levels) std::sort(l.members.begin(), l.members.end());
  return levels;
}

// Value of one objective (in its own sense, with its constant) at x.
double ObjectiveValue(const MultiObjective& o, const double* x, int nCol) {
  double sum = o.constant;
  for (int j = 0; j < nCol && j < static_cast<int>(o.coef.size()); ++j) sum += o.coef[j] * x[j];
  return sum;
}

}  // namespace

int SolveMultiObjective(Problem& p, bool lpOnly) {
  const double started = WallSeconds();
  LpData data;
  if (int rc = BuildLpData(p, lpOnly, data); rc != TARQ_RETCODE_OK) return rc;
  const int nCol = data.nCol;
  const std::vector<Level> levels = Levels(p.MultiObjs());
  const bool ownParams = p.Params().Int(IntParam::MultiObjParamMode) == 1;
  const double perObjLimit = p.Params().Dbl(DblParam::MultiObjTimeLimit);
  const double totalLimit = p.Params().Dbl(DblParam::TimeLimit);

  EngineResult res;
  std::vector<int> colBasis, rowBasis;
  for (size_t li = 0; li < levels.size(); ++li) {
    const Level& level = levels[li];
    MultiObjTable& table = p.MultiObjResults();
    // The blended objective of the level, as a minimisation.
    std::vector<double> cost(static_cast<size_t>(nCol), 0.0);
    double constant = 0, absTol = 0, relTol = 0;
    for (int k : level.members) {
      const MultiObjective& o = *table.Find(k);
      const double f = o.weight * o.sense;
      for (int j = 0; j < nCol && j < static_cast<int>(o.coef.size()); ++j) cost[j] += f * o.coef[j];
      constant += f * o.constant;
      absTol = std::max(absTol, o.absTol);
      relTol = std::max(relTol, o.relTol);
    }
    data.obj = cost;
    data.objConst = constant;
    data.sense = 1;

    ParamSet params = ownParams ? table.Find(level.members.front())->params : p.Params();
    const double elapsed = WallSeconds() - started;
    double limit = std::min(params.Dbl(DblParam::TimeLimit), perObjLimit);
    if (totalLimit < TARQ_INFINITY) limit = std::min(limit, std::max(0.0, totalLimit - elapsed));
    params.Set(DblParam::TimeLimit, std::min(limit, TARQ_INFINITY));
    if (params.Int(IntParam::LogLevel) >= 1) {
      p.Log().Printf("Multi-objective level %zu of %zu: priority %d, %zu objective(s)", li + 1, levels.size(),
                     table.Find(level.members.front())->priority, level.members.size());
    }
    StartBasis basis;
    if (!colBasis.empty()) basis = StartBasis{&colBasis, &rowBasis};
    const double levelStart = WallSeconds();
    if (int rc = RunEngine(p, data, params, lpOnly, basis, res); rc != TARQ_RETCODE_OK) return rc;
    const double levelTime = WallSeconds() - levelStart;
    if (res.hasBasis) {
      colBasis = res.colBasis;
      rowBasis = res.rowBasis;
    }

    for (int k : level.members) {
      MultiObjective& o = *table.Find(k);
      o.attrs = SolveAttrs();
      o.attrs[DblAttr::SolvingTime] = levelTime;
      o.attrs[res.mip ? IntAttr::MipStatus : IntAttr::LpStatus] = res.status;
      if (res.hasSolution) {
        o.attrs[res.mip ? DblAttr::BestObj : DblAttr::LpObjval] = ObjectiveValue(o, res.values.data(), nCol);
      }
    }
    if (res.status != TARQ_STATUS_OPTIMAL || !res.hasSolution) break;
    if (li + 1 < levels.size()) {
      const double optimum = res.objective;
      const double tol = std::max(absTol, relTol * std::fabs(optimum));
      data.AddRow(cost, -TARQ_INFINITY, optimum - constant + tol);
    }
  }

  RecordResult(p, res, lpOnly, WallSeconds() - started);
  // The problem's objective values are those of the first objective of the highest priority.
  Results& r = p.Result();
  const MultiObjective& lead = *p.MultiObjs().Find(levels.front().members.front());
  if (res.hasSolution) {
    const double value = ObjectiveValue(lead, r.values.data(), nCol);
    r.attrs[res.mip ? DblAttr::BestObj : DblAttr::LpObjval] = value;
    if (res.mip && res.status == TARQ_STATUS_OPTIMAL) {
      r.attrs[DblAttr::BestBnd] = value;
      r.attrs[DblAttr::BestGap] = 0;
    }
  }
  if (res.mip && res.status != TARQ_STATUS_OPTIMAL) {
    // The engine's bound belongs to the blended objective of the level that stopped, not to the
    // lead objective: no bound is known for that.
    r.attrs[DblAttr::BestBnd] = lead.sense > 0 ? -TARQ_INFINITY : TARQ_INFINITY;
    r.attrs[DblAttr::BestGap] = TARQ_INFINITY;
    for (int k = 0; k < r.PoolSize(); ++k) {
      r.poolObj[k] = ObjectiveValue(lead, r.poolValues.data() + static_cast<size_t>(k) * nCol, nCol);
    }
  }
  r.attrs[DblAttr::MultiObjTime] = WallSeconds() - started;
  p.StampResults();
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
