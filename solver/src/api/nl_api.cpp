// Nonlinear-row, nonlinear-objective and primal-start functions of the C interface
// (tarq_nonlinear.h).
#include "api/with_problem.h"
#include "io/formats.h"
#include "store/named_objects.h"

using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::VectorList;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_AddNLConstr(tarq_prob* prob, int nToken, int nConst, const int* tokens, const double* consts, int linNnz,
                     const int* linIdx, const double* linVal, char sense, double bound, double upper,
                     const char* name) {
  if (nToken < 0 || nConst < 0 || linNnz < 0) return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) {
    const int tokBeg[2] = {0, nToken};
    const int constBeg[2] = {0, nConst};
    const int linBeg[2] = {0, linNnz};
    const char* senses = sense != 0 ? &sense : nullptr;
    return p.AddNlConstrs(1, VectorList{1, tokBeg, nullptr, tokens, nullptr},
                          VectorList{1, constBeg, nullptr, nullptr, consts},
                          VectorList{1, linBeg, nullptr, linIdx, linVal}, senses, &bound, &upper, &name);
  });
}

int TARQ_AddNLConstrs(tarq_prob* prob, int num, const int* tokBeg, const int* tokCnt, const int* tokens,
                      const int* constBeg, const int* constCnt, const double* consts, const int* linBeg,
                      const int* linCnt, const int* linIdx, const double* linVal, const char* senses,
                      const double* bound, const double* upper, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddNlConstrs(num, VectorList{num, tokBeg, tokCnt, tokens, nullptr},
                          VectorList{num, constBeg, constCnt, nullptr, consts},
                          VectorList{num, linBeg, linCnt, linIdx, linVal}, senses, bound, upper, names);
  });
}

int TARQ_DelNLConstrs(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelNlConstrs(num, list); });
}

int TARQ_GetNLConstr(tarq_prob* prob, int row, int tokSize, int constSize, int linSize, int* pNumToken, int* tokens,
                     int* pNumConst, double* consts, int* pLinNnz, int* linIdx, double* linVal) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.GetNlConstr(row, tokSize, constSize, linSize, pNumToken, tokens, pNumConst, consts, pLinNnz, linIdx,
                         linVal);
  });
}

int TARQ_SetNLConstrLower(tarq_prob* prob, int num, const int* list, const double* values) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNlConstrBounds(true, num, list, values); });
}

int TARQ_SetNLConstrUpper(tarq_prob* prob, int num, const int* list, const double* values) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNlConstrBounds(false, num, list, values); });
}

int TARQ_GetNLConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return p.GetNlConstrInfo(name, num, list, values); });
}

int TARQ_SetNLConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) { return tarq_solver::SetListedNames(p.NlNames(), num, list, names); });
}

int TARQ_GetNLConstrName(tarq_prob* prob, int row, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::CopyName(p.NlNames(), row, buf, len, pReqSize); });
}

int TARQ_GetNLConstrIdx(tarq_prob* prob, const char* name, int* row) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::FindNamed(p.NlNames(), name, row); });
}

int TARQ_SetNLObj(tarq_prob* prob, int nToken, int nConst, const int* tokens, const double* consts) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNlObj(nToken, nConst, tokens, consts); });
}

int TARQ_GetNLObj(tarq_prob* prob, int tokSize, int constSize, int* pNumToken, int* tokens, int* pNumConst,
                  double* consts) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.GetNlObj(tokSize, constSize, pNumToken, tokens, pNumConst, consts);
  });
}

int TARQ_DelNLObj(tarq_prob* prob) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNlObj(0, 0, nullptr, nullptr); });
}

int TARQ_SetNLPrimalStart(tarq_prob* prob, int num, const int* list, const double* values) {
  return WithProblem(prob, [&](Problem& p) { return p.SetNlPrimalStart(num, list, values); });
}

int TARQ_WriteNL(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) {
    const int rc = tarq_solver::WriteFormatFile(p, filename, "NL", tarq_solver::WriteNl);
    if (rc != TARQ_RETCODE_OK) return rc;
    return tarq_solver::WriteNlNames(p, p.Env().Resolve(filename));
  });
}

}  // extern "C"
