// Names of per-object information ("LB", "UB", ...), matched without regard to letter case.
#pragma once

namespace tarq_solver {

enum class InfoName { kUnknown, kLB, kUB, kObj, kBranchFactor, kValue, kRedCost, kSlack, kDual };

InfoName ParseInfoName(const char* name);

}  // namespace tarq_solver
