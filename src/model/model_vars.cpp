// Adding variables.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/column.h"
#include "scalar/var.h"

using Tarq::Var;
using Tarq::detail::BatchNames;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::NormaliseName;

namespace {

Tarq::IVar* FailedVar() { return new TarqVar(Var()); }

// Adds one column through TARQ_AddCol and returns its variable (index -2 on failure).
Tarq::IVar* AddOne(ModelData& m, double lb, double ub, double obj, char type, int nnz, const int* rows,
                   const double* vals, const char* name, const char* failure) {
  const std::string normalised = NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status, TARQ_AddCol(m.Problem(), obj, nnz, rows, vals, type, lb, ub, text), "%s", failure)) {
    return FailedVar();
  }
  return new TarqVar(m.AppendOne<Var>(Kind::kCol, text));
}

// Scalars repeated for a batch. A value equal to the solver library's default for a missing array
// (lower bound 0, upper bound infinity, objective 0, type 'C') gets no array: large batches of
// default-bounded variables then allocate and touch nothing here.
struct Repeat {
  std::vector<double> lb, ub, obj;
  std::vector<char> type;
  Repeat(int count, double l, double u, double o, char t) {
    const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (l != 0.0) lb.assign(n, l);  // a NaN is not 0 and reaches the solver's check
    if (u != TARQ_INFINITY) ub.assign(n, u);
    if (o != 0.0) obj.assign(n, o);
    if (t != 'C') type.assign(n, t);
  }
  template <class T>
  static const T* Or(const std::vector<T>& v) {
    return v.empty() ? nullptr : v.data();
  }
};

// Adds count columns through TARQ_AddCols and returns their variables (an empty array on failure).
Tarq::IVarArray* AddMany(ModelData& m, int count, const double* lb, const double* ub, const double* obj,
                         const char* types, const int* beg, const int* cnt, const int* idx, const double* val,
                         const BatchNames& names, const char* failure) {
  if (!Checked(m.status, TARQ_AddCols(m.Problem(), count, obj, beg, cnt, idx, val, types, lb, ub, names.Pointers()),
               "%s", failure)) {
    return new TarqVarArray();
  }
  return new TarqVarArray(m.Append<Tarq::detail::RecordValue>(Kind::kCol, count, names.Pointers()));
}

// Packed names for count objects; records "Invalid size of input names" when they do not fit.
bool Packed(ModelData& m, const char* buffer, std::size_t size, int count, BatchNames& out) {
  if (out.FromPacked(buffer, size, count)) return true;
  Record(m.status, TARQ_RETCODE_INVALID, "Invalid size of input names");
  return false;
}

}  // namespace

Tarq::IVar* TarqModel::AddVar(double lb, double ub, double obj, char type, const char* name) {
  return AddOne(Data(), lb, ub, obj, type, 0, nullptr, nullptr, name, "Fail to add a variable");
}

Tarq::IVar* TarqModel::AddVar(double lb, double ub, double obj, char type, Tarq::IColumn* col, const char* name) {
  ModelData& m = Data();
  if (col != nullptr && !m.GatherColumn(Tarq::ColumnOf(col))) return FailedVar();
  const int nnz = col != nullptr ? static_cast<int>(m.idx_.size()) : 0;
  const double* vals = col != nullptr ? Tarq::ColumnOf(col).coefs.data() : nullptr;
  return AddOne(m, lb, ub, obj, type, nnz, m.idx_.data(), vals, name,
                "Fail to add a variable using Column data");
}

Tarq::IVar* TarqModel::AddVar(double lb, double ub, double obj, char type, int nnz, const int* rows,
                              const double* vals, const char* name) {
  return AddOne(Data(), lb, ub, obj, type, nnz, rows, vals, name, "Fail to add a variable with column data");
}

Tarq::IVarArray* TarqModel::AddVars(int count, char type, const char* prefix) {
  std::vector<char> types(count > 0 ? count : 0, type);
  auto names = BatchNames::FromPrefix(prefix, Data().Count(Kind::kCol), count);
  return AddMany(Data(), count, nullptr, nullptr, nullptr, types.data(), nullptr, nullptr, nullptr, nullptr, names,
                 "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, double lb, double ub, double obj, char type, const char* prefix) {
  Repeat r(count, lb, ub, obj, type);
  auto names = BatchNames::FromPrefix(prefix, Data().Count(Kind::kCol), count);
  return AddMany(Data(), count, Repeat::Or(r.lb), Repeat::Or(r.ub), Repeat::Or(r.obj), Repeat::Or(r.type), nullptr,
                 nullptr, nullptr, nullptr, names, "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, const double* lb, const double* ub, const double* obj,
                                    const char* types, const char* prefix) {
  auto names = BatchNames::FromPrefix(prefix, Data().Count(Kind::kCol), count);
  return AddMany(Data(), count, lb, ub, obj, types, nullptr, nullptr, nullptr, nullptr, names, "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, char type, const char* names, std::size_t size) {
  BatchNames packed;
  if (!Packed(Data(), names, size, count, packed)) return new TarqVarArray();
  std::vector<char> types(count > 0 ? count : 0, type);
  return AddMany(Data(), count, nullptr, nullptr, nullptr, types.data(), nullptr, nullptr, nullptr, nullptr, packed,
                 "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, double lb, double ub, double obj, char type, const char* names,
                                    std::size_t size) {
  BatchNames packed;
  if (!Packed(Data(), names, size, count, packed)) return new TarqVarArray();
  Repeat r(count, lb, ub, obj, type);
  return AddMany(Data(), count, Repeat::Or(r.lb), Repeat::Or(r.ub), Repeat::Or(r.obj), Repeat::Or(r.type), nullptr,
                 nullptr, nullptr, nullptr, packed, "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, const double* lb, const double* ub, const double* obj,
                                    const char* types, const char* names, std::size_t size) {
  BatchNames packed;
  if (!Packed(Data(), names, size, count, packed)) return new TarqVarArray();
  return AddMany(Data(), count, lb, ub, obj, types, nullptr, nullptr, nullptr, nullptr, packed, "Fail to add vars");
}

Tarq::IVarArray* TarqModel::AddVars(int count, const double* lb, const double* ub, const double* obj,
                                    const char* types, Tarq::IColumnArray* cols) {
  return AddVars(count, lb, ub, obj, types, cols, nullptr);
}

Tarq::IVarArray* TarqModel::AddVars(int count, const double* lb, const double* ub, const double* obj,
                                    const char* types, Tarq::IColumnArray* cols, const char* prefix) {
  ModelData& m = Data();
  Tarq::ColumnArray* columns = cols != nullptr ? &Tarq::ColumnsOf(cols) : nullptr;
  if (count < 0 || columns == nullptr || static_cast<std::size_t>(count) > columns->size()) {
    Record(m.status, TARQ_RETCODE_INVALID, "Not enough columns");
    return new TarqVarArray();
  }
  // Merge each column, laying the entries end to end as compressed columns.
  std::vector<int> beg(static_cast<std::size_t>(count) + 1, 0), idx;
  std::vector<double> val;
  for (int k = 0; k < count; ++k) {
    if (!m.GatherColumn((*columns)[k])) return new TarqVarArray();
    idx.insert(idx.end(), m.idx_.begin(), m.idx_.end());
    val.insert(val.end(), (*columns)[k].coefs.begin(), (*columns)[k].coefs.end());
    beg[k + 1] = static_cast<int>(idx.size());
  }
  auto names = BatchNames::FromPrefix(prefix, m.Count(Kind::kCol), count);
  return AddMany(m, count, lb, ub, obj, types, beg.data(), nullptr, idx.data(), val.data(), names,
                 "Fail to add vars with column matrix data");
}

Tarq::IVarArray* TarqModel::AddVars(int count, const double* lb, const double* ub, const double* obj,
                                    const char* types, const int* beg, const int* cnt, const int* idx,
                                    const double* val, const char* prefix) {
  auto names = BatchNames::FromPrefix(prefix, Data().Count(Kind::kCol), count);
  return AddMany(Data(), count, lb, ub, obj, types, beg, cnt, idx, val, names,
                 "Fail to add vars with column matrix data");
}
