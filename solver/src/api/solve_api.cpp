// Solve functions of the C interface: solving, interrupting, IIS, feasibility relaxation, tuning.
#include "api/with_problem.h"
#include "iis/iis.h"
#include "relax/feas_relax.h"
#include "solve/quad_solve.h"
#include "solve/sdp_solve.h"
#include "solve/solve_driver.h"
#include "tune/tune.h"

using tarq_solver::Problem;
using tarq_solver::SolveProblemAs;
using tarq_solver::WithProblem;

namespace {

// Operations that work on the linear part only refuse quadratic and semidefinite parts, with a
// log line naming the operation.
bool LinearPartOnly(Problem& p, const char* operation) {
  return tarq_solver::RefuseQuadratic(p, operation) || tarq_solver::RefuseSemidefinite(p, operation);
}

}  // namespace

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
  return SolveProblemAs(prob, [](Problem& p) {
    if (LinearPartOnly(p, "The IIS computation")) return TARQ_RETCODE_INVALID;
    return tarq_solver::ComputeIis(p);
  });
}

int TARQ_FeasRelax(tarq_prob* prob, const double* colLowPen, const double* colUppPen, const double* rowBndPen,
                   const double* rowUppPen) {
  return SolveProblemAs(prob, [&](Problem& p) {
    if (LinearPartOnly(p, "The feasibility relaxation")) return TARQ_RETCODE_INVALID;
    return tarq_solver::FeasRelax(p, tarq_solver::RelaxPenalties{colLowPen, colUppPen, rowBndPen, rowUppPen});
  });
}

int TARQ_Tune(tarq_prob* prob) {
  return SolveProblemAs(prob, [](Problem& p) {
    if (LinearPartOnly(p, "Tuning")) return TARQ_RETCODE_INVALID;
    return tarq_solver::Tune(p);
  });
}

int TARQ_LoadTuneParam(tarq_prob* prob, int index) {
  return WithProblem(prob, [&](Problem& p) { return tarq_solver::LoadTuneParam(p, index); });
}

}  // extern "C"
