// The exported factory functions of the modeling layer. Every Create function returns a new
// heap object owned by the caller, who destroys it through its interface.
#pragma once

#include "tarq/constraint.h"
#include "tarq/envr.h"
#include "tarq/expr.h"
#include "tarq/model.h"
#include "tarq/var.h"
#include "tarq/visibility.h"

extern "C" {

// 8 for 0 (major), 0 for 1 (minor), 1 for 2 (technical), -1 for anything else.
TARQ_CPP_API int GetTarqVersion(int which);

TARQ_CPP_API Tarq::IEnvr* CreateEnvr(Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithPath(const char* path, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithConfig(Tarq::IEnvrConfig* config, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvrConfig* CreateEnvrConfig();

TARQ_CPP_API Tarq::IModel* CreateModel(Tarq::IEnvr* env, const char* name);

// Empty arrays, columns and builders.
TARQ_CPP_API Tarq::IVarArray* CreateVarArray();
TARQ_CPP_API Tarq::IConstrArray* CreateConstrArray();
TARQ_CPP_API Tarq::IColumn* CreateColumn();
TARQ_CPP_API Tarq::IColumnArray* CreateColumnArray();
TARQ_CPP_API Tarq::IConstrBuilder* CreateConstrBuilder();
TARQ_CPP_API Tarq::IConstrBuilderArray* CreateConstrBuilderArray();

// An expression holding only a constant, and one holding the single term coeff * var.
TARQ_CPP_API Tarq::IExpr* CreateExpr(double constant);
TARQ_CPP_API Tarq::IExpr* CreateLinExpr(Tarq::IVar* var, double coeff);

}  // extern "C"
