// Objectives: the single objective, multi-objectives and their parameters and attributes.
#include <climits>
#include <string>

#include "model/model_templates.h"
#include "model/param_names.h"
#include "model/tarq_model.h"
#include "psdnl/nl_expr.h"
#include "scalar/lin_expr.h"
#include "scalar/quad_expr.h"
#include "scalar/var.h"

using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

constexpr int kIntFailure = -2147483647 - 1;

// A negative multi-objective index is refused before any solver call.
bool ValidIndex(ModelData& m, int index) {
  if (index >= 0) return true;
  Record(m.status, TARQ_RETCODE_INVALID, "Invalid multi-objective function of index %d", index);
  return false;
}

// Resolves a typed parameter or attribute name of a multi-objective, with the kind check.
bool TypedName(ModelData& m, const char* given, int kind, std::string& name) {
  name = given != nullptr ? given : "";
  const bool param = kind == Tarq::detail::kIntParam || kind == Tarq::detail::kDblParam;
  const int found = Tarq::detail::ResolveName(name);
  if (found < 0) {
    Record(m.status, TARQ_RETCODE_INVALID, param ? "Unknown TARQ parameter" : "Unknown TARQ attribute");
    return false;
  }
  if (found != kind) {
    const char* wrong = kind == Tarq::detail::kIntParam   ? "Not TARQ int parameter"
                        : kind == Tarq::detail::kDblParam ? "Not TARQ double parameter"
                        : kind == Tarq::detail::kIntAttr  ? "Not TARQ int attribute"
                                                          : "Not TARQ double attribute";
    Record(m.status, TARQ_RETCODE_INVALID, "%s", wrong);
    return false;
  }
  return true;
}

// The expression for the columns' coefficients as read back, plus a constant.
Tarq::LinExpr ExprFromCoefficients(ModelData& m, const std::vector<double>& coefs, double constant) {
  Tarq::LinExpr e(constant);
  const auto& vars = m.record->List(Kind::kCol);
  for (std::size_t j = 0; j < coefs.size() && j < vars.size(); ++j) {
    const double c = coefs[j];
    if (vars[j]->index >= 0 && c != 0.0) e.AddTerm(Tarq::Var(vars[j]), c);  // a NaN is kept
  }
  return e;
}

// Stores the linear objective gathered from e (its indices in idx_, its merged coefficients in e)
// with e's constant and the sense; false after a recorded failure.
bool StoreLinearObjective(ModelData& m, const Tarq::LinExpr& e, int sense) {
  if (!Checked(m.status,
               TARQ_ReplaceColObj(m.Problem(), static_cast<int>(m.idx_.size()), m.idx_.data(), e.coefs.data()),
               "Fail to set objective coefficients")) {
    return false;
  }
  if (!Checked(m.status, TARQ_SetObjConst(m.Problem(), e.constant), "Fail to set obj const")) return false;
  return Checked(m.status, TARQ_SetObjSense(m.Problem(), sense), "Fail to set obj sense");
}

// Coefficients, constant and sense of the objective from a linear expression (merged in place);
// false after a recorded failure.
bool SetLinearObjective(ModelData& m, Tarq::LinExpr& e, int sense) {
  return m.GatherExpr(e) && StoreLinearObjective(m, e, sense);
}

// The linear part of the objective (live columns with a non-zero coefficient, and the constant)
// into out; false after a recorded failure (out then holds what was read).
bool LinearObjective(ModelData& m, Tarq::LinExpr& out) {
  double constant = 0;
  if (!Checked(m.status, TARQ_GetDblAttr(m.Problem(), "ObjConst", &constant), "Fail to get double attribute")) {
    return false;
  }
  out = Tarq::LinExpr(constant);
  std::vector<double> coefs(static_cast<std::size_t>(m.Count(Kind::kCol)));
  if (!Checked(m.status, TARQ_GetColInfo(m.Problem(), "Obj", static_cast<int>(coefs.size()), nullptr, coefs.data()),
               "Fail to get col info")) {
    return false;
  }
  out = ExprFromCoefficients(m, coefs, constant);
  return true;
}

}  // namespace

void TarqModel::SetObjSense(int sense) {
  ModelData& m = Data();
  Checked(m.status, TARQ_SetObjSense(m.Problem(), sense), "Fail to set obj sense");
}

void TarqModel::SetObjConst(double value) {
  ModelData& m = Data();
  Checked(m.status, TARQ_SetObjConst(m.Problem(), value), "Fail to set obj const");
}

void TarqModel::SetObjective(Tarq::IExpr* expr, int sense) { SetLinearObjective(Data(), Tarq::ExprOf(expr), sense); }

void TarqModel::SetObjective(int num, const int* list, const double* values) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_ReplaceColObj(m.Problem(), num, list, values), "Fail to set objective with data");
}

Tarq::IExpr* TarqModel::GetObjective() {
  Tarq::LinExpr e;
  LinearObjective(Data(), e);
  return new TarqExpr(std::move(e));
}

void TarqModel::SetObjective(int index, Tarq::IExpr* expr, int sense, double priority, double weight, double absTol,
                             double relTol) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return;
  Tarq::LinExpr& e = Tarq::ExprOf(expr);
  if (!m.GatherExpr(e)) return;
  if (!Checked(m.status,
               TARQ_MultiObjSetColObj(m.Problem(), index, static_cast<int>(m.idx_.size()), m.idx_.data(),
                                      e.coefs.data()),
               "Fail to set a multi-objective function of index %d", index)) {
    return;
  }
  if (!Checked(m.status, TARQ_MultiObjSetObjSense(m.Problem(), index, sense),
               "Fail to set sense of a multi-objective function of index %d", index)) {
    return;
  }
  if (!Checked(m.status, TARQ_MultiObjSetObjConst(m.Problem(), index, e.constant),
               "Fail to set objective constant of a multi-objective function of index %d", index)) {
    return;
  }
  const std::pair<const char*, double> params[] = {{"MultiObjPriority", priority},
                                                   {"MultiObjWeight", weight},
                                                   {"MultiObjAbsTol", absTol},
                                                   {"MultiObjRelTol", relTol}};
  for (const auto& [name, value] : params) {
    if (!Checked(m.status, TARQ_MultiObjSetObjParam(m.Problem(), index, name, value),
                 "Fail to set objective parameter '%s' of multi-objective function of index %d", name, index)) {
      return;
    }
  }
}

Tarq::IExpr* TarqModel::GetObjective(int index) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return new TarqExpr(0.0);
  std::vector<double> coefs(static_cast<std::size_t>(m.Count(Kind::kCol)));
  if (!Checked(m.status,
               TARQ_MultiObjGetColObj(m.Problem(), index, static_cast<int>(coefs.size()), nullptr, coefs.data()),
               "Fail to get a multi-objective function of index %d", index)) {
    return new TarqExpr(0.0);
  }
  double constant = 0;
  if (!Checked(m.status, TARQ_MultiObjGetDblAttr(m.Problem(), index, "ObjConst", &constant),
               "Fail to get attribute '%s' of multi-objective function of index %d", "ObjConst", index)) {
    return new TarqExpr(0.0);
  }
  return new TarqExpr(ExprFromCoefficients(m, coefs, constant));
}

void TarqModel::DelObjective(int index) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return;
  Checked(m.status, TARQ_MultiObjDelColObj(m.Problem(), index), "Fail to delete a multi-objective function of index %d",
          index);
}

void TarqModel::SetObjParam(int index, const char* name, double value) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return;
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "Empty objective parameter name");
    return;
  }
  Checked(m.status, TARQ_MultiObjSetObjParam(m.Problem(), index, name, value),
          "Fail to set objective parameter '%s' of multi-objective function of index %d", name, index);
}

void TarqModel::SetObjDblParam(int index, const char* name, double value) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kDblParam, n)) return;
  Checked(m.status, TARQ_MultiObjSetDblParam(m.Problem(), index, n.c_str(), value),
          "Fail to set double parameter '%s' of multi-objective function of index %d", n.c_str(), index);
}

void TarqModel::SetObjIntParam(int index, const char* name, int value) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kIntParam, n)) return;
  Checked(m.status, TARQ_MultiObjSetIntParam(m.Problem(), index, n.c_str(), value),
          "Fail to set int parameter '%s' of multi-objective function of index %d", n.c_str(), index);
}

double TarqModel::GetObjParam(int index, const char* name) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return TARQ_INFINITY;
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "Empty objective parameter name");
    return TARQ_INFINITY;
  }
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_MultiObjGetObjParam(m.Problem(), index, name, &value),
               "Fail to get objective parameter '%s' of multi-objective function of index %d", name, index)) {
    return TARQ_INFINITY;
  }
  return value;
}

double TarqModel::GetObjDblParam(int index, const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kDblParam, n)) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_MultiObjGetDblParam(m.Problem(), index, n.c_str(), &value),
               "Fail to get double parameter '%s' of multi-objective function of index %d", n.c_str(), index)) {
    return TARQ_INFINITY;
  }
  return value;
}

int TarqModel::GetObjIntParam(int index, const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kIntParam, n)) return kIntFailure;
  int value = kIntFailure;
  if (!Checked(m.status, TARQ_MultiObjGetIntParam(m.Problem(), index, n.c_str(), &value),
               "Fail to get int parameter '%s' of multi-objective function of index %d", n.c_str(), index)) {
    return kIntFailure;
  }
  return value;
}

double TarqModel::GetObjDblAttr(int index, const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kDblAttr, n)) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_MultiObjGetDblAttr(m.Problem(), index, n.c_str(), &value),
               "Fail to get double attribute '%s' of multi-objective function of index %d", n.c_str(), index)) {
    return TARQ_INFINITY;
  }
  return value;
}

int TarqModel::GetObjIntAttr(int index, const char* name) {
  ModelData& m = Data();
  std::string n;
  if (!ValidIndex(m, index) || !TypedName(m, name, Tarq::detail::kIntAttr, n)) return kIntFailure;
  int value = kIntFailure;
  if (!Checked(m.status, TARQ_MultiObjGetIntAttr(m.Problem(), index, n.c_str(), &value),
               "Fail to get int attribute '%s' of multi-objective function of index %d", n.c_str(), index)) {
    return kIntFailure;
  }
  return value;
}

void TarqModel::ResetObjParam(int index) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return;
  Checked(m.status, TARQ_MultiObjResetObjParam(m.Problem(), index),
          "Fail to delete a multi-objective function of index %d", index);
}

void TarqModel::ResetObjParams(int index) {
  ModelData& m = Data();
  if (!ValidIndex(m, index)) return;
  Checked(m.status, TARQ_MultiObjResetParam(m.Problem(), index),
          "Fail to delete a multi-objective function of index %d", index);
}

double TarqModel::GetPoolObjVal(int index, int solIndex) {
  ModelData& m = Data();
  if (!ValidIndex(m, index) || !m.Flush()) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_MultiObjGetPoolObjVal(m.Problem(), index, solIndex, &value),
               "Fail to get objective value of %d-th multi-objective function from %d-th solution in solution pool",
               index, solIndex)) {
    return TARQ_INFINITY;
  }
  return value;
}

// The quadratic objective.

namespace {

// The whole objective from q. Both parts are gathered (and checked for foreign variables) before
// anything is stored; the quadratic terms, which the solver library checks most (removed
// variables, non-finite coefficients), are stored first and replace the stored ones, so a
// refusal leaves the objective as it was.
void SetWholeObjective(ModelData& m, Tarq::QuadExpr& q, int sense, const char* failure) {
  if (!m.GatherExpr(q.lin) || !m.GatherQuad(q)) return;
  if (m.qval_.size() > static_cast<std::size_t>(INT_MAX)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Fail to set objective of quadratic items of size %zu", m.qval_.size());
    return;
  }
  if (!Checked(m.status,
               TARQ_SetQuadObj(m.Problem(), static_cast<int>(m.qval_.size()), m.qrow_.data(), m.qcol_.data(),
                               m.qval_.data()),
               "%s", failure)) {
    return;
  }
  StoreLinearObjective(m, q.lin, sense);
}

}  // namespace

void TarqModel::SetObjective(Tarq::IQuadExpr* expr, int sense) {
  SetLinearObjective(Data(), Tarq::QuadExprOf(expr).lin, sense);
}

void TarqModel::SetQuadObjective(Tarq::IQuadExpr* expr, int sense) {
  SetWholeObjective(Data(), Tarq::QuadExprOf(expr), sense, "Fail to set quadratic objective");
}

void TarqModel::SetQuadObjective(Tarq::IExpr* expr, int sense) {
  ModelData& m = Data();
  if (!SetLinearObjective(m, Tarq::ExprOf(expr), sense)) return;
  Checked(m.status, TARQ_DelQuadObj(m.Problem()), "Fail to delete quadratic objective");
}

void TarqModel::SetQuadObjective(int num, const int* rows, const int* cols, const double* vals) {
  ModelData& m = Data();
  Checked(m.status, TARQ_SetQuadObj(m.Problem(), num, rows, cols, vals), "Fail to set objective with quadratic data");
}

Tarq::IQuadExpr* TarqModel::GetQuadObjective() {
  ModelData& m = Data();
  Tarq::QuadExpr q;
  if (!LinearObjective(m, q.lin)) return new TarqQuadExpr(std::move(q));
  int size = 0;
  if (!Checked(m.status, TARQ_GetIntAttr(m.Problem(), "QElems", &size), "Fail to get quadratic objective")) {
    return new TarqQuadExpr(std::move(q));
  }
  m.qrow_.resize(static_cast<std::size_t>(size));
  m.qcol_.resize(static_cast<std::size_t>(size));
  m.qval_.resize(static_cast<std::size_t>(size));
  if (!Checked(m.status, TARQ_GetQuadObj(m.Problem(), size, &size, m.qrow_.data(), m.qcol_.data(), m.qval_.data()),
               "Fail to get quadratic objective")) {
    return new TarqQuadExpr(std::move(q));
  }
  m.ScatterQuad(q);
  return new TarqQuadExpr(std::move(q));
}

void TarqModel::DelQuadObjective() {
  ModelData& m = Data();
  Checked(m.status, TARQ_DelQuadObj(m.Problem()), "Fail to delete quadratic objective");
}

// --- The nonlinear objective.

void TarqModel::SetNlObjective(Tarq::INlExpr* expr, int sense) {
  ModelData& m = Data();
  Tarq::NlExpr& e = Tarq::NlExprOf(expr);
  if (!e.pins.OnlyHolder(m.record->problem.Block())) {
    for (const Tarq::VarRef& v : e.vars) {
      if (v.Index() >= 0 && v.Holder() != m.Holder()) {
        Record(m.status, TARQ_RETCODE_INVALID, "Variable of another model in expression");
        return;
      }
    }
  }
  if (e.Refresh() < 0) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid or removed vars in nonlinear expression");
    return;
  }
  if (!Checked(m.status,
               TARQ_SetNLObj(m.Problem(), static_cast<int>(e.tokens.size()), static_cast<int>(e.consts.size()),
                             e.tokens.data(), e.consts.data()),
               "Fail to set nonlinear objective")) {
    return;
  }
  SetLinearObjective(m, e.lin, sense);
}

Tarq::INlExpr* TarqModel::GetNlObjective() {
  ModelData& m = Data();
  Tarq::NlExpr e;
  int nTok = 0, nConst = 0;
  if (!Checked(m.status, TARQ_GetNLObj(m.Problem(), 0, 0, &nTok, nullptr, &nConst, nullptr),
               "Fail to get size of nonlinear objective")) {
    return new TarqNlExpr(std::move(e));
  }
  std::vector<int> tokens(static_cast<std::size_t>(nTok));
  std::vector<double> consts(static_cast<std::size_t>(nConst));
  if (!Checked(m.status, TARQ_GetNLObj(m.Problem(), nTok, nConst, &nTok, tokens.data(), &nConst, consts.data()),
               "Fail to get nonlinear objective")) {
    return new TarqNlExpr(std::move(e));
  }
  if (!LinearObjective(m, e.lin)) return new TarqNlExpr(std::move(e));
  const auto& cols = m.record->List(Kind::kCol);
  for (std::size_t p = 1; p < tokens.size(); ++p) {
    const int t = tokens[p];
    if (t == -50) {
      ++p;
    } else if (t >= 0 && static_cast<std::size_t>(t) < cols.size()) {
      e.vars.push_back(Tarq::VarRef{cols[static_cast<std::size_t>(t)].Get()});
    }
  }
  if (!e.vars.empty()) e.pins.Pin(m.record->problem.Block());
  if (!tokens.empty()) e.tokens = std::move(tokens);
  e.consts = std::move(consts);
  return new TarqNlExpr(std::move(e));
}

void TarqModel::DelNlObjective() {
  ModelData& m = Data();
  Checked(m.status, TARQ_DelNLObj(m.Problem()), "Fail to delete nonlinear objective");
}
