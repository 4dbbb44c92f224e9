// What solves leave behind: basis statuses and IIS memberships. Empty vectors mean "none"; a
// vector whose length no longer matches the problem (objects were added or deleted since) is
// treated as none as well, so a stale result is never read out of bounds.
#pragma once

#include <array>
#include <vector>

#include "params/param_table.h"

namespace tarq_solver {

// Attribute values set by solves, at their "no solve yet" defaults until then.
struct SolveAttrs {
  std::array<int, kNumIntAttrs> ints;
  std::array<double, kNumDblAttrs> dbls;
  SolveAttrs() {
    for (int k = 0; k < kNumIntAttrs; ++k) ints[k] = kIntAttrInfo[k].def;
    for (int k = 0; k < kNumDblAttrs; ++k) dbls[k] = kDblAttrInfo[k].def;
  }
  int& operator[](IntAttr a) { return ints[static_cast<int>(a)]; }
  double& operator[](DblAttr a) { return dbls[static_cast<int>(a)]; }
  int operator[](IntAttr a) const { return ints[static_cast<int>(a)]; }
  double operator[](DblAttr a) const { return dbls[static_cast<int>(a)]; }
};

struct Results {
  SolveAttrs attrs;
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
