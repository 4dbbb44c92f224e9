#include "psdnl/nl_expr.h"
#include "psdnl/nlconstraint.h"
#include "scalar/var.h"
#include "tarq/exports.h"

extern "C" {

Tarq::INlExpr* CreateNlExpr1(double constant) { return new TarqNlExpr(constant); }

Tarq::INlExpr* CreateNlExpr2(Tarq::IVar* var, double coeff) {
  Tarq::NlExpr e;
  e.lin.AddTerm(Tarq::VarOf(var), coeff);
  return new TarqNlExpr(std::move(e));
}

Tarq::INlExpr* CreateNlExpr3(Tarq::IExpr* expr) {
  Tarq::NlExpr e;
  e.lin.AddExpr(Tarq::ExprOf(expr), 1.0);
  return new TarqNlExpr(std::move(e));
}

Tarq::INlExpr* CreateNlExpr4(Tarq::IQuadExpr* expr) {
  const Tarq::QuadExpr& q = Tarq::QuadExprOf(expr);
  Tarq::NlExpr e;
  e.lin.AddExpr(q.lin, 1.0);
  e.ConvertQuad(q, 1.0, 0);
  return new TarqNlExpr(std::move(e));
}

Tarq::INlHelper* CreateNlHelper() { return new TarqNlHelper(); }

Tarq::INlConstrArray* CreateNlConstrArray() { return new TarqNlConstrArray(); }
Tarq::INlConstrBuilder* CreateNlConstrBuilder() { return new TarqNlConstrBuilder(); }
Tarq::INlConstrBuilderArray* CreateNlConstrBuilderArray() { return new TarqNlConstrBuilderArray(); }

}  // extern "C"
