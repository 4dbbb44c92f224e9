// The weighted count of violated bounds ("FeasRelaxMode" 2), built on the violation columns of
// the weighted-sum relaxation (see feas_relax.cpp).
#pragma once

#include <string>
#include <vector>

#include "solve/lp_data.h"

namespace tarq_solver {

// The largest violation each relaxable bound can need, in the order the relaxation adds its
// violation columns (row lower and upper bounds by row, then column lower and upper bounds by
// column); infinite where the bounds that stay hard do not limit it. plain: the problem's data;
// pen: the four penalty arrays (negative: not relaxable). Each limit comes from the hard column
// bounds tightened by three rounds of bound propagation over the hard row bounds: every point
// of the relaxed problem lies within them, so no relaxation is lost by the limits.
// O(rounds x nonzeros). what receives a description of each bound for log lines.
std::vector<double> ViolationLimits(const LpData& plain, const std::vector<double>* pen, std::vector<std::string>& what);

// Turns the weighted-sum relaxation in data (violation columns from position first on, their
// costs the penalties) into the weighted count: each violation v with a finite limit M gets a
// binary b with the penalty as its cost, v's cost becomes 0 and the row v - M b <= 0 is added,
// so v > 0 forces b = 1. That is exact because M bounds every violation a relaxed point can
// have. A violation without a finite limit cannot be counted this way: its bound stays hard
// (the violation column is fixed at 0), and the log names it. Returns the number left hard.
int CountViolations(LpData& data, int first, const std::vector<double>& limits, const std::vector<std::string>& what,
                    const Logger& log);

}  // namespace tarq_solver
