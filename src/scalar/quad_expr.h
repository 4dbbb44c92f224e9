// Quadratic expressions: the value type Tarq::QuadExpr and its handle TarqQuadExpr.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "frame/grow.h"
#include "frame/handle.h"
#include "frame/status.h"
#include "scalar/lin_expr.h"
#include "scalar/scalar_value.h"
#include "tarq/quad_expr.h"

namespace Tarq {

// A linear part plus quadratic terms coefs[i] * vars1[i] * vars2[i], kept as the caller adds
// them. A plain value: copies are deep, moves cost a few pointer swaps, so it can serve as the
// entry of n-dimensional expressions. Its status is its own, apart from the linear part's.
// Every quadratic term's records belong to a holder in pins (the linear part pins its own); add
// terms through AddQuadTerm, AddQuadExpr and the products, which keep that so.
struct QuadExpr {
  LinExpr lin;
  std::vector<double> coefs;
  std::vector<VarRef> vars1;
  std::vector<VarRef> vars2;
  detail::Status status;
  detail::HolderPins pins;

  QuadExpr() = default;
  explicit QuadExpr(double constant) : lin(constant) {}
  explicit QuadExpr(LinExpr linear) : lin(std::move(linear)) {}

  int Size() const { return static_cast<int>(coefs.size()); }
  // Var or detail::RecordValue (a variable list's element) each.
  template <class V1, class V2>
  void AddQuadTerm(const V1& v1, const V2& v2, double coef) {
    VarRef a{v1.record.Get()};
    a.index = v1.TermIndex(pins, a.epoch);
    VarRef b{v2.record.Get()};
    b.index = v2.TermIndex(pins, b.epoch);
    AddQuadRef(a, b, coef);
  }
  // Appends a term whose records the caller has pinned in pins already.
  void AddQuadRef(const VarRef& v1, const VarRef& v2, double coef) {
    coefs.push_back(coef);
    vars1.push_back(v1);
    vars2.push_back(v2);
  }
  void Reserve(std::size_t n);
  // other * mult (both parts); nothing for mult 0.
  void AddQuadExpr(const QuadExpr& other, double mult);
  // e1 * e2: the cross terms with the constants go to the linear part, then one quadratic term
  // per pair of terms (e1 term i, e2 term j), i outer, in order.
  void AddMulExpr(const LinExpr& e1, const LinExpr& e2);
  // e * v: the linear term (v, constant of e), then one quadratic term per term of e.
  void AddMulExprVar(const LinExpr& e, const Var& v);
  void MultiplyBy(double d);
  void DivideBy(double d);
  // Removes quadratic term i (in range) by moving the last term into its place.
  void RemoveAt(std::size_t i);
  // Removes the quadratic terms whose first variable has this index (none for a negative one).
  void RemoveFirst(int index);
  // Both parts emptied; the statuses stay.
  void Clear();
  // A copy of both parts without the statuses.
  QuadExpr Copy() const;
  // The value at the current solution, or 1e30 with the failing variable's status.
  double Evaluate();
  void Print(std::ostream& out, int maxLen);
};

std::ostream& operator<<(std::ostream& out, QuadExpr& expr);

}  // namespace Tarq

class TarqQuadExpr final : public Tarq::detail::InlineHandled<Tarq::IQuadExpr, Tarq::QuadExpr> {
 public:
  using InlineHandled::InlineHandled;

  int GetSize() const override { return Data().Size(); }
  Tarq::IVar* GetVar1(int i) const override;
  Tarq::IVar* GetVar2(int i) const override;
  double GetCoeff(int i) const override {
    return Tarq::detail::InRange(Data().coefs, i) ? Data().coefs[i] : TARQ_INFINITY;
  }
  double GetConstant() const override { return Data().lin.constant; }
  Tarq::IExpr* GetLinExpr() const override { return new TarqExpr(Data().lin); }
  void SetCoeff(int i, double value) override {
    if (Tarq::detail::InRange(Data().coefs, i)) Data().coefs[i] = value;
  }
  void SetConstant(double value) override { Data().lin.constant = value; }
  void AddConstant(double value) override { Data().lin.constant += value; }
  void AddLinTerm(const Tarq::IVar* var, double coeff) override;
  void AddQuadTerm(const Tarq::IVar* var1, const Tarq::IVar* var2, double coeff) override;
  int AddLinTerms(const Tarq::IVarArray* vars, const double* coeffs, int len) override;
  int AddLinTerms(const Tarq::IVarArray* vars, double coeff) override;
  int AddQuadTerms(const Tarq::IVarArray* vars1, const Tarq::IVarArray* vars2, const double* coeffs,
                   int len) override;
  int AddQuadTerms(const Tarq::IVarArray* vars1, const Tarq::IVarArray* vars2, double coeff) override;
  void AddLinExpr(const Tarq::IExpr* expr, double mult) override;
  void AddQuadExpr(const Tarq::IQuadExpr* expr, double mult) override;
  void AddMulExpr(const Tarq::IExpr* expr1, const Tarq::IExpr* expr2) override;
  void AddMulExprVar(const Tarq::IExpr* expr, const Tarq::IVar* var) override;
  double Evaluate() override { return Data().Evaluate(); }
  void Remove(int i) override;
  void Remove(const Tarq::IVar* var) override;
  void Reserve(int n) override { Data().Reserve(n > 0 ? static_cast<std::size_t>(n) : 0); }
  void Clear() override { Data().Clear(); }
  Tarq::IQuadExpr* Clone() const override { return new TarqQuadExpr(Data().Copy()); }
  void DivideBy(double d) override { Data().DivideBy(d); }
  void MultiplyBy(double d) override { Data().MultiplyBy(d); }
  const char* ToString(int maxLen) override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }

 private:
  std::string text_;  // the last printed form
};

namespace Tarq {
inline QuadExpr& QuadExprOf(const IQuadExpr* e) { return detail::DataOf<TarqQuadExpr>(e); }
}  // namespace Tarq
