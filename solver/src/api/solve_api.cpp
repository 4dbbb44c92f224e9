// Solve functions of the C interface: solving, interrupting, IIS, feasibility relaxation, tuning.
#include "api/with_problem.h"
#include "iis/iis.h"
#include "relax/feas_relax.h"
#include "solve/solve_driver.h"
#include "tune/tune.h"

using tarq_solver::Problem;
using tarq_solver::SolveProblemAs;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_Solve(tarq_prob* prob) {
  return SolveProblemAs(prob, [](Problem& p) { return tarq_solver::SolveProblem(p, false); });
}

int TARQ_SolveLp(tarq_prob* prob) {
  return SolveProblemAs(prob, [](Problem& p) { return tarq_solver::SolveProblem(p, true); });
}

// Only raises an atomic flag: safe while another thread solves the same problem.
int TARQ_Interrupt(tarq_prob* prob) {
  if (prob == nullptr) return TARQ_RETCODE_INVALID;
  prob->problem.Interrupt().Raise();
  return TARQ_RETCODE_OK;
}

int TARQ_ComputeIIS(tarq_prob* prob) {
  return SolveProblemAs(prob, [](Problem& p) { return tarq_solver::ComputeIis(p); });
}

int TARQ_FeasRelax(tarq_prob* prob, const double* colLowPen, const double* colUppPen, const double* rowBndPen,
                   const double* rowUppPen) {
  return SolveProblemAs(prob, [&](Problem& p) {
    return tarq_solver::FeasRelax(p, tarq_solver::RelaxPenalties{colLowPen, colUppPen, rowBndPen, rowUppPen});
  });
}

int TARQ_Tune(tarq_prob* prob) {
  return SolveProblemAs(prob, [](Problem& p) { return tarq_solver::Tune(p); });
}

int TARQ_LoadTuneParam(tarq_prob* prob, int index) {
  return WithProblem(prob, [&](Problem& p) { return tarq_solver::LoadTuneParam(p, index); });
}

}  // extern "C"
