#include "solve/lp_data.h"

#include "solve/sos_cone_lp.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tarq_solver {

bool LpData::IsMip() const {
  return !sosType.empty() || std::any_of(integer.begin(), integer.end(), [](char c) { return c != 0; });
}

void LpData::AddSet(int type, int nnz, const int* cols, const double* weights) {
  sosType.push_back(type);
  sosIndex.insert(sosIndex.end(), cols, cols + nnz);
  sosWeight.insert(sosWeight.end(), weights, weights + nnz);
  sosStart.push_back(static_cast<CoinBigIndex>(sosIndex.size()));
}

void LpData::AddRow(const std::vector<double>& dense, double lower, double upper) {
  for (int j = 0; j < static_cast<int>(dense.size()) && j < nCol; ++j) {
    if (dense[j] == 0.0) continue;
    addIndex.push_back(j);
    addValue.push_back(dense[j]);
  }
  addStart.push_back(static_cast<CoinBigIndex>(addIndex.size()));
  addLower.push_back(lower);
  addUpper.push_back(upper);
}

void LpData::AddSparseRow(int nnz, const int* cols, const double* vals, double lower, double upper) {
  addIndex.insert(addIndex.end(), cols, cols + nnz);
  addValue.insert(addValue.end(), vals, vals + nnz);
  addStart.push_back(static_cast<CoinBigIndex>(addIndex.size()));
  addLower.push_back(lower);
  addUpper.push_back(upper);
}

void LpData::AddCol(double cost, double lower, double upper, int nnz, const int* rows, const double* vals) {
  for (int k = 0; k < nnz; ++k) {
    index.push_back(rows[k]);
    value.push_back(vals[k]);
  }
  start.push_back(static_cast<CoinBigIndex>(index.size()));
  obj.push_back(cost);
  colLower.push_back(lower);
  colUpper.push_back(upper);
  integer.push_back(0);
  ++nCol;
}

double LpData::Objective(const double* x) const {
  double sum = objConst;
  for (int j = 0; j < nCol; ++j) sum += obj[j] * x[j];
  return sum;
}

void LpData::Activities(const double* x, std::vector<double>& out) const {
  out.assign(static_cast<size_t>(Rows()), 0.0);
  for (int j = 0; j < nCol; ++j) {
    if (x[j] == 0.0) continue;
    for (CoinBigIndex p = start[j]; p < start[j + 1]; ++p) out[index[p]] += value[p] * x[j];
  }
  for (size_t r = 0; r + 1 < addStart.size(); ++r) {
    double sum = 0;
    for (CoinBigIndex p = addStart[r]; p < addStart[r + 1]; ++p) sum += addValue[p] * x[addIndex[p]];
    out[nRow + r] = sum;
  }
}

int BuildLpData(Problem& problem, bool relax, LpData& data, SosConeMap* sosCones) {
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  SparseMatrix& matrix = problem.Matrix();
  const std::int64_t nnz = matrix.Nonzeros();
  matrix.Consolidate(Axis::kCol);
  if (nnz > std::numeric_limits<CoinBigIndex>::max()) return TARQ_RETCODE_INVALID;

  const double inf = problem.Params().Dbl(DblParam::InfBound);
  auto lowerOf = [inf](double v) { return v <= -inf ? -TARQ_INFINITY : v; };
  auto upperOf = [inf](double v) { return v >= inf ? TARQ_INFINITY : v; };

  data = LpData();
  data.nCol = cols.Size();
  data.nRow = rows.Size();
  data.sense = problem.ObjSense();
  data.objConst = problem.ObjConst();
  data.obj.assign(cols.obj.begin(), cols.obj.end());
  data.colLower.resize(cols.lower.size());
  data.colUpper.resize(cols.upper.size());
  std::transform(cols.lower.begin(), cols.lower.end(), data.colLower.begin(), lowerOf);
  std::transform(cols.upper.begin(), cols.upper.end(), data.colUpper.begin(), upperOf);
  data.integer.resize(cols.type.size());
  for (size_t j = 0; j < cols.type.size(); ++j) {
    const char t = cols.type[j];
    data.integer[j] = (!relax && t != 'C') ? 1 : 0;
    // Binary columns live in [0, 1] whatever their stored bounds say.
    if (t == 'B') {
      data.colLower[j] = std::max(data.colLower[j], 0.0);
      data.colUpper[j] = std::min(data.colUpper[j], 1.0);
    }
  }
  data.rowLower.resize(rows.lower.size());
  data.rowUpper.resize(rows.upper.size());
  std::transform(rows.lower.begin(), rows.lower.end(), data.rowLower.begin(), lowerOf);
  std::transform(rows.upper.begin(), rows.upper.end(), data.rowUpper.begin(), upperOf);

  data.start.resize(static_cast<size_t>(data.nCol) + 1);
  data.index.resize(static_cast<size_t>(nnz));
  data.value.resize(static_cast<size_t>(nnz));
  CoinBigIndex at = 0;
  data.start[0] = 0;
  for (int j = 0; j < data.nCol; ++j) {
    const VectorView v = matrix.Vector(j);
    if (v.len > 0) {
      std::memcpy(data.index.data() + at, v.idx, static_cast<size_t>(v.len) * sizeof(int));
      std::memcpy(data.value.data() + at, v.val, static_cast<size_t>(v.len) * sizeof(double));
    }
    at += static_cast<CoinBigIndex>(v.len);
    data.start[j + 1] = at;
  }
  if (!relax) AddSosConeConstraints(problem.SosCone(), data, SosConeSelection{}, sosCones);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
