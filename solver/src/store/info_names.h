// Names of per-object information ("LB", "UB", ...), matched without regard to letter case.
#pragma once

namespace tarq_solver {

enum class InfoName {
  kUnknown,
  kLB,
  kUB,
  kObj,
  kBranchFactor,
  kValue,
  kRedCost,
  kSlack,
  kDual,
  // Certificates and ranges of the last LP solve (see analysis_info.cpp).
  kDualFarkas,
  kPrimalRay,
  kSAObjLow,
  kSAObjUp,
  kSALBLow,
  kSALBUp,
  kSAUBLow,
  kSAUBUp,
  kSARHSLow,
  kSARHSUp,
};

InfoName ParseInfoName(const char* name);

}  // namespace tarq_solver
