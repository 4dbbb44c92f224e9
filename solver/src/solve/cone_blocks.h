// Second-order cones and exponential cones as blocks of a smooth problem, and the column bounds
// the cones imply. Each cone becomes one smooth row over its columns:
//
//   quadratic cone  x_0 >= ||(x_1, ..., x_{n-1})||:     x_0^2 - sum_{i>=1} x_i^2 >= 0,  x_0 >= 0
//   rotated cone    2 x_0 x_1 >= sum_{i>=2} x_i^2:      2 x_0 x_1 - sum_{i>=2} x_i^2 >= 0,  x_0, x_1 >= 0
//   primal exponential  x_0 >= x_1 exp(x_2 / x_1):      x_1 exp(x_2 / x_1) - x_0 <= 0,  x_1 >= 0
//   dual exponential    x_0 >= -x_2 exp(x_1 / x_2 - 1): (-x_2 / e) exp(-x_1 / -x_2) - x_0 <= 0,  x_2 <= 0
//
// The two second-order forms are exact: with the sign bounds, the quadratic inequality describes
// the cone itself (the other sheet x_0 <= -||x|| is cut off by x_0 >= 0), and it is a polynomial,
// smooth everywhere, apex included. Its gradient is a positive multiple of the cone's outer normal
// at every boundary point other than the apex, so its KKT points are those of the cone program.
// The exponential forms are the cone's perspective form, exact for x_1 > 0 (x_2 < 0); the
// boundary x_1 = 0 is reached as a limit (the interior-point engine keeps bounds strict), and
// the block reports an evaluation error there.
#pragma once

#include <vector>

#include "solve/smooth_problem.h"
#include "store/special_table.h"

namespace tarq_solver {

class SecondOrderConeBlock : public SmoothBlock {
 public:
  explicit SecondOrderConeBlock(const ConeTable& cones) : cones_(cones) {}

  int Rows() const override { return cones_.Size(); }
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
  const ConeTable& cones_;
};

class ExpConeBlock : public SmoothBlock {
 public:
  explicit ExpConeBlock(const ExpConeTable& cones) : cones_(cones) {}

  int Rows() const override { return cones_.Size(); }
  void RowBounds(double* lower, double* upper) const override;
  bool HasObjective() const override { return false; }
  bool ConstantHessian() const override { return false; }
  void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Objective(const double*, double*) const override { return true; }
  bool Gradient(const double*, double*) const override { return true; }
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;

 private:
  const ExpConeTable& cones_;
};

// Tightens the column bounds to the signs the cones imply (x_0 >= 0 of a quadratic cone, x_0,
// x_1 >= 0 of a rotated one, x_1 >= 0 of a primal and x_2 <= 0 of a dual exponential cone).
// Exact: every point of the cones meets them. Bounds are indexed by column.
void AddConeSignBounds(const SpecialStore& special, std::vector<double>& lower, std::vector<double>& upper);

// The largest violation of a cone at x in the cone's own terms: ||x_{1..}|| - x_0 for a
// quadratic cone, sqrt(sum x_i^2 + (x_0 - x_1)^2 / 2) - (x_0 + x_1) / sqrt(2) for a rotated one
// (its distance-like form), x_1 exp(x_2 / x_1) - x_0 (relative to max(1, |x_0|)) for an
// exponential one, and negative parts of the sign bounds. 0 when every cone holds.
double MaxConeViolation(const SpecialStore& special, const double* x);

}  // namespace tarq_solver
