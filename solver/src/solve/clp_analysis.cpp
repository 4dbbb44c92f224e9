// What an LP solve leaves on request besides its solution: the certificate of an infeasible or
// unbounded LP ("ReqFarkasRay") and the ranging of an optimal basis ("ReqSensitivity").
//
// Ranging uses Clp's two operations on the solved model: dualRanging gives, for every column,
// how far its cost may rise and fall before the basis stops being optimal (a ratio test over the
// tableau row of a basic column; minus the reduced cost for a nonbasic one); primalRanging gives,
// for a nonbasic column or row, how far its value may move before a basic variable reaches a
// bound (a ratio test over its tableau column; the variable's own other bound is ignored). What
// they leave open is completed here: bound and right-hand-side ranges of basic columns and rows
// (from the value to infinity), the caps by the other bound, fixed columns, and the mapping of
// the values to the bounds they describe. Each call costs one factorisation check plus one
// tableau row or column per object: O(objects x nonzeros) at worst, so ranging is done only on
// request.
#include <algorithm>
#include <cmath>
#include <vector>

#include "solve/certificates.h"
#include "solve/clp_engine.h"

namespace tarq_solver {
namespace {

constexpr double kInf = TARQ_INFINITY;

double Down(double v, double by) { return by >= kInf ? -kInf : v - by; }
double Up(double v, double by) { return by >= kInf ? kInf : v + by; }

// Certificates the engine offers for the status it found, in the order they are tried: Clp's
// infeasibility ray points the other way from the Farkas vector of tarq.h, so its negation comes
// first; the other sign is tried too, since the check decides either way.
std::vector<std::vector<double>> EngineCandidates(ClpSimplex& model, int status, int rows, int cols) {
  std::vector<std::vector<double>> out;
  double* ray = nullptr;
  int n = 0;
  if (status == TARQ_STATUS_INFEASIBLE) {
    ray = model.infeasibilityRay();
    n = rows;
  } else if (status == TARQ_STATUS_UNBOUNDED) {
    ray = model.unboundedRay();
    n = cols;
  }
  if (ray == nullptr) return out;
  std::vector<double> v(ray, ray + n);
  delete[] ray;
  std::vector<double> negated(v);
  for (double& e : negated) e = -e;
  if (status == TARQ_STATUS_INFEASIBLE) {
    out.push_back(std::move(negated));
    out.push_back(std::move(v));
  } else {
    out.push_back(std::move(v));
    out.push_back(std::move(negated));
  }
  return out;
}

// Fills out.ranges from the optimal basis of model (see tarq.h, "SAObjLow" and on, for what each
// value means). False when the engine could not range the basis.
bool RangeBasis(const LpData& data, ClpSimplex& model, EngineResult& out) {
  const int cols = data.nCol, rows = data.Rows();
  std::vector<int> which(static_cast<size_t>(cols + rows));
  for (int k = 0; k < cols + rows; ++k) which[k] = k;
  std::vector<double> costUp(cols), costDown(cols), valueUp(cols + rows), valueDown(cols + rows);
  std::vector<int> seq1(cols + rows), seq2(cols + rows);
  // The ratio tests widen each range by the tolerance they run with; ranges are meant exactly.
  model.setDualTolerance(1e-12);
  if (cols > 0 &&
      model.dualRanging(cols, which.data(), costUp.data(), seq1.data(), costDown.data(), seq2.data()) != 0) {
    return false;
  }
  if (model.primalRanging(cols + rows, which.data(), valueUp.data(), seq1.data(), valueDown.data(), seq2.data()) !=
      0) {
    return false;
  }
  LpRanges& r = out.ranges;
  r.objLow.resize(cols);
  r.objUp.resize(cols);
  r.lbLow.resize(cols);
  r.lbUp.resize(cols);
  r.ubLow.resize(cols);
  r.ubUp.resize(cols);
  for (int j = 0; j < cols; ++j) {
    const double c = data.obj[j], x = out.values[j], lo = data.colLower[j], up = data.colUpper[j];
    const ClpSimplex::Status s = model.getColumnStatus(j);
    const bool basic = s == ClpSimplex::basic || s == ClpSimplex::superBasic || s == ClpSimplex::isFree;
    r.objLow[j] = Down(c, costDown[j]);
    r.objUp[j] = Up(c, costUp[j]);
    // A basic column keeps the basis while its bounds stay on either side of its value.
    r.lbLow[j] = -kInf;
    r.lbUp[j] = x;
    r.ubLow[j] = x;
    r.ubUp[j] = kInf;
    if (basic) continue;
    const bool fixed = lo == up;
    if (fixed) {
      // Bounds that stay equal keep a nonbasic column optimal whatever its cost.
      r.objLow[j] = -kInf;
      r.objUp[j] = kInf;
    }
    // The bound the column sits at moves within the primal ratio test, and not past the other
    // bound; a fixed column sits at the bound its reduced cost presses it against.
    const double d = data.sense * out.redCosts[j];
    const bool atLower = fixed ? d >= 0 : s != ClpSimplex::atUpperBound;
    if (atLower) {
      r.lbLow[j] = Down(x, valueDown[j]);
      r.lbUp[j] = std::min(Up(x, valueUp[j]), up);
    } else {
      r.ubLow[j] = std::max(Down(x, valueDown[j]), lo);
      r.ubUp[j] = Up(x, valueUp[j]);
    }
  }
  r.rhsLow.resize(rows);
  r.rhsUp.resize(rows);
  for (int i = 0; i < rows; ++i) {
    const double a = out.activity[i];
    const double lo = i < data.nRow ? data.rowLower[i] : data.addLower[i - data.nRow];
    const double up = i < data.nRow ? data.rowUpper[i] : data.addUpper[i - data.nRow];
    if (model.getRowStatus(i) == ClpSimplex::basic) {
      // The right-hand side of a row within its bounds is its upper bound when finite, else its
      // lower bound; it may move up to the activity.
      r.rhsLow[i] = up < kInf ? a : -kInf;
      r.rhsUp[i] = up < kInf || lo <= -kInf ? kInf : a;
      continue;
    }
    const int k = cols + i;
    r.rhsLow[i] = Down(a, valueDown[k]);
    r.rhsUp[i] = Up(a, valueUp[k]);
    if (lo == up) continue;  // both bounds move together
    const bool atLower = std::fabs(a - lo) <= std::fabs(a - up);
    if (atLower) {
      r.rhsUp[i] = std::min(r.rhsUp[i], up);
    } else {
      r.rhsLow[i] = std::max(r.rhsLow[i], lo);
    }
  }
  return true;
}

}  // namespace

void AnalyseLp(const LpData& data, const EngineContext& ctx, ClpSimplex& model, bool simplexBasis,
               const std::vector<double>& ray, EngineResult& out) {
  const ParamSet& params = ctx.params;
  const bool certificate = out.status == TARQ_STATUS_INFEASIBLE || out.status == TARQ_STATUS_UNBOUNDED;
  if (params.Int(IntParam::ReqFarkasRay) != 0 && certificate) {
    std::vector<std::vector<double>> candidates;
    if (simplexBasis) candidates = EngineCandidates(model, out.status, data.Rows(), data.nCol);
    if (out.status == TARQ_STATUS_UNBOUNDED && !ray.empty()) candidates.insert(candidates.begin(), ray);
    AttachCertificate(data, ctx, candidates, out);
  }
  if (params.Int(IntParam::ReqSensitivity) != 0 && out.status == TARQ_STATUS_OPTIMAL) {
    if (!out.hasBasis || !out.hasDuals || !RangeBasis(data, model, out)) {
      out.ranges.Clear();
      ctx.log.Printf("Sensitivity: the optimal solution has no basis the engine can range; no ranges are reported");
    }
  }
}

}  // namespace tarq_solver
