#include "store/info_names.h"

#include <string_view>

#include "core/text.h"

namespace tarq_solver {

InfoName ParseInfoName(const char* name) {
  if (name == nullptr) return InfoName::kUnknown;
  static constexpr struct {
    std::string_view text;
    InfoName info;
  } kNames[] = {{"LB", InfoName::kLB},       {"UB", InfoName::kUB},           {"Obj", InfoName::kObj},
                {"BranchFactor", InfoName::kBranchFactor}, {"Value", InfoName::kValue},
                {"RedCost", InfoName::kRedCost}, {"Slack", InfoName::kSlack}, {"Dual", InfoName::kDual},
                {"DualFarkas", InfoName::kDualFarkas}, {"PrimalRay", InfoName::kPrimalRay},
                {"SAObjLow", InfoName::kSAObjLow}, {"SAObjUp", InfoName::kSAObjUp},
                {"SALBLow", InfoName::kSALBLow}, {"SALBUp", InfoName::kSALBUp},
                {"SAUBLow", InfoName::kSAUBLow}, {"SAUBUp", InfoName::kSAUBUp},
                {"SARHSLow", InfoName::kSARHSLow}, {"SARHSUp", InfoName::kSARHSUp}};
  for (const auto& entry : kNames) {
    if (EqualNoCase(name, entry.text)) return entry.info;
  }
  return InfoName::kUnknown;
}

}  // namespace tarq_solver
