#include "scalar/qconstraint.h"
#include "scalar/quad_expr.h"
#include "scalar/var.h"
#include "tarq/exports.h"

extern "C" {

Tarq::IQuadExpr* CreateQuadExpr1(double constant) { return new TarqQuadExpr(Tarq::QuadExpr(constant)); }

Tarq::IQuadExpr* CreateQuadExpr2(Tarq::IVar* var, double coeff) {
  Tarq::QuadExpr q;
  q.lin.AddTerm(Tarq::VarOf(var), coeff);
  return new TarqQuadExpr(std::move(q));
}

Tarq::IQuadExpr* CreateQuadExpr3(Tarq::IExpr* expr) {
  Tarq::QuadExpr q;
  q.lin.AddExpr(Tarq::ExprOf(expr), 1.0);
  return new TarqQuadExpr(std::move(q));
}

Tarq::IQuadExpr* CreateQuadExpr4(Tarq::IExpr* expr, Tarq::IVar* var) {
  Tarq::QuadExpr q;
  q.AddMulExprVar(Tarq::ExprOf(expr), Tarq::VarOf(var));
  return new TarqQuadExpr(std::move(q));
}

Tarq::IQuadExpr* CreateQuadExpr5(Tarq::IExpr* expr1, Tarq::IExpr* expr2) {
  Tarq::QuadExpr q;
  q.AddMulExpr(Tarq::ExprOf(expr1), Tarq::ExprOf(expr2));
  return new TarqQuadExpr(std::move(q));
}

Tarq::IQConstrArray* CreateQConstrArray() { return new TarqQConstrArray(); }
Tarq::IQConstrBuilder* CreateQConstrBuilder() { return new TarqQConstrBuilder(); }
Tarq::IQConstrBuilderArray* CreateQConstrBuilderArray() { return new TarqQConstrBuilderArray(); }

}  // extern "C"
