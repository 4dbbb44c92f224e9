// Adding PSD variables, PSD constraints and LMI constraints.
#include "model/model_templates.h"
#include "model/psd_helpers.h"
#include "model/tarq_model.h"

using Tarq::LmiConstraint;
using Tarq::PsdConstraint;
using Tarq::PsdVar;
using Tarq::detail::BatchNames;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::NormaliseName;

namespace {

constexpr double kInf = TARQ_INFINITY;

Tarq::IPsdConstraint* FailedPsdConstr() { return new TarqPsdConstraint(PsdConstraint()); }

// Hands a PSD expression over as one PSD row: sense 0 means [lower, upper] (both already net
// of the constant).
Tarq::IPsdConstraint* AddPsdRow(ModelData& m, Tarq::PsdExpr& e, char sense, double lower, double upper,
                                const char* name) {
  if (e.vars.empty()) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid PSD expression object");
    return FailedPsdConstr();
  }
  if (sense != 0 && sense != 'E' && sense != 'G' && sense != 'L') {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid sense of PSD constraint");
    return FailedPsdConstr();
  }
  if (!m.GatherExpr(e.lin)) return FailedPsdConstr();
  const std::vector<int> cols = m.idx_;
  const std::vector<double> vals(e.lin.coefs.begin(), e.lin.coefs.end());
  std::vector<Tarq::detail::PsdTerm> terms;
  if (!CombinePsdTerms(m, e, terms)) return FailedPsdConstr();
  std::vector<int> psdCols, mats;
  for (const auto& t : terms) {
    int mat = -1;
    if (!StoreSymExpr(m, t.coef, mat)) return FailedPsdConstr();
    psdCols.push_back(t.index);
    mats.push_back(mat);
  }
  const std::string normalised = NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status,
               TARQ_AddPSDConstr(m.Problem(), static_cast<int>(cols.size()), cols.data(), vals.data(),
                                 static_cast<int>(psdCols.size()), psdCols.data(), mats.data(), sense, lower, upper,
                                 text),
               "Fail to add a PSD constraint")) {
    return FailedPsdConstr();
  }
  return new TarqPsdConstraint(m.Append<PsdConstraint>(Kind::kPsdConstr, 1, &text)[0]);
}

}  // namespace

Tarq::IPsdVar* TarqModel::AddPsdVar(int dim, const char* name) {
  ModelData& m = Data();
  const std::string normalised = NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status, TARQ_AddPSDCol(m.Problem(), dim, text), "Fail to add a PSD variable")) {
    return new TarqPsdVar(PsdVar());
  }
  PsdVar v = m.Append<PsdVar>(Kind::kPsdVar, 1, &text)[0];
  v.dim = dim;
  return new TarqPsdVar(v);
}

Tarq::IPsdVarArray* TarqModel::AddPsdVars(int count, const int* dims, const char* prefix) {
  ModelData& m = Data();
  auto names = BatchNames::FromPrefix(prefix, m.Count(Kind::kPsdVar), count);
  if (!Checked(m.status, TARQ_AddPSDCols(m.Problem(), count, dims, names.Pointers()), "Fail to add PSD variables")) {
    return new TarqPsdVarArray();
  }
  Tarq::PsdVarArray vars = m.Append<PsdVar>(Kind::kPsdVar, count, names.Pointers());
  for (int k = 0; k < count; ++k) vars[k].dim = dims[k];
  return new TarqPsdVarArray(std::move(vars));
}

Tarq::IPsdConstraint* TarqModel::AddPsdConstr(Tarq::IPsdExpr* expr, char sense, double rhs, const char* name) {
  Tarq::PsdExpr& e = Tarq::PsdExprOf(expr);
  // Sense 0 would mean two bounds; here it is as invalid as any other letter.
  return AddPsdRow(Data(), e, sense == 0 ? 'X' : sense, rhs - e.lin.constant, kInf, name);
}

Tarq::IPsdConstraint* TarqModel::AddPsdConstr(Tarq::IPsdExpr* expr, double lb, double ub, const char* name) {
  Tarq::PsdExpr& e = Tarq::PsdExprOf(expr);
  return AddPsdRow(Data(), e, 0, lb - e.lin.constant, ub - e.lin.constant, name);
}

Tarq::IPsdConstraint* TarqModel::AddPsdConstr(Tarq::IPsdConstrBuilder* builder, const char* name) {
  Tarq::PsdConstrBuilder& b = Tarq::PsdBuilderOf(builder);
  const double c = b.expr.lin.constant;
  if (b.sense == 'R') return AddPsdRow(Data(), b.expr, 0, -b.range - c, 0 - c, name);
  return AddPsdRow(Data(), b.expr, b.sense == 0 ? 'X' : b.sense, 0 - c, kInf, name);
}

Tarq::ILmiConstraint* TarqModel::AddLmiConstr(Tarq::ILmiExpr* expr, const char* name) {
  ModelData& m = Data();
  const Tarq::LmiExpr& e = Tarq::LmiExprOf(expr);
  if (e.vars.empty()) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid LMI expression object");
    return new TarqLmiConstraint(LmiConstraint());
  }
  std::vector<Tarq::detail::LmiTerm> terms;
  int dim = 0;
  if (!CombineLmiTerms(m, e, terms, dim)) return new TarqLmiConstraint(LmiConstraint());
  if (dim < 1) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid LMI expression object");
    return new TarqLmiConstraint(LmiConstraint());
  }
  std::vector<int> cols, mats;
  for (const auto& t : terms) {
    int mat = -1;
    if (!StoreSymExpr(m, t.coef, mat)) return new TarqLmiConstraint(LmiConstraint());
    cols.push_back(t.index);
    mats.push_back(mat);
  }
  int constMat = -1;
  if (e.constant.Dim() > 0 && !StoreSymExpr(m, e.constant, constMat)) return new TarqLmiConstraint(LmiConstraint());
  const std::string normalised = NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status,
               TARQ_AddLMIConstr(m.Problem(), dim, static_cast<int>(cols.size()), cols.data(), mats.data(), constMat,
                                 text),
               "Fail to add an LMI constraint")) {
    return new TarqLmiConstraint(LmiConstraint());
  }
  LmiConstraint c = m.Append<LmiConstraint>(Kind::kLmiConstr, 1, &text)[0];
  c.dim = dim;
  return new TarqLmiConstraint(c);
}
