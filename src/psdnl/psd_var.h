// PSD variable handles and arrays.
#pragma once

#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "psdnl/psd_kinds.h"
#include "scalar/scalar_value.h"
#include "tarq/psd_var.h"

namespace Tarq {

// A PSD column's record (shared with the model and every copy), a status, and its dimension.
class PsdVar : public detail::ScalarValue {
 public:
  PsdVar() = default;
  explicit PsdVar(detail::RecordRef r, int d = 0) : ScalarValue(std::move(r)), dim(d) {}
  // "Value" / "Dual" as a full matrix into out (length >= dim * dim); false after recording why.
  bool Info(const char* info, double* out, int length);

  int dim = 0;
};

using PsdVarArray = detail::LongVector<PsdVar>;

}  // namespace Tarq

class TarqPsdVar final : public Tarq::detail::InlineHandled<Tarq::IPsdVar, Tarq::PsdVar> {
 public:
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  int GetDim() const override { return Data().dim; }
  int GetLen() const override { return Data().dim * Data().dim; }
  int GetSize() const override { return GetLen(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kPsdColKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kPsdColKind, name); }
  void Get(const char* info, double* out, int length) override { Data().Info(info, out, length); }
  Tarq::INdArray<double, 2>* Get(const char* info) override;
  Tarq::IPsdExpr* Sum() override;
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqPsdVarArray final : public Tarq::detail::InlineHandled<Tarq::IPsdVarArray, Tarq::PsdVarArray> {
 public:
  using InlineHandled::InlineHandled;
  TarqPsdVarArray() : InlineHandled(std::in_place) {}

  void PushBack(const Tarq::IPsdVar* var) override;
  int Size() const override { return static_cast<int>(Data().size()); }
  void Reserve(int n) override { Tarq::detail::GrowAhead(Data(), n > 0 ? static_cast<std::size_t>(n) : 0); }
  Tarq::IPsdVarArray* Clone() const override { return new TarqPsdVarArray(Data()); }
  Tarq::IPsdVar* GetPsdVar(int i) const override {
    return new TarqPsdVar(Tarq::detail::InRange(Data(), i) ? Data()[i] : Tarq::PsdVar());
  }
};

namespace Tarq {
inline const PsdVar& PsdVarOf(const IPsdVar* v) { return detail::DataOf<TarqPsdVar>(v); }
inline const PsdVarArray& PsdVarsOf(const IPsdVarArray* a) { return detail::DataOf<TarqPsdVarArray>(a); }
}  // namespace Tarq
