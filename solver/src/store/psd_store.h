// The semidefinite parts of a problem: symmetric matrices, PSD columns (with the PSD objective),
// PSD rows and LMI rows, each kept in flat arrays (one offset array per kind of term), so memory
// is a few bytes per term and copying the problem copies a handful of vectors.
//
// Every operation checks all of its arguments before it changes anything and returns a
// TARQ_RETCODE_* code. Operations that refer to scalar columns take their current count.
// Costs: adds are amortised O(terms); deletions and single-term changes rebuild the arrays of
// their kind, O(terms of the kind).
#pragma once

#include <cstdint>
#include <vector>

#include "store/name_table.h"
#include "tarq.h"

namespace tarq_solver {

// One matrix element of the lower triangle (row >= col).
struct SymElem {
  int row;
  int col;
  double val;
};

struct SymMatTable {
  std::vector<int> dim;
  std::vector<std::int64_t> begin{0};  // matrix k has elements [begin[k], begin[k + 1])
  std::vector<int> row;
  std::vector<int> col;
  std::vector<double> val;

  int Size() const { return static_cast<int>(dim.size()); }
  std::int64_t Count(int k) const { return begin[k + 1] - begin[k]; }
  // Appends a matrix whose elements are already checked and normalised.
  void Append(int n, const std::vector<SymElem>& elems);
};

// Checks triplets of a matrix of dimension dim and turns them into lower-triangle elements
// ordered by column then row, without zeros (see tarq_psd.h for what is refused).
int NormaliseSymMat(int dim, int nElem, const int* rows, const int* cols, const double* vals,
                    std::vector<SymElem>& out);

struct PsdColTable {
  std::vector<int> dim;
  std::vector<int> objMat;  // matrix of the PSD objective term, -1 for none
  NameTable names{'X'};

  int Size() const { return static_cast<int>(dim.size()); }
};

// Rows whose terms are (index, payload) pairs kept in one flat list: offsets, indices, payloads.
template <class Payload>
struct TermLists {
  std::vector<std::int64_t> begin{0};
  std::vector<int> index;
  std::vector<Payload> payload;

  int Rows() const { return static_cast<int>(begin.size()) - 1; }
  std::int64_t Count(int r) const { return begin[r + 1] - begin[r]; }
  void Append(int n, const int* idx, const Payload* pay);
  // Position of index i in row r, or -1.
  std::int64_t Find(int r, int i) const;
  // Replaces the payload of (r, i), adds the term when absent, removes it when remove is set.
  void Set(int r, int i, const Payload& p, bool remove);
  // Drops rows whose flag in dropRows is set (may be empty: none).
  void EraseRows(const std::vector<char>& dropRows);
  // Drops terms whose index is flagged in dropIndex and renumbers the others.
  void EraseIndices(const std::vector<char>& dropIndex);
};

struct PsdRowTable {
  std::vector<double> lower;
  std::vector<double> upper;
  TermLists<double> lin;  // scalar columns and coefficients
  TermLists<int> psd;     // PSD columns and matrix numbers
  NameTable names{'P'};

  int Size() const { return static_cast<int>(lower.size()); }
};

struct LmiRowTable {
  std::vector<int> dim;
  std::vector<int> constMat;  // -1 for none
  TermLists<int> terms;       // scalar columns and matrix numbers
  NameTable names{'L'};

  int Size() const { return static_cast<int>(dim.size()); }
};

class PsdStore {
 public:
  const SymMatTable& Mats() const { return mats_; }
  const PsdColTable& Cols() const { return cols_; }
  const PsdRowTable& Rows() const { return rows_; }
  const LmiRowTable& Lmis() const { return lmis_; }
  bool Empty() const { return cols_.Size() == 0 && rows_.Size() == 0 && lmis_.Size() == 0 && mats_.Size() == 0; }
  // Whether a solve must take semidefinite parts into account (matrices alone do not count).
  bool HasParts() const { return cols_.Size() > 0 || rows_.Size() > 0 || lmis_.Size() > 0; }
  // Packed lengths of all PSD columns and of all LMI rows (see PackedLen).
  std::int64_t PackedColLen() const;
  std::int64_t PackedLmiLen() const;

  int AddSymMat(int dim, int nElem, const int* rows, const int* cols, const double* vals);
  int GetSymMat(int idx, int* dim, int* rows, int* cols, double* vals, int size, int* reqSize) const;

  int AddPsdCols(int num, const int* dims, const char* const* names);
  int DelPsdCols(int num, const int* list);
  int GetPsdCols(int num, const int* list, int* dims) const;
  int ReplaceObj(int num, const int* psdCols, const int* mats);
  void DelObj();
  bool HasObj() const;

  int AddPsdRow(int nCols, int nLin, const int* cols, const double* vals, int nPsd, const int* psdCols,
                const int* mats, char sense, double bound, double upper, const char* name);
  int DelPsdRows(int num, const int* list);
  int GetPsdRow(int idx, int* cols, double* vals, int linSize, int* linReq, int* psdCols, int* mats, int psdSize,
                int* psdReq) const;
  int SetPsdRowBounds(bool lower, int num, const int* list, const double* values);
  int GetPsdElem(int row, int psdCol, int* mat) const;
  int SetPsdElem(int row, int psdCol, int mat);

  int AddLmiRow(int nCols, int dim, int nTerms, const int* cols, const int* mats, int constMat, const char* name);
  int DelLmiRows(int num, const int* list);
  int GetLmiRow(int idx, int* dim, int* cols, int* mats, int size, int* reqSize, int* constMat) const;
  int SetLmiRhs(int num, const int* list, const int* mats);
  int GetLmiElem(int nCols, int row, int col, int* mat) const;
  int SetLmiElem(int nCols, int row, int col, int mat);

  // Names of PSD columns, PSD rows and LMI rows.
  NameTable& ColNames() { return cols_.names; }
  NameTable& RowNames() { return rows_.names; }
  NameTable& LmiNames() { return lmis_.names; }

  // Scalar columns flagged in drop were deleted: their terms go, the others are renumbered.
  void EraseColumns(const std::vector<char>& drop);
  // Number of PSD terms in rows and objective.
  std::int64_t PsdTerms() const;
  // Sums of the dimensions of PSD columns and LMI rows.
  std::int64_t PsdDims() const;
  std::int64_t LmiDims() const;

 private:
  int CheckMat(int mat, int dim) const;

  SymMatTable mats_;
  PsdColTable cols_;
  PsdRowTable rows_;
  LmiRowTable lmis_;
};

// Length of a packed symmetric matrix of dimension n, and the packed position of (i, j), i >= j:
// the lower triangle column by column.
inline std::int64_t PackedLen(std::int64_t n) { return n * (n + 1) / 2; }
inline std::int64_t PackedPos(std::int64_t n, std::int64_t i, std::int64_t j) { return j * n - j * (j - 1) / 2 + (i - j); }

}  // namespace tarq_solver
