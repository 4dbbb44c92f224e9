// The quadratic objective and the quadratic rows as blocks of a smooth problem.
//
// Both hold their quadratic parts as the Hessian of the stored terms (SymLowerList).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "solve/smooth_problem.h"
#include "store/quad_table.h"

namespace tarq_solver {

// The quadratic terms of the objective.
class QuadObjectiveBlock : public SmoothBlock {
 public:
  explicit QuadObjectiveBlock(const QuadTerms& terms);
  const SymLowerList& Hessian() const { return h_; }

  int Rows() const override { return 0; }
  void RowBounds(double*, double*) const override {}
  bool HasObjective() const override { return true; }
  bool ConstantHessian() const override { return true; }
  void JacobianStructure(std::vector<int>&, std::vector<int>&) const override {}
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Objective(const double* x, double* f) const override;
  bool Gradient(const double* x, double* grad) const override;
  bool Values(const double*, double*) const override { return true; }
  bool Jacobian(const double*, double*) const override { return true; }
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;

 private:
  SymLowerList h_;  // one matrix
};

// The quadratic rows: row k is a_k'x + x'H_k x / 2 between the bounds its sense and right-hand
// side give.
class QuadRowsBlock : public SmoothBlock {
 public:
  explicit QuadRowsBlock(const QuadRowTable& rows);
  const SymLowerList& Hessians() const { return h_; }

  int Rows() const override { return rows_.Size(); }
  void RowBounds(double* lower, double* upper) const override;
  bool HasObjective() const override { return false; }
  bool ConstantHessian() const override { return true; }
  void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Objective(const double*, double*) const override { return true; }
  bool Gradient(const double*, double*) const override { return true; }
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;

 private:
  const QuadRowTable& rows_;
  SymLowerList h_;
  // The Jacobian of row k has the columns jacCol[jacBegin[k] .. jacBegin[k + 1]); for each
  // linear entry and each Hessian entry, the positions in the values its derivative goes to.
  std::vector<std::int64_t> jacBegin_{0};
  std::vector<int> jacCol_;
  std::vector<std::int64_t> linPos_;
  std::vector<std::int64_t> rowPos_;  // Hessian entry (i, j): d/dx_i
  std::vector<std::int64_t> colPos_;  // d/dx_j
};

}  // namespace tarq_solver
