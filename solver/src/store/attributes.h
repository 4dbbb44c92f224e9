// Attribute values: those that describe the problem are computed from the store on every read;
// the others are what the last solve left (their "no solve yet" defaults before one).
#pragma once

#include "params/param_table.h"
#include "store/problem.h"

namespace tarq_solver {

int IntAttrValue(Problem& p, IntAttr attr);
double DblAttrValue(Problem& p, DblAttr attr);

}  // namespace tarq_solver
