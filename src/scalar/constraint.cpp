#include "scalar/constraint.h"

#include <algorithm>

std::vector<Tarq::IConstraint*> TarqConstrArray::GetAll() const {
  std::vector<Tarq::IConstraint*> all;
  all.reserve(Data().size());
  for (const Tarq::Constraint& c : Data()) {
    c.RememberIndex();
    all.push_back(new TarqConstraint(c));
  }
  return all;
}

Tarq::IExpr* TarqConstrBuilder::GetExpr() const { return new TarqExpr(Data().expr); }

void TarqConstrBuilder::Set(const Tarq::IExpr* expr, char sense, double rhs) {
  Tarq::ConstrBuilder& b = Data();
  b.expr = Tarq::ExprOf(expr);
  b.expr.constant -= rhs;
  b.sense = sense;
  b.range = 0;
}

void TarqConstrBuilder::SetRange(const Tarq::IExpr* expr, double range) {
  Tarq::ConstrBuilder& b = Data();
  b.expr = Tarq::ExprOf(expr);
  b.sense = 'R';
  b.range = range;
}

void TarqConstrBuilderArray::PushBack(const Tarq::IConstrBuilder* b) { Data().push_back(Tarq::BuilderOf(b)); }

namespace Tarq {

void ConstrBuilderArray::reserve(std::size_t n) {
  start.reserve(n + 1);
  constant.reserve(n);
  range.reserve(n);
  sense.reserve(n);
}

void ConstrBuilderArray::push_back(const ConstrBuilder& b) {
  const LinExpr& e = b.expr;
  coefs.insert(coefs.end(), e.coefs.begin(), e.coefs.end());
  vars.insert(vars.end(), e.vars.begin(), e.vars.end());
  start.push_back(coefs.size());
  constant.push_back(e.constant);
  range.push_back(b.range);
  sense.push_back(b.sense);
  pins.Pin(e.pins);
  if (!e.status.Ok()) failed.emplace_back(sense.size() - 1, e.status);
}

ConstrBuilder ConstrBuilderArray::At(std::size_t k) const {
  ConstrBuilder b;
  b.sense = sense[k];
  b.range = range[k];
  LinExpr& e = b.expr;
  e.constant = constant[k];
  e.coefs.assign(coefs.begin() + static_cast<std::ptrdiff_t>(start[k]),
                 coefs.begin() + static_cast<std::ptrdiff_t>(start[k + 1]));
  e.vars.assign(vars.begin() + static_cast<std::ptrdiff_t>(start[k]),
                vars.begin() + static_cast<std::ptrdiff_t>(start[k + 1]));
  for (const VarRef& v : e.vars) e.pins.Pin(v.rec->Holder());
  const auto it = std::lower_bound(failed.begin(), failed.end(), k,
                                   [](const std::pair<std::size_t, detail::Status>& f, std::size_t at) { return f.first < at; });
  if (it != failed.end() && it->first == k) e.status = it->second;
  return b;
}

}  // namespace Tarq
