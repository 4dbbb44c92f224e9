#include "psdnl/lmi.h"
#include "psdnl/psd_expr.h"
#include "scalar/var.h"
#include "tarq/exports.h"

extern "C" {

Tarq::IPsdVarArray* CreatePsdVarArray() { return new TarqPsdVarArray(); }
Tarq::IPsdConstrArray* CreatePsdConstrArray() { return new TarqPsdConstrArray(); }
Tarq::IPsdConstrBuilder* CreatePsdConstrBuilder() { return new TarqPsdConstrBuilder(); }
Tarq::IPsdConstrBuilderArray* CreatePsdConstrBuilderArray() { return new TarqPsdConstrBuilderArray(); }
Tarq::ILmiConstrArray* CreateLmiConstrArray() { return new TarqLmiConstrArray(); }
Tarq::ISymMatrixArray* CreateSymMatrixArray() { return new TarqSymMatrixArray(); }

Tarq::ISymMatExpr* CreateSymMatExpr1() { return new TarqSymMatExpr(); }

Tarq::ISymMatExpr* CreateSymMatExpr2(Tarq::ISymMatrix* mat, double coeff) {
  return new TarqSymMatExpr(Tarq::SymMatExpr(Tarq::SymMatOf(mat), coeff));
}

Tarq::IPsdExpr* CreatePsdExpr1(double constant) { return new TarqPsdExpr(Tarq::PsdExpr(constant)); }

Tarq::IPsdExpr* CreatePsdExpr2(Tarq::IVar* var, double coeff) {
  Tarq::PsdExpr e;
  e.lin.AddTerm(Tarq::VarOf(var), coeff);
  return new TarqPsdExpr(std::move(e));
}

Tarq::IPsdExpr* CreatePsdExpr3(Tarq::IExpr* expr) {
  Tarq::PsdExpr e;
  e.lin = Tarq::ExprOf(expr);
  return new TarqPsdExpr(std::move(e));
}

Tarq::IPsdExpr* CreatePsdExpr4(Tarq::IPsdVar* var, Tarq::ISymMatrix* mat) {
  Tarq::PsdExpr e;
  e.AddTerm(Tarq::PsdVarOf(var), Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0));
  return new TarqPsdExpr(std::move(e));
}

Tarq::IPsdExpr* CreatePsdExpr5(Tarq::IPsdVar* var, Tarq::ISymMatExpr* expr) {
  Tarq::PsdExpr e;
  e.AddTerm(Tarq::PsdVarOf(var), Tarq::SymExprOf(expr));
  return new TarqPsdExpr(std::move(e));
}

Tarq::ILmiExpr* CreateLmiExpr1() { return new TarqLmiExpr(); }

Tarq::ILmiExpr* CreateLmiExpr2(Tarq::ISymMatrix* mat) {
  Tarq::LmiExpr e;
  e.constant = Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0);
  return new TarqLmiExpr(std::move(e));
}

Tarq::ILmiExpr* CreateLmiExpr3(Tarq::ISymMatExpr* expr) {
  Tarq::LmiExpr e;
  e.constant = Tarq::SymExprOf(expr);
  return new TarqLmiExpr(std::move(e));
}

Tarq::ILmiExpr* CreateLmiExpr4(Tarq::IVar* var, Tarq::ISymMatrix* mat) {
  Tarq::LmiExpr e;
  e.AddTerm(Tarq::VarOf(var), Tarq::SymMatExpr(Tarq::SymMatOf(mat), 1.0));
  return new TarqLmiExpr(std::move(e));
}

Tarq::ILmiExpr* CreateLmiExpr5(Tarq::IVar* var, Tarq::ISymMatExpr* expr) {
  Tarq::LmiExpr e;
  e.AddTerm(Tarq::VarOf(var), Tarq::SymExprOf(expr));
  return new TarqLmiExpr(std::move(e));
}

}  // extern "C"
