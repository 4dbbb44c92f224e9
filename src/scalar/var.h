// Variable handles and variable arrays.
#pragma once

#include <vector>

#include "frame/grow.h"
#include "frame/handle.h"
#include "frame/huge_alloc.h"
#include "scalar/scalar_handle.h"
#include "tarq/var.h"

class TarqVar final : public Tarq::detail::ScalarHandle<Tarq::IVar, Tarq::Var, Tarq::detail::kColumnKind> {
 public:
  using ScalarHandle::ScalarHandle;
  char GetType() override { return Data().Type(); }
  void SetType(char type) override { Data().SetType(type); }
};

// A variable handle is its vtable and its value, 32 bytes of the small-object heap on a 32-byte
// boundary: an expression term reads one line of the handle it is given, and a list's handles
// take half a line each.
static_assert(sizeof(TarqVar) == 32);

namespace Tarq {

// The Var behind a caller's interface pointer.
inline const Var& VarOf(const IVar* var) { return detail::DataOf<TarqVar>(var); }

// A list of variables holds their records alone; a Var is made when an element is handed out.
using VarArray = detail::LongVector<detail::RecordValue>;

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
  // Out of range: a variable of index -2.
  Tarq::IVar* GetVar(int i) const override {
    return new TarqVar(Tarq::detail::InRange(Data(), i) ? Tarq::Var(Data()[i].record) : Tarq::Var());
  }
  std::vector<Tarq::IVar*> GetAll() const override;
  void Reserve(int n) override { Data().reserve(static_cast<std::size_t>(n)); }
};

namespace Tarq {
inline const VarArray& VarsOf(const IVarArray* vars) { return detail::DataOf<TarqVarArray>(vars); }
}  // namespace Tarq
