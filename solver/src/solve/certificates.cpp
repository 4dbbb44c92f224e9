#include "solve/certificates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarq_solver {
namespace {

constexpr double kTiny = 1e-12;

bool Finite(double v) { return std::fabs(v) < TARQ_INFINITY; }

// Scales v to largest magnitude 1 and drops the entries below kTiny. False when v is not finite
// or all zero.
bool Normalise(std::vector<double>& v) {
  double big = 0;
  for (double e : v) {
    if (!std::isfinite(e)) return false;
    big = std::max(big, std::fabs(e));
  }
  if (big == 0) return false;
  for (double& e : v) {
    e /= big;
    if (std::fabs(e) < kTiny) e = 0;
  }
  return true;
}

double RowLower(const LpData& d, int i) { return i < d.nRow ? d.rowLower[i] : d.addLower[i - d.nRow]; }
double RowUpper(const LpData& d, int i) { return i < d.nRow ? d.rowUpper[i] : d.addUpper[i - d.nRow]; }

template <class... Args>
std::string Text(const char* fmt, Args... args) {
  char buf[200];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

// z = A'y over the matrix rows and the added rows.
std::vector<double> TransposeTimes(const LpData& d, const std::vector<double>& y) {
  std::vector<double> z(static_cast<size_t>(d.nCol), 0.0);
  for (int j = 0; j < d.nCol; ++j) {
    double sum = 0;
    for (CoinBigIndex p = d.start[j]; p < d.start[j + 1]; ++p) sum += d.value[p] * y[d.index[p]];
    z[j] = sum;
  }
  for (size_t r = 0; r + 1 < d.addStart.size(); ++r) {
    const double yr = y[d.nRow + r];
    if (yr == 0) continue;
    for (CoinBigIndex p = d.addStart[r]; p < d.addStart[r + 1]; ++p) z[d.addIndex[p]] += d.addValue[p] * yr;
  }
  return z;
}

// Activities of r and the magnitudes sum |a_ij r_j| of every row.
void RayActivities(const LpData& d, const std::vector<double>& r, std::vector<double>& act, std::vector<double>& mag) {
  d.Activities(r.data(), act);
  mag.assign(act.size(), 0.0);
  for (int j = 0; j < d.nCol; ++j) {
    if (r[j] == 0) continue;
    for (CoinBigIndex p = d.start[j]; p < d.start[j + 1]; ++p) mag[d.index[p]] += std::fabs(d.value[p] * r[j]);
  }
  for (size_t k = 0; k + 1 < d.addStart.size(); ++k) {
    for (CoinBigIndex p = d.addStart[k]; p < d.addStart[k + 1]; ++p) {
      mag[d.nRow + k] += std::fabs(d.addValue[p] * r[d.addIndex[p]]);
    }
  }
}

// The parameters of an auxiliary solve: the caller's, without further certificates or ranges, by
// the dual simplex (a basic solution is needed).
ParamSet AuxiliaryParams(const ParamSet& params) {
  ParamSet aux = params;
  aux.Set(IntParam::ReqFarkasRay, 0);
  aux.Set(IntParam::ReqSensitivity, 0);
  aux.Set(IntParam::LpMethod, 0);
  return aux;
}

// The elastic problem: the columns with cost 0 and their bounds, every finite row bound given an
// artificial column of cost 1 that can make up its violation. It is feasible whenever the column
// bounds are (and no row's bounds cross), and its least total violation is positive exactly
// when data is infeasible; by LP duality the row duals of its optimum then form a Farkas vector
// whose contradiction equals that least violation. Costs one LP of the size of data plus one
// column per finite row bound.
bool FarkasFromElasticLp(const LpData& data, const EngineContext& ctx, std::vector<double>& y) {
  for (int j = 0; j < data.nCol; ++j) {
    if (data.colLower[j] > data.colUpper[j]) {
      ctx.log.Printf("Certificate: column %d has its lower bound above its upper bound; no row combination is "
                     "needed to show the contradiction, and none is reported",
                     j);
      return false;
    }
  }
  LpData aux = data;
  std::fill(aux.obj.begin(), aux.obj.end(), 0.0);
  std::fill(aux.integer.begin(), aux.integer.end(), 0);
  aux.objConst = 0;
  aux.sense = 1;
  const double plus = 1, minus = -1;
  for (int i = 0; i < data.nRow; ++i) {
    if (data.rowLower[i] > data.rowUpper[i]) {
      ctx.log.Printf("Certificate: row %d has its lower bound above its upper bound; no certificate is reported", i);
      return false;
    }
    if (Finite(data.rowLower[i])) aux.AddCol(1, 0, TARQ_INFINITY, 1, &i, &plus);
    if (Finite(data.rowUpper[i])) aux.AddCol(1, 0, TARQ_INFINITY, 1, &i, &minus);
  }
  const ParamSet params = AuxiliaryParams(ctx.params);
  EngineResult res;
  if (SolveLp(aux, EngineContext{params, ctx.log, ctx.interrupt}, StartBasis{}, res) != TARQ_RETCODE_OK) return false;
  if (res.status != TARQ_STATUS_OPTIMAL || !res.hasDuals || res.objective <= 0) return false;
  y.assign(res.duals.begin(), res.duals.begin() + data.nRow);
  return true;
}

// The cone problem: directions r within the recession cone of rows and bounds, boxed to
// [-1, 1], minimising the objective in its sense. r = 0 is feasible, so it solves to optimality;
// a negative optimum is an improving ray, 0 means there is none. One LP of the size of data.
bool RayFromConeLp(const LpData& data, const EngineContext& ctx, std::vector<double>& r) {
  LpData aux = data;
  std::fill(aux.integer.begin(), aux.integer.end(), 0);
  aux.objConst = 0;
  for (int j = 0; j < data.nCol; ++j) {
    aux.colLower[j] = Finite(data.colLower[j]) ? 0.0 : -1.0;
    aux.colUpper[j] = Finite(data.colUpper[j]) ? 0.0 : 1.0;
  }
  for (int i = 0; i < data.nRow; ++i) {
    aux.rowLower[i] = Finite(data.rowLower[i]) ? 0.0 : -TARQ_INFINITY;
    aux.rowUpper[i] = Finite(data.rowUpper[i]) ? 0.0 : TARQ_INFINITY;
  }
  const ParamSet params = AuxiliaryParams(ctx.params);
  EngineResult res;
  if (SolveLp(aux, EngineContext{params, ctx.log, ctx.interrupt}, StartBasis{}, res) != TARQ_RETCODE_OK) return false;
  if (res.status != TARQ_STATUS_OPTIMAL || !res.hasSolution || data.sense * res.objective >= 0) return false;
  r = res.values;
  return true;
}

}  // namespace

std::string CheckFarkas(const LpData& d, std::vector<double>& y, const CertificateTolerances& tol) {
  const int rows = d.Rows();
  if (static_cast<int>(y.size()) != rows) return "it has the wrong length";
  if (!Normalise(y)) return "it is zero or not finite";
  double beta = 0, slack = 0;
  for (int i = 0; i < rows; ++i) {
    if (y[i] > 0) {
      if (!Finite(RowLower(d, i))) return Text("row %d has no lower bound but a positive multiplier %g", i, y[i]);
      beta += y[i] * RowLower(d, i);
    } else if (y[i] < 0) {
      if (!Finite(RowUpper(d, i))) return Text("row %d has no upper bound but a negative multiplier %g", i, y[i]);
      beta += y[i] * RowUpper(d, i);
    }
    slack += std::fabs(y[i]);
  }
  const std::vector<double> z = TransposeTimes(d, y);
  double zmax = 0;
  for (int j = 0; j < d.nCol; ++j) {
    const double lo = d.colLower[j], up = d.colUpper[j];
    if (z[j] > tol.dual) {
      if (!Finite(up)) return Text("column %d has no upper bound but combines to %g", j, z[j]);
      zmax += z[j] * up;
    } else if (z[j] < -tol.dual) {
      if (!Finite(lo)) return Text("column %d has no lower bound but combines to %g", j, z[j]);
      zmax += z[j] * lo;
    } else if (Finite(lo) && Finite(up)) {
      zmax += std::max(z[j] * lo, z[j] * up);
    }
    slack += std::fabs(z[j]);
  }
  slack *= tol.feas;
  if (beta - zmax > slack) return "";
  return Text("the rows it combines contradict the bounds by %g only, within the allowed %g", beta - zmax, slack);
}

std::string CheckRay(const LpData& d, std::vector<double>& r, const CertificateTolerances& tol) {
  if (static_cast<int>(r.size()) != d.nCol) return "it has the wrong length";
  if (!Normalise(r)) return "it is zero or not finite";
  double cmax = 1, gain = 0;
  for (int j = 0; j < d.nCol; ++j) {
    if (Finite(d.colLower[j]) && r[j] < -tol.feas) return Text("it leaves column %d's lower bound (%g)", j, r[j]);
    if (Finite(d.colUpper[j]) && r[j] > tol.feas) return Text("it leaves column %d's upper bound (%g)", j, r[j]);
    cmax = std::max(cmax, std::fabs(d.obj[j]));
    gain += d.obj[j] * r[j];
  }
  std::vector<double> act, mag;
  RayActivities(d, r, act, mag);
  for (int i = 0; i < d.Rows(); ++i) {
    const double allowed = tol.feas * std::max(1.0, mag[i]);
    if (Finite(RowLower(d, i)) && act[i] < -allowed) return Text("it leaves row %d's lower bound (%g)", i, act[i]);
    if (Finite(RowUpper(d, i)) && act[i] > allowed) return Text("it leaves row %d's upper bound (%g)", i, act[i]);
  }
  if (d.sense * gain < -tol.dual * cmax) return "";
  return Text("it does not improve the objective (change %g per unit, %g needed)", d.sense * gain, -tol.dual * cmax);
}

void AttachCertificate(const LpData& data, const EngineContext& ctx, const std::vector<std::vector<double>>& candidates,
                       EngineResult& out) {
  const bool infeasible = out.status == TARQ_STATUS_INFEASIBLE;
  if (!infeasible && out.status != TARQ_STATUS_UNBOUNDED) return;
  const CertificateTolerances tol{ctx.params.Dbl(DblParam::FeasTol), ctx.params.Dbl(DblParam::DualTol)};
  const char* what = infeasible ? "dual Farkas vector" : "primal ray";
  auto check = [&](std::vector<double>& v) { return infeasible ? CheckFarkas(data, v, tol) : CheckRay(data, v, tol); };
  std::vector<double>& target = infeasible ? out.farkas : out.ray;
  std::string firstFailure;
  for (const std::vector<double>& candidate : candidates) {
    if (candidate.empty()) continue;
    std::vector<double> v = candidate;
    std::string why = check(v);
    if (why.empty()) {
      target = std::move(v);
      return;
    }
    if (firstFailure.empty()) firstFailure = why;
  }
  if (!firstFailure.empty()) {
    ctx.log.Printf("Certificate: the engine's %s fails the check (%s); solving an auxiliary LP for one", what,
                   firstFailure.c_str());
  }
  std::vector<double> v;
  const bool found = infeasible ? FarkasFromElasticLp(data, ctx, v) : RayFromConeLp(data, ctx, v);
  if (!found) {
    ctx.log.Printf("Certificate: no %s could be found; none is reported", what);
    return;
  }
  if (std::string why = check(v); !why.empty()) {
    ctx.log.Printf("Certificate: the %s of the auxiliary LP fails the check (%s); none is reported", what, why.c_str());
    return;
  }
  target = std::move(v);
}

}  // namespace tarq_solver
