// The model: one solver problem and the record of every object in it. Operations that fail
// record a code and a message in the model's status (GetErrorCode, GetErrorMsg) and return a
// failure value: an object of index -2, 1e30, or nothing.
//
// Objects passed in must be objects of this library; a null pointer stands for an empty one (an
// expression without terms, an empty array, a variable or constraint of index -2).
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
class IQuadExpr;
class IQConstraint;
class IQConstrArray;
class IQConstrBuilder;
class INlExpr;
class INlConstraint;
class INlConstrArray;
class INlConstrBuilder;
class INlConstrBuilderArray;
class IProbBuffer;
class ILogCallback;
class IPsdVar;
class IPsdVarArray;
class IPsdExpr;
class IPsdConstraint;
class IPsdConstrArray;
class IPsdConstrBuilder;
class ILmiExpr;
class ILmiConstraint;
class ILmiConstrArray;
class ISymMatrix;
class ISymMatExpr;
class ISos;
class ISosArray;
class ISosBuilder;
class ISosBuilderArray;
class IGenConstr;
class IGenConstrArray;
class IGenConstrBuilder;
class IGenConstrBuilderArray;
class ICone;
class IConeArray;
class IConeBuilder;
class IConeBuilderArray;
class IExpCone;
class IExpConeArray;
class IExpConeBuilder;
class IExpConeBuilderArray;

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
  // Matrix variables (AddMVar forms for 0 to 3 dimensions) join here once matrix variables exist.

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
  // Matrix constraints (AddMConstr forms for 0 to 3 dimensions) join here once matrix
  // constraints exist.

  // --- Adding nonlinear constraints: expression <sense> rhs with sense 'L', 'G' or 'E'
  // ("Invalid nonlinear constraint sense" otherwise). The column tokens are brought up to the
  // variables' current indices first (a removed variable: "Invalid or removed vars in nonlinear
  // expression"); the linear part is merged in place by variable.
  virtual INlConstraint* AddNlConstr(INlExpr* expr, char sense, double rhs, const char* name) = 0;
  // lhs <sense> rhs, added as lhs - rhs <sense> 0.
  virtual INlConstraint* AddNlConstr(IExpr* lhs, char sense, INlExpr* rhs, const char* name) = 0;
  // lb <= expr <= ub.
  virtual INlConstraint* AddNlConstr(INlExpr* expr, double lb, double ub, const char* name) = 0;
  virtual INlConstraint* AddNlConstr(INlConstrBuilder* builder, const char* name) = 0;
  virtual INlConstrArray* AddNlConstrs(INlConstrBuilderArray* builders, const char* prefix) = 0;

  // --- Adding SOS constraints: a type (1 or 2), variables and their weights (null: 1, 2, 3 ...).
  // A removed or failed variable is refused ("Invalid variable") and nothing is added.
  virtual ISos* AddSos(const IVarArray* vars, const double* weights, int type) = 0;
  virtual ISos* AddSos(ISosBuilder* builder) = 0;
  // All or none, in one call.
  virtual ISosArray* AddSoss(ISosBuilderArray* builders) = 0;

  // --- Adding indicator constraints: when binVar (of type 'B') equals binVal, a linear row
  // must hold, sense 'E', 'G' or 'L'. Expressions are merged in place. The builder's expression
  // and sense are added with right-hand side 0.
  virtual IGenConstr* AddGenConstrIndicator(IGenConstrBuilder* builder, const char* name) = 0;
  // The linear builder's expression and sense with right-hand side 0 (ranges and free rows are
  // refused).
  virtual IGenConstr* AddGenConstrIndicator(IVar* binVar, int binVal, IConstrBuilder* builder, int type,
                                            const char* name) = 0;
  // expr <sense> rhs.
  virtual IGenConstr* AddGenConstrIndicator(IVar* binVar, int binVal, IExpr* expr, char sense, double rhs, int type,
                                            const char* name) = 0;
  // All or none, in one call; a prefix names them as AddVars does.
  virtual IGenConstrArray* AddGenConstrIndicator(IGenConstrBuilderArray* builders, const char* prefix) = 0;
  // The forms over matrix constraints join here once matrix constraints exist.

  // --- Adding second-order cones: type 1 (x0 >= |x1..xn|, at least 2 variables) or 2 (rotated,
  // at least 3), over variables in order.
  virtual ICone* AddCone(IConeBuilder* builder) = 0;
  virtual ICone* AddCone(const IVarArray* vars, int type) = 0;
  // All or none, in one call.
  virtual IConeArray* AddCone(IConeBuilderArray* builders) = 0;
  // The form over a matrix variable joins here once matrix variables exist.

  // --- Adding exponential cones: type 3 (primal) or 4 (dual) over exactly three variables.
  virtual IExpCone* AddExpCone(IExpConeBuilder* builder) = 0;
  virtual IExpCone* AddExpCone(const IVarArray* vars, int type) = 0;
  virtual IExpConeArray* AddExpCone(IExpConeBuilderArray* builders) = 0;

  // Affine cones (AddAffineCone forms) join here once matrix expressions exist.

  // --- Adding quadratic constraints: expression <sense> rhs with sense 'L', 'G' or 'E'. The
  // linear part is merged in place by variable; quadratic terms are passed as they are (x*y and
  // y*x are two terms). An expression without quadratic terms is refused.
  virtual IQConstraint* AddQConstr(IQuadExpr* expr, char sense, double rhs, const char* name) = 0;
  // lhs <sense> rhs, added as lhs - rhs <sense> 0.
  virtual IQConstraint* AddQConstr(IQuadExpr* lhs, IQuadExpr* rhs, char sense, const char* name) = 0;
  virtual IQConstraint* AddQConstr(IQConstrBuilder* builder, const char* name) = 0;
  // Raw arrays: linear entries and quadratic terms quadVal[k] * x[quadRow[k]] * x[quadCol[k]].
  virtual IQConstraint* AddQConstr(int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                                   const int* quadRow, const int* quadCol, const double* quadVal, char sense,
                                   double rhs, const char* name) = 0;
  // The forms over matrix constraints of 0 to 3 dimensions join here once matrix constraints
  // exist.

  // --- Adding PSD variables (symmetric positive-semidefinite matrix variables of a dimension).
  virtual IPsdVar* AddPsdVar(int dim, const char* name) = 0;
  virtual IPsdVarArray* AddPsdVars(int count, const int* dims, const char* prefix) = 0;

  // --- Adding PSD constraints: lower <= linear part + sum <C_k, X_k> <= upper. Terms of one PSD
  // variable are combined; each coefficient becomes a stored matrix of the model (one that is
  // already a stored matrix with coefficient 1 is used as it is); terms of removed variables
  // are dropped. The sense form takes 'E', 'G' or 'L' and rhs minus the constant.
  virtual IPsdConstraint* AddPsdConstr(IPsdExpr* expr, char sense, double rhs, const char* name) = 0;
  virtual IPsdConstraint* AddPsdConstr(IPsdExpr* expr, double lb, double ub, const char* name) = 0;
  virtual IPsdConstraint* AddPsdConstr(IPsdConstrBuilder* builder, const char* name) = 0;
  // The forms over matrix constraints of 0 to 3 dimensions join here once matrix constraints
  // exist.

  // --- Adding an LMI constraint: constant + sum x_i A_i positive semidefinite, matrices stored as
  // for PSD constraints; all of one dimension.
  virtual ILmiConstraint* AddLmiConstr(ILmiExpr* expr, const char* name) = 0;
  // User cuts and lazy constraints (AddUserCut, AddUserCuts, AddLazyConstr, AddLazyConstrs, with
  // their matrix forms) join here with the callbacks.

  // --- Symmetric matrices stored in the model (never removed; numbered in the order added).
  // Triplets (row, column, value) set both (row, column) and (column, row).
  virtual ISymMatrix* AddSymMat(int dim, int nz, const int* rows, const int* cols, const double* vals) = 0;
  virtual ISymMatrix* AddSparseMat(int dim, int nz, const int* rows, const int* cols, const double* vals) = 0;
  // The lower triangle column by column, (0,0), (1,0) ... (dim-1,0), (1,1) ..., from the first
  // count values.
  virtual ISymMatrix* AddDenseMat(int dim, const double* values, int count) = 0;
  virtual ISymMatrix* AddOnesMat(int dim, double value) = 0;
  // (i, i) from values[i] for i below count and dim.
  virtual ISymMatrix* AddDiagMat(int dim, const double* values, int count) = 0;
  virtual ISymMatrix* AddDiagMat(int dim, double value) = 0;
  // The diagonal |offset| below the main one: (i + |offset|, i) from values[i].
  virtual ISymMatrix* AddDiagMat(int dim, const double* values, int count, int offset) = 0;
  virtual ISymMatrix* AddDiagMat(int dim, double value, int offset) = 0;
  virtual ISymMatrix* AddOnesMat(int dim) = 0;
  virtual ISymMatrix* AddEyeMat(int dim) = 0;
  // The expression summed into one matrix; an expression that is one stored matrix of this
  // model with coefficient 1 gives that matrix.
  virtual ISymMatrix* AddSymMat(ISymMatExpr* expr) = 0;

  virtual ISymMatrix* GetSymMat(int idx) = 0;

  // --- Results of the last solve. Arrays hold one entry per column (values, redcost, column
  // basis) or per row (slack, duals, row basis); a null array is not filled.
  virtual void GetSolution(double* values) = 0;
  virtual void GetLpSolution(double* values, double* slack, double* duals, double* redcost) = 0;
  virtual void SetLpSolution(const double* values, const double* slack, const double* duals,
                             const double* redcost) = 0;
  virtual void GetColBasis(int* basis) = 0;
  virtual void GetRowBasis(int* basis) = 0;
  virtual void SetBasis(const int* colBasis, const int* rowBasis) = 0;
  virtual void SetSlackBasis() = 0;
  virtual double GetPoolObjVal(int solIndex) = 0;  // 1e30 on failure
  virtual void GetPoolSolution(int solIndex, const IVarArray* vars, std::vector<double>& values) = 0;
  virtual void GetColLowerIIS(const IVarArray* vars, std::vector<int>& status) = 0;
  virtual void GetColUpperIIS(const IVarArray* vars, std::vector<int>& status) = 0;
  virtual void GetRowLowerIIS(const IConstrArray* constrs, std::vector<int>& status) = 0;
  virtual void GetRowUpperIIS(const IConstrArray* constrs, std::vector<int>& status) = 0;
  virtual void GetSOSIIS(const ISosArray* soss, std::vector<int>& status) = 0;
  virtual void GetIndicatorIIS(const IGenConstrArray* constrs, std::vector<int>& status) = 0;

  // --- Coefficients and the whole matrix.
  virtual double GetCoeff(const IConstraint* constr, const IVar* var) = 0;
  virtual void SetCoeff(const IConstraint* constr, const IVar* var, double value) = 0;
  virtual void SetCoeffs(const IConstrArray* constrs, const IVarArray* vars, const double* values, int len) = 0;
  // The matrix of a PSD variable in a PSD constraint (index -2 when it has none); setting one
  // takes a stored matrix of the variable's dimension.
  virtual ISymMatrix* GetPsdCoeff(const IPsdConstraint* constr, const IPsdVar* var) = 0;
  virtual void SetPsdCoeff(const IPsdConstraint* constr, const IPsdVar* var, const ISymMatrix* mat) = 0;
  // The matrix of a variable in an LMI constraint, and the constant term (index -2 for none).
  virtual ISymMatrix* GetLmiCoeff(const ILmiConstraint* constr, const IVar* var) = 0;
  virtual void SetLmiCoeff(const ILmiConstraint* constr, const IVar* var, const ISymMatrix* mat) = 0;
  virtual ISymMatrix* GetLmiRhs(const ILmiConstraint* constr) = 0;
  virtual void SetLmiRhs(const ILmiConstraint* constr, const ISymMatrix* mat) = 0;
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
  // Replaces the quadratic terms of the objective by vals[k] * x[rows[k]] * x[cols[k]].
  virtual void SetQuadObjective(int num, const int* rows, const int* cols, const double* vals) = 0;
  // num cones: cone k has type types[k] over the columns idx[beg[k] .. beg[k] + cnt[k] - 1]
  // (cnt null: beg holds num + 1 offsets); all or none.
  virtual void AddCones(int num, const int* types, const int* beg, const int* cnt, const int* idx) = 0;
  // num exponential cones: cone k has type types[k] over idx[3k], idx[3k + 1], idx[3k + 2].
  virtual void AddExpCones(int num, const int* types, const int* idx) = 0;
  // Replaces the whole problem by a conic one in standard form (the arguments are those of the
  // solver library's conic load); objects held from before stand for nothing afterwards.
  virtual void LoadConeMatrix(int nCol, int nRow, int nFree, int nPositive, int nCone, int nRotateCone,
                              int nPrimalExp, int nDualExp, const int* coneDim, int objSense, double objConst,
                              const double* obj, const int* colBeg, const int* colCnt, const int* colIdx,
                              const double* colVal, const double* rowLower, const double* rowUpper,
                              const char* colTypes) = 0;
  // Values and duals of every PSD variable, and slacks and duals of every LMI constraint, after a
  // solve: each matrix packed as its lower triangle column by column, one after another.
  virtual void GetPsdSolution(std::vector<double>& values, std::vector<double>& duals) = 0;
  virtual void GetLmiSolution(std::vector<double>& slacks, std::vector<double>& duals) = 0;

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
  virtual ISos* GetSos(int idx) = 0;
  virtual ISosArray* GetSoss() = 0;
  // One builder per listed SOS: type, variables and weights as the solver holds them.
  virtual ISosBuilderArray* GetSosBuilders(const ISosArray* soss) = 0;
  virtual IGenConstr* GetGenConstr(int idx) = 0;
  virtual IGenConstr* GetGenConstrByName(const char* name) = 0;
  virtual IGenConstrArray* GetGenConstrs() = 0;
  virtual void SetGenConstrNames(const IGenConstrArray* constrs, const char* names, std::size_t size) = 0;
  // The indicator as a builder: its expression holds the row's terms and minus its bound.
  virtual IGenConstrBuilder* GetGenConstrIndicator(const IGenConstr* constr) = 0;
  virtual ICone* GetCone(int idx) = 0;
  virtual IConeArray* GetCones() = 0;
  virtual IConeBuilderArray* GetConeBuilders(const IConeArray* cones) = 0;
  virtual IExpCone* GetExpCone(int idx) = 0;
  virtual IExpConeArray* GetExpCones() = 0;
  virtual IExpConeBuilderArray* GetExpConeBuilders(const IExpConeArray* cones) = 0;
  // Affine cones (GetAffineCone ... GetAffineConeBuilder) join here once matrix expressions exist.
  virtual INlConstraint* GetNlConstr(int idx) = 0;
  virtual INlConstraint* GetNlConstrByName(const char* name) = 0;
  virtual INlConstrArray* GetNlConstrs() = 0;
  virtual void SetNlConstrNames(const INlConstrArray* constrs, const char* names, std::size_t size) = 0;
  virtual IQConstraint* GetQConstr(int idx) = 0;
  virtual IQConstraint* GetQConstrByName(const char* name) = 0;
  virtual IQConstrArray* GetQConstrs() = 0;
  virtual void SetQConstrNames(const IQConstrArray* constrs, const char* names, std::size_t size) = 0;
  // The terms of a quadratic row (constant 0; the right-hand side is the constraint's GetRhs).
  virtual IQuadExpr* GetQuadRow(const IQConstraint* constr) = 0;
  virtual IPsdVar* GetPsdVar(int idx) = 0;
  virtual IPsdVar* GetPsdVarByName(const char* name) = 0;
  virtual IPsdVarArray* GetPsdVars() = 0;
  virtual void SetPsdVarNames(const IPsdVarArray* vars, const char* names, std::size_t size) = 0;
  virtual IPsdConstraint* GetPsdConstr(int idx) = 0;
  virtual IPsdConstraint* GetPsdConstrByName(const char* name) = 0;
  virtual IPsdConstrArray* GetPsdConstrs() = 0;
  virtual void SetPsdConstrNames(const IPsdConstrArray* constrs, const char* names, std::size_t size) = 0;
  // The row's linear and PSD terms (constant 0), over the model's variables and stored matrices.
  virtual IPsdExpr* GetPsdRow(const IPsdConstraint* constr) = 0;
  virtual ILmiConstraint* GetLmiConstr(int idx) = 0;
  virtual ILmiConstraint* GetLmiConstrByName(const char* name) = 0;
  virtual ILmiConstrArray* GetLmiConstrs() = 0;
  virtual void SetLmiConstrNames(const ILmiConstrArray* constrs, const char* names, std::size_t size) = 0;
  virtual ILmiExpr* GetLmiRow(const ILmiConstraint* constr) = 0;

  // --- Objectives. sense: 1 minimise, -1 maximise.
  virtual void SetObjSense(int sense) = 0;
  virtual void SetObjConst(double value) = 0;
  // Coefficients, constant and sense from a linear expression (merged in place).
  virtual void SetObjective(IExpr* expr, int sense) = 0;
  // The linear terms (merged in place), constant and sense of a quadratic expression; its
  // quadratic terms are not used and the stored ones stay (SetQuadObjective sets them).
  virtual void SetObjective(IQuadExpr* expr, int sense) = 0;
  // Replaces every coefficient: the listed columns get the values, the others 0.
  virtual void SetObjective(int num, const int* list, const double* values) = 0;
  virtual IExpr* GetObjective() = 0;
  // Multi-objective index: lexicographic by priority (higher first), blended by weight within a
  // priority, each level kept within its tolerances.
  virtual void SetObjective(int index, IExpr* expr, int sense, double priority, double weight, double absTol,
                            double relTol) = 0;
  virtual IExpr* GetObjective(int index) = 0;
  virtual void DelObjective(int index) = 0;
  virtual void SetObjParam(int index, const char* name, double value) = 0;
  virtual void SetObjDblParam(int index, const char* name, double value) = 0;
  virtual void SetObjIntParam(int index, const char* name, int value) = 0;
  virtual double GetObjParam(int index, const char* name) = 0;
  virtual double GetObjDblParam(int index, const char* name) = 0;
  virtual int GetObjIntParam(int index, const char* name) = 0;
  virtual double GetObjDblAttr(int index, const char* name) = 0;
  virtual int GetObjIntAttr(int index, const char* name) = 0;
  virtual void ResetObjParam(int index) = 0;
  virtual void ResetObjParams(int index) = 0;
  virtual double GetPoolObjVal(int index, int solIndex) = 0;
  // The nonlinear part of the objective from the expression's program, and its linear part,
  // constant and sense as SetObjective does with a linear expression.
  virtual void SetNlObjective(INlExpr* expr, int sense) = 0;
  // The linear part of the objective and its nonlinear part.
  virtual INlExpr* GetNlObjective() = 0;
  // Removes the nonlinear part of the objective; the rest stays.
  virtual void DelNlObjective() = 0;
  // The whole objective from a quadratic expression: linear terms (merged in place), constant,
  // sense and the quadratic terms as they are. The linear form leaves no quadratic terms.
  virtual void SetQuadObjective(IQuadExpr* expr, int sense) = 0;
  virtual void SetQuadObjective(IExpr* expr, int sense) = 0;
  // The whole objective: linear terms, constant and quadratic terms.
  virtual IQuadExpr* GetQuadObjective() = 0;
  // Removes the quadratic terms of the objective; the linear part stays.
  virtual void DelQuadObjective() = 0;
  // The objective with PSD terms: linear coefficients, constant, sense, and one matrix per PSD
  // variable (terms of one variable combined). DelPsdObjective removes the PSD terms only.
  virtual void SetPsdObjective(IPsdExpr* expr, int sense) = 0;
  virtual IPsdExpr* GetPsdObjective() = 0;
  virtual void DelPsdObjective() = 0;

  // --- MIP starts: values are kept by variable until LoadMipStart hands them to the solver.
  virtual void SetMipStart(int count, const double* values) = 0;
  virtual void SetMipStart(const IVar* var, double value) = 0;
  virtual void SetMipStart(const IVarArray* vars, const double* values) = 0;
  virtual void LoadMipStart() = 0;
  // --- Start values of a continuous nonlinear solve, by column index or by variable.
  virtual void SetNlPrimalStart(int count, const int* idx, const double* values) = 0;
  virtual void SetNlPrimalStart(const IVarArray* vars, const double* values) = 0;
  virtual void SetNlPrimalStart(const IVar* var, double value) = 0;

  // --- Information of variables and constraints by name ("LB", "UB", "Obj", "BranchFactor"; the
  // solution values "Value", "RedCost", "Slack", "Dual" once a solution exists).
  virtual void GetColInfo(const char* name, const IVarArray* vars, std::vector<double>& values) = 0;
  virtual void GetRowInfo(const char* name, const IConstrArray* constrs, std::vector<double>& values) = 0;
  // "LB", "UB", and "Slack" (activity) and "Dual" once a solution exists.
  virtual void GetNlConstrInfo(const char* name, const INlConstrArray* constrs, std::vector<double>& values) = 0;
  // "LB", "UB", and "Slack" (activity) and "Dual" once a solution exists.
  virtual void GetQConstrInfo(const char* name, const IQConstrArray* constrs, std::vector<double>& values) = 0;
  // PSD constraints: "LB", "UB", and "Slack" and "Dual" once a solution exists.
  virtual void GetPsdConstrInfo(const char* name, const IPsdConstrArray* constrs, std::vector<double>& values) = 0;
  virtual void SetColInfo(const char* name, const IVarArray* vars, const double* values, int len) = 0;
  virtual void SetRowInfo(const char* name, const IConstrArray* constrs, const double* values, int len) = 0;
  // "LB" or "UB".
  virtual void SetNlConstrInfo(const char* name, const INlConstrArray* constrs, const double* values, int len) = 0;
  virtual void SetPsdConstrInfo(const char* name, const IPsdConstrArray* constrs, const double* values, int len) = 0;

  // --- Solving.
  virtual void Solve() = 0;
  virtual void SolveLp() = 0;
  virtual void ComputeIIS() = 0;
  // Penalties per object (one entry for all, or none for not relaxable); the other objects of
  // the model are not relaxable.
  virtual void FeasRelax(const IVarArray* vars, const std::vector<double>& colLowPen,
                         const std::vector<double>& colUppPen, const IConstrArray* constrs,
                         const std::vector<double>& rowBndPen, const std::vector<double>& rowUppPen) = 0;
  // Every variable's bounds and/or every constraint relaxable with penalty 1.
  virtual void FeasRelax(int relaxVars, int relaxConstrs) = 0;
  virtual void Tune() = 0;
  virtual void LoadTuneParam(int index) = 0;
  // Safe from another thread while a solve runs; a successful call leaves the model's status as
  // it was, since the solve records into it meanwhile.
  virtual void Interrupt() = 0;

  // --- Removal: marks the objects; the deletion happens at the next operation that needs it.
  // Remove of matrix variables and of matrix linear, quadratic and PSD constraints (0 to 3
  // dimensions each) joins here, before the array forms, once matrix objects exist.
  virtual void Remove(const IVarArray* vars) = 0;
  virtual void Remove(const IConstrArray* constrs) = 0;
  virtual void Remove(const INlConstrArray* constrs) = 0;
  virtual void Remove(const ISosArray* soss) = 0;
  virtual void Remove(const IConeArray* cones) = 0;
  virtual void Remove(const IExpConeArray* cones) = 0;
  // Affine cones (Remove of an affine-cone array) join here once matrix expressions exist.
  virtual void Remove(const IGenConstrArray* constrs) = 0;
  virtual void Remove(const IQConstrArray* constrs) = 0;
  virtual void Remove(const IPsdVarArray* vars) = 0;
  virtual void Remove(const IPsdConstrArray* constrs) = 0;
  virtual void Remove(const ILmiConstrArray* constrs) = 0;

  // --- Housekeeping.
  virtual void ResetParam() = 0;
  // Forgets the results of earlier solves and the information given for the next one.
  virtual void ResetAll() = 0;
  // Forgets the results of earlier solves.
  virtual void Reset() = 0;
  virtual void Clear() = 0;
  // A copy named after this model with "_copy" appended.
  virtual IModel* Clone() = 0;
  // SetCallback joins here with the callbacks.
  // Log destinations of the solver; these return the solver library's code.
  virtual int SetLogFile(const char* path) = 0;
  virtual int SetLogCallback(ILogCallback* sink) = 0;

  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
