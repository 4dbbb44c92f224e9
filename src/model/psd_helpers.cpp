#include "model/psd_helpers.h"

#include <algorithm>

#include "model/model_templates.h"

namespace Tarq::detail {

SymMatrix AddStoredMat(ModelData& m, int dim, int nz, const int* rows, const int* cols, const double* vals,
                       const char* failure) {
  if (!Checked(m.status, TARQ_AddSymMat(m.Problem(), dim, nz, rows, cols, vals), "%s", failure)) return SymMatrix();
  m.AppendRecords(Kind::kSymMat, 1, nullptr);
  return SymMatrix(m.record->List(Kind::kSymMat).back(), dim);
}

bool StoreSymExpr(ModelData& m, const SymMatExpr& e, int& index) {
  if (e.IsOneStored() && e.mats[0].Holder() == m.Holder()) {
    index = e.mats[0].Index();
    return true;
  }
  std::vector<SymElement> elems;
  if (!e.Elements(elems)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Failed to get elements of symmetric matrix expression");
    return false;
  }
  std::vector<int> rows(elems.size()), cols(elems.size());
  std::vector<double> vals(elems.size());
  for (size_t k = 0; k < elems.size(); ++k) {
    rows[k] = elems[k].row;
    cols[k] = elems[k].col;
    vals[k] = elems[k].val;
  }
  const SymMatrix stored = AddStoredMat(m, e.Dim(), static_cast<int>(elems.size()), rows.data(), cols.data(),
                                        vals.data(), "Failed to add a symmetric matrix to model");
  index = stored.Index();
  return index >= 0;
}

SymMatrix StoredMat(ModelData& m, int idx) {
  if (idx < 0 || idx >= m.Count(Kind::kSymMat)) return SymMatrix();
  int dim = 0, n = 0;
  if (TARQ_GetSymMat(m.Problem(), idx, &dim, nullptr, nullptr, nullptr, 0, &n) != TARQ_RETCODE_OK) return SymMatrix();
  return SymMatrix(m.record->List(Kind::kSymMat)[idx], dim);
}

namespace {

// The solver position of a record: its index, or its former position while not yet deleted.
int Position(const RecordRef& r) { return r->index >= 0 ? r->index : r->index <= -3 ? FormerPosition(r->index) : -1; }

}  // namespace

PsdVar PsdVarFor(ModelData& m, const RecordRef& r) {
  int pos = Position(r), dim = 0;
  if (pos >= 0) TARQ_GetPSDCols(m.Problem(), 1, &pos, &dim);
  return PsdVar(r, dim);
}

LmiConstraint LmiConstrFor(ModelData& m, const RecordRef& r) {
  const int pos = Position(r);
  int dim = 0, n = 0, c = -1;
  if (pos >= 0) TARQ_GetLMIConstr(m.Problem(), pos, &dim, nullptr, nullptr, 0, &n, &c);
  return LmiConstraint(r, dim);
}

namespace {

// Groups term positions by the index of their object (in the order indices first occur),
// dropping negative indices. O(t log t).
template <class Obj>
std::vector<std::vector<size_t>> GroupByIndex(const std::vector<Obj>& objs) {
  std::vector<std::pair<int, size_t>> order;
  for (size_t k = 0; k < objs.size(); ++k) {
    if (objs[k].Index() >= 0) order.emplace_back(objs[k].Index(), k);
  }
  std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
  std::vector<std::vector<size_t>> groups;
  for (size_t k = 0; k < order.size(); ++k) {
    if (k == 0 || order[k].first != order[k - 1].first) groups.emplace_back();
    groups.back().push_back(order[k].second);
  }
  std::sort(groups.begin(), groups.end(), [](auto& a, auto& b) { return a.front() < b.front(); });
  return groups;
}

}  // namespace

bool CombinePsdTerms(ModelData& m, const PsdExpr& e, std::vector<PsdTerm>& out) {
  out.clear();
  for (const PsdVar& v : e.vars) {
    if (v.Index() >= 0 && !m.Owns(v)) {
      Record(m.status, TARQ_RETCODE_INVALID, "PSD variable of another model in expression");
      return false;
    }
  }
  for (const auto& group : GroupByIndex(e.vars)) {
    const int dim = e.vars[group.front()].dim;
    PsdTerm t{e.vars[group.front()].Index(), SymMatExpr()};
    for (size_t k : group) {
      if (e.coefs[k].Dim() != dim) {
        Record(m.status, TARQ_RETCODE_INVALID, "Dimension mismatch between PSD variable and symmetric matrix");
        return false;
      }
      t.coef.AddExpr(e.coefs[k], 1.0);
    }
    out.push_back(std::move(t));
  }
  return true;
}

bool CombineLmiTerms(ModelData& m, const LmiExpr& e, std::vector<LmiTerm>& out, int& dim) {
  out.clear();
  for (const Var& v : e.vars) {
    if (v.Index() >= 0 && !m.Owns(v)) {
      Record(m.status, TARQ_RETCODE_INVALID, "Variable of another model in expression");
      return false;
    }
  }
  dim = e.constant.Dim();
  for (const auto& group : GroupByIndex(e.vars)) {
    LmiTerm t{e.vars[group.front()].Index(), SymMatExpr()};
    for (size_t k : group) {
      const int d = e.coefs[k].Dim();
      if (d < 1 || (dim != 0 && d != dim)) {
        Record(m.status, TARQ_RETCODE_INVALID, "Dimension of symmetric matrix mismatch");
        return false;
      }
      dim = d;
      t.coef.AddExpr(e.coefs[k], 1.0);
    }
    out.push_back(std::move(t));
  }
  return true;
}

}  // namespace Tarq::detail
