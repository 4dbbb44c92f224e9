// The model: one solver problem and the record of every object in it. Operations that fail
// record a code and a message in the model's status (GetErrorCode, GetErrorMsg) and return a
// failure value: an object of index -2, 1e30, or nothing.
//
// Numbering: objects of each kind are numbered 0, 1, ... in the order they were added.
// Removing an object only marks it; operations that need the solver's numbering (coefficient
// access, the column matrix, Clone, and later attributes, solving and files) first delete every
// marked object and renumber the rest, which every held object sees at once.
#pragma once

#include <cstddef>
#include <vector>

namespace Tarq {

class IVar;
class IVarArray;
class IColumn;
class IColumnArray;
class IExpr;
class IConstraint;
class IConstrArray;
class IConstrBuilder;
class IConstrBuilderArray;
class IProbBuffer;

class IModel {
 public:
  virtual ~IModel() = default;

  // --- Reading files. Read chooses the reader by the name's suffix (any letter case, ".gz"
  // forms included) and records "Unknown file type" for any other. Names are trimmed; a leading
  // "~" stands for $HOMEDRIVE$HOMEPATH; relative names are taken against the working directory
  // of the first file operation of the process. Reading a problem replaces the model's objects:
  // objects held from before stand for nothing afterwards (index -2).
  virtual void Read(const char* name) = 0;
  virtual void ReadMps(const char* name) = 0;
  virtual void ReadLp(const char* name) = 0;
  virtual void ReadSdpa(const char* name) = 0;
  virtual void ReadCbf(const char* name) = 0;
  virtual void ReadBin(const char* name) = 0;
  virtual void ReadSol(const char* name) = 0;
  virtual void ReadJsonSol(const char* name) = 0;
  virtual void ReadBasis(const char* name) = 0;
  virtual void ReadMst(const char* name) = 0;
  virtual void ReadOrd(const char* name) = 0;
  virtual void ReadParam(const char* name) = 0;
  virtual void ReadTune(const char* name) = 0;

  // --- Parameters by name, in any letter case. A name the library does not know at all throws
  // Tarq::Exception; an empty name or one of the wrong kind is recorded in the status.
  virtual void GetIntParamInfo(const char* name, int* current, int* def, int* min, int* max) = 0;
  virtual void GetDblParamInfo(const char* name, double* current, double* def, double* min, double* max) = 0;
  virtual int GetIntParam(const char* name) = 0;       // -2147483648 on failure
  virtual double GetDblParam(const char* name) = 0;    // 1e30 on failure
  virtual void SetIntParam(const char* name, int value) = 0;
  virtual void SetDblParam(const char* name, double value) = 0;

  // --- Writing files. Write chooses the writer by suffix (no compressed forms) and does
  // nothing for a name with none of them.
  virtual void Write(const char* name) = 0;
  virtual void WriteMps(const char* name) = 0;
  // The problem as MPS text, growing the buffer when it is too small.
  virtual void WriteMpsStr(IProbBuffer* buffer) = 0;
  virtual void WriteLp(const char* name) = 0;
  virtual void WriteCbf(const char* name) = 0;
  virtual void WriteBin(const char* name) = 0;
  virtual void WriteNl(const char* name) = 0;
  virtual void WriteIIS(const char* name) = 0;
  virtual void WriteRelax(const char* name) = 0;
  virtual void WriteSol(const char* name) = 0;
  virtual void WriteJsonSol(const char* name) = 0;
  virtual void WritePoolSol(int index, const char* name) = 0;
  virtual void WriteBasis(const char* name) = 0;
  virtual void WriteMst(const char* name) = 0;
  virtual void WriteOrd(const char* name) = 0;
  virtual void WriteParam(const char* name) = 0;
  virtual void WriteTuneParam(int index, const char* name) = 0;

  // --- Attributes by name.
  virtual int GetIntAttr(const char* name) = 0;     // -2147483648 on failure
  virtual double GetDblAttr(const char* name) = 0;  // 1e30 on failure
  // 0 double parameter, 1 integer parameter, 2 double attribute, 3 integer attribute, -1 unknown.
  virtual int SearchParamAttr(const char* name) = 0;

  // --- Adding variables. Names are trimmed and inner blanks become "_". A prefix p names the
  // k-th new variable "p_<count before the add + k>"; a packed buffer holds one terminated name
  // per variable back to back, size bytes in all.
  virtual IVar* AddVar(double lb, double ub, double obj, char type, const char* name) = 0;
  virtual IVar* AddVar(double lb, double ub, double obj, char type, IColumn* col, const char* name) = 0;
  virtual IVarArray* AddVars(int count, char type, const char* prefix) = 0;
  virtual IVarArray* AddVars(int count, double lb, double ub, double obj, char type, const char* prefix) = 0;
  virtual IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                             const char* prefix) = 0;
  virtual IVar* AddVar(double lb, double ub, double obj, char type, int nnz, const int* rows, const double* vals,
                       const char* name) = 0;
  virtual IVarArray* AddVars(int count, char type, const char* names, std::size_t size) = 0;
  virtual IVarArray* AddVars(int count, double lb, double ub, double obj, char type, const char* names,
                             std::size_t size) = 0;
  virtual IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                             const char* names, std::size_t size) = 0;
  virtual IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                             IColumnArray* cols) = 0;
  virtual IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                             IColumnArray* cols, const char* prefix) = 0;
  // Compressed columns: column k has the entries idx[beg[k] .. beg[k] + cnt[k] - 1].
  virtual IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                             const int* beg, const int* cnt, const int* idx, const double* val,
                             const char* prefix) = 0;

  // --- Adding linear constraints. The expression is merged in place by variable.
  virtual IConstraint* AddConstr(IExpr* expr, char sense, double rhs, const char* name) = 0;
  virtual IConstraint* AddConstr(IExpr* expr, double lb, double ub, const char* name) = 0;
  virtual IConstraint* AddConstr(int nnz, const int* cols, const double* vals, char sense, double rhs,
                                 const char* name) = 0;
  virtual IConstraint* AddConstr(int nnz, const int* cols, const double* vals, double lb, double ub,
                                 const char* name) = 0;
  virtual IConstraint* AddConstr(IConstrBuilder* builder, const char* name) = 0;
  virtual IConstrArray* AddConstrs(IConstrBuilderArray* builders, const char* prefix) = 0;
  virtual IConstrArray* AddConstrs(const std::vector<IExpr*>& exprs, const char* senses, const double* rhs,
                                   const char* prefix) = 0;
  // Rows without terms from senses and right-hand sides ('R' is refused: use a builder).
  virtual IConstrArray* AddConstrs(int count, const char* senses, const double* rhs, const char* prefix) = 0;
  // Compressed rows: row k has the entries idx[beg[k] .. beg[k] + cnt[k] - 1].
  virtual IConstrArray* AddConstrs(int count, const char* senses, const double* rhs, const int* beg, const int* cnt,
                                   const int* idx, const double* val, const char* prefix) = 0;

  // --- Coefficients and the whole matrix.
  virtual double GetCoeff(const IConstraint* constr, const IVar* var) = 0;
  virtual void SetCoeff(const IConstraint* constr, const IVar* var, double value) = 0;
  virtual void SetCoeffs(const IConstrArray* constrs, const IVarArray* vars, const double* values, int len) = 0;
  // The matrix by columns: column k has idx/val[beg[k] .. beg[k] + cnt[k] - 1].
  virtual void GetColMatrix(std::vector<int>& beg, std::vector<int>& cnt, std::vector<int>& idx,
                            std::vector<double>& val) = 0;
  // Replaces the whole problem (the arguments are those of the solver library's bulk load); objects
  // held from before stand for nothing afterwards (index -2).
  virtual void LoadMatrix(int nCol, int nRow, int objSense, double objConst, const double* obj, const int* colBeg,
                          const int* colCnt, const int* colIdx, const double* colVal, const char* types,
                          const double* colLower, const double* colUpper, const char* rowSenses,
                          const double* rowBound, const double* rowUpper, const char* const* colNames,
                          const char* const* rowNames) = 0;

  // --- Getting objects and naming them.
  virtual IVar* GetVar(int idx) = 0;
  virtual IVar* GetVarByName(const char* name) = 0;
  virtual IVarArray* GetVars() = 0;
  virtual void SetVarNames(const IVarArray* vars, const char* names, std::size_t size) = 0;
  virtual IColumn* GetCol(const IVar* var) = 0;
  virtual IConstraint* GetConstr(int idx) = 0;
  virtual IConstraint* GetConstrByName(const char* name) = 0;
  virtual IConstrArray* GetConstrs() = 0;
  virtual void SetConstrNames(const IConstrArray* constrs, const char* names, std::size_t size) = 0;
  virtual IExpr* GetRow(const IConstraint* constr) = 0;
  virtual IConstrBuilder* GetConstrBuilder(const IConstraint* constr) = 0;

  // --- Information of variables and constraints by name ("LB", "UB", "Obj", "BranchFactor"; the
  // solution values "Value", "RedCost", "Slack", "Dual" once a solution exists).
  virtual void GetColInfo(const char* name, const IVarArray* vars, std::vector<double>& values) = 0;
  virtual void GetRowInfo(const char* name, const IConstrArray* constrs, std::vector<double>& values) = 0;
  virtual void SetColInfo(const char* name, const IVarArray* vars, const double* values, int len) = 0;
  virtual void SetRowInfo(const char* name, const IConstrArray* constrs, const double* values, int len) = 0;

  // --- Removal: marks the objects; the deletion happens at the next operation that needs it.
  virtual void Remove(const IVarArray* vars) = 0;
  virtual void Remove(const IConstrArray* constrs) = 0;

  // --- Housekeeping.
  virtual void ResetParam() = 0;
  virtual void Clear() = 0;
  // A copy named after this model with "_copy" appended.
  virtual IModel* Clone() = 0;

  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
