#include "relax/squared_relax.h"

#include <memory>

#include "solve/quad_blocks.h"
#include "solve/quad_solve.h"
#include "solve/smooth_engines.h"

namespace tarq_solver {

int SolveSquaredViolations(Problem& p, LpData& data, int first, EngineResult& out) {
  // The penalties move from the linear costs to the diagonal terms w * v * v (a zero penalty
  // leaves that violation free).
  QuadTerms squares;
  for (int k = first; k < data.nCol; ++k) {
    const double w = data.obj[static_cast<std::size_t>(k)];
    data.obj[static_cast<std::size_t>(k)] = 0;
    if (w == 0.0) continue;
    squares.row.push_back(k);
    squares.col.push_back(k);
    squares.val.push_back(w);
  }
  SmoothProblem sp;
  SmoothFromLp(data, sp);
  if (!squares.Empty()) sp.blocks.push_back(std::make_unique<QuadObjectiveBlock>(squares));
  if (int rc = CheckSetMemberSigns(p, sp, "in the relaxation of squared violations"); rc != TARQ_RETCODE_OK) return rc;
  const bool mip = sp.IsMip();
  EngineContext ctx{p.Params(), p.Log(), p.Interrupt()};
  SmoothResult res;
  if (int rc = mip ? SolveSmoothMip(sp, ctx, res) : SolveSmooth(sp, ctx, res); rc != TARQ_RETCODE_OK) return rc;
  out = OutcomeOf(res, mip);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
