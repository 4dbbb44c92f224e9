// Removing the equalities E y = f of a conic form by elimination, and mapping a solution of the
// reduced form back. Interior-point engines of the form's kind (DSDP among them) need a strictly
// feasible y, which equalities never have; eliminating them is exact.
//
// Gaussian elimination with threshold pivoting (a pivot at least a tenth of its row's largest
// entry, among those the variable in the fewest blocks and equalities, to limit fill): each
// eliminated variable becomes y_p = g + sum_j h_j y_j over the variables that remain, which are
// substituted into the objective and every block. Cost: O(equalities x fill) for the
// elimination plus the entries that substitution creates; equalities over few variables each
// (fixed variables, sums) cost little, many dense equalities much.
#pragma once

#include "solve/conic_form.h"

namespace tarq_solver {

class ConicReduction {
 public:
  // Builds the reduced form from `form` (which must outlive this object). False when the
  // equalities contradict one another: then the form has no feasible y.
  bool Reduce(const ConicForm& form);
  const ConicForm& Reduced() const { return reduced_; }

  // The solution of the original form from one of the reduced form: y in full, and the
  // multipliers of the equalities from the blocks' X (the same blocks in both forms).
  void Expand(const std::vector<double>& yReduced, std::vector<double>& y) const;
  void Multipliers(const std::vector<std::vector<double>>& x, std::vector<double>& mu) const;

 private:
  struct SparseRow {
    std::vector<int> var;
    std::vector<double> val;
  };

  const ConicForm* form_ = nullptr;
  ConicForm reduced_;
  std::vector<int> newOf_;  // original variable -> reduced variable, 0 when eliminated
  // Forward elimination: per equality its pivot (-1 when redundant), the reduced row U and its
  // right-hand side, and the multipliers L of earlier rows subtracted from it.
  std::vector<int> pivot_;
  std::vector<SparseRow> u_;
  std::vector<double> uRhs_;
  std::vector<std::vector<std::pair<int, double>>> l_;
  // Back substitution: per equality with a pivot, y_pivot = g + sum h_j y_j over remaining j.
  std::vector<double> g_;
  std::vector<SparseRow> h_;
};

}  // namespace tarq_solver
