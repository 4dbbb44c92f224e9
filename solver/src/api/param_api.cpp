// Parameter functions of the C interface: search by name, get, set, limits, reset and parameter
// files. Each resolves the name through the table's index and works on the problem's ParamSet.
#include "api/with_problem.h"
#include "io/param_file.h"
#include "params/param_set.h"
#include "store/problem.h"

using tarq_solver::DblParam;
using tarq_solver::Guard;
using tarq_solver::IntParam;
using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

// Runs fn(problem, id) for the parameter of kind Id called name, as a change of the problem
// (change true) or a read. Null arguments, unknown names and names of another kind give 3 without
// calling fn.
template <class Id, class Fn>
int WithParam(tarq_prob* prob, const char* name, bool change, Fn&& fn, const char* caller) {
  if (prob == nullptr || name == nullptr) return TARQ_RETCODE_INVALID;
  auto body = [&](Problem& p) {
    auto ref = tarq_solver::FindEntry(name);
    if (!ref || ref->kind != tarq_solver::IdTraits<Id>::kKind) return TARQ_RETCODE_INVALID;
    return fn(p, static_cast<Id>(ref->id));
  };
  return change ? WithProblem(prob, body, caller) : ReadProblem(prob, body);
}

// What a getter reads: the current value, the default, or a limit of the table.
enum class Field { kValue, kDefault, kMin, kMax };

template <class Id>
int GetField(tarq_prob* prob, const char* name, tarq_solver::ValueOf<Id>* value, Field field) {
  if (value == nullptr) return TARQ_RETCODE_INVALID;
  return WithParam<Id>(prob, name, false, [&](Problem& p, Id id) {
    switch (field) {
      case Field::kValue: *value = p.Params().Get(id); break;
      case Field::kDefault: *value = p.Params().Default(id); break;
      case Field::kMin: *value = tarq_solver::Info(id).min; break;
      case Field::kMax: *value = tarq_solver::Info(id).max; break;
    }
    return TARQ_RETCODE_OK;
  }, __builtin_FUNCTION());
}

template <class Id>
int SetValue(tarq_prob* prob, const char* name, tarq_solver::ValueOf<Id> value,
             const char* caller = __builtin_FUNCTION()) {
  return WithParam<Id>(
      prob, name, true,
      [&](Problem& p, Id id) {
        int rc = p.Params().Set(id, value);
        if (rc == TARQ_RETCODE_OK) tarq_solver::ApplyLogParams(p.Params(), p.Log());
        return rc;
      },
      caller);
}

}  // namespace

extern "C" {

int TARQ_SearchParamAttr(tarq_prob* /*prob*/, const char* name, int* pType) {
  if (pType == nullptr) return TARQ_RETCODE_INVALID;
  *pType = -1;
  if (name == nullptr) return TARQ_RETCODE_INVALID;
  return Guard([&] {
    auto ref = tarq_solver::FindEntry(name);
    if (!ref) return TARQ_RETCODE_INVALID;
    *pType = static_cast<int>(ref->kind);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetIntParam(tarq_prob* prob, const char* name, int* value) {
  return GetField<IntParam>(prob, name, value, Field::kValue);
}
int TARQ_GetDblParam(tarq_prob* prob, const char* name, double* value) {
  return GetField<DblParam>(prob, name, value, Field::kValue);
}
int TARQ_SetIntParam(tarq_prob* prob, const char* name, int value) { return SetValue<IntParam>(prob, name, value); }
int TARQ_SetDblParam(tarq_prob* prob, const char* name, double value) {
  return SetValue<DblParam>(prob, name, value);
}

int TARQ_GetIntParamDef(tarq_prob* prob, const char* name, int* value) {
  return GetField<IntParam>(prob, name, value, Field::kDefault);
}
int TARQ_GetIntParamMin(tarq_prob* prob, const char* name, int* value) {
  return GetField<IntParam>(prob, name, value, Field::kMin);
}
int TARQ_GetIntParamMax(tarq_prob* prob, const char* name, int* value) {
  return GetField<IntParam>(prob, name, value, Field::kMax);
}
int TARQ_GetDblParamDef(tarq_prob* prob, const char* name, double* value) {
  return GetField<DblParam>(prob, name, value, Field::kDefault);
}
int TARQ_GetDblParamMin(tarq_prob* prob, const char* name, double* value) {
  return GetField<DblParam>(prob, name, value, Field::kMin);
}
int TARQ_GetDblParamMax(tarq_prob* prob, const char* name, double* value) {
  return GetField<DblParam>(prob, name, value, Field::kMax);
}

int TARQ_ResetParam(tarq_prob* prob) {
  return WithProblem(prob, [](Problem& p) {
    p.Params().ResetAll();
    tarq_solver::ApplyLogParams(p.Params(), p.Log());
    return TARQ_RETCODE_OK;
  });
}

int TARQ_ReadParam(tarq_prob* prob, const char* filename) {
  if (prob == nullptr || filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) { return tarq_solver::ReadParamFile(p, filename); });
}

int TARQ_WriteParam(tarq_prob* prob, const char* filename) {
  if (prob == nullptr || filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::WriteParamFile(p, filename); });
}

}  // extern "C"
