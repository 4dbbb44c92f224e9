// Multi-objective functions of the C interface. Setters check everything before they change the
// problem, since any change of an objective forgets the current solution.
#include <cmath>

#include "api/with_problem.h"
#include "io/io_common.h"
#include "store/checks.h"

using tarq_solver::DblAttr;
using tarq_solver::IntAttr;
using tarq_solver::MultiObjective;
using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

enum class ObjParam { kNone, kPriority, kWeight, kAbsTol, kRelTol };

ObjParam ParseObjParam(const char* name) {
  if (name == nullptr) return ObjParam::kNone;
  static constexpr struct {
    const char* text;
    ObjParam param;
  } kNames[] = {{"MultiObjPriority", ObjParam::kPriority},
                {"MultiObjWeight", ObjParam::kWeight},
                {"MultiObjAbsTol", ObjParam::kAbsTol},
                {"MultiObjRelTol", ObjParam::kRelTol}};
  for (const auto& n : kNames) {
    if (tarq_solver::EqualNoCase(name, n.text)) return n.param;
  }
  return ObjParam::kNone;
}

bool ValidObjParam(ObjParam which, double value) {
  if (!std::isfinite(value)) return false;
  switch (which) {
    case ObjParam::kPriority:
      return value == std::floor(value) && std::fabs(value) <= 2147483647.0;
    case ObjParam::kWeight:
      return std::fabs(value) < TARQ_INFINITY;
    case ObjParam::kAbsTol:
    case ObjParam::kRelTol:
      return value >= 0 && value < TARQ_INFINITY;
    case ObjParam::kNone:
      break;
  }
  return false;
}

// Runs a change of objective index (created when missing) once check has passed.
template <class Check, class Change>
int EditObjective(tarq_prob* prob, int index, Check check, Change change,
                  const char* caller = __builtin_FUNCTION()) {
  return WithProblem(
      prob,
      [&](Problem& p) {
        if (index < 0 || index == 2147483647) return TARQ_RETCODE_INVALID;
        if (int rc = check(p); rc != TARQ_RETCODE_OK) return rc;
        MultiObjective& o = p.EditMultiObjs().Ensure(index, p.Params());
        change(p, o);
        return TARQ_RETCODE_OK;
      },
      caller);
}

// Runs a read of an existing objective.
template <class Read>
int ReadObjective(tarq_prob* prob, int index, Read read) {
  return ReadProblem(prob, [&](Problem& p) {
    const MultiObjective* o = p.MultiObjs().Find(index);
    if (o == nullptr) return TARQ_RETCODE_INVALID;
    return read(p, *o);
  });
}

template <class Id>
int FindParam(const char* name, Id& id) {
  if (name == nullptr) return TARQ_RETCODE_INVALID;
  auto ref = tarq_solver::FindEntry(name);
  if (!ref || ref->kind != tarq_solver::IdTraits<Id>::kKind) return TARQ_RETCODE_INVALID;
  id = static_cast<Id>(ref->id);
  return TARQ_RETCODE_OK;
}

// Setting a solver parameter of one objective changes no problem data: no solution is forgotten.
template <class Id>
int SetObjSolverParam(tarq_prob* prob, int index, const char* name, tarq_solver::ValueOf<Id> value,
                      const char* caller = __builtin_FUNCTION()) {
  return WithProblem(
      prob,
      [&](Problem& p) {
        Id id;
        if (index < 0 || index == 2147483647 || FindParam(name, id) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
        if (!tarq_solver::ParamSet::Accepts(id, value)) return TARQ_RETCODE_INVALID;
        MultiObjective* o = p.MultiObjResults().Find(index);
        if (o == nullptr) o = &p.EditMultiObjs().Ensure(index, p.Params());
        return o->params.Set(id, value);
      },
      caller);
}

template <class Id>
int GetObjSolverParam(tarq_prob* prob, int index, const char* name, tarq_solver::ValueOf<Id>* value) {
  return ReadObjective(prob, index, [&](Problem&, const MultiObjective& o) {
    Id id;
    if (value == nullptr || FindParam(name, id) != TARQ_RETCODE_OK) return TARQ_RETCODE_INVALID;
    *value = o.params.Get(id);
    return TARQ_RETCODE_OK;
  });
}

}  // namespace

extern "C" {

int TARQ_MultiObjSetColObj(tarq_prob* prob, int index, int num, const int* list, const double* values) {
  return EditObjective(
      prob, index,
      [&](Problem& p) { return tarq_solver::CheckListed(p.Cols().Size(), num, list, values, tarq_solver::ValidCoef); },
      [&](Problem& p, MultiObjective& o) {
        o.coef.assign(static_cast<size_t>(p.Cols().Size()), 0.0);
        for (int k = 0; k < num; ++k) o.coef[tarq_solver::At(list, k)] = values[k];
      });
}

int TARQ_MultiObjGetColObj(tarq_prob* prob, int index, int num, const int* list, double* values) {
  return ReadObjective(prob, index, [&](Problem& p, const MultiObjective& o) {
    if (int rc = tarq_solver::CheckList(num, list, p.Cols().Size()); rc != TARQ_RETCODE_OK) return rc;
    if (num > 0 && values == nullptr) return TARQ_RETCODE_INVALID;
    for (int k = 0; k < num; ++k) values[k] = o.Coef(tarq_solver::At(list, k));
    return TARQ_RETCODE_OK;
  });
}

int TARQ_MultiObjDelColObj(tarq_prob* prob, int index) {
  return WithProblem(prob, [&](Problem& p) {
    if (!p.MultiObjs().Exists(index)) return TARQ_RETCODE_INVALID;
    p.EditMultiObjs().Erase(index);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_MultiObjSetObjSense(tarq_prob* prob, int index, int sense) {
  return EditObjective(
      prob, index, [&](Problem&) { return sense == 1 || sense == -1 ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID; },
      [&](Problem&, MultiObjective& o) { o.sense = sense; });
}

int TARQ_MultiObjSetObjConst(tarq_prob* prob, int index, double constant) {
  return EditObjective(
      prob, index, [&](Problem&) { return tarq_solver::ValidCoef(constant) ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID; },
      [&](Problem&, MultiObjective& o) { o.constant = constant; });
}

int TARQ_MultiObjSetObjParam(tarq_prob* prob, int index, const char* name, double value) {
  const ObjParam which = ParseObjParam(name);
  return EditObjective(
      prob, index, [&](Problem&) { return ValidObjParam(which, value) ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID; },
      [&](Problem&, MultiObjective& o) {
        switch (which) {
          case ObjParam::kPriority:
            o.priority = static_cast<int>(value);
            break;
          case ObjParam::kWeight:
            o.weight = value;
            break;
          case ObjParam::kAbsTol:
            o.absTol = value;
            break;
          case ObjParam::kRelTol:
            o.relTol = value;
            break;
          case ObjParam::kNone:
            break;
        }
      });
}

int TARQ_MultiObjGetObjParam(tarq_prob* prob, int index, const char* name, double* value) {
  return ReadObjective(prob, index, [&](Problem&, const MultiObjective& o) {
    if (value == nullptr) return TARQ_RETCODE_INVALID;
    switch (ParseObjParam(name)) {
      case ObjParam::kPriority:
        *value = o.priority;
        break;
      case ObjParam::kWeight:
        *value = o.weight;
        break;
      case ObjParam::kAbsTol:
        *value = o.absTol;
        break;
      case ObjParam::kRelTol:
        *value = o.relTol;
        break;
      case ObjParam::kNone:
        return TARQ_RETCODE_INVALID;
    }
    return TARQ_RETCODE_OK;
  });
}

int TARQ_MultiObjResetObjParam(tarq_prob* prob, int index) {
  return WithProblem(prob, [&](Problem& p) {
    if (!p.MultiObjs().Exists(index)) return TARQ_RETCODE_INVALID;
    p.EditMultiObjs().Find(index)->ResetObjParams();
    return TARQ_RETCODE_OK;
  });
}

int TARQ_MultiObjSetIntParam(tarq_prob* prob, int index, const char* name, int value) {
  return SetObjSolverParam<tarq_solver::IntParam>(prob, index, name, value);
}

int TARQ_MultiObjSetDblParam(tarq_prob* prob, int index, const char* name, double value) {
  return SetObjSolverParam<tarq_solver::DblParam>(prob, index, name, value);
}

int TARQ_MultiObjGetIntParam(tarq_prob* prob, int index, const char* name, int* value) {
  return GetObjSolverParam<tarq_solver::IntParam>(prob, index, name, value);
}

int TARQ_MultiObjGetDblParam(tarq_prob* prob, int index, const char* name, double* value) {
  return GetObjSolverParam<tarq_solver::DblParam>(prob, index, name, value);
}

int TARQ_MultiObjResetParam(tarq_prob* prob, int index) {
  return WithProblem(prob, [&](Problem& p) {
    MultiObjective* o = p.MultiObjResults().Find(index);
    if (o == nullptr) return TARQ_RETCODE_INVALID;
    o->params = p.Params();
    return TARQ_RETCODE_OK;
  });
}

int TARQ_MultiObjGetIntAttr(tarq_prob* prob, int index, const char* name, int* value) {
  return ReadObjective(prob, index, [&](Problem&, const MultiObjective& o) {
    tarq_solver::ParamKind kind;
    int id = -1;
    if (value == nullptr || !tarq_solver::FindAttr(name, &kind, &id) || kind != tarq_solver::ParamKind::kIntAttr) {
      return TARQ_RETCODE_INVALID;
    }
    switch (static_cast<IntAttr>(id)) {
      case IntAttr::ObjSense:
        *value = o.sense;
        return TARQ_RETCODE_OK;
      case IntAttr::LpStatus:
      case IntAttr::MipStatus:
        *value = o.attrs[static_cast<IntAttr>(id)];
        return TARQ_RETCODE_OK;
      default:
        return TARQ_RETCODE_INVALID;
    }
  });
}

int TARQ_MultiObjGetDblAttr(tarq_prob* prob, int index, const char* name, double* value) {
  return ReadObjective(prob, index, [&](Problem&, const MultiObjective& o) {
    tarq_solver::ParamKind kind;
    int id = -1;
    if (value == nullptr || !tarq_solver::FindAttr(name, &kind, &id) || kind != tarq_solver::ParamKind::kDblAttr) {
      return TARQ_RETCODE_INVALID;
    }
    switch (static_cast<DblAttr>(id)) {
      case DblAttr::ObjConst:
        *value = o.constant;
        return TARQ_RETCODE_OK;
      case DblAttr::LpObjval:
      case DblAttr::BestObj:
      case DblAttr::SolvingTime:
        *value = o.attrs[static_cast<DblAttr>(id)];
        return TARQ_RETCODE_OK;
      default:
        return TARQ_RETCODE_INVALID;
    }
  });
}

int TARQ_MultiObjGetPoolObjVal(tarq_prob* prob, int objIndex, int solIndex, double* value) {
  return ReadProblem(prob, [&](Problem& p) {
    const MultiObjective* o = p.MultiObjs().Find(objIndex);
    tarq_solver::Results& r = p.Result();
    if (o == nullptr || value == nullptr || solIndex < 0 || solIndex >= r.PoolSize()) return TARQ_RETCODE_INVALID;
    const int cols = p.Cols().Size();
    const double* x = r.poolValues.data() + static_cast<size_t>(solIndex) * cols;
    double sum = o->constant;
    for (int j = 0; j < cols; ++j) sum += o->Coef(j) * x[j];
    *value = sum;
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
