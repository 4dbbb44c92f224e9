// Reading the certificates and ranges an LP solve left ("DualFarkas", "PrimalRay", "SA*"
// information of columns and rows).
#pragma once

#include "store/info_names.h"
#include "store/problem.h"

namespace tarq_solver {

// Reads the information info of the listed columns (axis kCol) or rows (kRow) into values.
// Returns 3 for a name that is not one of these or does not belong to the axis, and for one the
// last solve did not leave (no solve, a MIP solve, a status without that certificate, a change
// of the problem since, or the request parameter off).
int ReadAnalysisInfo(Problem& problem, InfoName info, Axis axis, int num, const int* list, double* values);

}  // namespace tarq_solver
