// A smooth optimisation problem in an engine-independent form: what the nonlinear engines
// (ipopt_engine for continuous problems, bonmin_engine for mixed-integer ones) receive.
//
//   minimise (sense 1) or maximise (sense -1)   c'x + c0 + sum over blocks of f_b(x)
//   subject to   rowLower <= A x <= rowUpper            linear rows, A sparse by rows
//                lower_b  <= g_b(x) <= upper_b           the rows each block owns
//                colLower <= x <= colUpper, x_j integer where integer[j]
//                at most one (type 1) or two adjacent (type 2) members of each set non-zero
//
// The linear part is plain data. Everything nonlinear comes in blocks: a block owns some rows
// and/or a contribution to the objective, and provides
//   - the sparsity of its rows' Jacobian (row within the block, column) and of its part of the
//     Hessian of the Lagrangian (lower triangle: row >= column), both computed once per solve;
//   - values at a point x: its objective part, its gradient, its rows, the Jacobian and the
//     Hessian values in the order of those structures. Each returns false when it cannot be
//     evaluated at x (a domain error); the engine then backs off, it never sees a NaN.
// Adding a new kind of smooth object (a cone made smooth, a nonlinear row given as a token
// program with automatic differentiation) means writing one SmoothBlock and appending it in the
// code that builds the SmoothProblem; the engines need no change. SmoothEvaluator assembles the
// linear part and the blocks into the whole problem's arrays, which is all the engines call.
//
// Costs: building the evaluator is O(entries) plus a sort of the Hessian entries; every
// evaluation is linear in the entries it touches.
//
// The exact Hessian is given up for limited-memory (quasi-Newton) updates when it would cost
// far more than the rest of the problem; see ChooseHessian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarq_solver {

// The structural nonzeros (merged, lower triangle) above which the exact Hessian of the
// Lagrangian may be dropped. Each entry costs about 50 bytes between the evaluator's structure
// and slots and Ipopt's copies and KKT matrix, so 30 million entries are about 1.5 GB before any
// factorisation; a dense quadratic objective reaches it only at about 7,700 columns, far beyond
// the dense objectives of a few thousand columns that the exact Hessian serves well.
constexpr std::int64_t kHessianEntryLimit = 30'000'000;
// Above the entry limit, the Hessian is dropped only when it also exceeds this multiple of the
// Jacobian's nonzeros plus the columns: a problem with that many rows and entries anyway keeps its
// exact second derivatives, which cost no more than the rest of it by a large factor.
constexpr double kHessianDensityFactor = 20;
// Above this the exact Hessian is dropped whatever the rest of the problem: about 50 GB of
// structure, and close to the largest count the engines can index (a signed 32-bit integer).
constexpr std::int64_t kHessianHardLimit = std::int64_t{1} << 30;

// The limits above, as the evaluator applies them. Only tests change them (to take the
// limited-memory path on small problems); every solve uses the defaults.
struct HessianLimits {
  std::int64_t entries = kHessianEntryLimit;
  double densityFactor = kHessianDensityFactor;
  std::int64_t hard = kHessianHardLimit;
};

// What the engines use as the Hessian of the Lagrangian, and why.
enum class HessianChoice {
  kExact,      // the blocks' second derivatives
  kRequested,  // limited memory, as SmoothProblem::approximateHessian asks
  kTooDense,   // limited memory: above the entry limit and the multiple of the rest
  kTooLarge,   // limited memory: above the hard limit
  kNoMemory,   // limited memory: the exact structure could not be allocated
};

// The choice for a Hessian of `entries` structural nonzeros in a problem whose Jacobian has
// `jacobianEntries` nonzeros over `cols` columns. O(1).
HessianChoice ChooseHessian(std::int64_t entries, std::int64_t jacobianEntries, std::int64_t cols,
                            const HessianLimits& limits);

class SmoothBlock {
 public:
  virtual ~SmoothBlock() = default;

  // Rows owned by the block (numbered 0 .. Rows() - 1 within it) and their bounds (+-1e30 for
  // none); lower and upper hold Rows() entries.
  virtual int Rows() const = 0;
  virtual void RowBounds(double* lower, double* upper) const = 0;
  virtual bool HasObjective() const = 0;
  // True when the block's functions are quadratic (constant second derivatives).
  virtual bool ConstantHessian() const = 0;

  // Sparsity, appended to the vectors (which may hold other blocks' entries already).
  virtual void JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const = 0;
  virtual void HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const = 0;

  // Adds the block's objective part at x to *f.
  virtual bool Objective(const double* x, double* f) const = 0;
  // Adds the gradient of the block's objective part at x to grad (one entry per column).
  virtual bool Gradient(const double* x, double* grad) const = 0;
  // Writes the block's Rows() row values at x.
  virtual bool Values(const double* x, double* g) const = 0;
  // Writes the Jacobian values, in the order of JacobianStructure.
  virtual bool Jacobian(const double* x, double* values) const = 0;
  // Writes objFactor * (Hessian of the objective part) + sum of lambda[i] * (Hessian of row i),
  // in the order of HessianStructure; lambda holds one multiplier per block row.
  virtual bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const = 0;
};

struct SmoothProblem {
  int nCol = 0;
  int sense = 1;  // 1 minimise, -1 maximise
  double objConst = 0;
  std::vector<double> obj;
  std::vector<double> colLower;  // +-1e30 for infinite bounds
  std::vector<double> colUpper;
  std::vector<char> integer;     // 1 for binary or integer columns
  std::vector<std::int64_t> rowStart{0};  // linear row i has entries [rowStart[i], rowStart[i + 1])
  std::vector<int> rowIndex;
  std::vector<double> rowValue;
  std::vector<double> rowLower;
  std::vector<double> rowUpper;
  std::vector<std::unique_ptr<SmoothBlock>> blocks;
  // Where the engines start: one value per column inside its bounds, or empty for the point of
  // the bounds nearest to 0.
  std::vector<double> start;
  // The engine approximates the Hessian of the Lagrangian (limited-memory) instead of asking
  // the blocks for it.
  bool approximateHessian = false;
  // The engine keeps to the bounds of columns and rows exactly instead of relaxing them slightly
  // (an interior-point engine relaxes them by default, which moves the optimum of a problem whose
  // rows have large multipliers, such as cones in perspective form).
  bool exactBounds = false;
  // When the evaluator drops the exact Hessian by itself (see ChooseHessian); tests lower these.
  HessianLimits hessianLimits;
  // Special ordered sets the branch and bound branches on: set k has type sosType[k] (1 or 2)
  // and the members [sosStart[k], sosStart[k + 1]) of sosIndex / sosWeight, whose weights order
  // them. A set's members are columns that are not negative.
  std::vector<int> sosType;
  std::vector<std::int64_t> sosStart{0};
  std::vector<int> sosIndex;
  std::vector<double> sosWeight;

  int LinearRows() const { return static_cast<int>(rowLower.size()); }
  int Sets() const { return static_cast<int>(sosType.size()); }
  // True with integer columns or special ordered sets.
  bool IsMip() const;
  // The engines' starting point: start when given, else the point of the bounds nearest to 0.
  double StartValue(int j) const;
};

// The whole problem as flat arrays: rows are the linear rows, then each block's rows in block
// order; the Jacobian lists the linear entries, then each block's; the Hessian entries of all
// blocks are merged, so each (row, column) appears once.
class SmoothEvaluator {
 public:
  explicit SmoothEvaluator(const SmoothProblem& problem);

  const SmoothProblem& Problem() const { return p_; }
  int Cols() const { return p_.nCol; }
  int Rows() const { return rows_; }
  // Row of the first row of block b.
  int BlockRowOffset(std::size_t b) const { return offset_[b]; }
  const std::vector<double>& RowLower() const { return lower_; }
  const std::vector<double>& RowUpper() const { return upper_; }
  const std::vector<int>& JacRows() const { return jacRow_; }
  const std::vector<int>& JacCols() const { return jacCol_; }
  const std::vector<int>& HessRows() const { return hessRow_; }
  const std::vector<int>& HessCols() const { return hessCol_; }
  bool ConstantHessian() const;
  bool LinearRowsOnly() const;  // no block owns rows
  // Whether the engines approximate the Hessian by limited-memory updates (then HessRows and
  // HessCols are empty and Hessian returns false), and why; HessianEntries is the structural
  // count the choice was made on (0 when it was not counted).
  bool ApproximatesHessian() const { return hessianChoice_ != HessianChoice::kExact; }
  HessianChoice HessianSource() const { return hessianChoice_; }
  std::int64_t HessianEntries() const { return hessianEntries_; }
  // One sentence for the log saying that and why the Hessian is approximated; empty when exact.
  std::string HessianNote() const;

  // The objective (its sense as given, constant included), its gradient, the rows, the
  // Jacobian and the Hessian of objFactor * objective + lambda' rows. False on an evaluation
  // error of a block.
  bool Objective(const double* x, double* f) const;
  bool Gradient(const double* x, double* grad) const;
  bool Values(const double* x, double* g) const;
  bool Jacobian(const double* x, double* values) const;
  bool Hessian(const double* x, double objFactor, const double* lambda, double* values) const;
  // True when x meets the column bounds, integrality and every row within tol (rows relative
  // to their value when it exceeds 1); false also when a row cannot be evaluated at x.
  bool Meets(const double* x, double tol) const;

 private:
  void BuildHessian();

  const SmoothProblem& p_;
  int rows_ = 0;
  std::vector<int> offset_;         // per block: first row
  std::vector<std::size_t> jacAt_;  // per block: first Jacobian entry
  std::vector<double> lower_, upper_;
  std::vector<int> jacRow_, jacCol_;
  std::vector<int> hessRow_, hessCol_;
  // Per block: where each of its Hessian entries is summed into.
  std::vector<std::vector<int>> hessSlot_;
  HessianChoice hessianChoice_ = HessianChoice::kExact;
  std::int64_t hessianEntries_ = 0;
  mutable std::vector<double> scratch_;  // one block's Hessian values
};

}  // namespace tarq_solver
