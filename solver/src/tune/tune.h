// Tuning: a short search over engine settings (see TARQ_Tune in tarq.h).
#pragma once

#include "store/problem.h"

namespace tarq_solver {

int Tune(Problem& problem);
// Applies tuning result index to the problem's parameters.
int LoadTuneParam(Problem& problem, int index);
// Applies the settings of one result to a parameter set; returns 3 when one is not accepted.
int ApplyTuneResult(const TuneResult& result, ParamSet& params);

}  // namespace tarq_solver
