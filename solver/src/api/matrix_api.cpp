// Coefficient, objective and bulk-load functions of the C interface.
#include "api/with_problem.h"

using tarq_solver::Problem;
using tarq_solver::VectorList;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_GetElem(tarq_prob* prob, int row, int col, double* val) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetElem(row, col, val); });
}

int TARQ_SetElem(tarq_prob* prob, int row, int col, double val) {
  return WithProblem(prob, [&](Problem& p) { return p.SetElems(1, &row, &col, &val); });
}

int TARQ_SetElems(tarq_prob* prob, int num, const int* rows, const int* cols, const double* vals) {
  return WithProblem(prob, [&](Problem& p) { return p.SetElems(num, rows, cols, vals); });
}

int TARQ_ReplaceColObj(tarq_prob* prob, int num, const int* list, const double* obj) {
  return WithProblem(prob, [&](Problem& p) { return p.ReplaceColObj(num, list, obj); });
}

int TARQ_SetObjSense(tarq_prob* prob, int sense) {
  return WithProblem(prob, [&](Problem& p) { return p.SetObjSense(sense); });
}

int TARQ_SetObjConst(tarq_prob* prob, double constant) {
  return WithProblem(prob, [&](Problem& p) { return p.SetObjConst(constant); });
}

int TARQ_LoadProb(tarq_prob* prob, int nCol, int nRow, int objSense, double objConst, const double* obj,
                  const int* colBeg, const int* colCnt, const int* colIdx, const double* colVal, const char* types,
                  const double* colLower, const double* colUpper, const char* rowSenses, const double* rowBound,
                  const double* rowUpper, const char* const* colNames, const char* const* rowNames) {
  return WithProblem(prob, [&](Problem& p) {
    tarq_solver::LoadArgs args;
    args.nCol = nCol;
    args.nRow = nRow;
    args.objSense = objSense;
    args.objConst = objConst;
    args.obj = obj;
    args.cols = VectorList{nCol, colBeg, colCnt, colIdx, colVal};
    args.types = types;
    args.colLower = colLower;
    args.colUpper = colUpper;
    args.rowSense = rowSenses;
    args.rowBound = rowBound;
    args.rowUpper = rowUpper;
    args.colNames = colNames;
    args.rowNames = rowNames;
    return p.Load(args);
  });
}

}  // extern "C"
