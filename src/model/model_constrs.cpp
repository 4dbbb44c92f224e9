// Adding linear constraints.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"

using Tarq::Constraint;
using Tarq::detail::BatchNames;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::NormaliseName;

namespace {

constexpr double kInf = TARQ_INFINITY;

Tarq::IConstraint* FailedConstr() { return new TarqConstraint(Constraint()); }

bool IsInequalityOrEquality(char sense) { return sense == 'E' || sense == 'G' || sense == 'L'; }

// Adds one row through TARQ_AddRow and returns its constraint (index -2 on failure).
Tarq::IConstraint* AddOne(ModelData& m, int nnz, const int* cols, const double* vals, char sense, double bound,
                          double upper, const char* name, const char* failure) {
  const std::string normalised = NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status, TARQ_AddRow(m.Problem(), nnz, cols, vals, sense, bound, upper, text), "%s", failure)) {
    return FailedConstr();
  }
  return new TarqConstraint(m.AppendOne<Constraint>(Kind::kRow, text));
}

// Adds one row from an expression, which is merged in place first (also when the sense is then
// refused): sense 0 means [lower, upper].
Tarq::IConstraint* AddExprRow(ModelData& m, Tarq::LinExpr& e, char sense, double bound, double upper,
                              const char* name) {
  if (!m.GatherExpr(e)) return FailedConstr();
  if (sense != 0 && !IsInequalityOrEquality(sense)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense");
    return FailedConstr();
  }
  return AddOne(m, static_cast<int>(m.idx_.size()), m.idx_.data(), e.coefs.data(), sense, bound, upper, name,
                "Fail to add a constraint");
}

// Adds the rows staged in beg_/idx_/val_ with sense_/lower_/upper_ (null senses: two bounds).
Tarq::IConstrArray* AddStaged(ModelData& m, int count, const int* beg, const int* idx, const double* val,
                              const char* senses, const char* prefix, const char* failure) {
  auto names = BatchNames::FromPrefix(prefix, m.Count(Kind::kRow), count);
  if (!Checked(m.status,
               TARQ_AddRows(m.Problem(), count, beg, nullptr, idx, val, senses, m.lower_.data(), m.upper_.data(),
                            names.Pointers()),
               "%s", failure)) {
    return new TarqConstrArray();
  }
  return new TarqConstrArray(m.Append<Constraint>(Kind::kRow, count, names.Pointers()));
}

// Lays merged expressions end to end as compressed rows, in arrays sized once for the terms as
// given (merging only removes terms).
class RowStager {
 public:
  // Values are staged too unless the rows are merged where they lie (a packed builder list).
  RowStager(ModelData& m, std::size_t rows, std::size_t terms, bool stageValues) : m_(m) {
    beg_.reserve(rows + 1);
    beg_.push_back(0);
    idx_.reserve(terms);
    if (stageValues) val_.reserve(terms);
  }
  bool Add(Tarq::LinExpr& e) {
    if (!m_.GatherExpr(e)) return false;
    AppendIndices();
    val_.insert(val_.end(), e.coefs.begin(), e.coefs.end());
    return true;
  }
  // Builder k of a packed list (added in order from 0), merged where it lies: its run keeps its
  // start and may end early until Close lays the runs end to end again.
  bool Add(Tarq::ConstrBuilderArray& list, std::size_t k, bool mixed) {
    const std::size_t from = list.start[k];
    Tarq::detail::TermRun<double> coefs(list.coefs.data() + from, list.start[k + 1] - from);
    Tarq::detail::TermRun<Tarq::VarRef> vars(list.vars.data() + from, coefs.size());
    if (!m_.GatherTerms(coefs, vars, mixed)) return false;
    AppendIndices();
    return true;
  }
  // Closes the gaps that merging left in a packed list: the builders added take their merged
  // length, the others keep theirs. The list's coefficients then go with Beg() and Idx().
  void Close(Tarq::ConstrBuilderArray& list) const {
    const std::size_t n = list.size(), merged = beg_.size() - 1;
    std::size_t to = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t from = list.start[k];
      const std::size_t len =
          k < merged ? static_cast<std::size_t>(beg_[k + 1] - beg_[k]) : list.start[k + 1] - from;
      if (to != from) {
        const auto f = static_cast<std::ptrdiff_t>(from), t = static_cast<std::ptrdiff_t>(to),
                   l = static_cast<std::ptrdiff_t>(len);
        std::move(list.coefs.begin() + f, list.coefs.begin() + f + l, list.coefs.begin() + t);
        std::move(list.vars.begin() + f, list.vars.begin() + f + l, list.vars.begin() + t);
      }
      list.start[k] = to;
      to += len;
    }
    list.start[n] = to;
    list.coefs.resize(to);
    list.vars.resize(to);
  }
  const int* Beg() const { return beg_.data(); }
  const int* Idx() const { return idx_.data(); }
  const double* Val() const { return val_.data(); }

 private:
  void AppendIndices() {
    idx_.insert(idx_.end(), m_.idx_.begin(), m_.idx_.end());
    beg_.push_back(static_cast<int>(idx_.size()));
  }

  ModelData& m_;
  Tarq::detail::LongVector<int> beg_, idx_;  // long lists on huge pages, see huge_alloc.h
  Tarq::detail::LongVector<double> val_;
};

}  // namespace

Tarq::IConstraint* TarqModel::AddConstr(Tarq::IExpr* expr, char sense, double rhs, const char* name) {
  Tarq::LinExpr& e = Tarq::ExprOf(expr);
  // Sense 0 would mean two bounds; here it is as invalid as any other letter.
  return AddExprRow(Data(), e, sense == 0 ? 'X' : sense, rhs - e.constant, kInf, name);
}

Tarq::IConstraint* TarqModel::AddConstr(Tarq::IExpr* expr, double lb, double ub, const char* name) {
  Tarq::LinExpr& e = Tarq::ExprOf(expr);
  return AddExprRow(Data(), e, 0, lb - e.constant, ub - e.constant, name);
}

Tarq::IConstraint* TarqModel::AddConstr(int nnz, const int* cols, const double* vals, char sense, double rhs,
                                        const char* name) {
  ModelData& m = Data();
  if (!IsInequalityOrEquality(sense)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense: %d", sense);
    return FailedConstr();
  }
  return AddOne(m, nnz, cols, vals, sense, rhs, kInf, name, "Fail to add a constraint with row data");
}

Tarq::IConstraint* TarqModel::AddConstr(int nnz, const int* cols, const double* vals, double lb, double ub,
                                        const char* name) {
  return AddOne(Data(), nnz, cols, vals, 0, lb, ub, name, "Fail to add a constraint with row data");
}

Tarq::IConstraint* TarqModel::AddConstr(Tarq::IConstrBuilder* builder, const char* name) {
  ModelData& m = Data();
  Tarq::ConstrBuilder& b = Tarq::BuilderOf(builder);
  if (b.sense == 'R') return AddExprRow(m, b.expr, 0, -b.range - b.expr.constant, 0 - b.expr.constant, name);
  return AddExprRow(m, b.expr, b.sense == 0 ? 'X' : b.sense, -b.expr.constant, kInf, name);
}

Tarq::IConstrArray* TarqModel::AddConstrs(Tarq::IConstrBuilderArray* builders, const char* prefix) {
  ModelData& m = Data();
  Tarq::ConstrBuilderArray& all = Tarq::BuildersOf(builders);
  const std::size_t n = all.size();
  // Every builder's terms are merged first, where they lie (the list is left merged), then the
  // senses are checked; the merged list's coefficients go to the solver as they are.
  RowStager rows(m, n, all.coefs.size(), false);
  const bool mixed = !all.pins.OnlyHolder(m.record->problem.Block());
  for (std::size_t k = 0; k < n; ++k) {
    if (!rows.Add(all, k, mixed)) {
      rows.Close(all);
      return new TarqConstrArray();
    }
  }
  rows.Close(all);
  m.sense_.resize(n);
  m.lower_.resize(n);
  m.upper_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    const char sense = all.sense[k];
    m.sense_[k] = sense;
    switch (sense) {
      case 'E': case 'G': case 'L': m.lower_[k] = -all.constant[k]; m.upper_[k] = kInf; break;
      case 'N': m.lower_[k] = -kInf; m.upper_[k] = kInf; break;
      case 'R': m.lower_[k] = -all.constant[k]; m.upper_[k] = all.range[k]; break;
      default:
        Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense");
        return new TarqConstrArray();
    }
  }
  return AddStaged(m, static_cast<int>(n), rows.Beg(), rows.Idx(), all.coefs.data(), m.sense_.data(), prefix,
                   "Fail to add constraints");
}

Tarq::IConstrArray* TarqModel::AddConstrs(const std::vector<Tarq::IExpr*>& exprs, const char* senses,
                                          const double* rhs, const char* prefix) {
  ModelData& m = Data();
  const std::size_t n = exprs.size();
  if (senses == nullptr && n > 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense");
    return new TarqConstrArray();
  }
  if (rhs == nullptr && n > 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid right-hand side values of constraints");
    return new TarqConstrArray();
  }
  m.lower_.resize(n);
  m.upper_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    if (senses[k] == 'R') {
      Record(m.status, TARQ_RETCODE_INVALID, "Use constrbuilder to add range constraint");
      return new TarqConstrArray();
    }
    if (!IsInequalityOrEquality(senses[k]) && senses[k] != 'N') {
      Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense");
      return new TarqConstrArray();
    }
    m.lower_[k] = rhs[k] - Tarq::ExprOf(exprs[k]).constant;
    m.upper_[k] = kInf;
  }
  std::size_t terms = 0;
  for (Tarq::IExpr* e : exprs) terms += Tarq::ExprOf(e).coefs.size();
  RowStager rows(m, n, terms, true);
  for (Tarq::IExpr* e : exprs) {
    if (!rows.Add(Tarq::ExprOf(e))) return new TarqConstrArray();
  }
  return AddStaged(m, static_cast<int>(n), rows.Beg(), rows.Idx(), rows.Val(), senses, prefix,
                   "Fail to add constraints");
}

Tarq::IConstrArray* TarqModel::AddConstrs(int count, const char* senses, const double* rhs, const char* prefix) {
  ModelData& m = Data();
  const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
  if (n > 0 && (senses == nullptr || rhs == nullptr)) {
    Record(m.status, TARQ_RETCODE_INVALID,
           senses == nullptr ? "Invalid constraint sense" : "Invalid right-hand side values of constraints");
    return new TarqConstrArray();
  }
  m.lower_.resize(n);
  m.upper_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double r = rhs[k];
    switch (senses[k]) {
      case 'E': m.lower_[k] = r; m.upper_[k] = r; break;
      case 'L': m.lower_[k] = -kInf; m.upper_[k] = r; break;
      case 'G': m.lower_[k] = r; m.upper_[k] = kInf; break;
      case 'N': m.lower_[k] = -kInf; m.upper_[k] = kInf; break;
      case 'R':
        Record(m.status, TARQ_RETCODE_INVALID, "Use constrbuilder to add range constraint");
        return new TarqConstrArray();
      default:
        Record(m.status, TARQ_RETCODE_INVALID, "Invalid constraint sense");
        return new TarqConstrArray();
    }
  }
  return AddStaged(m, count, nullptr, nullptr, nullptr, nullptr, prefix, "Fail to add constraints");
}

Tarq::IConstrArray* TarqModel::AddConstrs(int count, const char* senses, const double* rhs, const int* beg,
                                          const int* cnt, const int* idx, const double* val, const char* prefix) {
  ModelData& m = Data();
  if (count > 0 && (senses == nullptr || rhs == nullptr)) {
    Record(m.status, TARQ_RETCODE_INVALID,
           senses == nullptr ? "Invalid constraint sense" : "Invalid right-hand side values of constraints");
    return new TarqConstrArray();
  }
  auto names = BatchNames::FromPrefix(prefix, m.Count(Kind::kRow), count);
  if (!Checked(m.status, TARQ_AddRows(m.Problem(), count, beg, cnt, idx, val, senses, rhs, nullptr, names.Pointers()),
               "Fail to add constraints with row matrix data")) {
    return new TarqConstrArray();
  }
  return new TarqConstrArray(m.Append<Constraint>(Kind::kRow, count, names.Pointers()));
}
