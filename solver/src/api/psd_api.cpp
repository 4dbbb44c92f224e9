// Symmetric matrices, PSD columns, the PSD objective, PSD rows and the semidefinite solution:
// functions of the C interface (tarq_psd.h).
#include <algorithm>

#include "api/with_problem.h"
#include "store/named_objects.h"
#include "store/psd_info.h"

using tarq_solver::Problem;
using tarq_solver::PsdStore;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

// Runs a checked change of the semidefinite parts; a refusal names the C function that called.
template <class Change>
int EditPsd(tarq_prob* prob, Change&& change, const char* caller = __builtin_FUNCTION()) {
  return WithProblem(prob, [&](Problem& p) { return p.EditPsd(change); }, caller);
}

}  // namespace

extern "C" {

int TARQ_AddSymMat(tarq_prob* prob, int dim, int nElem, const int* rows, const int* cols, const double* vals) {
  // A new matrix changes no data a result depends on: it is used only once something refers to it.
  return WithProblem(prob, [&](Problem& p) { return p.PsdUnversioned().AddSymMat(dim, nElem, rows, cols, vals); });
}

int TARQ_GetSymMat(tarq_prob* prob, int idx, int* dim, int* rows, int* cols, double* vals, int size,
                   int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return p.Psd().GetSymMat(idx, dim, rows, cols, vals, size, pReqSize); });
}

int TARQ_AddPSDCol(tarq_prob* prob, int dim, const char* name) {
  return EditPsd(prob, [&](PsdStore& s) { return s.AddPsdCols(1, &dim, &name); });
}

int TARQ_AddPSDCols(tarq_prob* prob, int num, const int* dims, const char* const* names) {
  return EditPsd(prob, [&](PsdStore& s) { return s.AddPsdCols(num, dims, names); });
}

int TARQ_DelPSDCols(tarq_prob* prob, int num, const int* list) {
  return EditPsd(prob, [&](PsdStore& s) { return s.DelPsdCols(num, list); });
}

int TARQ_GetPSDCols(tarq_prob* prob, int num, const int* list, int* dims) {
  return ReadProblem(prob, [&](Problem& p) { return p.Psd().GetPsdCols(num, list, dims); });
}

int TARQ_SetPSDColNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob,
                     [&](Problem& p) { return SetListedNames(p.PsdUnversioned().ColNames(), num, list, names); });
}

int TARQ_GetPSDColName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return CopyName(p.Psd().Cols().names, idx, buf, len, pReqSize); });
}

int TARQ_GetPSDColIdx(tarq_prob* prob, const char* name, int* idx) {
  return ReadProblem(prob, [&](Problem& p) { return FindNamed(p.PsdUnversioned().ColNames(), name, idx); });
}

int TARQ_GetPSDColInfo(tarq_prob* prob, const char* name, int idx, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::GetPsdColInfo(p, name, idx, values); });
}

int TARQ_ReplacePSDObj(tarq_prob* prob, int num, const int* psdCols, const int* symMats) {
  return EditPsd(prob, [&](PsdStore& s) { return s.ReplaceObj(num, psdCols, symMats); });
}

int TARQ_GetPSDObj(tarq_prob* prob, int* symMats) {
  return ReadProblem(prob, [&](Problem& p) {
    const std::vector<int>& obj = p.Psd().Cols().objMat;
    if (symMats == nullptr && !obj.empty()) return TARQ_RETCODE_INVALID;
    std::copy(obj.begin(), obj.end(), symMats);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_DelPSDObj(tarq_prob* prob) {
  return EditPsd(prob, [](PsdStore& s) {
    s.DelObj();
    return TARQ_RETCODE_OK;
  });
}

int TARQ_AddPSDConstr(tarq_prob* prob, int nLin, const int* cols, const double* vals, int nPsd, const int* psdCols,
                      const int* symMats, char sense, double bound, double upper, const char* name) {
  return WithProblem(prob, [&](Problem& p) {
    const int nCols = p.Cols().Size();
    return p.EditPsd([&](PsdStore& s) {
      return s.AddPsdRow(nCols, nLin, cols, vals, nPsd, psdCols, symMats, sense, bound, upper, name);
    });
  });
}

int TARQ_DelPSDConstrs(tarq_prob* prob, int num, const int* list) {
  return EditPsd(prob, [&](PsdStore& s) { return s.DelPsdRows(num, list); });
}

int TARQ_GetPSDConstr(tarq_prob* prob, int idx, int* cols, double* vals, int linSize, int* pLinReq, int* psdCols,
                      int* symMats, int psdSize, int* pPsdReq) {
  return ReadProblem(prob, [&](Problem& p) {
    return p.Psd().GetPsdRow(idx, cols, vals, linSize, pLinReq, psdCols, symMats, psdSize, pPsdReq);
  });
}

int TARQ_SetPSDConstrLower(tarq_prob* prob, int num, const int* list, const double* lb) {
  return EditPsd(prob, [&](PsdStore& s) { return s.SetPsdRowBounds(true, num, list, lb); });
}

int TARQ_SetPSDConstrUpper(tarq_prob* prob, int num, const int* list, const double* ub) {
  return EditPsd(prob, [&](PsdStore& s) { return s.SetPsdRowBounds(false, num, list, ub); });
}

int TARQ_GetPSDConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::GetPsdRowInfo(p, name, num, list, values); });
}

int TARQ_SetPSDConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob,
                     [&](Problem& p) { return SetListedNames(p.PsdUnversioned().RowNames(), num, list, names); });
}

int TARQ_GetPSDConstrName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) { return CopyName(p.Psd().Rows().names, idx, buf, len, pReqSize); });
}

int TARQ_GetPSDConstrIdx(tarq_prob* prob, const char* name, int* idx) {
  return ReadProblem(prob, [&](Problem& p) { return FindNamed(p.PsdUnversioned().RowNames(), name, idx); });
}

int TARQ_GetPSDElem(tarq_prob* prob, int row, int psdCol, int* symMat) {
  return ReadProblem(prob, [&](Problem& p) { return p.Psd().GetPsdElem(row, psdCol, symMat); });
}

int TARQ_SetPSDElem(tarq_prob* prob, int row, int psdCol, int symMat) {
  return EditPsd(prob, [&](PsdStore& s) { return s.SetPsdElem(row, psdCol, symMat); });
}

int TARQ_GetPSDSolution(tarq_prob* prob, double* values, double* duals) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::GetPsdSolution(p, values, duals); });
}

int TARQ_GetLMISolution(tarq_prob* prob, double* slacks, double* duals) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::GetLmiSolution(p, slacks, duals); });
}

}  // extern "C"
