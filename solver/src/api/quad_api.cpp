// Quadratic objective and quadratic-row functions of the C interface (tarq_quad.h).
#include "api/with_problem.h"
#include "store/named_objects.h"

using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::VectorList;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_SetQuadObj(tarq_prob* prob, int num, const int* rows, const int* cols, const double* vals) {
  return WithProblem(prob, [&](Problem& p) { return p.SetQuadObj(num, rows, cols, vals); });
}

int TARQ_GetQuadObj(tarq_prob* prob, int size, int* pNum, int* rows, int* cols, double* vals) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetQuadObj(size, pNum, rows, cols, vals); });
}

int TARQ_DelQuadObj(tarq_prob* prob) {
  return WithProblem(prob, [&](Problem& p) { return p.SetQuadObj(0, nullptr, nullptr, nullptr); });
}

int TARQ_AddQConstr(tarq_prob* prob, int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                    const int* quadRow, const int* quadCol, const double* quadVal, char sense, double rhs,
                    const char* name) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddQConstr(linNnz, linIdx, linVal, quadNnz, quadRow, quadCol, quadVal, sense, rhs, name);
  });
}

int TARQ_AddQConstrs(tarq_prob* prob, int num, const int* linBeg, const int* linCnt, const int* linIdx,
                     const double* linVal, const int* quadBeg, const int* quadCnt, const int* quadRow,
                     const int* quadCol, const double* quadVal, const char* senses, const double* rhs,
                     const char* const* names) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddQConstrs(num, VectorList{num, linBeg, linCnt, linIdx, linVal},
                         VectorList{num, quadBeg, quadCnt, quadRow, quadVal}, quadCol, senses, rhs, names);
  });
}

int TARQ_DelQConstrs(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelQConstrs(num, list); });
}

int TARQ_GetQConstr(tarq_prob* prob, int qrow, int linSize, int quadSize, int* pLinNnz, int* linIdx, double* linVal,
                    int* pQuadNnz, int* quadRow, int* quadCol, double* quadVal) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.GetQConstr(qrow, linSize, quadSize, pLinNnz, linIdx, linVal, pQuadNnz, quadRow, quadCol, quadVal);
  });
}

int TARQ_GetQConstrRhs(tarq_prob* prob, int num, const int* list, double* rhs) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetQConstrRhs(num, list, rhs); });
}

int TARQ_SetQConstrRhs(tarq_prob* prob, int num, const int* list, const double* rhs) {
  return WithProblem(prob, [&](Problem& p) { return p.SetQConstrRhs(num, list, rhs); });
}

int TARQ_GetQConstrSense(tarq_prob* prob, int num, const int* list, char* senses) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetQConstrSense(num, list, senses); });
}

int TARQ_SetQConstrSense(tarq_prob* prob, int num, const int* list, const char* senses) {
  return WithProblem(prob, [&](Problem& p) { return p.SetQConstrSense(num, list, senses); });
}

int TARQ_GetQConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetQConstrInfo(name, num, list, values); });
}

int TARQ_SetQConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) { return tarq_solver::SetListedNames(p.QuadNames(), num, list, names); });
}

int TARQ_GetQConstrName(tarq_prob* prob, int qrow, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::CopyName(p.QuadNames(), qrow, buf, len, pReqSize); });
}

int TARQ_GetQConstrIdx(tarq_prob* prob, const char* name, int* qrow) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::FindNamed(p.QuadNames(), name, qrow); });
}

}  // extern "C"
