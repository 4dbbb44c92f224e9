// Coefficient access, the whole matrix by columns, and bulk loading.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"
#include "scalar/var.h"

using Tarq::Constraint;
using Tarq::Var;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

// Flushes, then checks one constraint and one variable; false after recording why.
bool Pair(ModelData& m, const Tarq::IConstraint* constr, const Tarq::IVar* var, int& row, int& col) {
  if (!m.Flush()) return false;
  if (!m.Indices(std::vector<Constraint>{Tarq::ConstrOf(constr)}, "constraint")) return false;
  row = m.idx_[0];
  if (!m.Indices(std::vector<Var>{Tarq::VarOf(var)}, "variable")) return false;
  col = m.idx_[0];
  return true;
}

}  // namespace

double TarqModel::GetCoeff(const Tarq::IConstraint* constr, const Tarq::IVar* var) {
  ModelData& m = Data();
  int row = 0, col = 0;
  if (!Pair(m, constr, var, row, col)) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_GetElem(m.Problem(), row, col, &value), "Fail to get coefficient")) return TARQ_INFINITY;
  return value;
}

void TarqModel::SetCoeff(const Tarq::IConstraint* constr, const Tarq::IVar* var, double value) {
  ModelData& m = Data();
  int row = 0, col = 0;
  if (!Pair(m, constr, var, row, col)) return;
  Checked(m.status, TARQ_SetElem(m.Problem(), row, col, value), "Fail to change coefficient");
}

void TarqModel::SetCoeffs(const Tarq::IConstrArray* constrs, const Tarq::IVarArray* vars, const double* values,
                          int len) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  const Tarq::ConstrArray& cs = Tarq::ConstrsOf(constrs);
  const Tarq::VarArray& vs = Tarq::VarsOf(vars);
  if (cs.size() != vs.size() || len < 0 || static_cast<std::size_t>(len) != cs.size() ||
      (len > 0 && values == nullptr)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Dimensions mismatch among constraints, variables and values");
    return;
  }
  if (!m.Indices(vs, "variable")) return;
  std::vector<int> cols = m.idx_;
  if (!m.Indices(cs, "constraint")) return;
  Checked(m.status, TARQ_SetElems(m.Problem(), len, m.idx_.data(), cols.data(), values), "Fail to change coefficients");
}

void TarqModel::GetColMatrix(std::vector<int>& beg, std::vector<int>& cnt, std::vector<int>& idx,
                             std::vector<double>& val) {
  ModelData& m = Data();
  beg.clear();
  cnt.clear();
  idx.clear();
  val.clear();
  if (!m.Flush()) return;
  int n = 0, size = 0;
  if (!Checked(m.status, TARQ_GetIntAttr(m.Problem(), "Cols", &n), "Fail to get coefficient matrix") ||
      !Checked(m.status, TARQ_GetIntAttr(m.Problem(), "Elems", &size), "Fail to get coefficient matrix")) {
    return;
  }
  beg.resize(static_cast<std::size_t>(n));
  cnt.resize(static_cast<std::size_t>(n));
  idx.resize(static_cast<std::size_t>(size));
  val.resize(static_cast<std::size_t>(size));
  if (!Checked(m.status, TARQ_GetCols(m.Problem(), n, nullptr, beg.data(), cnt.data(), idx.data(), val.data(), size,
                                      &size),
               "Fail to get coefficient matrix")) {
    beg.clear();
    cnt.clear();
    idx.clear();
    val.clear();
  }
}

void TarqModel::LoadMatrix(int nCol, int nRow, int objSense, double objConst, const double* obj, const int* colBeg,
                           const int* colCnt, const int* colIdx, const double* colVal, const char* types,
                           const double* colLower, const double* colUpper, const char* rowSenses,
                           const double* rowBound, const double* rowUpper, const char* const* colNames,
                           const char* const* rowNames) {
  ModelData& m = Data();
  if (!Checked(m.status,
               TARQ_LoadProb(m.Problem(), nCol, nRow, objSense, objConst, obj, colBeg, colCnt, colIdx, colVal, types,
                             colLower, colUpper, rowSenses, rowBound, rowUpper, colNames, rowNames),
               "Fail to load matrix")) {
    return;
  }
  m.Resync();
}
