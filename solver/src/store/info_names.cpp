#include "store/info_names.h"

#include <cctype>
#include <string_view>

namespace tarq_solver {

InfoName ParseInfoName(const char* name) {
  if (name == nullptr) return InfoName::kUnknown;
  static constexpr struct {
    std::string_view text;
    InfoName info;
  } kNames[] = {{"LB", InfoName::kLB},       {"UB", InfoName::kUB},           {"Obj", InfoName::kObj},
                {"BranchFactor", InfoName::kBranchFactor}, {"Value", InfoName::kValue},
                {"RedCost", InfoName::kRedCost}, {"Slack", InfoName::kSlack}, {"Dual", InfoName::kDual}};
  std::string_view given(name);
  for (const auto& entry : kNames) {
    if (entry.text.size() != given.size()) continue;
    bool same = true;
    for (size_t i = 0; i < given.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(given[i])) ==
             std::tolower(static_cast<unsigned char>(entry.text[i]));
    }
    if (same) return entry.info;
  }
  return InfoName::kUnknown;
}

}  // namespace tarq_solver
