// What the model's semidefinite operations share: storing symmetric-matrix expressions as
// matrices of the model, objects for the model's records of PSD variables, LMI constraints and
// matrices (their dimensions read from the solver library), and combining the terms of one
// variable.
#pragma once

#include <vector>

#include "model/model.h"
#include "psdnl/lmi.h"
#include "psdnl/psd_expr.h"

namespace Tarq::detail {

// Stores a triplet matrix; the failed matrix after recording failure.
SymMatrix AddStoredMat(ModelData& m, int dim, int nz, const int* rows, const int* cols, const double* vals,
                       const char* failure);

// The matrix index for an expression: a single stored matrix of this model with coefficient 1
// is used as it is; otherwise the expression's elements are summed into a new matrix. False
// after recording the failure.
bool StoreSymExpr(ModelData& m, const SymMatExpr& e, int& index);

// The model's stored matrix of index idx (with its dimension), or the failed matrix.
SymMatrix StoredMat(ModelData& m, int idx);
// The model's PSD variable / LMI constraint behind a record, with its dimension from the solver.
PsdVar PsdVarFor(ModelData& m, const RecordRef& r);
LmiConstraint LmiConstrFor(ModelData& m, const RecordRef& r);

// PSD terms of one variable combined (coefficient expressions appended), in the order the
// variables first occur; terms of removed variables dropped. False (status recorded) for a
// variable of another model or a coefficient whose dimension is not the variable's.
struct PsdTerm {
  int index;
  SymMatExpr coef;
};
bool CombinePsdTerms(ModelData& m, const PsdExpr& e, std::vector<PsdTerm>& out);

// The same for LMI terms; all coefficients (and the constant, when not empty) of one dimension,
// written to dim (0 when there is no term and no constant).
struct LmiTerm {
  int index;
  SymMatExpr coef;
};
bool CombineLmiTerms(ModelData& m, const LmiExpr& e, std::vector<LmiTerm>& out, int& dim);

}  // namespace Tarq::detail
