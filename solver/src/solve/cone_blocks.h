// Second-order cones and exponential cones as blocks of a smooth problem, and the column bounds
// the cones imply. Each cone becomes one smooth row over its columns:
//
//   quadratic cone  x_0 >= ||(x_1, ..., x_{n-1})||:     sum_{i>=1} x_i^2 / x_0 - x_0 <= 0,  x_0 >= 0
//   rotated cone    2 x_0 x_1 >= sum_{i>=2} x_i^2:      sum_{i>=2} x_i^2 / (2 x_0) - x_1 <= 0,  x_0, x_1 >= 0
//   primal exponential  x_0 >= x_1 exp(x_2 / x_1):      x_1 exp(x_2 / x_1) - x_0 <= 0,  x_1 >= 0
//   dual exponential    x_0 >= -x_2 exp(x_1 / x_2 - 1): (-x_2 / e) exp(-x_1 / -x_2) - x_0 <= 0,  x_2 <= 0
//
// All four are perspective forms: convex functions (quadratic over linear, the perspective of
// exp) on the open half-space where the divisor column is positive, smooth there, and exact: for
// a positive divisor each inequality is the cone's own. The face where the divisor is 0 (the
// apex of a quadratic cone) is reached as a limit: the interior-point engine keeps the divisor's
// sign bound strict, and the block reports an evaluation error at a point outside it, from which
// the engine backs off.
#pragma once

#include <vector>

#include "solve/smooth_problem.h"
#include "store/sos_cone_table.h"

namespace tarq_solver {

// What every cone block shares: one smooth row per cone of its table and no objective terms.
template <class Table>
class ConeRowBlock : public SmoothBlock {
 public:
  explicit ConeRowBlock(const Table& cones) : cones_(cones) {}

  int Rows() const override { return cones_.Size(); }
  bool HasObjective() const override { return false; }
  bool Objective(const double*, double*) const override { return true; }
  bool Gradient(const double*, double*) const override { return true; }

 protected:
  const Table& cones_;
};

// Second-order cone rows: each row's Jacobian has one entry per member, in member order.
class SocRowBlock : public ConeRowBlock<ConeTable> {
 public:
  using ConeRowBlock::ConeRowBlock;
  void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
};

// The second-order cones in the perspective form above.
class SecondOrderConeBlock : public SocRowBlock {
 public:
  using SocRowBlock::SocRowBlock;
  void RowBounds(double* lower, double* upper) const override;
  bool ConstantHessian() const override { return false; }
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;
};

// The second-order cones as differences of squares: x_0^2 - sum_{i>=1} x_i^2 >= 0 (quadratic)
// and 2 x_0 x_1 - sum_{i>=2} x_i^2 >= 0 (rotated), with the heads' sign bounds. Exact: with
// x_0 >= 0 the inequality describes the cone itself (the other sheet is cut off). Polynomial, so
// defined and smooth everywhere, apex included, which nonlinear branch and bound needs (its
// heuristics and cuts evaluate rows at points outside the interior, such as heads at 0). Not a
// convex function, though its feasible set is convex, so the continuous solve takes the
// perspective form instead, on which the interior point converges much faster.
class SquaredConeBlock : public SocRowBlock {
 public:
  using SocRowBlock::SocRowBlock;
  void RowBounds(double* lower, double* upper) const override;
  bool ConstantHessian() const override { return true; }
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;
};

// The exponential cones in the perspective form above.
class ExpConeBlock : public ConeRowBlock<ExpConeTable> {
 public:
  using ConeRowBlock::ConeRowBlock;
  void RowBounds(double* lower, double* upper) const override;
  bool ConstantHessian() const override { return false; }
  void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const override;
  bool Values(const double* x, double* g) const override;
  bool Jacobian(const double* x, double* values) const override;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const override;
};

// Tightens the column bounds to the signs the cones imply (x_0 >= 0 of a quadratic cone, x_0,
// x_1 >= 0 of a rotated one, x_1 >= 0 of a primal and x_2 <= 0 of a dual exponential cone).
// Exact: every point of the cones meets them. Bounds are indexed by column.
void AddConeSignBounds(const SosConeStore& sosCones, std::vector<double>& lower, std::vector<double>& upper);

// Appends to the linear rows of sp, for every second-order cone, the rows x_0 - x_i >= 0 and
// x_0 + x_i >= 0 for each member i after the head (quadratic cone), or x_0 + x_1 -+ sqrt(2) x_i
// >= 0 for each member after the two heads (rotated cone). Exact: every point of the cones meets
// them (|x_i| <= ||x_{1..}|| <= x_0, and (x_0 + x_1)^2 >= 4 x_0 x_1 >= 2 x_i^2). The squared form
// has no gradient at a cone's apex, where the relaxations of branch and bound often have their
// optimum; these rows give the engine active constraints with gradients there. Two rows per
// member after the heads.
void AddConeOuterRows(const ConeTable& cones, SmoothProblem& sp);

// The largest violation of a cone at x in the cone's own terms: ||x_{1..}|| - x_0 for a
// quadratic cone, sqrt(sum x_i^2 + (x_0 - x_1)^2 / 2) - (x_0 + x_1) / sqrt(2) for a rotated one
// (its distance-like form), x_1 exp(x_2 / x_1) - x_0 (relative to max(1, |x_0|)) for an
// exponential one, and negative parts of the sign bounds. 0 when every cone holds.
double MaxConeViolation(const SosConeStore& sosCones, const double* x);

}  // namespace tarq_solver
