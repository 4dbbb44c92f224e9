// Nonlinear constraints: adding them one by one and in batches, getting and naming them, their
// information, removing them, and the nonlinear primal start.
#include <climits>
#include <strings.h>

#include "model/model_lookup.h"
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "psdnl/nlconstraint.h"
#include "scalar/var.h"

using Tarq::NlConstraint;
using Tarq::NlExpr;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

Tarq::INlConstraint* FailedNlConstr() { return new TarqNlConstraint(NlConstraint()); }

bool ValidSense(char sense) { return sense == 'E' || sense == 'G' || sense == 'L'; }

// Brings the column tokens of e up to date and checks that its variables are this model's; false
// after recording why.
bool Refresh(ModelData& m, NlExpr& e) {
  if (!e.pins.OnlyHolder(m.record->problem.Block())) {
    for (const Tarq::VarRef& v : e.vars) {
      if (v.Index() >= 0 && v.Holder() != m.Holder()) {
        Record(m.status, TARQ_RETCODE_INVALID, "Variable of another model in expression");
        return false;
      }
    }
  }
  if (e.Refresh() < 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid or removed vars in nonlinear expression");
    return false;
  }
  return true;
}

// The single add: s 0 is the range form (both bounds shifted by the linear constant), any other
// sense shifts the first bound only.
Tarq::INlConstraint* AddOne(ModelData& m, NlExpr& e, char s, double first, double second, const char* name) {
  if (!Refresh(m, e) || !m.GatherExpr(e.lin)) return FailedNlConstr();
  const double c = e.lin.constant;
  const double lower = first - c, upper = s == 0 ? second - c : second;
  const std::string normalised = Tarq::detail::NormaliseName(name);
  const char* text = normalised.c_str();
  if (!Checked(m.status,
               TARQ_AddNLConstr(m.Problem(), static_cast<int>(e.tokens.size()), static_cast<int>(e.consts.size()),
                                e.tokens.data(), e.consts.data(), static_cast<int>(m.idx_.size()), m.idx_.data(),
                                e.lin.coefs.data(), s, lower, upper, text),
               "Fail to add a nonlinear constraint")) {
    return FailedNlConstr();
  }
  return new TarqNlConstraint(m.AppendOne<NlConstraint>(Kind::kNlConstr, text));
}

Tarq::INlConstraint* AddSensed(ModelData& m, NlExpr& e, char sense, double rhs, const char* name) {
  if (!ValidSense(sense)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid nonlinear constraint sense");
    return FailedNlConstr();
  }
  return AddOne(m, e, sense, rhs, TARQ_INFINITY, name);
}

}  // namespace

Tarq::INlConstraint* TarqModel::AddNlConstr(Tarq::INlExpr* expr, char sense, double rhs, const char* name) {
  return AddSensed(Data(), Tarq::NlExprOf(expr), sense, rhs, name);
}

Tarq::INlConstraint* TarqModel::AddNlConstr(Tarq::IExpr* lhs, char sense, Tarq::INlExpr* rhs, const char* name) {
  NlExpr difference;
  difference.lin.AddExpr(Tarq::ExprOf(lhs), 1.0);
  difference.AddNlExpr(Tarq::NlExprOf(rhs), -1.0);
  return AddSensed(Data(), difference, sense, 0.0, name);
}

Tarq::INlConstraint* TarqModel::AddNlConstr(Tarq::INlExpr* expr, double lb, double ub, const char* name) {
  return AddOne(Data(), Tarq::NlExprOf(expr), 0, lb, ub, name);
}

Tarq::INlConstraint* TarqModel::AddNlConstr(Tarq::INlConstrBuilder* builder, const char* name) {
  Tarq::NlConstrBuilder& b = Tarq::NlBuilderOf(builder);
  if (b.sense == 'R') return AddOne(Data(), b.expr, 'R', 0.0, b.range, name);
  return AddSensed(Data(), b.expr, b.sense, 0.0, name);
}

Tarq::INlConstrArray* TarqModel::AddNlConstrs(Tarq::INlConstrBuilderArray* builders, const char* prefix) {
  ModelData& m = Data();
  Tarq::NlConstrBuilderArray& list = Tarq::NlBuildersOf(builders);
  const int n = static_cast<int>(list.size());
  std::vector<int> tokBeg, constBeg, linBeg, tokens, linIdx;
  std::vector<double> consts, linVal, bound, upper;
  std::vector<char> senses;
  tokBeg.reserve(static_cast<std::size_t>(n) + 1);
  constBeg.reserve(static_cast<std::size_t>(n) + 1);
  linBeg.reserve(static_cast<std::size_t>(n) + 1);
  for (Tarq::NlConstrBuilder& b : list) {
    if (b.sense != 'E' && b.sense != 'G' && b.sense != 'L' && b.sense != 'R' && b.sense != 'N') {
      Record(m.status, TARQ_RETCODE_INVALID, "Invalid nonlinear constraint sense");
      return new TarqNlConstrArray();
    }
    if (!Refresh(m, b.expr) || !m.GatherExpr(b.expr.lin)) return new TarqNlConstrArray();
    if (tokens.size() + b.expr.tokens.size() > INT_MAX || linIdx.size() + m.idx_.size() > INT_MAX) {
      Record(m.status, TARQ_RETCODE_INVALID, "Fail to add nonlinear constraints");
      return new TarqNlConstrArray();
    }
    tokBeg.push_back(static_cast<int>(tokens.size()));
    constBeg.push_back(static_cast<int>(consts.size()));
    linBeg.push_back(static_cast<int>(linIdx.size()));
    tokens.insert(tokens.end(), b.expr.tokens.begin(), b.expr.tokens.end());
    consts.insert(consts.end(), b.expr.consts.begin(), b.expr.consts.end());
    linIdx.insert(linIdx.end(), m.idx_.begin(), m.idx_.end());
    linVal.insert(linVal.end(), b.expr.lin.coefs.begin(), b.expr.lin.coefs.end());
    const double c = b.expr.lin.constant;
    senses.push_back(b.sense);
    bound.push_back(b.sense == 'N' ? -TARQ_INFINITY : -c);
    upper.push_back(b.sense == 'R' ? b.range : TARQ_INFINITY);
  }
  tokBeg.push_back(static_cast<int>(tokens.size()));
  constBeg.push_back(static_cast<int>(consts.size()));
  linBeg.push_back(static_cast<int>(linIdx.size()));
  const Tarq::detail::BatchNames names = Tarq::detail::BatchNames::FromPrefix(prefix, m.Count(Kind::kNlConstr), n);
  if (!Checked(m.status,
               TARQ_AddNLConstrs(m.Problem(), n, tokBeg.data(), nullptr, tokens.data(), constBeg.data(), nullptr,
                                 consts.data(), linBeg.data(), nullptr, linIdx.data(), linVal.data(), senses.data(),
                                 bound.data(), upper.data(), names.Pointers()),
               "Fail to add nonlinear constraints")) {
    return new TarqNlConstrArray();
  }
  return new TarqNlConstrArray(m.Append<NlConstraint>(Kind::kNlConstr, n, names.Pointers()));
}

Tarq::INlConstraint* TarqModel::GetNlConstr(int idx) {
  return new TarqNlConstraint(NlConstraint(Tarq::detail::ByIndex(
      Data(), Kind::kNlConstr, idx, "Invalid row index of nonlinear constraint", "Internal row index error of nonlinear constraint")));
}

Tarq::INlConstraint* TarqModel::GetNlConstrByName(const char* name) {
  ModelData& m = Data();
  const std::string normalised = Tarq::detail::NormaliseName(name);
  int idx = -1;
  if (!Checked(m.status, TARQ_GetNLConstrIdx(m.Problem(), normalised.c_str(), &idx), "No nonlinear constraint of name %s",
               normalised.c_str())) {
    return FailedNlConstr();
  }
  return GetNlConstr(idx);
}

Tarq::INlConstrArray* TarqModel::GetNlConstrs() {
  return new TarqNlConstrArray(Tarq::detail::Live<NlConstraint>(Data(), Kind::kNlConstr));
}

void TarqModel::SetNlConstrNames(const Tarq::INlConstrArray* constrs, const char* names, std::size_t size) {
  Tarq::detail::SetNames(Data(), Tarq::NlConstrsOf(constrs), names, size, "nonlinear constraint",
                         TARQ_SetNLConstrNames, "Fail to set names of nonlinear constraints");
}

void TarqModel::GetNlConstrInfo(const char* name, const Tarq::INlConstrArray* constrs, std::vector<double>& values) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  const auto& list = Tarq::NlConstrsOf(constrs);
  if (!m.Indices(list, "nonlinear constraint")) return;
  values.assign(list.size(), TARQ_INFINITY);
  Checked(m.status, TARQ_GetNLConstrInfo(m.Problem(), name, static_cast<int>(list.size()), m.idx_.data(), values.data()),
          "Fail to get nonlinear constraint info of '%s'", name != nullptr ? name : "");
}

void TarqModel::SetNlConstrInfo(const char* name, const Tarq::INlConstrArray* constrs, const double* values, int len) {
  ModelData& m = Data();
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "Empty information name of nonlinear constraints");
    return;
  }
  const auto& list = Tarq::NlConstrsOf(constrs);
  if (values == nullptr || static_cast<int>(list.size()) != len) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid input values for nonlinear constraints");
    return;
  }
  const bool lower = strcasecmp(name, "LB") == 0;
  if (!lower && strcasecmp(name, "UB") != 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "Unknown information '%s' of nonlinear constraints", name);
    return;
  }
  if (!m.Indices(list, "nonlinear constraint")) return;
  const int n = static_cast<int>(list.size());
  if (lower) {
    Checked(m.status, TARQ_SetNLConstrLower(m.Problem(), n, m.idx_.data(), values), "Fail to set LB of nonlinear constraints");
  } else {
    Checked(m.status, TARQ_SetNLConstrUpper(m.Problem(), n, m.idx_.data(), values), "Fail to set UB of nonlinear constraints");
  }
}

void TarqModel::SetNlPrimalStart(int count, const int* idx, const double* values) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_SetNLPrimalStart(m.Problem(), count, idx, values), "Fail to set NL primal start information");
}

void TarqModel::SetNlPrimalStart(const Tarq::IVarArray* vars, const double* values) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  const auto& list = Tarq::VarsOf(vars);
  if (!m.Indices(list, "variable")) return;
  Checked(m.status, TARQ_SetNLPrimalStart(m.Problem(), static_cast<int>(list.size()), m.idx_.data(), values),
          "Fail to set NL primal start information");
}

void TarqModel::SetNlPrimalStart(const Tarq::IVar* var, double value) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  const std::vector<Tarq::Var> one{Tarq::VarOf(var)};
  if (!m.Indices(one, "variable")) return;
  Checked(m.status, TARQ_SetNLPrimalStart(m.Problem(), 1, m.idx_.data(), &value), "Fail to set NL primal start information");
}
