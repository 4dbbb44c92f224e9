// The nonlinear rows and the nonlinear objective as one block of a smooth problem: their token
// programs compiled into one tape (nl/tape.h) once per solve, which gives every value and
// derivative; the linear parts of the rows are added here.
//
// Row k's Jacobian entries are the columns of its program (ascending), then the columns of its
// linear part that the program does not use; the Hessian lists the objective's entries, then each
// row's. Memory: the tape (about 25 bytes per token) plus 12 bytes per Jacobian entry.
#pragma once

#include <cstdint>
#include <vector>

#include "nl/tape.h"
#include "solve/smooth_problem.h"
#include "store/nl_table.h"

namespace tarq_solver {

class NlBlock : public SmoothBlock {
 public:
  explicit NlBlock(const NlStore& nl);
  const nl::Tape& Tape() const { return tape_; }

  int Rows() const override { return rows_.Size(); }
  void RowBounds(double* lower, double* upper) const override;
  bool HasObjective() const override { return objective_ >= 0; }
  bool ConstantHessian() const override { return constantHessian_; }
  void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Objective(const double* x, double* f) const override;
  bool Gradient(const double* x, double* grad) const override;
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;

 private:
  const NlRowTable& rows_;
  nl::Tape tape_;
  int objective_ = -1;  // the objective's function, -1 for none; row k is function k
  bool constantHessian_ = true;
  // Row k's Jacobian: entries [jacBegin[k], jacBegin[k + 1]) with columns jacCol; its program's
  // columns come first; linPos gives each linear entry's position.
  std::vector<std::int64_t> jacBegin_{0};
  std::vector<int> jacCol_;
  std::vector<std::int64_t> linPos_;
  std::vector<std::int64_t> hessBegin_;  // per function: its first Hessian entry in the block
  mutable std::vector<double> grad_;     // the objective's gradient (its columns)
};

}  // namespace tarq_solver
