// Variable handles and variable arrays.
#pragma once

#include <vector>

#include "frame/handle.h"
#include "scalar/scalar_value.h"
#include "tarq/var.h"

class TarqVar final : public Tarq::detail::Handled<Tarq::IVar, Tarq::Var> {
 public:
  using Handled::Handled;
  explicit TarqVar(const Tarq::Var& var) : Handled(Tarq::detail::BlockRef<Tarq::Var>::Make(var)) {}

  int GetIdx() const override { return Data().Index(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kColumnKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kColumnKind, name); }
  char GetType() override { return Data().Type(); }
  void SetType(char type) override { Data().SetType(type); }
  int GetBasis() override { return Data().Basis(Tarq::detail::kColumnKind); }
  int GetLowerIIS() override { return Data().LowerIIS(Tarq::detail::kColumnKind); }
  int GetUpperIIS() override { return Data().UpperIIS(Tarq::detail::kColumnKind); }
  double Get(const char* info) override { return Data().Get(Tarq::detail::kColumnKind, info); }
  void Set(const char* info, double value) override { Data().Set(Tarq::detail::kColumnKind, info, value); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

namespace Tarq {

// The Var behind a caller's interface pointer.
inline const Var& VarOf(const IVar* var) { return static_cast<const TarqVar*>(var)->Data(); }

using VarArray = std::vector<Var>;

}  // namespace Tarq

class TarqVarArray final : public Tarq::detail::Handled<Tarq::IVarArray, Tarq::VarArray> {
 public:
  using Handled::Handled;
  TarqVarArray() : Handled(Tarq::detail::BlockRef<Tarq::VarArray>::Make()) {}
  explicit TarqVarArray(Tarq::VarArray vars)
      : Handled(Tarq::detail::BlockRef<Tarq::VarArray>::Make(std::move(vars))) {}

  void PushBack(const Tarq::IVar* var) override;
  void PushBack(const std::vector<Tarq::IVar*>& vars) override;
  int GetSize() const override { return static_cast<int>(Data().size()); }
  Tarq::IVar* GetVar(int i) const override { return new TarqVar(Data()[i]); }
  std::vector<Tarq::IVar*> GetAll() const override;
  void Reserve(int n) override { Data().reserve(static_cast<std::size_t>(n)); }
};

namespace Tarq {
inline const VarArray& VarsOf(const IVarArray* vars) { return static_cast<const TarqVarArray*>(vars)->Data(); }
}  // namespace Tarq
