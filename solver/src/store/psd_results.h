// What a solve leaves for the semidefinite parts: values and duals of PSD columns and LMI rows
// (packed, see tarq_psd.h), activities and duals of PSD rows. Empty vectors mean "none".
#pragma once

#include <vector>

namespace tarq_solver {

struct PsdResults {
  std::vector<double> colValues;  // packed, PSD columns one after another
  std::vector<double> colDuals;
  std::vector<double> rowActivity;  // one per PSD row
  std::vector<double> rowDuals;
  std::vector<double> lmiSlack;  // packed, LMI rows one after another
  std::vector<double> lmiDuals;

  void Clear() { *this = PsdResults(); }
};

}  // namespace tarq_solver
