// TarqModel: the implementation of Tarq::IModel. Its operations are defined in the model_*.cpp
// files, one per family, each working on the internal ModelData.
#pragma once

#include "model/model.h"
#include "psdnl/lmi.h"
#include "psdnl/psd_expr.h"
#include "tarq/model.h"

class TarqModel final : public Tarq::detail::Handled<Tarq::IModel, Tarq::detail::ModelData> {
 public:
  using Handled::Handled;

  // Files (model_files.cpp).
  void Read(const char* name) override;
  void ReadMps(const char* name) override;
  void ReadLp(const char* name) override;
  void ReadSdpa(const char* name) override;
  void ReadCbf(const char* name) override;
  void ReadBin(const char* name) override;
  void ReadSol(const char* name) override;
  void ReadJsonSol(const char* name) override;
  void ReadBasis(const char* name) override;
  void ReadMst(const char* name) override;
  void ReadOrd(const char* name) override;
  void ReadParam(const char* name) override;
  void ReadTune(const char* name) override;
  void Write(const char* name) override;
  void WriteMps(const char* name) override;
  void WriteMpsStr(Tarq::IProbBuffer* buffer) override;
  void WriteLp(const char* name) override;
  void WriteCbf(const char* name) override;
  void WriteBin(const char* name) override;
  void WriteNl(const char* name) override;
  void WriteIIS(const char* name) override;
  void WriteRelax(const char* name) override;
  void WriteSol(const char* name) override;
  void WriteJsonSol(const char* name) override;
  void WritePoolSol(int index, const char* name) override;
  void WriteBasis(const char* name) override;
  void WriteMst(const char* name) override;
  void WriteOrd(const char* name) override;
  void WriteParam(const char* name) override;
  void WriteTuneParam(int index, const char* name) override;

  // Parameters and attributes (model_params.cpp).
  void GetIntParamInfo(const char* name, int* current, int* def, int* min, int* max) override;
  void GetDblParamInfo(const char* name, double* current, double* def, double* min, double* max) override;
  int GetIntParam(const char* name) override;
  double GetDblParam(const char* name) override;
  void SetIntParam(const char* name, int value) override;
  void SetDblParam(const char* name, double value) override;
  int GetIntAttr(const char* name) override;
  double GetDblAttr(const char* name) override;
  int SearchParamAttr(const char* name) override;

  // Variables (model_vars.cpp).
  Tarq::IVar* AddVar(double lb, double ub, double obj, char type, const char* name) override;
  Tarq::IVar* AddVar(double lb, double ub, double obj, char type, Tarq::IColumn* col, const char* name) override;
  Tarq::IVarArray* AddVars(int count, char type, const char* prefix) override;
  Tarq::IVarArray* AddVars(int count, double lb, double ub, double obj, char type, const char* prefix) override;
  Tarq::IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                           const char* prefix) override;
  Tarq::IVar* AddVar(double lb, double ub, double obj, char type, int nnz, const int* rows, const double* vals,
                     const char* name) override;
  Tarq::IVarArray* AddVars(int count, char type, const char* names, std::size_t size) override;
  Tarq::IVarArray* AddVars(int count, double lb, double ub, double obj, char type, const char* names,
                           std::size_t size) override;
  Tarq::IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                           const char* names, std::size_t size) override;
  Tarq::IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                           Tarq::IColumnArray* cols) override;
  Tarq::IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                           Tarq::IColumnArray* cols, const char* prefix) override;
  Tarq::IVarArray* AddVars(int count, const double* lb, const double* ub, const double* obj, const char* types,
                           const int* beg, const int* cnt, const int* idx, const double* val,
                           const char* prefix) override;

  // Constraints (model_constrs.cpp).
  Tarq::IConstraint* AddConstr(Tarq::IExpr* expr, char sense, double rhs, const char* name) override;
  Tarq::IConstraint* AddConstr(Tarq::IExpr* expr, double lb, double ub, const char* name) override;
  Tarq::IConstraint* AddConstr(int nnz, const int* cols, const double* vals, char sense, double rhs,
                               const char* name) override;
  Tarq::IConstraint* AddConstr(int nnz, const int* cols, const double* vals, double lb, double ub,
                               const char* name) override;
  Tarq::IConstraint* AddConstr(Tarq::IConstrBuilder* builder, const char* name) override;
  Tarq::IConstrArray* AddConstrs(Tarq::IConstrBuilderArray* builders, const char* prefix) override;
  Tarq::IConstrArray* AddConstrs(const std::vector<Tarq::IExpr*>& exprs, const char* senses, const double* rhs,
                                 const char* prefix) override;
  Tarq::IConstrArray* AddConstrs(int count, const char* senses, const double* rhs, const char* prefix) override;
  Tarq::IConstrArray* AddConstrs(int count, const char* senses, const double* rhs, const int* beg, const int* cnt,
                                 const int* idx, const double* val, const char* prefix) override;

  // Nonlinear constraints (model_nlconstrs.cpp).
  Tarq::INlConstraint* AddNlConstr(Tarq::INlExpr* expr, char sense, double rhs, const char* name) override;
  Tarq::INlConstraint* AddNlConstr(Tarq::IExpr* lhs, char sense, Tarq::INlExpr* rhs, const char* name) override;
  Tarq::INlConstraint* AddNlConstr(Tarq::INlExpr* expr, double lb, double ub, const char* name) override;
  Tarq::INlConstraint* AddNlConstr(Tarq::INlConstrBuilder* builder, const char* name) override;
  Tarq::INlConstrArray* AddNlConstrs(Tarq::INlConstrBuilderArray* builders, const char* prefix) override;

  // SOS, indicators, cones and exponential cones (model_sos_cone_add.cpp).
  Tarq::ISos* AddSos(const Tarq::IVarArray* vars, const double* weights, int type) override;
  Tarq::ISos* AddSos(Tarq::ISosBuilder* builder) override;
  Tarq::ISosArray* AddSoss(Tarq::ISosBuilderArray* builders) override;
  Tarq::IGenConstr* AddGenConstrIndicator(Tarq::IGenConstrBuilder* builder, const char* name) override;
  Tarq::IGenConstr* AddGenConstrIndicator(Tarq::IVar* binVar, int binVal, Tarq::IConstrBuilder* builder, int type,
                                          const char* name) override;
  Tarq::IGenConstr* AddGenConstrIndicator(Tarq::IVar* binVar, int binVal, Tarq::IExpr* expr, char sense, double rhs,
                                          int type, const char* name) override;
  Tarq::IGenConstrArray* AddGenConstrIndicator(Tarq::IGenConstrBuilderArray* builders, const char* prefix) override;
  Tarq::ICone* AddCone(Tarq::IConeBuilder* builder) override;
  Tarq::ICone* AddCone(const Tarq::IVarArray* vars, int type) override;
  Tarq::IConeArray* AddCone(Tarq::IConeBuilderArray* builders) override;
  Tarq::IExpCone* AddExpCone(Tarq::IExpConeBuilder* builder) override;
  Tarq::IExpCone* AddExpCone(const Tarq::IVarArray* vars, int type) override;
  Tarq::IExpConeArray* AddExpCone(Tarq::IExpConeBuilderArray* builders) override;

  // Quadratic constraints (model_qconstrs.cpp).
  Tarq::IQConstraint* AddQConstr(Tarq::IQuadExpr* expr, char sense, double rhs, const char* name) override;
  Tarq::IQConstraint* AddQConstr(Tarq::IQuadExpr* lhs, Tarq::IQuadExpr* rhs, char sense, const char* name) override;
  Tarq::IQConstraint* AddQConstr(Tarq::IQConstrBuilder* builder, const char* name) override;
  Tarq::IQConstraint* AddQConstr(int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                                 const int* quadRow, const int* quadCol, const double* quadVal, char sense, double rhs,
                                 const char* name) override;
  // PSD variables, PSD and LMI constraints (model_psd.cpp).
  Tarq::IPsdVar* AddPsdVar(int dim, const char* name) override;
  Tarq::IPsdVarArray* AddPsdVars(int count, const int* dims, const char* prefix) override;
  Tarq::IPsdConstraint* AddPsdConstr(Tarq::IPsdExpr* expr, char sense, double rhs, const char* name) override;
  Tarq::IPsdConstraint* AddPsdConstr(Tarq::IPsdExpr* expr, double lb, double ub, const char* name) override;
  Tarq::IPsdConstraint* AddPsdConstr(Tarq::IPsdConstrBuilder* builder, const char* name) override;
  Tarq::ILmiConstraint* AddLmiConstr(Tarq::ILmiExpr* expr, const char* name) override;

  // Symmetric matrices (model_sym_mats.cpp).
  Tarq::ISymMatrix* AddSymMat(int dim, int nz, const int* rows, const int* cols, const double* vals) override;
  Tarq::ISymMatrix* AddSparseMat(int dim, int nz, const int* rows, const int* cols, const double* vals) override;
  Tarq::ISymMatrix* AddDenseMat(int dim, const double* values, int count) override;
  Tarq::ISymMatrix* AddOnesMat(int dim, double value) override;
  Tarq::ISymMatrix* AddDiagMat(int dim, const double* values, int count) override;
  Tarq::ISymMatrix* AddDiagMat(int dim, double value) override;
  Tarq::ISymMatrix* AddDiagMat(int dim, const double* values, int count, int offset) override;
  Tarq::ISymMatrix* AddDiagMat(int dim, double value, int offset) override;
  Tarq::ISymMatrix* AddOnesMat(int dim) override;
  Tarq::ISymMatrix* AddEyeMat(int dim) override;
  Tarq::ISymMatrix* AddSymMat(Tarq::ISymMatExpr* expr) override;
  Tarq::ISymMatrix* GetSymMat(int idx) override;

  // Results (model_results.cpp).
  void GetSolution(double* values) override;
  void GetLpSolution(double* values, double* slack, double* duals, double* redcost) override;
  void SetLpSolution(const double* values, const double* slack, const double* duals, const double* redcost) override;
  void GetColBasis(int* basis) override;
  void GetRowBasis(int* basis) override;
  void SetBasis(const int* colBasis, const int* rowBasis) override;
  void SetSlackBasis() override;
  double GetPoolObjVal(int solIndex) override;
  void GetPoolSolution(int solIndex, const Tarq::IVarArray* vars, std::vector<double>& values) override;
  void GetColLowerIIS(const Tarq::IVarArray* vars, std::vector<int>& status) override;
  void GetColUpperIIS(const Tarq::IVarArray* vars, std::vector<int>& status) override;
  void GetRowLowerIIS(const Tarq::IConstrArray* constrs, std::vector<int>& status) override;
  void GetRowUpperIIS(const Tarq::IConstrArray* constrs, std::vector<int>& status) override;
  void GetSOSIIS(const Tarq::ISosArray* soss, std::vector<int>& status) override;  // model_sos_cone_access.cpp
  void GetIndicatorIIS(const Tarq::IGenConstrArray* constrs, std::vector<int>& status) override;

  // Coefficients and the matrix (model_coeffs.cpp).
  double GetCoeff(const Tarq::IConstraint* constr, const Tarq::IVar* var) override;
  void SetCoeff(const Tarq::IConstraint* constr, const Tarq::IVar* var, double value) override;
  void SetCoeffs(const Tarq::IConstrArray* constrs, const Tarq::IVarArray* vars, const double* values,
                 int len) override;
  // Semidefinite coefficients and solutions (model_psd_coeffs.cpp).
  Tarq::ISymMatrix* GetPsdCoeff(const Tarq::IPsdConstraint* constr, const Tarq::IPsdVar* var) override;
  void SetPsdCoeff(const Tarq::IPsdConstraint* constr, const Tarq::IPsdVar* var, const Tarq::ISymMatrix* mat) override;
  Tarq::ISymMatrix* GetLmiCoeff(const Tarq::ILmiConstraint* constr, const Tarq::IVar* var) override;
  void SetLmiCoeff(const Tarq::ILmiConstraint* constr, const Tarq::IVar* var, const Tarq::ISymMatrix* mat) override;
  Tarq::ISymMatrix* GetLmiRhs(const Tarq::ILmiConstraint* constr) override;
  void SetLmiRhs(const Tarq::ILmiConstraint* constr, const Tarq::ISymMatrix* mat) override;
  void GetColMatrix(std::vector<int>& beg, std::vector<int>& cnt, std::vector<int>& idx,
                    std::vector<double>& val) override;
  void LoadMatrix(int nCol, int nRow, int objSense, double objConst, const double* obj, const int* colBeg,
                  const int* colCnt, const int* colIdx, const double* colVal, const char* types,
                  const double* colLower, const double* colUpper, const char* rowSenses, const double* rowBound,
                  const double* rowUpper, const char* const* colNames, const char* const* rowNames) override;
  void SetQuadObjective(int num, const int* rows, const int* cols, const double* vals) override;  // model_objective.cpp
  // model_sos_cone_add.cpp
  void AddCones(int num, const int* types, const int* beg, const int* cnt, const int* idx) override;
  void AddExpCones(int num, const int* types, const int* idx) override;
  void LoadConeMatrix(int nCol, int nRow, int nFree, int nPositive, int nCone, int nRotateCone, int nPrimalExp,
                      int nDualExp, const int* coneDim, int objSense, double objConst, const double* obj,
                      const int* colBeg, const int* colCnt, const int* colIdx, const double* colVal,
                      const double* rowLower, const double* rowUpper, const char* colTypes) override;
  void GetPsdSolution(std::vector<double>& values, std::vector<double>& duals) override;
  void GetLmiSolution(std::vector<double>& slacks, std::vector<double>& duals) override;

  // Getting and naming (model_access.cpp).
  Tarq::IVar* GetVar(int idx) override;
  Tarq::IVar* GetVarByName(const char* name) override;
  Tarq::IVarArray* GetVars() override;
  void SetVarNames(const Tarq::IVarArray* vars, const char* names, std::size_t size) override;
  Tarq::IColumn* GetCol(const Tarq::IVar* var) override;
  Tarq::IConstraint* GetConstr(int idx) override;
  Tarq::IConstraint* GetConstrByName(const char* name) override;
  Tarq::IConstrArray* GetConstrs() override;
  void SetConstrNames(const Tarq::IConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::IExpr* GetRow(const Tarq::IConstraint* constr) override;
  Tarq::IConstrBuilder* GetConstrBuilder(const Tarq::IConstraint* constr) override;
  // model_sos_cone_access.cpp
  Tarq::ISos* GetSos(int idx) override;
  Tarq::ISosArray* GetSoss() override;
  Tarq::ISosBuilderArray* GetSosBuilders(const Tarq::ISosArray* soss) override;
  Tarq::IGenConstr* GetGenConstr(int idx) override;
  Tarq::IGenConstr* GetGenConstrByName(const char* name) override;
  Tarq::IGenConstrArray* GetGenConstrs() override;
  void SetGenConstrNames(const Tarq::IGenConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::IGenConstrBuilder* GetGenConstrIndicator(const Tarq::IGenConstr* constr) override;
  Tarq::ICone* GetCone(int idx) override;
  Tarq::IConeArray* GetCones() override;
  Tarq::IConeBuilderArray* GetConeBuilders(const Tarq::IConeArray* cones) override;
  Tarq::IExpCone* GetExpCone(int idx) override;
  Tarq::IExpConeArray* GetExpCones() override;
  Tarq::IExpConeBuilderArray* GetExpConeBuilders(const Tarq::IExpConeArray* cones) override;
  Tarq::INlConstraint* GetNlConstr(int idx) override;  // model_nlconstrs.cpp
  Tarq::INlConstraint* GetNlConstrByName(const char* name) override;
  Tarq::INlConstrArray* GetNlConstrs() override;
  void SetNlConstrNames(const Tarq::INlConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::IQConstraint* GetQConstr(int idx) override;  // model_qconstrs.cpp
  Tarq::IQConstraint* GetQConstrByName(const char* name) override;
  Tarq::IQConstrArray* GetQConstrs() override;
  void SetQConstrNames(const Tarq::IQConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::IQuadExpr* GetQuadRow(const Tarq::IQConstraint* constr) override;
  // Getting and naming semidefinite objects (model_psd_access.cpp).
  Tarq::IPsdVar* GetPsdVar(int idx) override;
  Tarq::IPsdVar* GetPsdVarByName(const char* name) override;
  Tarq::IPsdVarArray* GetPsdVars() override;
  void SetPsdVarNames(const Tarq::IPsdVarArray* vars, const char* names, std::size_t size) override;
  Tarq::IPsdConstraint* GetPsdConstr(int idx) override;
  Tarq::IPsdConstraint* GetPsdConstrByName(const char* name) override;
  Tarq::IPsdConstrArray* GetPsdConstrs() override;
  void SetPsdConstrNames(const Tarq::IPsdConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::IPsdExpr* GetPsdRow(const Tarq::IPsdConstraint* constr) override;
  Tarq::ILmiConstraint* GetLmiConstr(int idx) override;
  Tarq::ILmiConstraint* GetLmiConstrByName(const char* name) override;
  Tarq::ILmiConstrArray* GetLmiConstrs() override;
  void SetLmiConstrNames(const Tarq::ILmiConstrArray* constrs, const char* names, std::size_t size) override;
  Tarq::ILmiExpr* GetLmiRow(const Tarq::ILmiConstraint* constr) override;

  // Objectives (model_objective.cpp).
  void SetObjSense(int sense) override;
  void SetObjConst(double value) override;
  void SetObjective(Tarq::IExpr* expr, int sense) override;
  void SetObjective(Tarq::IQuadExpr* expr, int sense) override;
  void SetObjective(int num, const int* list, const double* values) override;
  Tarq::IExpr* GetObjective() override;
  void SetObjective(int index, Tarq::IExpr* expr, int sense, double priority, double weight, double absTol,
                    double relTol) override;
  Tarq::IExpr* GetObjective(int index) override;
  void DelObjective(int index) override;
  void SetObjParam(int index, const char* name, double value) override;
  void SetObjDblParam(int index, const char* name, double value) override;
  void SetObjIntParam(int index, const char* name, int value) override;
  double GetObjParam(int index, const char* name) override;
  double GetObjDblParam(int index, const char* name) override;
  int GetObjIntParam(int index, const char* name) override;
  double GetObjDblAttr(int index, const char* name) override;
  int GetObjIntAttr(int index, const char* name) override;
  void ResetObjParam(int index) override;
  void ResetObjParams(int index) override;
  double GetPoolObjVal(int index, int solIndex) override;
  void SetNlObjective(Tarq::INlExpr* expr, int sense) override;
  Tarq::INlExpr* GetNlObjective() override;
  void DelNlObjective() override;
  void SetQuadObjective(Tarq::IQuadExpr* expr, int sense) override;
  void SetQuadObjective(Tarq::IExpr* expr, int sense) override;
  Tarq::IQuadExpr* GetQuadObjective() override;
  void DelQuadObjective() override;
  // PSD objective (model_psd_coeffs.cpp).
  void SetPsdObjective(Tarq::IPsdExpr* expr, int sense) override;
  Tarq::IPsdExpr* GetPsdObjective() override;
  void DelPsdObjective() override;

  // Starts, solving, resets and logs (model_solve.cpp).
  void SetMipStart(int count, const double* values) override;
  void SetMipStart(const Tarq::IVar* var, double value) override;
  void SetMipStart(const Tarq::IVarArray* vars, const double* values) override;
  void LoadMipStart() override;
  void SetNlPrimalStart(int count, const int* idx, const double* values) override;  // model_nlconstrs.cpp
  void SetNlPrimalStart(const Tarq::IVarArray* vars, const double* values) override;
  void SetNlPrimalStart(const Tarq::IVar* var, double value) override;
  void Solve() override;
  void SolveLp() override;
  void ComputeIIS() override;
  void FeasRelax(const Tarq::IVarArray* vars, const std::vector<double>& colLowPen,
                 const std::vector<double>& colUppPen, const Tarq::IConstrArray* constrs,
                 const std::vector<double>& rowBndPen, const std::vector<double>& rowUppPen) override;
  void FeasRelax(int relaxVars, int relaxConstrs) override;
  void Tune() override;
  void LoadTuneParam(int index) override;
  void Interrupt() override;
  void ResetAll() override;
  void Reset() override;
  int SetLogFile(const char* path) override;
  int SetLogCallback(Tarq::ILogCallback* sink) override;

  // Information by name (model_params.cpp).
  void GetColInfo(const char* name, const Tarq::IVarArray* vars, std::vector<double>& values) override;
  void GetRowInfo(const char* name, const Tarq::IConstrArray* constrs, std::vector<double>& values) override;
  void GetNlConstrInfo(const char* name, const Tarq::INlConstrArray* constrs,
                       std::vector<double>& values) override;  // model_nlconstrs.cpp
  void GetQConstrInfo(const char* name, const Tarq::IQConstrArray* constrs,
                      std::vector<double>& values) override;
  void GetPsdConstrInfo(const char* name, const Tarq::IPsdConstrArray* constrs, std::vector<double>& values) override;
  void SetColInfo(const char* name, const Tarq::IVarArray* vars, const double* values, int len) override;
  void SetRowInfo(const char* name, const Tarq::IConstrArray* constrs, const double* values, int len) override;
  void SetNlConstrInfo(const char* name, const Tarq::INlConstrArray* constrs, const double* values,
                       int len) override;  // model_nlconstrs.cpp
  void SetPsdConstrInfo(const char* name, const Tarq::IPsdConstrArray* constrs, const double* values,
                        int len) override;

  // Removal and housekeeping (model_housekeeping.cpp, ResetParam in model_params.cpp).
  void Remove(const Tarq::IVarArray* vars) override;
  void Remove(const Tarq::IConstrArray* constrs) override;
  void Remove(const Tarq::INlConstrArray* constrs) override;  // model_nlconstrs.cpp
  void Remove(const Tarq::ISosArray* soss) override;  // model_sos_cone_access.cpp
  void Remove(const Tarq::IConeArray* cones) override;
  void Remove(const Tarq::IExpConeArray* cones) override;
  void Remove(const Tarq::IGenConstrArray* constrs) override;
  void Remove(const Tarq::IQConstrArray* constrs) override;
  void Remove(const Tarq::IPsdVarArray* vars) override;
  void Remove(const Tarq::IPsdConstrArray* constrs) override;
  void Remove(const Tarq::ILmiConstrArray* constrs) override;
  void ResetParam() override;
  void Clear() override;
  Tarq::IModel* Clone() override;

  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};
