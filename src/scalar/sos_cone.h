// Handles, handle lists, builders and builder lists of the SOS, indicator and cone constraints: SOS, indicator
// (general) constraints, second-order cones and exponential cones.
//
// The four kinds differ little: handles are a shared record (plus a status for SOS and
// indicators), lists are vectors of those values, builders hold a type and variables. Lists,
// builder lists and the variable-list builders are therefore one template each, instantiated per
// kind; only what a kind has of its own is written out.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/huge_alloc.h"
#include "frame/grow.h"
#include "frame/handle.h"
#include "scalar/lin_expr.h"
#include "scalar/scalar_value.h"
#include "scalar/var.h"
#include "tarq/sos_cone.h"

namespace Tarq {
namespace detail {

// How SOS constraints and indicator rows are named and asked for IIS membership through the
// solver library (the IIS call sits in the lower-bound slot).
extern const ScalarKind kSosKind;
extern const ScalarKind kGenConstrKind;

}  // namespace detail

class Sos : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
};

class GenConstr : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
};

class Cone : public detail::RecordValue {
 public:
  using RecordValue::RecordValue;
};

class ExpCone : public detail::RecordValue {
 public:
  using RecordValue::RecordValue;
};

using SosArray = detail::LongVector<Sos>;
using GenConstrArray = detail::LongVector<GenConstr>;
using ConeArray = detail::LongVector<Cone>;
using ExpConeArray = detail::LongVector<ExpCone>;

// An SOS before it is added: type, variables and one weight per variable.
struct SosBuilder {
  int type = 0;
  VarArray vars;
  std::vector<double> weights;
};

// An indicator constraint before it is added: when binVar = binVal, expr <sense> 0.
struct GenConstrBuilder {
  Var binVar;
  int binVal = 0;
  LinExpr expr;
  char sense = 0;
  int type = 0;
};

// A cone or exponential cone before it is added: type and variables in order.
struct ConeBuilder {
  int type = 0;
  VarArray vars;
};

using SosBuilderArray = detail::LongVector<SosBuilder>;
using GenConstrBuilderArray = detail::LongVector<GenConstrBuilder>;
using ConeBuilderArray = detail::LongVector<ConeBuilder>;

namespace detail {

// A handle on a cone of either kind: its index and its removal.
template <class Iface, class Value>
class RecordHandle : public InlineHandled<Iface, Value> {
 public:
  using Interface = Iface;
  using InlineHandled<Iface, Value>::InlineHandled;

  int GetIdx() const override { return this->Data().Index(); }
  void Remove() override { this->Data().Remove(); }
};

// A list of handles of one kind: PushBack shares the element's record, At makes a new handle.
template <class Iface, class ElemImpl>
class HandleList : public Handled<Iface, LongVector<typename ElemImpl::DataType>> {
  using Value = typename ElemImpl::DataType;
  using List = LongVector<Value>;
  using Base = Handled<Iface, List>;

 public:
  HandleList() : Base(BlockRef<List>::Make()) {}
  explicit HandleList(List items) : Base(BlockRef<List>::Make(std::move(items))) {}

  void PushBack(const typename ElemImpl::Interface* elem) override {
    GrowAhead(this->Data(), 1);
    this->Data().push_back(DataOf<ElemImpl>(elem));
  }
  int GetSize() const override { return static_cast<int>(this->Data().size()); }

 protected:
  // Out of range: a handle of index -2.
  typename ElemImpl::Interface* At(int i) const {
    return new ElemImpl(InRange(this->Data(), i) ? this->Data()[i] : Value());
  }
};

// A list of builders of one kind; elements are deep-copied in and out.
template <class Iface, class BuilderImpl>
class BuilderList : public Handled<Iface, LongVector<typename BuilderImpl::DataType>> {
  using List = LongVector<typename BuilderImpl::DataType>;
  using Base = Handled<Iface, List>;

 public:
  BuilderList() : Base(BlockRef<List>::Make()) {}
  explicit BuilderList(List items) : Base(BlockRef<List>::Make(std::move(items))) {}

  void PushBack(const typename BuilderImpl::Interface* b) override {
    GrowAhead(this->Data(), 1);
    this->Data().push_back(DataOf<BuilderImpl>(b));
  }
  int GetSize() const override { return static_cast<int>(this->Data().size()); }
  typename BuilderImpl::Interface* GetBuilder(int i) const override {
    return InRange(this->Data(), i) ? new BuilderImpl(this->Data()[i]) : new BuilderImpl();
  }
};

// The readers every builder over a list of variables has (SOS, cones, exponential cones).
template <class Iface, class Data>
class VarListBuilder : public Handled<Iface, Data> {
  using Base = Handled<Iface, Data>;

 public:
  using Interface = Iface;
  VarListBuilder() : Base(BlockRef<Data>::Make()) {}
  explicit VarListBuilder(Data d) : Base(BlockRef<Data>::Make(std::move(d))) {}

  int GetType() const override { return this->Data().type; }
  int GetSize() const override { return static_cast<int>(this->Data().vars.size()); }
  IVar* GetVar(int i) const override {
    return new TarqVar(InRange(this->Data().vars, i) ? Var(this->Data().vars[i].record) : Var());
  }
  IVarArray* GetVars() const override { return new TarqVarArray(this->Data().vars); }

 protected:
  // Sets the type and appends the variables; returns how many were appended.
  std::size_t Append(const IVarArray* vars, int type) {
    const VarArray& add = VarsOf(vars);
    VarArray& held = this->Data().vars;
    this->Data().type = type;
    GrowAhead(held, add.size());
    held.insert(held.end(), add.begin(), add.end());
    return add.size();
  }
};

}  // namespace detail
}  // namespace Tarq

class TarqSos final : public Tarq::detail::InlineHandled<Tarq::ISos, Tarq::Sos> {
 public:
  using Interface = Tarq::ISos;
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  int GetIIS() override { return Data().LowerIIS(Tarq::detail::kSosKind); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqGenConstr final : public Tarq::detail::InlineHandled<Tarq::IGenConstr, Tarq::GenConstr> {
 public:
  using Interface = Tarq::IGenConstr;
  using InlineHandled::InlineHandled;

  int GetIdx() const override { return Data().Index(); }
  const char* GetName() override { return Data().Name(Tarq::detail::kGenConstrKind); }
  void SetName(const char* name) override { Data().SetName(Tarq::detail::kGenConstrKind, name); }
  int GetIIS() override { return Data().LowerIIS(Tarq::detail::kGenConstrKind); }
  void Remove() override { Data().Remove(); }
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};

class TarqCone final : public Tarq::detail::RecordHandle<Tarq::ICone, Tarq::Cone> {
 public:
  using RecordHandle::RecordHandle;
};

class TarqExpCone final : public Tarq::detail::RecordHandle<Tarq::IExpCone, Tarq::ExpCone> {
 public:
  using RecordHandle::RecordHandle;
};

class TarqSosArray final : public Tarq::detail::HandleList<Tarq::ISosArray, TarqSos> {
 public:
  using HandleList::HandleList;
  Tarq::ISos* GetSos(int i) const override { return At(i); }
};

class TarqGenConstrArray final : public Tarq::detail::HandleList<Tarq::IGenConstrArray, TarqGenConstr> {
 public:
  using HandleList::HandleList;
  std::vector<Tarq::IGenConstr*> GetAll() const override;
  Tarq::IGenConstr* GetGenConstr(int i) const override { return At(i); }
  void Reserve(int n) override { Data().reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
};

class TarqConeArray final : public Tarq::detail::HandleList<Tarq::IConeArray, TarqCone> {
 public:
  using HandleList::HandleList;
  Tarq::ICone* GetCone(int i) const override { return At(i); }
};

class TarqExpConeArray final : public Tarq::detail::HandleList<Tarq::IExpConeArray, TarqExpCone> {
 public:
  using HandleList::HandleList;
  Tarq::IExpCone* GetExpCone(int i) const override { return At(i); }
};

class TarqSosBuilder final : public Tarq::detail::VarListBuilder<Tarq::ISosBuilder, Tarq::SosBuilder> {
 public:
  using VarListBuilder::VarListBuilder;
  double GetWeight(int i) const override;
  void GetWeights(double* weights) const override;
  void Set(const Tarq::IVarArray* vars, const double* weights, int type) override;
};

class TarqConeBuilder final : public Tarq::detail::VarListBuilder<Tarq::IConeBuilder, Tarq::ConeBuilder> {
 public:
  using VarListBuilder::VarListBuilder;
  void Set(const Tarq::IVarArray* vars, int type) override { Append(vars, type); }
};

class TarqExpConeBuilder final : public Tarq::detail::VarListBuilder<Tarq::IExpConeBuilder, Tarq::ConeBuilder> {
 public:
  using VarListBuilder::VarListBuilder;
  void Set(const Tarq::IVarArray* vars, int type) override { Append(vars, type); }
};

class TarqGenConstrBuilder final : public Tarq::detail::Handled<Tarq::IGenConstrBuilder, Tarq::GenConstrBuilder> {
 public:
  using Interface = Tarq::IGenConstrBuilder;
  TarqGenConstrBuilder() : Handled(Tarq::detail::BlockRef<Tarq::GenConstrBuilder>::Make()) {}
  explicit TarqGenConstrBuilder(Tarq::GenConstrBuilder b)
      : Handled(Tarq::detail::BlockRef<Tarq::GenConstrBuilder>::Make(std::move(b))) {}

  Tarq::IVar* GetBinVar() const override { return new TarqVar(Data().binVar); }
  int GetBinVal() const override { return Data().binVal; }
  Tarq::IExpr* GetExpr() const override { return new TarqExpr(Data().expr); }
  char GetSense() const override { return Data().sense; }
  int GetType() const override { return Data().type; }
  void Set(const Tarq::IVar* binVar, int binVal, const Tarq::IExpr* expr, char sense, int type) override;
};

class TarqSosBuilderArray final : public Tarq::detail::BuilderList<Tarq::ISosBuilderArray, TarqSosBuilder> {
 public:
  using BuilderList::BuilderList;
};

class TarqGenConstrBuilderArray final
    : public Tarq::detail::BuilderList<Tarq::IGenConstrBuilderArray, TarqGenConstrBuilder> {
 public:
  using BuilderList::BuilderList;
};

class TarqConeBuilderArray final : public Tarq::detail::BuilderList<Tarq::IConeBuilderArray, TarqConeBuilder> {
 public:
  using BuilderList::BuilderList;
};

class TarqExpConeBuilderArray final
    : public Tarq::detail::BuilderList<Tarq::IExpConeBuilderArray, TarqExpConeBuilder> {
 public:
  using BuilderList::BuilderList;
};

namespace Tarq {
inline const Sos& SosOf(const ISos* s) { return detail::DataOf<TarqSos>(s); }
inline const GenConstr& GenConstrOf(const IGenConstr* c) { return detail::DataOf<TarqGenConstr>(c); }
inline const SosArray& SossOf(const ISosArray* a) { return detail::DataOf<TarqSosArray>(a); }
inline const GenConstrArray& GenConstrsOf(const IGenConstrArray* a) { return detail::DataOf<TarqGenConstrArray>(a); }
inline const ConeArray& ConesOf(const IConeArray* a) { return detail::DataOf<TarqConeArray>(a); }
inline const ExpConeArray& ExpConesOf(const IExpConeArray* a) { return detail::DataOf<TarqExpConeArray>(a); }
inline SosBuilder& SosBuilderOf(const ISosBuilder* b) { return detail::DataOf<TarqSosBuilder>(b); }
inline GenConstrBuilder& GenConstrBuilderOf(const IGenConstrBuilder* b) {
  return detail::DataOf<TarqGenConstrBuilder>(b);
}
inline ConeBuilder& ConeBuilderOf(const IConeBuilder* b) { return detail::DataOf<TarqConeBuilder>(b); }
inline ConeBuilder& ExpConeBuilderOf(const IExpConeBuilder* b) { return detail::DataOf<TarqExpConeBuilder>(b); }
inline SosBuilderArray& SosBuildersOf(const ISosBuilderArray* a) { return detail::DataOf<TarqSosBuilderArray>(a); }
inline GenConstrBuilderArray& GenConstrBuildersOf(const IGenConstrBuilderArray* a) {
  return detail::DataOf<TarqGenConstrBuilderArray>(a);
}
inline ConeBuilderArray& ConeBuildersOf(const IConeBuilderArray* a) { return detail::DataOf<TarqConeBuilderArray>(a); }
inline ConeBuilderArray& ExpConeBuildersOf(const IExpConeBuilderArray* a) {
  return detail::DataOf<TarqExpConeBuilderArray>(a);
}
}  // namespace Tarq
