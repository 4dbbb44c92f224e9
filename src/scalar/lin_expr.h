// Linear expressions: the value type Tarq::LinExpr and its handle TarqExpr.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "frame/grow.h"
#include "frame/handle.h"
#include "frame/small_heap.h"
#include "frame/status.h"
#include "scalar/scalar_value.h"
#include "tarq/expr.h"

namespace Tarq {

// A term's variable: a bare record pointer. The expression holding it pins the record's holder
// (HolderPins), so the record outlives the term; copying a term touches neither record nor count.
struct VarRef {
  detail::ObjectRecord* rec = detail::FailedRecordPtr();
  int index = detail::kFailedIndex;  // the index as of epoch
  std::uint32_t epoch = 0;           // the holder's epoch when index was read; 0: not known

  int Index() const noexcept { return rec->index; }
  // The current index, without reading the record when the holder is still at the epoch in
  // which index was read (the caller passes the holder's epoch).
  int IndexAt(std::uint32_t holderEpoch) const noexcept {
    return epoch == holderEpoch && epoch != 0 ? index : rec->index;
  }
  const detail::ProblemHolder* Holder() const noexcept { return rec->Problem(); }
  // A variable value (fresh status) sharing the record.
  Var ToVar() const { return Var(detail::RecordRef(rec)); }
};

// Terms stay as the caller adds them (duplicates and zeros included) until a model merges them.
// Every term's record belongs to a holder in pins; add terms through AddTerm or AddExpr, which
// keep that so.
struct LinExpr {
  detail::SmallVector<double> coefs;
  detail::SmallVector<VarRef> vars;
  double constant = 0;
  detail::Status status;
  detail::HolderPins pins;

  LinExpr() = default;
  explicit LinExpr(double c) : constant(c) {}

  int Size() const { return static_cast<int>(coefs.size()); }
  // Whether v can take one more element without growing: asked in the form push_back asks it,
  // so that the compiler leaves push_back's growth out of the path that has checked.
  template <class T>
  static bool HasRoom(const detail::SmallVector<T>& v) noexcept {
    return v.data() + v.size() != v.data() + v.capacity();
  }
  void AddTerm(const Var& var, double coef) {
    // A variable of the holder already pinned whose remembered index is current, with room in
    // both arrays (nearly every term): the reads of the variable's value are independent of each
    // other, and little else happens while they arrive.
    const detail::HolderBlock* first = pins.FirstHolder();
    if (first != nullptr && HasRoom(coefs) && HasRoom(vars)) [[likely]] {
      VarRef ref{var.record.Get()};
      ref.epoch = first->object->epoch;
      if (var.CurrentIndexIn(ref.epoch, ref.index)) [[likely]] {
        coefs.push_back(coef);
        vars.push_back(ref);
        return;
      }
    }
    AddTermSlow(var, coef);
  }
  // Any term: reads the index through the record when needed and pins the holder.
  void AddTermSlow(const Var& var, double coef);
  // A term of a variable list's element (a record without a remembered index).
  void AddTerm(const detail::RecordValue& var, double coef) {
    VarRef ref{var.record.Get()};
    ref.index = var.TermIndex(pins, ref.epoch);
    coefs.push_back(coef);
    vars.push_back(ref);
  }
  // Removes every term and sets the constant to 0; the status stays.
  void ClearTerms() {
    coefs.clear();
    vars.clear();
    pins.Clear();
  }
  void AddExpr(const LinExpr& other, double mult);
  void MultiplyBy(double d);
  void DivideBy(double d);
  // The value at the current solution, or 1e30 with the failing variable's status.
  double Evaluate();
  // Printed form examining at most maxLen / 8 terms.
  void Print(std::ostream& out, int maxLen);
};

std::ostream& operator<<(std::ostream& out, LinExpr& expr);

}  // namespace Tarq

class TarqExpr final : public Tarq::detail::InlineHandled<Tarq::IExpr, Tarq::LinExpr> {
 public:
  using InlineHandled::InlineHandled;
  explicit TarqExpr(double constant) : InlineHandled(std::in_place, constant) {}

  int GetSize() const override { return Data().Size(); }
  Tarq::IVar* GetVar(int i) const override;
  // Out of range: 1e30 (and SetCoeff does nothing, GetVar gives a variable of index -2).
  double GetCoeff(int i) const override {
    return Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : TARQ_INFINITY;
  }
  double GetConstant() const override { return Data().constant; }
  void SetCoeff(int i, double value) override {
    if (Tarq::detail::InRange(Data().coefs, i)) Data().coefs[i] = value;
  }
  void SetConstant(double value) override { Data().constant = value; }
  void AddConstant(double value) override { Data().constant += value; }
  void AddTerm(const Tarq::IVar* var, double coeff) override;
  int AddTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) override;
  int AddTerms(const Tarq::IVarArray* vars, double coeff) override;
  int AddTerms(const std::vector<Tarq::IVar*>& vars, const double* coeffs, int len) override;
  int AddTerms(const std::vector<Tarq::IVar*>& vars, double coeff) override;
  void AddExpr(const Tarq::IExpr* other, double mult) override;
  double Evaluate() override { return Data().Evaluate(); }
  void Remove(int i) override;
  void Remove(const Tarq::IVar* var) override;
  void Reserve(int n) override;
  void Clear() override;
  Tarq::IExpr* Clone() const override;
  void DivideBy(double d) override { Data().DivideBy(d); }
  void MultiplyBy(double d) override { Data().MultiplyBy(d); }
  const char* ToString(int maxLen) override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }

 private:
  std::string text_;  // the last printed form
};

namespace Tarq {
inline LinExpr& ExprOf(const IExpr* e) { return detail::DataOf<TarqExpr>(e); }
}  // namespace Tarq
