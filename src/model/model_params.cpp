// Parameters and attributes by name, per-object information by name, and parameter reset.
#include <cctype>
#include <cstring>
#include <string>

#include "model/model_templates.h"
#include "model/param_names.h"
#include "model/tarq_model.h"
#include "psdnl/psd_expr.h"
#include "scalar/constraint.h"
#include "scalar/qconstraint.h"
#include "scalar/var.h"

using Tarq::detail::ModelData;

namespace {

constexpr int kIntFailure = -2147483647 - 1;

struct KindMessages {
  int kind;
  const char* unknown;
  const char* wrong;
};
constexpr KindMessages kIntParamKind{Tarq::detail::kIntParam, "Unknown TARQ parameter", "Not TARQ int parameter"};
constexpr KindMessages kDblParamKind{Tarq::detail::kDblParam, "Unknown TARQ parameter", "Not TARQ double parameter"};
constexpr KindMessages kIntAttrKind{Tarq::detail::kIntAttr, "Unknown TARQ attribute", "Not TARQ int attribute"};
constexpr KindMessages kDblAttrKind{Tarq::detail::kDblAttr, "Unknown TARQ attribute", "Not TARQ double attribute"};

// Resolves the name (to its canonical spelling where the table knows it) and checks its kind,
// recording the outcome; false ends the operation.
bool Resolve(ModelData& m, const char* given, const KindMessages& k, std::string& name) {
  name = given != nullptr ? given : "";
  const int kind = Tarq::detail::ResolveName(name);
  if (kind < 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", k.unknown);
    return false;
  }
  if (kind != k.kind) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", k.wrong);
    return false;
  }
  m.status.ClearCode();
  return true;
}

// The parameter's current value, default, minimum and maximum, stopping at the first failure.
template <class T>
void ParamInfo(ModelData& m, const char* given, const KindMessages& k, const char* failure, T* current, T* def,
               T* min, T* max, int (*get)(tarq_prob*, const char*, T*), int (*getDef)(tarq_prob*, const char*, T*),
               int (*getMin)(tarq_prob*, const char*, T*), int (*getMax)(tarq_prob*, const char*, T*)) {
  std::string name;
  if (!Resolve(m, given, k, name)) return;
  T scratch{};
  auto call = [&](int (*fn)(tarq_prob*, const char*, T*), T* out) {
    return Checked(m.status, fn(m.Problem(), name.c_str(), out != nullptr ? out : &scratch), "%s", failure);
  };
  call(get, current) && call(getDef, def) && call(getMin, min) && call(getMax, max);
}

struct InfoTarget {
  const char* info;
  int (*call)(tarq_prob*, int, const int*, const double*);
  const char* failure;
};

struct InfoKind {
  const char* emptyName;
  const char* invalidValues;
  const char* unknown;
  const char* what;
  InfoTarget targets[4];
  int count;
};

constexpr InfoKind kColInfo{"Empty information name of variables",
                            "Invalid input values for variables",
                            "Unknown double information of variable",
                            "variable",
                            {{"LB", TARQ_SetColLower, "Fail to set col LB"},
                             {"UB", TARQ_SetColUpper, "Fail to set col UB"},
                             {"Obj", TARQ_SetColObj, "Fail to set col obj"},
                             {"BranchFactor", TARQ_SetColBranchFactors, "Fail to set branch factors of col"}},
                            4};
constexpr InfoKind kRowInfo{"Empty information name of constraints",
                            "Invalid input values for constraints",
                            "Unknown double information of constraint",
                            "constraint",
                            {{"LB", TARQ_SetRowLower, "Fail to set row LB"},
                             {"UB", TARQ_SetRowUpper, "Fail to set row UB"},
                             {nullptr, nullptr, nullptr},
                             {nullptr, nullptr, nullptr}},
                            2};

constexpr InfoKind kPsdRowInfo{"Empty information name of PSD constraints",
                               "Invalid input values for PSD constraints",
                               "Unknown double information of PSD constraint",
                               "PSD constraint",
                               {{"LB", TARQ_SetPSDConstrLower, "Fail to set LB of PSD constraint"},
                                {"UB", TARQ_SetPSDConstrUpper, "Fail to set UB of PSD constraint"},
                                {nullptr, nullptr, nullptr},
                                {nullptr, nullptr, nullptr}},
                               2};

template <class V, class A>
void SetInfo(ModelData& m, const InfoKind& k, const char* name, const std::vector<V, A>& objects, const double* values,
             int len) {
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", k.emptyName);
    return;
  }
  if (values == nullptr || len < 0 || static_cast<std::size_t>(len) != objects.size()) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", k.invalidValues);
    return;
  }
  if (!m.Indices(objects, k.what)) return;
  for (int t = 0; t < k.count; ++t) {
    if (!Tarq::detail::SameNoCase(name, k.targets[t].info)) continue;
    Checked(m.status, k.targets[t].call(m.Problem(), len, m.idx_.data(), values), "%s", k.targets[t].failure);
    return;
  }
  Record(m.status, TARQ_RETCODE_INVALID, "%s", k.unknown);
}

template <class V, class A>
void GetInfo(ModelData& m, const char* name, const std::vector<V, A>& objects, std::vector<double>& values,
             const char* what, int (*get)(tarq_prob*, const char*, int, const int*, double*), const char* failure) {
  values.clear();
  if (!m.Indices(objects, what)) return;
  values.resize(objects.size());
  if (!Checked(m.status, get(m.Problem(), name, static_cast<int>(objects.size()), m.idx_.data(), values.data()), "%s",
               failure)) {
    values.clear();
  }
}

}  // namespace

void TarqModel::GetIntParamInfo(const char* name, int* current, int* def, int* min, int* max) {
  ParamInfo(Data(), name, kIntParamKind, "Failed to get int param info", current, def, min, max, TARQ_GetIntParam,
            TARQ_GetIntParamDef, TARQ_GetIntParamMin, TARQ_GetIntParamMax);
}

void TarqModel::GetDblParamInfo(const char* name, double* current, double* def, double* min, double* max) {
  ParamInfo(Data(), name, kDblParamKind, "Failed to get double param info", current, def, min, max, TARQ_GetDblParam,
            TARQ_GetDblParamDef, TARQ_GetDblParamMin, TARQ_GetDblParamMax);
}

int TarqModel::GetIntParam(const char* name) {
  ModelData& m = Data();
  std::string n;
  int value = kIntFailure;
  if (!Resolve(m, name, kIntParamKind, n)) return kIntFailure;
  if (!Checked(m.status, TARQ_GetIntParam(m.Problem(), n.c_str(), &value), "Failed to get int param value")) {
    return kIntFailure;
  }
  return value;
}

double TarqModel::GetDblParam(const char* name) {
  ModelData& m = Data();
  std::string n;
  double value = TARQ_INFINITY;
  if (!Resolve(m, name, kDblParamKind, n)) return TARQ_INFINITY;
  if (!Checked(m.status, TARQ_GetDblParam(m.Problem(), n.c_str(), &value), "Failed to get double param value")) {
    return TARQ_INFINITY;
  }
  return value;
}

void TarqModel::SetIntParam(const char* name, int value) {
  ModelData& m = Data();
  std::string n;
  if (!Resolve(m, name, kIntParamKind, n)) return;
  Checked(m.status, TARQ_SetIntParam(m.Problem(), n.c_str(), value), "Failed to set int param");
}

void TarqModel::SetDblParam(const char* name, double value) {
  ModelData& m = Data();
  std::string n;
  if (!Resolve(m, name, kDblParamKind, n)) return;
  Checked(m.status, TARQ_SetDblParam(m.Problem(), n.c_str(), value), "Failed to set double param");
}

int TarqModel::GetIntAttr(const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!Resolve(m, name, kIntAttrKind, n) || !m.Flush()) return kIntFailure;
  int value = kIntFailure;
  if (!Checked(m.status, TARQ_GetIntAttr(m.Problem(), n.c_str(), &value), "Failed to get int attribute")) {
    return kIntFailure;
  }
  return value;
}

double TarqModel::GetDblAttr(const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!Resolve(m, name, kDblAttrKind, n) || !m.Flush()) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_GetDblAttr(m.Problem(), n.c_str(), &value), "Fail to get double attribute")) {
    return TARQ_INFINITY;
  }
  return value;
}

int TarqModel::SearchParamAttr(const char* name) {
  std::string n = name != nullptr ? name : "";
  return Tarq::detail::ResolveName(n);
}

void TarqModel::GetColInfo(const char* name, const Tarq::IVarArray* vars, std::vector<double>& values) {
  GetInfo(Data(), name, Tarq::VarsOf(vars), values, "variable", TARQ_GetColInfo, "Fail to get col info");
}

void TarqModel::GetRowInfo(const char* name, const Tarq::IConstrArray* constrs, std::vector<double>& values) {
  GetInfo(Data(), name, Tarq::ConstrsOf(constrs), values, "constraint", TARQ_GetRowInfo, "Fail to get row info");
}

void TarqModel::GetQConstrInfo(const char* name, const Tarq::IQConstrArray* constrs, std::vector<double>& values) {
  GetInfo(Data(), name, Tarq::QConstrsOf(constrs), values, "quadratic constraint", TARQ_GetQConstrInfo,
          "Fail to get quadratic constraint info");
}

void TarqModel::GetPsdConstrInfo(const char* name, const Tarq::IPsdConstrArray* constrs, std::vector<double>& values) {
  GetInfo(Data(), name, Tarq::PsdConstrsOf(constrs), values, "PSD constraint", TARQ_GetPSDConstrInfo,
          "Fail to get info of PSD constraints");
}

void TarqModel::SetColInfo(const char* name, const Tarq::IVarArray* vars, const double* values, int len) {
  SetInfo(Data(), kColInfo, name, Tarq::VarsOf(vars), values, len);
}

void TarqModel::SetRowInfo(const char* name, const Tarq::IConstrArray* constrs, const double* values, int len) {
  SetInfo(Data(), kRowInfo, name, Tarq::ConstrsOf(constrs), values, len);
}

void TarqModel::SetPsdConstrInfo(const char* name, const Tarq::IPsdConstrArray* constrs, const double* values,
                                 int len) {
  SetInfo(Data(), kPsdRowInfo, name, Tarq::PsdConstrsOf(constrs), values, len);
}

void TarqModel::ResetParam() {
  ModelData& m = Data();
  Checked(m.status, TARQ_ResetParam(m.Problem()), "Fail to reset parameter settings");
}
