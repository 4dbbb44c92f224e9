// Row functions of the C interface.
#include "api/with_problem.h"

using tarq_solver::Axis;
using tarq_solver::Problem;
using tarq_solver::VectorList;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_AddRow(tarq_prob* prob, int nnz, const int* cols, const double* vals, char sense, double bound, double upper,
                const char* name) {
  if (nnz < 0) return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) { return p.AddRow(nnz, cols, vals, sense, bound, upper, name); });
}

int TARQ_AddRows(tarq_prob* prob, int num, const int* beg, const int* cnt, const int* idx, const double* val,
                 const char* senses, const double* bound, const double* upper, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddRows(num, VectorList{num, beg, cnt, idx, val}, senses, bound, upper, names);
  });
}

int TARQ_DelRows(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.Delete(Axis::kRow, num, list); });
}

int TARQ_GetRows(tarq_prob* prob, int num, const int* list, int* beg, int* cnt, int* idx, double* val, int size,
                 int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.GetVectors(Axis::kRow, num, list, beg, cnt, idx, val, size, pReqSize);
  });
}

int TARQ_SetRowLower(tarq_prob* prob, int num, const int* list, const double* lb) {
  return WithProblem(prob, [&](Problem& p) { return p.SetRowBounds(true, num, list, lb); });
}

int TARQ_SetRowUpper(tarq_prob* prob, int num, const int* list, const double* ub) {
  return WithProblem(prob, [&](Problem& p) { return p.SetRowBounds(false, num, list, ub); });
}

int TARQ_GetRowInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetRowInfo(name, num, list, values); });
}

int TARQ_SetRowNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNames(Axis::kRow, num, list, names); });
}

int TARQ_GetRowName(tarq_prob* prob, int row, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetName(Axis::kRow, row, buf, len, pReqSize); });
}

int TARQ_GetRowIdx(tarq_prob* prob, const char* name, int* row) {
  return ReadProblem(prob, [&](Problem& p) { return p.FindName(Axis::kRow, name, row); });
}

}  // extern "C"
