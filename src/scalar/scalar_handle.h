// The implementation shared by the handles on columns (TarqVar) and rows (TarqConstraint): every
// operation forwards to the value's own, with the kind's solver calls and texts.
#pragma once

#include "frame/handle.h"
#include "scalar/scalar_value.h"

namespace Tarq::detail {

// Each handle holds a value of its own: handles made from one object share its record, never a
// value, so that a status recorded on one handle stays there.
template <class Iface, class Value, const ScalarKind& kKind>
class ScalarHandle : public InlineHandled<Iface, Value> {
 public:
  using InlineHandled<Iface, Value>::InlineHandled;

  int GetIdx() const override { return this->Data().Index(); }
  const char* GetName() override { return this->Data().Name(kKind); }
  void SetName(const char* name) override { this->Data().SetName(kKind, name); }
  int GetBasis() override { return this->Data().Basis(kKind); }
  int GetLowerIIS() override { return this->Data().LowerIIS(kKind); }
  int GetUpperIIS() override { return this->Data().UpperIIS(kKind); }
  double Get(const char* info) override { return this->Data().Get(kKind, info); }
  void Set(const char* info, double value) override { this->Data().Set(kKind, info, value); }
  void Remove() override { this->Data().Remove(); }
  int GetErrorCode() const override { return this->Data().status.Code(); }
  const char* GetErrorMsg() const override { return this->Data().status.Message(); }
};

}  // namespace Tarq::detail
