#include "solve/quad_solve.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "solve/cone_blocks.h"
#include "solve/convexity.h"
#include "solve/nl_block.h"
#include "solve/quad_blocks.h"
#include "solve/smooth_engines.h"
#include "solve/solve_driver.h"
#include "solve/sos_cone_lp.h"

namespace tarq_solver {

namespace {

// "QP", "QCP", "NLP", with "MI" in front for mixed-integer ones: what the log lines call the
// problem.
std::string ClassName(const Problem& p, bool mip) {
  std::string name = mip ? "MI" : "";
  if (HasNonlinear(p)) return name + "NLP";
  if (HasCones(p)) {
    const bool quad = HasQuadratic(p), exp = p.SosCone().expCones.Size() > 0, soc = p.SosCone().cones.Size() > 0;
    return name + (quad ? "QCP" : soc && exp ? "SOCP+EXP" : soc ? "SOCP" : "EXP");
  }
  return name + (p.Quad().rows.Size() > 0 ? "QCP" : "QP");
}

// The start of a nonlinear solve: the nonlinear primal start where it has a value, else the
// column's value in the first MIP start, else nothing (the engines take the point of the bounds
// nearest to 0). Empty when no column has a start.
std::vector<double> StartPoint(const Problem& p) {
  const int n = p.Cols().Size();
  std::vector<double> start(static_cast<std::size_t>(n), 0.0);
  bool any = false;
  const MipStartTable& mip = p.MipStarts();
  if (mip.Size() > 0) {
    for (std::int64_t q = mip.begin[0]; q < mip.begin[1]; ++q) {
      start[static_cast<std::size_t>(mip.col[static_cast<std::size_t>(q)])] = mip.value[static_cast<std::size_t>(q)];
      any = true;
    }
  }
  const std::vector<double>& nl = p.Nl().start;
  for (std::size_t j = 0; j < nl.size() && j < start.size(); ++j) {
    if (std::isnan(nl[j])) continue;
    start[j] = nl[j];
    any = true;
  }
  if (!any) start.clear();
  return start;
}

// What the convexity check found: nothing (empty text), or the part that is not convex.
struct Verdict {
  std::string failure;    // "the quadratic objective", "quadratic row 'r'"
  std::string undecided;  // likewise, for a part whose check stopped at its work limit
};

void Judge(Curvature c, const std::string& what, Verdict& v) {
  if (c == Curvature::kNotConvex && v.failure.empty()) v.failure = what;
  if (c == Curvature::kUndecided && v.undecided.empty()) v.undecided = what;
}

// A minimised objective must be convex and a maximised one concave; 'L' rows convex, 'G' rows
// concave, 'E' rows without quadratic part once their terms are summed.
Verdict CheckConvexity(const Problem& p, const QuadObjectiveBlock* objective, const QuadRowsBlock* rows) {
  Verdict v;
  if (objective != nullptr) {
    const SymLowerList& h = objective->Hessian();
    Judge(CheckSemidefinite(h.row.data(), h.col.data(), h.val.data(), h.End(0), p.ObjSense() == 1 ? 1.0 : -1.0),
          p.ObjSense() == 1 ? "the minimised quadratic objective" : "the maximised quadratic objective", v);
  }
  if (rows == nullptr) return v;
  const QuadRowTable& t = p.Quad().rows;
  const SymLowerList& h = rows->Hessians();
  for (int k = 0; k < t.Size() && v.failure.empty(); ++k) {
    const std::int64_t from = h.Begin(k), n = h.End(k) - from;
    const char sense = t.sense[static_cast<std::size_t>(k)];
    const auto at = static_cast<std::size_t>(from);
    const Curvature c = sense == 'E' ? (n == 0 ? Curvature::kConvex : Curvature::kNotConvex)
                                     : CheckSemidefinite(h.row.data() + at, h.col.data() + at, h.val.data() + at, n,
                                                         sense == 'L' ? 1.0 : -1.0);
    Judge(c, std::string("quadratic row '") + t.names.Display(k) + "' (sense " + sense + ")", v);
  }
  return v;
}

// Records what the engine found as the problem's results.
void Record(Problem& p, const SmoothProblem& sp, const SmoothResult& res, bool mip, bool lpOnly, double seconds) {
  const int nRow = sp.LinearRows();
  EngineResult er = OutcomeOf(res, mip);
  er.hasDuals = res.hasDuals;
  if (res.hasSolution) {
    er.activity.assign(res.rowValues.begin(), res.rowValues.begin() + nRow);
    if (res.hasDuals) {
      er.duals.assign(res.duals.begin(), res.duals.begin() + nRow);
      er.redCosts = res.redCosts;
    }
    if (mip) {
      er.poolValues = res.values;
      er.poolObj.assign(1, res.objective);
    }
  }
  RecordResult(p, er, lpOnly, seconds);
  if (!res.hasSolution) return;
  Results& r = p.Result();
  const QuadRowTable& q = p.Quad().rows;
  const NlRowTable& nl = p.Nl().rows;
  // The evaluator's rows: linear, quadratic, nonlinear.
  const auto quadAt = res.rowValues.begin() + nRow, nlAt = quadAt + q.Size();
  r.quadActivity.assign(quadAt, nlAt);
  r.nlActivity.assign(nlAt, nlAt + nl.Size());
  if (res.hasDuals) {
    const auto dualAt = res.duals.begin() + nRow;
    r.quadDuals.assign(dualAt, dualAt + q.Size());
    r.nlDuals.assign(dualAt + q.Size(), dualAt + q.Size() + nl.Size());
  }
  double worst = r.attrs[DblAttr::PrimalInfMax];
  for (int k = 0; k < q.Size(); ++k) {
    const double a = r.quadActivity[static_cast<std::size_t>(k)];
    worst = std::max({worst, q.Lower(k) - a, a - q.Upper(k)});
  }
  for (int k = 0; k < nl.Size(); ++k) {
    const double a = r.nlActivity[static_cast<std::size_t>(k)];
    worst = std::max({worst, nl.lower[static_cast<std::size_t>(k)] - a, a - nl.upper[static_cast<std::size_t>(k)]});
  }
  if (HasCones(p)) worst = std::max(worst, MaxConeViolation(p.SosCone(), r.values.data()));
  r.attrs[DblAttr::PrimalInfMax] = worst;
}

// An optimum must meet every cone within "FeasTol" in the cone's own terms (the engine measures
// the smooth rows, whose scale differs); one that does not is reported as numerical trouble.
void CheckCones(Problem& p, SmoothResult& res) {
  const double violation = MaxConeViolation(p.SosCone(), res.values.data());
  const double tol = p.Params().Dbl(DblParam::FeasTol);
  if (violation <= tol || (res.status != TARQ_STATUS_OPTIMAL && res.status != TARQ_STATUS_LOCALLY_OPTIMAL)) return;
  p.Log().Printf("The solution misses a cone by %.3g (more than FeasTol %.3g): not reported as optimal", violation,
                 tol);
  res.status = TARQ_STATUS_NUMERICAL;
}

// A solution must meet every special ordered set (the problem's own and those of the indicator
// rows' slack form) within "FeasTol". An optimum that does not is reported as numerical trouble;
// the solution of a stopped search that does not is not kept.
void CheckSets(Problem& p, const SmoothProblem& sp, SmoothResult& res) {
  const double tol = p.Params().Dbl(DblParam::FeasTol);
  const SetList sets{sp.Sets(), sp.sosType.data(), sp.sosStart.data(), sp.sosIndex.data(), sp.sosWeight.data()};
  if (MeetsSets(sets, res.values.data(), tol)) return;
  if (res.status == TARQ_STATUS_OPTIMAL || res.status == TARQ_STATUS_LOCALLY_OPTIMAL) {
    p.Log().Printf("The solution misses a special ordered set or an indicator row by more than FeasTol %.3g: not "
                   "reported as optimal", tol);
    res.status = TARQ_STATUS_NUMERICAL;
    return;
  }
  p.Log().Printf("The last solution misses a special ordered set or an indicator row by more than FeasTol %.3g and "
                 "is not kept", tol);
  res.hasSolution = false;
}

// Says what becomes of the SOS constraints and indicator rows: left out of a relaxation, or sets
// branched on and rows linearised.
void NoteSosConeConstraints(Problem& p, bool lpOnly) {
  const SosConeStore& sosCones = p.SosCone();
  const int sets = sosCones.sos.Size(), indicators = sosCones.indicators.Size();
  if (sets == 0 && indicators == 0) return;
  if (lpOnly) {
    p.Log().Printf("Relaxation: %d SOS constraint(s) and %d indicator row(s) left out", sets, indicators);
  } else {
    p.Log().Printf("%d SOS constraint(s) and %d indicator row(s): the sets are branching objects of the branch and "
                   "bound and the indicator rows are linearised", sets, indicators);
  }
}

// Rounds the bounds of integer columns inward to integers (a column in [1.5, 3] to [2, 3]).
// Exact: the column takes no other values. Branching sets integer bounds next to the value it
// branches on, which would contradict a fractional bound the engine still holds (bounds
// [1.5, 1]), and the interior-point engine refuses a problem with such bounds. Bounds that would
// cross are left as they are. O(columns).
void RoundIntegerBounds(SmoothProblem& sp) {
  constexpr double kSlack = 1e-9;  // a bound this close to an integer is that integer
  for (std::size_t j = 0; j < sp.integer.size(); ++j) {
    if (!sp.integer[j]) continue;
    const double lower = sp.colLower[j] > -TARQ_INFINITY ? std::ceil(sp.colLower[j] - kSlack) : sp.colLower[j];
    const double upper = sp.colUpper[j] < TARQ_INFINITY ? std::floor(sp.colUpper[j] + kSlack) : sp.colUpper[j];
    if (lower > upper) continue;
    sp.colLower[j] = lower;
    sp.colUpper[j] = upper;
  }
}

// Gives each set member that is an integer column or has a positive lower bound a continuous
// copy in [0, upper], tied to it by the row  x_j - copy = 0, and puts the copy in the set in its
// place. Branching on a set lowers its members' upper bounds to 0; on such a member that
// contradicts its own lower bound (a fixed or branched-on binary, a column at least 1), which
// the interior-point engine refuses as a problem, while with the copy the contradiction is an
// infeasible row it reports as such. Exact: the row makes the copy the column. O(members), one
// column and one row per such column.
void SeparateSetMembers(SmoothProblem& sp) {
  std::vector<int> copyOf;
  for (int& member : sp.sosIndex) {
    const auto j = static_cast<std::size_t>(member);
    if (!sp.integer[j] && !(sp.colLower[j] > 0)) continue;
    if (copyOf.empty()) copyOf.assign(static_cast<std::size_t>(sp.nCol), -1);
    if (copyOf[j] < 0) {
      const int c = sp.nCol++;
      const double upper = sp.colUpper[j];
      copyOf[j] = c;
      sp.obj.push_back(0);
      sp.colLower.push_back(0);
      sp.colUpper.push_back(upper);
      sp.integer.push_back(0);
      sp.rowIndex.insert(sp.rowIndex.end(), {member, c});
      sp.rowValue.insert(sp.rowValue.end(), {1.0, -1.0});
      sp.rowStart.push_back(static_cast<std::int64_t>(sp.rowIndex.size()));
      sp.rowLower.push_back(0);
      sp.rowUpper.push_back(0);
    }
    member = copyOf[j];
  }
}

}  // namespace

int CheckSetMemberSigns(Problem& p, const SmoothProblem& sp, const char* where) {
  for (int member : sp.sosIndex) {
    if (sp.colLower[static_cast<std::size_t>(member)] >= 0) continue;
    p.Log().Printf("SOS constraints over columns that may be negative (column '%s') are not supported %s",
                   p.Cols().names.Display(member).c_str(), where);
    return TARQ_RETCODE_INVALID;
  }
  return TARQ_RETCODE_OK;
}

EngineResult OutcomeOf(const SmoothResult& res, bool mip) {
  EngineResult er;
  er.status = res.status;
  er.mip = mip;
  er.hasSolution = res.hasSolution;
  er.objective = res.objective;
  er.bound = res.bound;
  er.barrierIter = res.iterations;
  er.nodes = res.nodes;
  if (res.hasSolution) er.values = res.values;
  return er;
}

bool HasQuadratic(const Problem& problem) { return !problem.Quad().Empty(); }

bool HasNonlinear(const Problem& problem) { return !problem.Nl().Empty(); }

bool HasCones(const Problem& problem) {
  return problem.SosCone().cones.Size() > 0 || problem.SosCone().expCones.Size() > 0;
}

bool RefuseQuadratic(Problem& problem, const char* operation) {
  if (HasNonlinear(problem)) {
    problem.Log().Printf("%s does not take nonlinear rows or a nonlinear objective", operation);
    return true;
  }
  if (HasCones(problem)) {
    problem.Log().Printf("%s does not take second-order or exponential cones", operation);
    return true;
  }
  if (!HasQuadratic(problem)) return false;
  problem.Log().Printf("%s does not take quadratic objectives or quadratic rows", operation);
  return true;
}

void SmoothFromLp(LpData& lp, SmoothProblem& out) {
  out = SmoothProblem();
  out.nCol = lp.nCol;
  out.sense = lp.sense;
  out.objConst = lp.objConst;
  out.obj = std::move(lp.obj);
  out.colLower = std::move(lp.colLower);
  out.colUpper = std::move(lp.colUpper);
  out.integer = std::move(lp.integer);
  out.rowLower = std::move(lp.rowLower);
  out.rowUpper = std::move(lp.rowUpper);
  out.rowLower.insert(out.rowLower.end(), lp.addLower.begin(), lp.addLower.end());
  out.rowUpper.insert(out.rowUpper.end(), lp.addUpper.begin(), lp.addUpper.end());
  // The column-compressed matrix turned into rows, then the added rows as they are.
  const auto m = static_cast<std::size_t>(lp.nRow);
  out.rowStart.assign(m + 1, 0);
  for (int i : lp.index) ++out.rowStart[static_cast<std::size_t>(i) + 1];
  for (std::size_t i = 0; i < m; ++i) out.rowStart[i + 1] += out.rowStart[i];
  out.rowIndex.resize(lp.index.size());
  out.rowValue.resize(lp.index.size());
  std::vector<std::int64_t> next(out.rowStart.begin(), out.rowStart.end() - 1);
  for (int j = 0; j < lp.nCol; ++j) {
    for (auto k = lp.start[static_cast<std::size_t>(j)]; k < lp.start[static_cast<std::size_t>(j) + 1]; ++k) {
      const auto at = static_cast<std::size_t>(next[static_cast<std::size_t>(lp.index[static_cast<std::size_t>(k)])]++);
      out.rowIndex[at] = j;
      out.rowValue[at] = lp.value[static_cast<std::size_t>(k)];
    }
  }
  out.rowIndex.insert(out.rowIndex.end(), lp.addIndex.begin(), lp.addIndex.end());
  out.rowValue.insert(out.rowValue.end(), lp.addValue.begin(), lp.addValue.end());
  for (std::size_t a = 1; a < lp.addStart.size(); ++a) {
    out.rowStart.push_back(out.rowStart[m] + static_cast<std::int64_t>(lp.addStart[a]));
  }
  RoundIntegerBounds(out);
  out.sosType = std::move(lp.sosType);
  out.sosStart.assign(lp.sosStart.begin(), lp.sosStart.end());
  out.sosIndex = std::move(lp.sosIndex);
  out.sosWeight = std::move(lp.sosWeight);
  SeparateSetMembers(out);
}

int BuildSmoothProblem(Problem& p, bool relax, SmoothProblem& out, QuadBlocks* blocks) {
  LpData lp;
  if (int rc = BuildLpData(p, relax, lp); rc != TARQ_RETCODE_OK) return rc;
  SmoothFromLp(lp, out);
  const QuadStore& q = p.Quad();
  QuadBlocks made;
  if (!q.objective.Empty()) {
    auto block = std::make_unique<QuadObjectiveBlock>(q.objective);
    made.objective = block.get();
    out.blocks.push_back(std::move(block));
  }
  if (q.rows.Size() > 0) {
    auto block = std::make_unique<QuadRowsBlock>(q.rows);
    made.rows = block.get();
    out.blocks.push_back(std::move(block));
  }
  if (!p.Nl().Empty()) {
    auto block = std::make_unique<NlBlock>(p.Nl());
    made.nonlinear = block.get();
    out.blocks.push_back(std::move(block));
    out.start = StartPoint(p);
  }
  const SosConeStore& sosCones = p.SosCone();
  if (sosCones.cones.Size() > 0) {
    // Branch and bound evaluates rows where a perspective form is undefined (see cone_blocks.h).
    if (out.IsMip()) {
      out.blocks.push_back(std::make_unique<SquaredConeBlock>(sosCones.cones));
    } else {
      out.blocks.push_back(std::make_unique<SecondOrderConeBlock>(sosCones.cones));
    }
  }
  if (sosCones.expCones.Size() > 0) out.blocks.push_back(std::make_unique<ExpConeBlock>(sosCones.expCones));
  if (HasCones(p)) {
    AddConeSignBounds(sosCones, out.colLower, out.colUpper);
    out.exactBounds = true;
    if (out.IsMip() && sosCones.cones.Size() > 0) AddConeOuterRows(sosCones.cones, out);
  }
  if (blocks != nullptr) *blocks = made;
  return CheckSetMemberSigns(p, out, "together with quadratic, nonlinear or conic parts");
}

int SolveQuadratic(Problem& p, bool lpOnly) {
  const double started = WallSeconds();
  SmoothProblem sp;
  QuadBlocks blocks;
  if (int rc = BuildSmoothProblem(p, lpOnly, sp, &blocks); rc != TARQ_RETCODE_OK) return rc;
  const bool mip = sp.IsMip();
  const std::string kind = ClassName(p, mip);
  const ParamSet& params = p.Params();
  // Nonlinear functions with curvature are not checked for convexity: such problems are solved
  // for a local optimum whatever their quadratic parts are.
  const bool curved = blocks.nonlinear != nullptr && !blocks.nonlinear->ConstantHessian();
  const Verdict verdict = CheckConvexity(p, blocks.objective, blocks.rows);
  const int nonConvex = params.Int(IntParam::NonConvex);
  if (!verdict.undecided.empty()) {
    p.Log().Printf("The convexity of %s could not be checked within the work limit; it is solved as if convex",
                   verdict.undecided.c_str());
  }
  if (!verdict.failure.empty()) {
    if (!mip && nonConvex != 1 && !curved) {
      p.Log().Printf("The %s is not convex: %s is not convex where convexity is required (set NonConvex to 1 to "
                     "solve it for a local optimum)", kind.c_str(), verdict.failure.c_str());
      return TARQ_RETCODE_NONCONVEX;
    }
    p.Log().Printf("%s is not convex: the %s is solved for a local optimum, which need not be the global one",
                   verdict.failure.c_str(), kind.c_str());
  }
  if (curved) {
    p.Log().Printf("The %s has nonlinear functions, whose convexity is not checked: the solve finds a local "
                   "optimum, which is the global one only for a convex problem", kind.c_str());
  }
  const bool chatty = params.Int(IntParam::LogLevel) >= 1;
  if (chatty) {
    p.Log().Printf("Solving %s by %s: %d columns, %d rows, %d quadratic rows, %d quadratic objective terms, "
                   "%d nonlinear rows, %s nonlinear objective, %d cones, %d exponential cones", kind.c_str(),
                   mip ? "nonlinear branch and bound (integer columns or special ordered sets, smooth parts)"
                       : "the interior-point method (continuous columns, smooth parts)",
                   sp.nCol, sp.LinearRows(), p.Quad().rows.Size(), p.Quad().objective.Size(), p.Nl().rows.Size(),
                   p.Nl().HasObjective() ? "a" : "no", p.SosCone().cones.Size(), p.SosCone().expCones.Size());
  }
  if (chatty) NoteSosConeConstraints(p, lpOnly);
  EngineContext ctx{params, p.Log(), p.Interrupt()};
  SmoothResult res;
  const int rc = mip ? SolveSmoothMip(sp, ctx, res) : SolveSmooth(sp, ctx, res);
  if (rc != TARQ_RETCODE_OK) return rc;
  if (curved && res.status == TARQ_STATUS_OPTIMAL) res.status = TARQ_STATUS_LOCALLY_OPTIMAL;
  if (HasCones(p) && res.hasSolution) CheckCones(p, res);
  if (sp.Sets() > 0 && res.hasSolution) CheckSets(p, sp, res);
  if (chatty) {
    if (res.hasSolution) {
      p.Log().Printf("%s status: %s, objective %.12g", kind.c_str(), StatusName(res.status), res.objective);
    } else {
      p.Log().Printf("%s status: %s", kind.c_str(), StatusName(res.status));
    }
  }
  Record(p, sp, res, mip, lpOnly, WallSeconds() - started);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
