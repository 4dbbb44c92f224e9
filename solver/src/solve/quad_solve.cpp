#include "solve/quad_solve.h"

#include <algorithm>
#include <string>

#include "solve/convexity.h"
#include "solve/quad_blocks.h"
#include "solve/smooth_engines.h"
#include "solve/solve_driver.h"

namespace tarq_solver {

namespace {

// "QP", "QCP", "MIQP", "MIQCP": what the log lines call the problem.
std::string ClassName(const Problem& p, bool mip) {
  std::string name = mip ? "MI" : "";
  return name + (p.Quad().rows.Size() > 0 ? "QCP" : "QP");
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
  EngineResult er;
  er.status = res.status;
  er.mip = mip;
  er.hasSolution = res.hasSolution;
  er.hasDuals = res.hasDuals;
  er.objective = res.objective;
  er.bound = res.bound;
  er.barrierIter = res.iterations;
  er.nodes = res.nodes;
  if (res.hasSolution) {
    er.values = res.values;
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
  r.quadActivity.assign(res.rowValues.begin() + nRow, res.rowValues.end());
  if (res.hasDuals) r.quadDuals.assign(res.duals.begin() + nRow, res.duals.end());
  double worst = r.attrs[DblAttr::PrimalInfMax];
  for (int k = 0; k < q.Size(); ++k) {
    const double a = r.quadActivity[static_cast<std::size_t>(k)];
    worst = std::max({worst, q.Lower(k) - a, a - q.Upper(k)});
  }
  r.attrs[DblAttr::PrimalInfMax] = worst;
}

}  // namespace

bool HasQuadratic(const Problem& problem) { return !problem.Quad().Empty(); }

bool RefuseQuadratic(Problem& problem, const char* operation) {
  if (!HasQuadratic(problem)) return false;
  problem.Log().Printf("%s does not take quadratic objectives or quadratic rows", operation);
  return true;
}

int BuildSmoothProblem(Problem& p, bool relax, SmoothProblem& out, QuadBlocks* blocks) {
  LpData lp;
  if (int rc = BuildLpData(p, relax, lp); rc != TARQ_RETCODE_OK) return rc;
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
  // The column-compressed matrix turned into rows.
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
  if (blocks != nullptr) *blocks = made;
  return TARQ_RETCODE_OK;
}

int SolveQuadratic(Problem& p, bool lpOnly) {
  const double started = WallSeconds();
  SmoothProblem sp;
  QuadBlocks blocks;
  if (int rc = BuildSmoothProblem(p, lpOnly, sp, &blocks); rc != TARQ_RETCODE_OK) return rc;
  const bool mip = sp.IsMip();
  const std::string kind = ClassName(p, mip);
  const ParamSet& params = p.Params();
  const Verdict verdict = CheckConvexity(p, blocks.objective, blocks.rows);
  const int nonConvex = params.Int(IntParam::NonConvex);
  if (!verdict.undecided.empty()) {
    p.Log().Printf("The convexity of %s could not be checked within the work limit; it is solved as if convex",
                   verdict.undecided.c_str());
  }
  if (!verdict.failure.empty()) {
    if (!mip && nonConvex != 1) {
      p.Log().Printf("The %s is not convex: %s is not convex where convexity is required (set NonConvex to 1 to "
                     "solve it for a local optimum)", kind.c_str(), verdict.failure.c_str());
      return TARQ_RETCODE_NONCONVEX;
    }
    p.Log().Printf("%s is not convex: the %s is solved for a local optimum, which need not be the global one",
                   verdict.failure.c_str(), kind.c_str());
  }
  const bool chatty = params.Int(IntParam::LogLevel) >= 1;
  if (chatty) {
    p.Log().Printf("Solving %s by %s: %d columns, %d rows, %d quadratic rows, %d quadratic objective terms", kind.c_str(),
                   mip ? "nonlinear branch and bound (integer columns, quadratic parts)"
                       : "the interior-point method (continuous columns, quadratic parts)",
                   sp.nCol, sp.LinearRows(), p.Quad().rows.Size(), p.Quad().objective.Size());
  }
  EngineContext ctx{params, p.Log(), p.Interrupt()};
  SmoothResult res;
  const int rc = mip ? SolveSmoothMip(sp, ctx, res) : SolveSmooth(sp, ctx, res);
  if (rc != TARQ_RETCODE_OK) return rc;
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
