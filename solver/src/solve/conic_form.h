// The conic form the semidefinite engine solves, independent of any engine:
//
//     maximise  b'y  subject to  C_k - sum_i y_i A_ik  in K_k  for every block k,   E y = f
//
// over free variables y_1 .. y_m. A block is either an LP block (K the non-negative orthant of
// `dim` rows) or an SDP block (K the positive-semidefinite matrices of dimension `dim`). Its
// data are entries (var, pos, val): var 0 is the constant C, var i >= 1 the matrix A_i; pos is
// the row of an LP block or the packed position of an SDP block (the lower triangle column by
// column, PackedPos), and a symmetric matrix's element (r, c) stands for both (r, c) and (c, r).
// Its dual (conic) problem is
//
//     minimise  sum_k <C_k, X_k> + f'mu  subject to  sum_k <A_ik, X_k> + (E'mu)_i = b_i,  X_k in K_k.
//
// Memory: 16 bytes per entry plus a few bytes per variable and block. The builders of
// sdp_solve.cpp fill a form from the store; conic_reduce.h removes the equalities; the DSDP
// adapter solves forms without equalities.
#pragma once

#include <cstdint>
#include <vector>

namespace tarq_solver {

struct ConicEntry {
  int var;
  int pos;
  double val;
};

struct ConicBlock {
  bool lp = false;
  int dim = 0;
  std::vector<ConicEntry> entries;  // ordered by (var, pos) and merged after Finish()

  // Number of stored positions: dim rows of an LP block, dim(dim + 1)/2 of an SDP block.
  std::int64_t Positions() const;
  void Add(int var, int pos, double val) {
    if (val != 0.0) entries.push_back({var, pos, val});
  }
  // Orders the entries by (var, pos), sums duplicates and drops zeros. O(n log n).
  void Finish();
};

struct ConicForm {
  int m = 0;              // variables y_1 .. y_m
  std::vector<double> b;  // b[1..m]; b[0] is unused
  double objConst = 0;    // added to b'y when the value is reported
  std::vector<ConicBlock> blocks;
  // Equalities: row r is sum over [eqBegin[r], eqBegin[r + 1]) of eqVal * y_eqVar = eqRhs[r].
  std::vector<std::int64_t> eqBegin{0};
  std::vector<int> eqVar;
  std::vector<double> eqVal;
  std::vector<double> eqRhs;

  int Equalities() const { return static_cast<int>(eqRhs.size()); }
  // Adds a variable with objective coefficient c; returns its number.
  int AddVar(double c);
  // Appends an equality over the variables given; zero coefficients are dropped.
  void AddEquality(const std::vector<std::pair<int, double>>& terms, double rhs);
  void Finish();

  // The slack C_k - sum_i y_i A_ik of block k at y (y[0] unused), packed like the positions.
  void Slack(int k, const std::vector<double>& y, std::vector<double>& out) const;
  // r_i = b_i - sum_k <A_ik, X_k> for i = 1..m (r[0] = 0), X given per block as positions.
  void Residual(const std::vector<std::vector<double>>& x, std::vector<double>& r) const;
};

// Row i >= column j of packed position pos in a matrix of dimension n. O(1).
void PackedRowCol(int n, std::int64_t pos, int& i, int& j);

// Factor of position pos in an inner product <A, X> over packed positions of dimension dim:
// 1 on the diagonal, 2 off it (each off-diagonal element stands for two).
double InnerWeight(const ConicBlock& block, int pos);

// How a conic solve ended, in the engine's terms.
enum class ConicStatus {
  kOptimal,
  kPrimalInfeasible,  // no X: the maximisation over y is unbounded
  kDualInfeasible,    // no y: the maximisation over y has no feasible point
  kIterationLimit,
  kTimeLimit,
  kInterrupted,
  kNumerical,
};

struct ConicSolution {
  ConicStatus status = ConicStatus::kNumerical;
  std::vector<double> y;               // y[1..m]
  std::vector<std::vector<double>> x;  // per block, its positions
  std::vector<double> mu;              // one per equality
  int iterations = 0;
  double dualObj = 0;    // b'y + objConst
  double primalObj = 0;  // sum <C, X> + f'mu + objConst
};

}  // namespace tarq_solver
