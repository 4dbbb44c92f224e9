// The exported factory functions of the modeling layer. Every Create function returns a new
// heap object owned by the caller, who destroys it through its interface.
#pragma once

#include "tarq/constraint.h"
#include "tarq/envr.h"
#include "tarq/expr.h"
#include "tarq/lmi.h"
#include "tarq/model.h"
#include "tarq/nl_expr.h"
#include "tarq/nlconstraint.h"
#include "tarq/psd_expr.h"
#include "tarq/psd_var.h"
#include "tarq/sym_mat.h"
#include "tarq/var.h"
#include "tarq/ndarray.h"
#include "tarq/prob_buffer.h"
#include "tarq/qconstraint.h"
#include "tarq/quad_expr.h"
#include "tarq/sos_cone.h"
#include "tarq/visibility.h"

extern "C" {

// 8 for 0 (major), 0 for 1 (minor), 1 for 2 (technical), -1 for anything else.
TARQ_CPP_API int GetTarqVersion(int which);

TARQ_CPP_API Tarq::IEnvr* CreateEnvr(Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithPath(const char* path, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithConfig(Tarq::IEnvrConfig* config, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvrConfig* CreateEnvrConfig();

TARQ_CPP_API Tarq::IModel* CreateModel(Tarq::IEnvr* env, const char* name);

// A problem buffer of size + 1 zero bytes (an empty one for a negative size).
TARQ_CPP_API Tarq::IProbBuffer* CreateProbBuffer(int size);

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
// Quadratic expressions: a constant; coeff * var; a copy of a linear expression; the products
// expr * var and expr1 * expr2 (see IQuadExpr::AddMulExprVar and AddMulExpr).
TARQ_CPP_API Tarq::IQuadExpr* CreateQuadExpr1(double constant);
TARQ_CPP_API Tarq::IQuadExpr* CreateQuadExpr2(Tarq::IVar* var, double coeff);
TARQ_CPP_API Tarq::IQuadExpr* CreateQuadExpr3(Tarq::IExpr* expr);
TARQ_CPP_API Tarq::IQuadExpr* CreateQuadExpr4(Tarq::IExpr* expr, Tarq::IVar* var);
TARQ_CPP_API Tarq::IQuadExpr* CreateQuadExpr5(Tarq::IExpr* expr1, Tarq::IExpr* expr2);
// Empty quadratic-constraint arrays and builders.
TARQ_CPP_API Tarq::IQConstrArray* CreateQConstrArray();
TARQ_CPP_API Tarq::IQConstrBuilder* CreateQConstrBuilder();
TARQ_CPP_API Tarq::IQConstrBuilderArray* CreateQConstrBuilderArray();
// Empty SOS, indicator, cone and exponential-cone lists, builders and builder lists.
TARQ_CPP_API Tarq::ISosArray* CreateSosArray();
TARQ_CPP_API Tarq::ISosBuilder* CreateSosBuilder();
TARQ_CPP_API Tarq::ISosBuilderArray* CreateSosBuilderArray();
TARQ_CPP_API Tarq::IGenConstrArray* CreateGenConstrArray();
TARQ_CPP_API Tarq::IGenConstrBuilder* CreateGenConstrBuilder();
TARQ_CPP_API Tarq::IGenConstrBuilderArray* CreateGenConstrBuilderArray();
TARQ_CPP_API Tarq::IConeArray* CreateConeArray();
TARQ_CPP_API Tarq::IConeBuilder* CreateConeBuilder();
TARQ_CPP_API Tarq::IConeBuilderArray* CreateConeBuilderArray();
TARQ_CPP_API Tarq::IExpConeArray* CreateExpConeArray();
TARQ_CPP_API Tarq::IExpConeBuilder* CreateExpConeBuilder();
TARQ_CPP_API Tarq::IExpConeBuilderArray* CreateExpConeBuilderArray();
// Semidefinite modeling: empty arrays and builders; symmetric-matrix expressions (empty, or one
// term coeff * mat); PSD expressions from a constant, coeff * var, a copy of a linear expression,
// or one term <mat, var> / <expr, var>; LMI expressions (empty, the constant mat or expr, or one
// term var * mat / var * expr).
TARQ_CPP_API Tarq::IPsdVarArray* CreatePsdVarArray();
TARQ_CPP_API Tarq::IPsdConstrArray* CreatePsdConstrArray();
TARQ_CPP_API Tarq::IPsdConstrBuilder* CreatePsdConstrBuilder();
TARQ_CPP_API Tarq::IPsdConstrBuilderArray* CreatePsdConstrBuilderArray();
TARQ_CPP_API Tarq::ILmiConstrArray* CreateLmiConstrArray();
TARQ_CPP_API Tarq::ISymMatrixArray* CreateSymMatrixArray();
TARQ_CPP_API Tarq::ISymMatExpr* CreateSymMatExpr1();
TARQ_CPP_API Tarq::ISymMatExpr* CreateSymMatExpr2(Tarq::ISymMatrix* mat, double coeff);
TARQ_CPP_API Tarq::IPsdExpr* CreatePsdExpr1(double constant);
TARQ_CPP_API Tarq::IPsdExpr* CreatePsdExpr2(Tarq::IVar* var, double coeff);
TARQ_CPP_API Tarq::IPsdExpr* CreatePsdExpr3(Tarq::IExpr* expr);
TARQ_CPP_API Tarq::IPsdExpr* CreatePsdExpr4(Tarq::IPsdVar* var, Tarq::ISymMatrix* mat);
TARQ_CPP_API Tarq::IPsdExpr* CreatePsdExpr5(Tarq::IPsdVar* var, Tarq::ISymMatExpr* expr);
TARQ_CPP_API Tarq::ILmiExpr* CreateLmiExpr1();
TARQ_CPP_API Tarq::ILmiExpr* CreateLmiExpr2(Tarq::ISymMatrix* mat);
TARQ_CPP_API Tarq::ILmiExpr* CreateLmiExpr3(Tarq::ISymMatExpr* expr);
TARQ_CPP_API Tarq::ILmiExpr* CreateLmiExpr4(Tarq::IVar* var, Tarq::ISymMatrix* mat);
TARQ_CPP_API Tarq::ILmiExpr* CreateLmiExpr5(Tarq::IVar* var, Tarq::ISymMatExpr* expr);
// Nonlinear expressions: 1 a constant; 2 coeff * var; 3 a copy of a linear expression; 4 a
// quadratic expression, its quadratic terms as tokens. The function factory is stateless.
TARQ_CPP_API Tarq::INlExpr* CreateNlExpr1(double constant);
TARQ_CPP_API Tarq::INlExpr* CreateNlExpr2(Tarq::IVar* var, double coeff);
TARQ_CPP_API Tarq::INlExpr* CreateNlExpr3(Tarq::IExpr* expr);
TARQ_CPP_API Tarq::INlExpr* CreateNlExpr4(Tarq::IQuadExpr* expr);
TARQ_CPP_API Tarq::INlHelper* CreateNlHelper();
// Empty nonlinear-constraint arrays and builders.
TARQ_CPP_API Tarq::INlConstrArray* CreateNlConstrArray();
TARQ_CPP_API Tarq::INlConstrBuilder* CreateNlConstrBuilder();
TARQ_CPP_API Tarq::INlConstrBuilderArray* CreateNlConstrBuilderArray();

// N-dimensional arrays over caller data: CreateNdArray{Dbl,Int,Int64t}{1,2,3}{WithData,WithExData}
// take the element pointer (row-major) and one size per dimension, and return an array of that
// row-major shape.
// - WithData hands the elements over: they are released when the last array sharing them goes,
//   with delete when there is exactly one element (allocate it with new T) and with delete[]
//   when there are more (new T[n]). With no elements the pointer is not released.
// - WithExData borrows them: they are never released, and the caller keeps them alive as long
//   as any array made from them lives.
// A null pointer gives an array without storage. A negative size, or sizes whose product does
// not fit in 63 bits, give an array without storage carrying code 3; the caller keeps the
// elements.
#define TARQ_DECLARE_NDARRAY_CREATE(TNAME, T)                                                      \
  TARQ_CPP_API Tarq::INdArray<T, 1>* CreateNdArray##TNAME##1WithData(T* data, int d0);            \
  TARQ_CPP_API Tarq::INdArray<T, 2>* CreateNdArray##TNAME##2WithData(T* data, int d0, int d1);    \
  TARQ_CPP_API Tarq::INdArray<T, 3>* CreateNdArray##TNAME##3WithData(T* data, int d0, int d1,     \
                                                                     int d2);                     \
  TARQ_CPP_API Tarq::INdArray<T, 1>* CreateNdArray##TNAME##1WithExData(T* data, int d0);          \
  TARQ_CPP_API Tarq::INdArray<T, 2>* CreateNdArray##TNAME##2WithExData(T* data, int d0, int d1);  \
  TARQ_CPP_API Tarq::INdArray<T, 3>* CreateNdArray##TNAME##3WithExData(T* data, int d0, int d1,   \
                                                                       int d2);

TARQ_DECLARE_NDARRAY_CREATE(Dbl, double)
TARQ_DECLARE_NDARRAY_CREATE(Int, int)
TARQ_DECLARE_NDARRAY_CREATE(Int64t, long long)

}  // extern "C"
