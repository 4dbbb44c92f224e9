// The solver library's problem: columns, rows and the sparse matrix between them, the
// objective, names, parameters and where the log goes.
//
// Every operation checks all of its arguments before it changes anything and returns a
// TARQ_RETCODE_* code; a failed operation leaves the problem exactly as it was. A null position
// list stands for the first num objects.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/log.h"
#include "env/environment.h"
#include "params/param_set.h"
#include "store/multi_objs.h"
#include "store/nl_table.h"
#include "store/psd_store.h"
#include "store/quad_table.h"
#include "store/results.h"
#include "store/sos_cone_table.h"
#include "store/sparse_matrix.h"
#include "store/tables.h"

namespace tarq_solver {

// Everything TARQ_LoadProb takes; the matrix is given by columns.
struct LoadArgs {
  int nCol = 0;
  int nRow = 0;
  int objSense = 1;
  double objConst = 0;
  const double* obj = nullptr;
  VectorList cols;
  const char* types = nullptr;
  const double* colLower = nullptr;
  const double* colUpper = nullptr;
  const char* rowSense = nullptr;
  const double* rowBound = nullptr;
  const double* rowUpper = nullptr;
  const char* const* colNames = nullptr;
  const char* const* rowNames = nullptr;
  const double* branch = nullptr;  // branch factors; null for none
};

// A stop request for a running solve. Copying a problem gives the copy a lowered flag of its own.
class InterruptFlag {
 public:
  InterruptFlag() = default;
  InterruptFlag(const InterruptFlag&) {}
  InterruptFlag& operator=(const InterruptFlag&) { return *this; }
  void Raise() { raised_.store(true, std::memory_order_relaxed); }
  void Lower() { raised_.store(false, std::memory_order_relaxed); }
  bool Raised() const { return raised_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> raised_{false};
};

// Whether a solve of the problem (or an IIS computation, relaxation or tuning run) is under way;
// the C interface refuses changes and further solves meanwhile. A copy of a problem is idle.
class BusyFlag {
 public:
  BusyFlag() = default;
  BusyFlag(const BusyFlag&) {}
  BusyFlag& operator=(const BusyFlag&) { return *this; }
  // Marks the problem busy; false (and nothing changed) when it already was.
  bool Enter() { return !busy_.exchange(true); }
  void Leave() { busy_.store(false); }
  bool Busy() const { return busy_.load(); }

 private:
  std::atomic<bool> busy_{false};
};

class Problem {
 public:
  explicit Problem(std::shared_ptr<const EnvCore> env);

  const EnvCore& Env() const { return *env_; }
  Logger& Log() { return log_; }
  const Logger& Log() const { return log_; }
  ParamSet& Params() { return params_; }
  const ParamSet& Params() const { return params_; }

  // Read access for engines, writers and attributes.
  const ColumnTable& Cols() const { return cols_; }
  const RowTable& Rows() const { return rows_; }
  const MipStartTable& MipStarts() const { return mipStarts_; }
  SparseMatrix& Matrix() { return matrix_; }
  int ObjSense() const { return objSense_; }
  double ObjConst() const { return objConst_; }
  // The results of the last solve; what belonged to data changed since is forgotten first (see
  // Results::ForgetStale).
  Results& Result();
  // Marks the results as belonging to the problem data as it stands now.
  void StampResults() { results_.version = version_; }
  const MultiObjTable& MultiObjs() const { return multiObjs_; }
  // Write access to the multi-objectives; counts as a change of the problem data, so call it
  // only once the change is known to succeed.
  MultiObjTable& EditMultiObjs() {
    Modified();
    return multiObjs_;
  }
  // The objectives for recording what a solve found for each (their attrs); not a data change.
  MultiObjTable& MultiObjResults() { return multiObjs_; }
  // The semidefinite parts. EditPsd runs change(psd) and counts it as a change of the problem
  // data when it returns 0 (change must leave psd unchanged when it fails).
  const PsdStore& Psd() const { return psd_; }
  template <class Change>
  int EditPsd(Change&& change) {
    const int rc = change(psd_);
    if (rc == TARQ_RETCODE_OK) Modified();
    return rc;
  }
  // The semidefinite parts for changes no result depends on: renaming, and adding matrices
  // (which count only once something refers to them).
  PsdStore& PsdUnversioned() { return psd_; }
  // Replaces the semidefinite parts by ones checked against this problem.
  void ReplacePsd(PsdStore&& psd) noexcept {
    psd_ = std::move(psd);
    Modified();
  }
  // The flag TARQ_Interrupt raises, safe to use from any thread.
  InterruptFlag& Interrupt() { return interrupt_; }
  // Set while the problem is being solved (see BusyFlag).
  BusyFlag& Solving() { return solving_; }
  // Forgets the results of earlier solves; with all, also the additional information the
  // caller gave for the next solve.
  void Reset(bool all);
  // Grows with every change of the problem data.
  std::uint64_t Version() const { return version_; }

  // Columns. Null obj, types, lower or upper give 0, 'C', 0 and infinity.
  int AddCols(int num, const double* obj, const VectorList& entries, const char* types, const double* lower,
              const double* upper, const char* const* names);
  int SetColBounds(bool lower, int num, const int* list, const double* values);
  int SetColObj(int num, const int* list, const double* values);
  // Sets every objective coefficient to 0, then the listed ones.
  int ReplaceColObj(int num, const int* list, const double* values);
  int SetColTypes(int num, const int* list, const char* types);
  int GetColTypes(int num, const int* list, char* types) const;
  int SetBranchFactors(int num, const int* list, const double* values);
  // Information by name: "LB", "UB", "Obj", "BranchFactor", and the solution's "Value" and
  // "RedCost" (3 while there is none).
  int GetColInfo(const char* name, int num, const int* list, double* values);

  // Rows. A null senses array gives two-bound rows [bound, upper]; see RowBounds for letters.
  int AddRows(int num, const VectorList& entries, const char* senses, const double* bound, const double* upper,
              const char* const* names);
  // One row, as AddRows with num 1; short unnamed rows (a model built row by row) take a path of
  // their own without the list machinery.
  int AddRow(int nnz, const int* idx, const double* val, char sense, double bound, double upper, const char* name);
  // Deletes the listed rows (kRow) or columns (kCol); the others keep their order.
  int Delete(Axis axis, int num, const int* list);
  int SetRowBounds(bool lower, int num, const int* list, const double* values);
  // Information by name: "LB", "UB", and the solution's "Slack" (row activity) and "Dual".
  int GetRowInfo(const char* name, int num, const int* list, double* values);

  // Matrix.
  int GetVectors(Axis axis, int num, const int* list, int* beg, int* cnt, int* idx, double* val, int size,
                 int* reqSize);
  int GetElem(int row, int col, double* value) const;
  int SetElems(int num, const int* rows, const int* cols, const double* values);

  // Objective.
  int SetObjSense(int sense);
  int SetObjConst(double value);

  // Names of columns (axis kRow addresses rows).
  NameTable& Names(Axis axis) { return axis == Axis::kRow ? rows_.names : cols_.names; }
  int SetNames(Axis axis, int num, const int* list, const char* const* names);
  int GetName(Axis axis, int pos, char* buf, int len, int* reqSize) const;
  int FindName(Axis axis, const char* name, int* pos);

  // MIP starts. AddMipStart appends one start giving values[k] to column list[k] (null list:
  // the first num columns); values must be finite and no column may be listed twice.
  int AddMipStart(int num, const int* list, const double* values);
  // Replaces every MIP start by a table whose columns were checked against this problem.
  void ReplaceMipStarts(MipStartTable&& table) noexcept;

  // Quadratic objective and quadratic rows (problem_quad.cpp; the conventions are those of
  // tarq_quad.h).
  const QuadStore& Quad() const { return quad_; }
  NameTable& QuadNames() { return quad_.rows.names; }
  int SetQuadObj(int num, const int* rows, const int* cols, const double* vals);
  int GetQuadObj(int size, int* num, int* rows, int* cols, double* vals) const;
  int AddQConstrs(int num, const VectorList& lin, const VectorList& quadRows, const int* quadCols, const char* senses,
                  const double* rhs, const char* const* names);
  // One quadratic row; a short unnamed one is checked and appended without the list machinery.
  int AddQConstr(int linNnz, const int* linIdx, const double* linVal, int quadNnz, const int* quadRow,
                 const int* quadCol, const double* quadVal, char sense, double rhs, const char* name);
  int DelQConstrs(int num, const int* list);
  int GetQConstr(int qrow, int linSize, int quadSize, int* linNnz, int* linIdx, double* linVal, int* quadNnz,
                 int* quadRow, int* quadCol, double* quadVal) const;
  int GetQConstrRhs(int num, const int* list, double* rhs) const;
  int SetQConstrRhs(int num, const int* list, const double* rhs);
  int GetQConstrSense(int num, const int* list, char* senses) const;
  int SetQConstrSense(int num, const int* list, const char* senses);
  // "LB", "UB", and the solution's "Slack" and "Dual".
  int GetQConstrInfo(const char* name, int num, const int* list, double* values);
  // Replaces the quadratic part by one whose columns were checked against this problem.
  void ReplaceQuad(QuadStore&& quad) noexcept;

  // Nonlinear rows, the nonlinear objective and the primal start (problem_nl.cpp; the conventions
  // are those of tarq_nonlinear.h). Programs: tokens as VectorList idx (beg/cnt offsets),
  // constants as VectorList val.
  const NlStore& Nl() const { return nl_; }
  NameTable& NlNames() { return nl_.rows.names; }
  int AddNlConstrs(int num, const VectorList& tokens, const VectorList& consts, const VectorList& lin,
                   const char* senses, const double* bound, const double* upper, const char* const* names);
  int DelNlConstrs(int num, const int* list);
  int GetNlConstr(int row, int tokSize, int constSize, int linSize, int* numTok, int* tokens, int* numConst,
                  double* consts, int* linNnz, int* linIdx, double* linVal) const;
  int SetNlConstrBounds(bool lower, int num, const int* list, const double* values);
  // "LB", "UB", and the solution's "Slack" and "Dual".
  int GetNlConstrInfo(const char* name, int num, const int* list, double* values);
  int SetNlObj(int nToken, int nConst, const int* tokens, const double* consts);
  int GetNlObj(int tokSize, int constSize, int* numTok, int* tokens, int* numConst, double* consts) const;
  int SetNlPrimalStart(int num, const int* list, const double* values);
  // Replaces the nonlinear part by one whose columns were checked against this problem.
  void ReplaceNl(NlStore&& nl) noexcept;

  // SOS constraints, indicator rows and cones (problem_sos_cone.cpp; the conventions are those of
  // tarq_sos_cone.h). Member lists: VectorList idx (beg/cnt offsets); indicator coefficients as
  // VectorList val. SOS weights come from weights (null: 1, 2, 3, ... per set); members.val is
  // not read.
  const SosConeStore& SosCone() const { return sos_cone_; }
  NameTable& IndicatorNames() { return sos_cone_.indicators.names; }
  int AddSoss(int num, const int* types, const VectorList& members, const double* weights);
  int DelSoss(int num, const int* list);
  int AddIndicators(int num, const int* types, const int* binCols, const int* binVals, const VectorList& rows,
                    const char* senses, const double* bounds, const char* const* names);
  int DelIndicators(int num, const int* list);
  int AddCones(int num, const int* types, const VectorList& members);
  int DelCones(int num, const int* list);
  int AddExpCones(int num, const int* types, const int* cols);
  int DelExpCones(int num, const int* list);
  // Replaces the SOS, indicator and cone constraints by ones whose columns were checked against this problem.
  void ReplaceSosCone(SosConeStore&& sosCones) noexcept;

  // Replaces the whole problem data; MIP starts are dropped.
  int Load(const LoadArgs& args);
  // Removes every object; parameters and log destinations stay.
  void Clear();

 private:
  void Modified() { ++version_; }

  std::shared_ptr<const EnvCore> env_;
  Logger log_;
  ParamSet params_;

  ColumnTable cols_;
  RowTable rows_;
  SparseMatrix matrix_;
  MipStartTable mipStarts_;
  QuadStore quad_;
  NlStore nl_;
  int objSense_ = 1;
  double objConst_ = 0;
  Results results_;
  MultiObjTable multiObjs_;
  PsdStore psd_;
  SosConeStore sos_cone_;
  InterruptFlag interrupt_;
  BusyFlag solving_;
  std::uint64_t version_ = 0;
  std::vector<int> stamp_;  // scratch for duplicate checks, one entry per column or row
};

}  // namespace tarq_solver

struct tarq_prob {
  explicit tarq_prob(std::shared_ptr<const tarq_solver::EnvCore> env) : problem(std::move(env)) {}
  tarq_solver::Problem problem;
};
