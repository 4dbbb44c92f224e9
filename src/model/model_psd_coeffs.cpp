// Coefficient matrices of PSD and LMI constraints, the semidefinite solution, and the PSD
// objective.
#include "model/psd_helpers.h"
#include "model/tarq_model.h"
#include "scalar/var.h"

using Tarq::LmiConstraint;
using Tarq::PsdConstraint;
using Tarq::PsdVar;
using Tarq::SymMatrix;
using Tarq::Var;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::StoredMat;

namespace {

// Flushes, then checks one object of this model; false after recording why.
template <class V>
bool Live(ModelData& m, const V& v, const char* invalid) {
  if (!m.Flush()) return false;
  if (v.Index() < 0 || !m.Owns(v)) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", invalid);
    return false;
  }
  return true;
}

// A stored matrix of this model; records "Invalid SymMatrix with index %d" otherwise.
bool StoredHere(ModelData& m, const SymMatrix& mat, const char* format) {
  if (mat.Index() < 0 || mat.Holder() != m.Holder()) {
    Record(m.status, TARQ_RETCODE_INVALID, format, mat.Index());
    return false;
  }
  return true;
}

Tarq::ISymMatrix* MatrixOrNone(ModelData& m, int index) {
  return new TarqSymMatrix(index >= 0 ? StoredMat(m, index) : SymMatrix());
}

}  // namespace

Tarq::ISymMatrix* TarqModel::GetPsdCoeff(const Tarq::IPsdConstraint* constr, const Tarq::IPsdVar* var) {
  ModelData& m = Data();
  const PsdConstraint& c = Tarq::PsdConstrOf(constr);
  const PsdVar& v = Tarq::PsdVarOf(var);
  if (!Live(m, c, "Invalid PSD constraint") || !Live(m, v, "Invalid PSD variable")) {
    return new TarqSymMatrix(SymMatrix());
  }
  int mat = -1;
  if (!Checked(m.status, TARQ_GetPSDElem(m.Problem(), c.Index(), v.Index(), &mat),
               "Fail to get coefficient matrix of PSD constraint")) {
    return new TarqSymMatrix(SymMatrix());
  }
  return MatrixOrNone(m, mat);
}

void TarqModel::SetPsdCoeff(const Tarq::IPsdConstraint* constr, const Tarq::IPsdVar* var,
                            const Tarq::ISymMatrix* mat) {
  ModelData& m = Data();
  const PsdConstraint& c = Tarq::PsdConstrOf(constr);
  const PsdVar& v = Tarq::PsdVarOf(var);
  const SymMatrix& s = Tarq::SymMatOf(mat);
  if (!Live(m, c, "Invalid PSD constraint") || !Live(m, v, "Invalid PSD variable")) return;
  if (!StoredHere(m, s, "Invalid SymMatrix with index %d")) return;
  if (s.dim != v.dim) {
    Record(m.status, TARQ_RETCODE_INVALID, "Dimension mismatch between PSD variable and symmetric matrix");
    return;
  }
  Checked(m.status, TARQ_SetPSDElem(m.Problem(), c.Index(), v.Index(), s.Index()),
          "Fail to change coefficient of PSD variable");
}

Tarq::ISymMatrix* TarqModel::GetLmiCoeff(const Tarq::ILmiConstraint* constr, const Tarq::IVar* var) {
  ModelData& m = Data();
  const LmiConstraint& c = Tarq::LmiConstrOf(constr);
  const Var& v = Tarq::VarOf(var);
  if (!Live(m, c, "Invalid LMI constraint") || !Live(m, v, "Invalid variable")) return new TarqSymMatrix(SymMatrix());
  int mat = -1;
  if (!Checked(m.status, TARQ_GetLMIElem(m.Problem(), c.Index(), v.Index(), &mat),
               "Fail to get coefficient matrix of LMI constraint")) {
    return new TarqSymMatrix(SymMatrix());
  }
  return MatrixOrNone(m, mat);
}

void TarqModel::SetLmiCoeff(const Tarq::ILmiConstraint* constr, const Tarq::IVar* var, const Tarq::ISymMatrix* mat) {
  ModelData& m = Data();
  const LmiConstraint& c = Tarq::LmiConstrOf(constr);
  const Var& v = Tarq::VarOf(var);
  const SymMatrix& s = Tarq::SymMatOf(mat);
  if (!Live(m, c, "Invalid LMI constraint") || !Live(m, v, "Invalid variable")) return;
  if (!StoredHere(m, s, "Invalid SymMatrix with index %d")) return;
  if (s.dim != c.dim) {
    Record(m.status, TARQ_RETCODE_INVALID, "Input matrix has wrong dimension");
    return;
  }
  Checked(m.status, TARQ_SetLMIElem(m.Problem(), c.Index(), v.Index(), s.Index()),
          "Fail to change coefficient of LMI constraint");
}

Tarq::ISymMatrix* TarqModel::GetLmiRhs(const Tarq::ILmiConstraint* constr) {
  ModelData& m = Data();
  const LmiConstraint& c = Tarq::LmiConstrOf(constr);
  if (!Live(m, c, "Invalid LMI constraint")) return new TarqSymMatrix(SymMatrix());
  int mat = -1;
  if (!Checked(m.status, TARQ_GetLMIConstrRhs(m.Problem(), c.Index(), &mat),
               "Fail to get constant term of LMI constraint")) {
    return new TarqSymMatrix(SymMatrix());
  }
  return MatrixOrNone(m, mat);
}

void TarqModel::SetLmiRhs(const Tarq::ILmiConstraint* constr, const Tarq::ISymMatrix* mat) {
  ModelData& m = Data();
  const LmiConstraint& c = Tarq::LmiConstrOf(constr);
  const SymMatrix& s = Tarq::SymMatOf(mat);
  if (!Live(m, c, "Invalid LMI constraint")) return;
  if (s.dim != c.dim) {
    Record(m.status, TARQ_RETCODE_INVALID, "Input matrix has wrong dimension");
    return;
  }
  if (!StoredHere(m, s, "Invalid SymMatrix with index %d")) return;
  const int index = c.Index();
  const int matIndex = s.Index();
  Checked(m.status, TARQ_SetLMIConstrRhs(m.Problem(), 1, &index, &matIndex),
          "Fail to set constant term of LMI constraint");
}

namespace {

// The packed length of all PSD columns (lmi false) or LMI rows (lmi true); -1 after a failure.
long long PackedLength(ModelData& m, bool lmi, const char* failure) {
  long long total = 0;
  const int n = m.Count(lmi ? Kind::kLmiConstr : Kind::kPsdVar);
  std::vector<int> dims(static_cast<size_t>(n));
  if (!lmi) {
    if (!Checked(m.status, TARQ_GetPSDCols(m.Problem(), n, nullptr, dims.data()), "%s", failure)) return -1;
  } else {
    for (int k = 0; k < n; ++k) {
      int size = 0, c = -1;
      if (!Checked(m.status, TARQ_GetLMIConstr(m.Problem(), k, &dims[k], nullptr, nullptr, 0, &size, &c), "%s",
                   failure)) {
        return -1;
      }
    }
  }
  for (int d : dims) total += static_cast<long long>(d) * (d + 1) / 2;
  return total;
}

void Solution(ModelData& m, bool lmi, int (*get)(tarq_prob*, double*, double*), std::vector<double>& first,
              std::vector<double>& second, const char* failure) {
  first.clear();
  second.clear();
  if (!m.Flush()) return;
  const long long len = PackedLength(m, lmi, failure);
  if (len < 0) return;
  first.resize(static_cast<size_t>(len));
  second.resize(static_cast<size_t>(len));
  if (!Checked(m.status, get(m.Problem(), first.data(), second.data()), "%s", failure)) {
    first.clear();
    second.clear();
  }
}

}  // namespace

void TarqModel::GetPsdSolution(std::vector<double>& values, std::vector<double>& duals) {
  Solution(Data(), false, TARQ_GetPSDSolution, values, duals, "Fail to get PSD solution");
}

void TarqModel::GetLmiSolution(std::vector<double>& slacks, std::vector<double>& duals) {
  Solution(Data(), true, TARQ_GetLMISolution, slacks, duals, "Fail to get LMI solution");
}

void TarqModel::SetPsdObjective(Tarq::IPsdExpr* expr, int sense) {
  ModelData& m = Data();
  Tarq::PsdExpr& e = Tarq::PsdExprOf(expr);
  std::vector<Tarq::detail::PsdTerm> terms;
  if (!CombinePsdTerms(m, e, terms)) return;
  std::vector<int> psdCols, mats;
  for (const auto& t : terms) {
    int mat = -1;
    if (!StoreSymExpr(m, t.coef, mat)) return;
    psdCols.push_back(t.index);
    mats.push_back(mat);
  }
  if (!m.GatherExpr(e.lin)) return;
  if (!Checked(m.status, TARQ_ReplaceColObj(m.Problem(), static_cast<int>(m.idx_.size()), m.idx_.data(), e.lin.coefs.data()),
               "Fail to set objective coefficients")) {
    return;
  }
  if (!Checked(m.status, TARQ_ReplacePSDObj(m.Problem(), static_cast<int>(psdCols.size()), psdCols.data(), mats.data()),
               "Fail to set PSD objective")) {
    return;
  }
  if (!Checked(m.status, TARQ_SetObjConst(m.Problem(), e.lin.constant), "Fail to set obj const")) return;
  Checked(m.status, TARQ_SetObjSense(m.Problem(), sense), "Fail to set obj sense");
}

Tarq::IPsdExpr* TarqModel::GetPsdObjective() {
  ModelData& m = Data();
  std::unique_ptr<Tarq::IExpr> linear(GetObjective());
  Tarq::PsdExpr e;
  e.lin = Tarq::ExprOf(linear.get());
  if (!m.status.Ok()) return new TarqPsdExpr(std::move(e));
  int has = 0, n = 0;
  if (!Checked(m.status, TARQ_GetIntAttr(m.Problem(), "HasPSDObj", &has), "Fail to get PSD objective") || has == 0 ||
      !Checked(m.status, TARQ_GetIntAttr(m.Problem(), "PSDCols", &n), "Fail to get PSD objective")) {
    return new TarqPsdExpr(std::move(e));
  }
  std::vector<int> mats(static_cast<size_t>(n), -1);
  if (!Checked(m.status, TARQ_GetPSDObj(m.Problem(), mats.data()), "Fail to get PSD objective")) {
    return new TarqPsdExpr(std::move(e));
  }
  const auto& list = m.record->List(Kind::kPsdVar);
  for (int k = 0; k < n && k < static_cast<int>(list.size()); ++k) {
    if (mats[k] < 0 || list[k]->index < 0) continue;
    e.AddTerm(Tarq::detail::PsdVarFor(m, list[k]), Tarq::SymMatExpr(StoredMat(m, mats[k]), 1.0));
  }
  return new TarqPsdExpr(std::move(e));
}

void TarqModel::DelPsdObjective() {
  ModelData& m = Data();
  Checked(m.status, TARQ_DelPSDObj(m.Problem()), "Fail to delete PSD objective");
}
