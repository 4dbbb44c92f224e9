// What solves leave behind: basis statuses and IIS memberships. Empty vectors mean "none"; a
// vector whose length no longer matches the problem (objects were added or deleted since) is
// treated as none as well, so a stale result is never read out of bounds.
#pragma once

#include <vector>

namespace tarq_solver {

struct Results {
  std::vector<int> colBasis;
  std::vector<int> rowBasis;
  std::vector<int> colLowerIis;
  std::vector<int> colUpperIis;
  std::vector<int> rowLowerIis;
  std::vector<int> rowUpperIis;

  bool HasBasis(int cols, int rows) const {
    return !colBasis.empty() && static_cast<int>(colBasis.size()) == cols && static_cast<int>(rowBasis.size()) == rows;
  }
  bool HasIis(int cols, int rows) const {
    return !colLowerIis.empty() && static_cast<int>(colLowerIis.size()) == cols &&
           static_cast<int>(rowLowerIis.size()) == rows;
  }
  void Clear() { *this = Results(); }
};

}  // namespace tarq_solver
