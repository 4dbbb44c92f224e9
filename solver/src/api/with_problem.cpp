#include "api/with_problem.h"

namespace tarq_solver {

int RefuseWhileSolving(Problem& problem, const char* caller) {
  problem.Log().Printf("%s refused: a solve of this problem is running; until it returns only reading calls and "
                       "TARQ_Interrupt are allowed",
                       caller);
  return TARQ_RETCODE_THREAD;
}

}  // namespace tarq_solver
