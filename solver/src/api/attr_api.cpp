// Attribute functions of the C interface.
#include "api/with_problem.h"
#include "params/param_table.h"
#include "store/attributes.h"

using tarq_solver::ParamKind;
using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

extern "C" {

int TARQ_GetIntAttr(tarq_prob* prob, const char* name, int* value) {
  return ReadProblem(prob, [&](Problem& p) {
    ParamKind kind;
    int id = -1;
    if (value == nullptr || !tarq_solver::FindAttr(name, &kind, &id) || kind != ParamKind::kIntAttr) {
      return TARQ_RETCODE_INVALID;
    }
    *value = tarq_solver::IntAttrValue(p, static_cast<tarq_solver::IntAttr>(id));
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetDblAttr(tarq_prob* prob, const char* name, double* value) {
  return ReadProblem(prob, [&](Problem& p) {
    ParamKind kind;
    int id = -1;
    if (value == nullptr || !tarq_solver::FindAttr(name, &kind, &id) || kind != ParamKind::kDblAttr) {
      return TARQ_RETCODE_INVALID;
    }
    *value = tarq_solver::DblAttrValue(p, static_cast<tarq_solver::DblAttr>(id));
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
