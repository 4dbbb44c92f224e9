#include "scalar/column.h"
#include "scalar/constraint.h"
#include "scalar/lin_expr.h"
#include "scalar/var.h"
#include "tarq/exports.h"

extern "C" {

Tarq::IVarArray* CreateVarArray() { return new TarqVarArray(); }
Tarq::IConstrArray* CreateConstrArray() { return new TarqConstrArray(); }
Tarq::IColumn* CreateColumn() { return new TarqColumn(); }
Tarq::IColumnArray* CreateColumnArray() { return new TarqColumnArray(); }
Tarq::IConstrBuilder* CreateConstrBuilder() { return new TarqConstrBuilder(); }
Tarq::IConstrBuilderArray* CreateConstrBuilderArray() { return new TarqConstrBuilderArray(); }

Tarq::IExpr* CreateExpr(double constant) { return new TarqExpr(constant); }

Tarq::IExpr* CreateLinExpr(Tarq::IVar* var, double coeff) {
  Tarq::LinExpr e;
  e.AddTerm(Tarq::VarOf(var), coeff);
  return new TarqExpr(std::move(e));
}

}  // extern "C"
