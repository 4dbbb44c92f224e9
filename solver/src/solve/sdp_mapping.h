// Mapping a problem with semidefinite parts onto the conic form (conic_form.h) and a solution of
// the form back onto the problem. Two exact mappings, chosen by what the problem holds:
//
// Dual mapping (no PSD columns): y is the scalar columns. Each LMI row D + sum x_j F_j >= 0 is an
// SDP block (C = D, A_j = -F_j); each finite bound of a row or column is one LP row; equality
// rows and fixed columns are equalities of the form. The objective min c'x is max -c'y. The
// LMI duals are the blocks' X. This is the natural form of LMI problems (SDPA files among them).
//
// Primal mapping (PSD columns present): the problem is the form's minimisation over X. PSD
// columns are SDP blocks; each LMI row gets a slack block Z with one equality constraint
// Z[r][c] - sum x_j F_j[r][c] = D[r][c] per position of its lower triangle; scalar columns are
// shifted to non-negative LP variables (x = l + p, x = u - p, a finite range adding p + q = u - l)
// and free ones are free variables of the form, i.e. equalities over y; inequality rows get
// slack LP variables. Every constraint is one variable y of the form, whose value is the row's
// dual. This is the natural form of problems over PSD matrix variables (max-cut and theta
// relaxations, standard-form SDPs).
//
// Equalities in the form are eliminated before the engine runs (conic_reduce.h), so equality rows
// in the dual mapping and free columns in the primal one are exact too, at the cost of fill.
// Costs: building is O(terms of the problem + sum over LMI rows of dim^2 in the primal mapping).
#pragma once

#include "solve/conic_form.h"
#include "solve/engines.h"
#include "store/psd_results.h"

namespace tarq_solver {

class SdpMapping {
 public:
  // Reads the problem; bounds at or beyond inf are infinite.
  SdpMapping(Problem& problem, double inf);

  bool PrimalMapping() const { return primal_; }
  // Fills form (finished, equalities not yet eliminated).
  void Build(ConicForm& form);
  // The problem's status for an outcome of the form.
  int Status(ConicStatus status) const;
  // Status when the form's equalities contradict each other.
  int InconsistentStatus() const;
  // Fills the solution: the scalar values, activities, duals and reduced costs of out (whose
  // other fields are left), and psd. y, x and mu are a solution of the form built by Build.
  void Recover(const ConicForm& form, const std::vector<double>& y, const std::vector<std::vector<double>>& x,
               const std::vector<double>& mu, EngineResult& out, PsdResults& psd) const;

 private:
  // A row of either kind: scalar rows (matrix rows) first, then PSD rows.
  struct RowView {
    double lower;
    double upper;
    const int* cols;
    const double* vals;
    std::int64_t nLin;
    const int* psdCols;
    const int* mats;
    std::int64_t nPsd;
  };
  RowView Row(int r) const;
  int Rows() const { return nScalarRows_ + psd_.Rows().Size(); }
  double Lower(double v) const { return v <= -inf_ ? -TARQ_INFINITY : v; }
  double Upper(double v) const { return v >= inf_ ? TARQ_INFINITY : v; }

  void BuildDual(ConicForm& form);
  void MergeParallelRows();
  void BuildPrimal(ConicForm& form);
  // Adds the elements of matrix mat times f to block blk for variable var.
  void AddMat(ConicBlock& blk, int var, int mat, double f) const;
  // <mat, X> for a packed X.
  double Inner(int mat, const double* x) const;

  Problem& problem_;
  const PsdStore& psd_;
  double inf_;
  int sense_;
  int nCol_;
  int nScalarRows_;
  bool primal_;

  // Dual mapping: where each LP row and each equality came from.
  struct Origin {
    int row;       // row (scalar rows first) or -1
    int col;       // column or -1
    bool upper;    // the row's or column's upper bound
  };
  struct RowMerge {
    bool equality = false;  // the row stands for the equality row = value of its group
    bool skip = false;      // the row is implied by its group's equality
    double value = 0;
  };
  std::vector<RowMerge> merged_;
  std::vector<Origin> lpOrigin_;
  std::vector<Origin> eqOrigin_;
  std::vector<int> lmiBlock_;

  // Primal mapping: how each column is represented, the constraint of each row, the blocks.
  enum class Rep { kFixed, kLower, kUpper, kFree };
  struct ColRep {
    Rep rep;
    double offset;  // x = offset + sign * p
    int index;      // LP position of p, or equality number of a free column
  };
  std::vector<ColRep> colRep_;
  std::vector<int> rowCon_;  // form variable of each row's constraint, 0 for a free row
  std::vector<int> psdBlock_;
  int lpBlock_ = -1;
};

}  // namespace tarq_solver
