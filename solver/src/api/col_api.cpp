// Column functions of the C interface.
#include "api/with_problem.h"

using tarq_solver::Axis;
using tarq_solver::Problem;
using tarq_solver::VectorList;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_AddCol(tarq_prob* prob, double obj, int nnz, const int* rows, const double* vals, char type, double lb,
                double ub, const char* name) {
  if (nnz < 0) return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) {
    const int beg[2] = {0, nnz};
    VectorList list{1, beg, nullptr, rows, vals};
    return p.AddCols(1, &obj, list, &type, &lb, &ub, &name);
  });
}

int TARQ_AddCols(tarq_prob* prob, int num, const double* obj, const int* beg, const int* cnt, const int* idx,
                 const double* val, const char* types, const double* lb, const double* ub, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddCols(num, obj, VectorList{num, beg, cnt, idx, val}, types, lb, ub, names);
  });
}

int TARQ_DelCols(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.Delete(Axis::kCol, num, list); });
}

int TARQ_GetCols(tarq_prob* prob, int num, const int* list, int* beg, int* cnt, int* idx, double* val, int size,
                 int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.GetVectors(Axis::kCol, num, list, beg, cnt, idx, val, size, pReqSize);
  });
}

int TARQ_SetColLower(tarq_prob* prob, int num, const int* list, const double* lb) {
  return WithProblem(prob, [&](Problem& p) { return p.SetColBounds(true, num, list, lb); });
}

int TARQ_SetColUpper(tarq_prob* prob, int num, const int* list, const double* ub) {
  return WithProblem(prob, [&](Problem& p) { return p.SetColBounds(false, num, list, ub); });
}

int TARQ_SetColObj(tarq_prob* prob, int num, const int* list, const double* obj) {
  return WithProblem(prob, [&](Problem& p) { return p.SetColObj(num, list, obj); });
}

int TARQ_SetColBranchFactors(tarq_prob* prob, int num, const int* list, const double* factors) {
  return WithProblem(prob, [&](Problem& p) { return p.SetBranchFactors(num, list, factors); });
}

int TARQ_SetColType(tarq_prob* prob, int num, const int* list, const char* types) {
  return WithProblem(prob, [&](Problem& p) { return p.SetColTypes(num, list, types); });
}

int TARQ_GetColType(tarq_prob* prob, int num, const int* list, char* types) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetColTypes(num, list, types); });
}

int TARQ_GetColInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetColInfo(name, num, list, values); });
}

int TARQ_SetColNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNames(Axis::kCol, num, list, names); });
}

int TARQ_GetColName(tarq_prob* prob, int col, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetName(Axis::kCol, col, buf, len, pReqSize); });
}

int TARQ_GetColIdx(tarq_prob* prob, const char* name, int* col) {
  return ReadProblem(prob, [&](Problem& p) { return p.FindName(Axis::kCol, name, col); });
}

}  // extern "C"
