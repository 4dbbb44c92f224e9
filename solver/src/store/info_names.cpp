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
                {"RedCost", InfoName::kRedCost}, {"Slack", InfoName::kSlack}, {"Dual", InfoName::kDual}};
  for (const auto& entry : kNames) {
    if (EqualNoCase(name, entry.text)) return entry.info;
  }
  return InfoName::kUnknown;
}

}  // namespace tarq_solver
