#include "scalar/constraint.h"

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
