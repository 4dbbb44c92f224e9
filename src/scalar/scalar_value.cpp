#include "scalar/scalar_value.h"

#include <cctype>
#include <cstring>
#include <string>

#include "model/names.h"

namespace Tarq::detail {
namespace {


}  // namespace

const char* ScalarValue::Name(const ScalarKind& kind) {
  ObjectRecord& r = *record;
  if (r.index >= 0 && r.name.empty()) {
    std::string buf(128, '\0');
    int need = 0;
    int rc = kind.getName(Problem(), r.index, buf.data(), static_cast<int>(buf.size()), &need);
    if (rc == TARQ_RETCODE_INVALID && need > static_cast<int>(buf.size())) {
      buf.assign(static_cast<std::size_t>(need), '\0');
      rc = kind.getName(Problem(), r.index, buf.data(), need, &need);
    }
    if (rc == TARQ_RETCODE_OK) r.name = buf.c_str();
  }
  return r.name.c_str();
}

void ScalarValue::SetName(const ScalarKind& kind, const char* name) {
  if (Index() < 0) {
    Record(status, TARQ_RETCODE_INVALID, "%s", kind.invalid);
    return;
  }
  if (name == nullptr) return;
  record->name = NormaliseName(name);
  const int index = Index();
  const char* text = record->name.c_str();
  Checked(status, kind.setNames(Problem(), 1, &index, &text), "%s", kind.setNameFailure);
}

int ScalarValue::Basis(const ScalarKind& kind) {
  if (Index() < 0) {
    Record(status, TARQ_RETCODE_INVALID, "%s", kind.invalid);
    return -2147483647 - 1;
  }
  const int index = Index();
  int basis = -2147483647 - 1;
  Checked(status, kind.getBasis(Problem(), 1, &index, &basis), "%s", kind.basisFailure ? kind.basisFailure : "");
  return basis;
}

int ScalarValue::Iis(const ScalarKind& kind, ListIntOutFn call) {
  if (Index() < 0) {
    Record(status, TARQ_RETCODE_INVALID, "%s", kind.invalid);
    return 0;
  }
  const int index = Index();
  int value = 0;
  if (!Checked(status, call(Problem(), 1, &index, &value), "%s", kind.iisFailure)) return 0;
  return value;
}

double ScalarValue::Get(const ScalarKind& kind, const char* info) {
  if (Index() < 0) {
    Record(status, TARQ_RETCODE_INVALID, "%s", kind.invalid);
    return TARQ_INFINITY;
  }
  const int index = Index();
  double value = TARQ_INFINITY;
  if (!Checked(status, kind.getInfo(Problem(), info, 1, &index, &value), "%s", kind.getInfoFailure)) {
    return TARQ_INFINITY;
  }
  return value;
}

void ScalarValue::Set(const ScalarKind& kind, const char* info, double value) {
  if (info == nullptr || info[0] == '\0') {
    Record(status, TARQ_RETCODE_INVALID, "Invalid args");
    return;
  }
  if (Index() < 0) {
    Record(status, TARQ_RETCODE_INVALID, "%s", kind.invalid);
    return;
  }
  const int index = Index();
  for (int k = 0; k < kind.setterCount; ++k) {
    const InfoSetter& s = kind.setters[k];
    if (!Tarq::detail::SameNoCase(info, s.info)) continue;
    Checked(status, s.call(Problem(), 1, &index, &value), "%s", s.failure);
    return;
  }
  Record(status, TARQ_RETCODE_INVALID, "%s", kind.unknownInfo);
}

void ScalarValue::Remove() const { MarkRecordRemoved(*record); }

}  // namespace Tarq::detail

namespace Tarq {

char Var::Type() {
  if (Index() < 0) return 0;
  const int index = Index();
  char type = 0;
  TARQ_GetColType(Problem(), 1, &index, &type);
  return type;
}

void Var::SetType(char type) {
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid variable");
    return;
  }
  const int index = Index();
  detail::Checked(status, TARQ_SetColType(Problem(), 1, &index, &type), "Fail to set variable type");
}

}  // namespace Tarq
