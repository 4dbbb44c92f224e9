// LMI rows: functions of the C interface (tarq_psd.h).
#include "api/with_problem.h"
#include "store/named_objects.h"
#include "store/psd_info.h"

using tarq_solver::Problem;
using tarq_solver::PsdStore;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_AddLMIConstr(tarq_prob* prob, int dim, int nTerms, const int* cols, const int* symMats, int constMat,
                      const char* name) {
  return WithProblem(prob, [&](Problem& p) {
    const int nCols = p.Cols().Size();
    return p.EditPsd([&](PsdStore& s) { return s.AddLmiRow(nCols, dim, nTerms, cols, symMats, constMat, name); });
  });
}

int TARQ_DelLMIConstrs(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.EditPsd([&](PsdStore& s) { return s.DelLmiRows(num, list); }); });
}

int TARQ_GetLMIConstr(tarq_prob* prob, int idx, int* dim, int* cols, int* symMats, int size, int* pReqSize,
                      int* constMat) {
  return ReadProblem(prob,
                     [&](Problem& p) { return p.Psd().GetLmiRow(idx, dim, cols, symMats, size, pReqSize, constMat); });
}

int TARQ_SetLMIConstrRhs(tarq_prob* prob, int num, const int* list, const int* symMats) {
  return WithProblem(prob,
                     [&](Problem& p) { return p.EditPsd([&](PsdStore& s) { return s.SetLmiRhs(num, list, symMats); }); });
}

int TARQ_GetLMIConstrRhs(tarq_prob* prob, int idx, int* symMat) {
  return ReadProblem(prob, [&](Problem& p) {
    if (symMat == nullptr) return TARQ_RETCODE_INVALID;
    return p.Psd().GetLmiRow(idx, nullptr, nullptr, nullptr, 0, nullptr, symMat);
  });
}

int TARQ_GetLMIConstrInfo(tarq_prob* prob, const char* name, int idx, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::GetLmiInfo(p, name, idx, values); });
}

int TARQ_SetLMIConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob,
                     [&](Problem& p) { return SetListedNames(p.PsdUnversioned().LmiNames(), num, list, names); });
}

int TARQ_GetLMIConstrName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return CopyName(p.Psd().Lmis().names, idx, buf, len, pReqSize); });
}

int TARQ_GetLMIConstrIdx(tarq_prob* prob, const char* name, int* idx) {
  return ReadProblem(prob, [&](Problem& p) { return FindNamed(p.PsdUnversioned().LmiNames(), name, idx); });
}

int TARQ_GetLMIElem(tarq_prob* prob, int row, int col, int* symMat) {
  return ReadProblem(prob, [&](Problem& p) { return p.Psd().GetLmiElem(p.Cols().Size(), row, col, symMat); });
}

int TARQ_SetLMIElem(tarq_prob* prob, int row, int col, int symMat) {
  return WithProblem(prob, [&](Problem& p) {
    const int nCols = p.Cols().Size();
    return p.EditPsd([&](PsdStore& s) { return s.SetLmiElem(nCols, row, col, symMat); });
  });
}

}  // extern "C"
