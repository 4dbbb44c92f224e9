// The data an engine solve takes: a copy of the problem's columns, rows and matrix in the
// engines' own layout (column-compressed, COIN index types), which the algorithms built on top
// of solving (multi-objective levels, feasibility relaxation, IIS trials) change without
// touching the stored problem.
//
// Memory: one copy of the matrix (12 bytes per nonzero) plus about 40 bytes per column and 16
// per row. Building costs O(columns + rows + nonzeros).
#pragma once

#include <vector>

#include "store/problem.h"

#include <CoinTypes.hpp>

namespace tarq_solver {

struct LpData {
  int nCol = 0;
  int nRow = 0;  // rows of the column-compressed matrix; added rows come after them
  int sense = 1;
  double objConst = 0;
  std::vector<double> obj;
  std::vector<double> colLower;
  std::vector<double> colUpper;
  std::vector<char> integer;  // 1 for a binary or integer column
  std::vector<double> rowLower;
  std::vector<double> rowUpper;
  std::vector<CoinBigIndex> start{0};  // column j has entries [start[j], start[j + 1])
  std::vector<int> index;
  std::vector<double> value;

  // Rows added after the matrix rows, stored by rows (for few dense rows such as objective
  // levels).
  std::vector<CoinBigIndex> addStart{0};
  std::vector<int> addIndex;
  std::vector<double> addValue;
  std::vector<double> addLower;
  std::vector<double> addUpper;

  // Special ordered sets the MIP engine branches on: set k has type sosType[k] (1 or 2) and the
  // members [sosStart[k], sosStart[k + 1]) of sosIndex / sosWeight (weights strictly increasing
  // is not required; the engine orders them).
  std::vector<int> sosType;
  std::vector<CoinBigIndex> sosStart{0};
  std::vector<int> sosIndex;
  std::vector<double> sosWeight;

  int Rows() const { return nRow + static_cast<int>(addLower.size()); }
  int Sets() const { return static_cast<int>(sosType.size()); }
  // True with integer columns or special ordered sets.
  bool IsMip() const;
  // Appends a set over nnz columns.
  void AddSet(int type, int nnz, const int* cols, const double* weights);
  // Appends a row over the columns; entries with value 0 are skipped.
  void AddRow(const std::vector<double>& dense, double lower, double upper);
  // Appends a row with nnz entries over the columns.
  void AddSparseRow(int nnz, const int* cols, const double* vals, double lower, double upper);
  // Appends a column with entries in the matrix rows.
  void AddCol(double cost, double lower, double upper, int nnz, const int* rows, const double* vals);
  // Objective value of x (with the constant).
  double Objective(const double* x) const;
  // Row activities of x, Rows() of them.
  void Activities(const double* x, std::vector<double>& out) const;
};

// Copies the problem into data. Bounds at or beyond "InfBound" become infinite; with relax,
// integer columns become continuous and the special ordered sets and indicator rows are left
// out; otherwise they are added as sets and internal columns and rows after the problem's own
// (sos_cone_lp.h), and where they went is written to *sosCones when it is not null. Returns 3 when
// the matrix is too large for the engines.
struct SosConeMap;
int BuildLpData(Problem& problem, bool relax, LpData& data, SosConeMap* sosCones = nullptr);

}  // namespace tarq_solver
