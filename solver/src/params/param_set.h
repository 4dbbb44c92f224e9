// The parameter values of one problem.
#pragma once

namespace tarq_solver {

class ParamSet {};

}  // namespace tarq_solver
