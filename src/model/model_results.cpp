// Results of a solve: solutions, basis, pool and IIS statuses.
#include "model/model_lookup.h"
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"
#include "scalar/var.h"

using Tarq::detail::ModelData;

void TarqModel::GetSolution(double* values) {
  ModelData& m = Data();
  if (values == nullptr || !m.Flush()) return;
  Checked(m.status, TARQ_GetSolution(m.Problem(), values), "Failed to get MIP solution");
}

void TarqModel::GetLpSolution(double* values, double* slack, double* duals, double* redcost) {
  ModelData& m = Data();
  if ((values == nullptr && slack == nullptr && duals == nullptr && redcost == nullptr) || !m.Flush()) return;
  Checked(m.status, TARQ_GetLpSolution(m.Problem(), values, slack, duals, redcost), "Fail to get LP solution");
}

void TarqModel::SetLpSolution(const double* values, const double* slack, const double* duals, const double* redcost) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_SetLpSolution(m.Problem(), values, slack, duals, redcost), "Fail to set LP solution");
}

void TarqModel::GetColBasis(int* basis) {
  ModelData& m = Data();
  if (basis == nullptr || !m.Flush()) return;
  Checked(m.status, TARQ_GetBasis(m.Problem(), basis, nullptr), "Fail to get col basis");
}

void TarqModel::GetRowBasis(int* basis) {
  ModelData& m = Data();
  if (basis == nullptr || !m.Flush()) return;
  Checked(m.status, TARQ_GetBasis(m.Problem(), nullptr, basis), "Fail to get row basis");
}

void TarqModel::SetBasis(const int* colBasis, const int* rowBasis) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_SetBasis(m.Problem(), colBasis, rowBasis), "Fail to set basis");
}

void TarqModel::SetSlackBasis() {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_SetSlackBasis(m.Problem()), "Fail to set slack basis");
}

double TarqModel::GetPoolObjVal(int solIndex) {
  ModelData& m = Data();
  if (!m.Flush()) return TARQ_INFINITY;
  double value = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_GetPoolObjVal(m.Problem(), solIndex, &value),
               "Fail to get objective value from solution pool")) {
    return TARQ_INFINITY;
  }
  return value;
}

void TarqModel::GetPoolSolution(int solIndex, const Tarq::IVarArray* vars, std::vector<double>& values) {
  ModelData& m = Data();
  values.clear();
  const Tarq::VarArray& vs = Tarq::VarsOf(vars);
  if (!m.Indices(vs, "variable")) return;
  values.resize(vs.size());
  if (!Checked(m.status,
               TARQ_GetPoolSolution(m.Problem(), solIndex, static_cast<int>(vs.size()), m.idx_.data(), values.data()),
               "Fail to get solution values from solution pool")) {
    values.clear();
  }
}

using Tarq::detail::IisStatus;

void TarqModel::GetColLowerIIS(const Tarq::IVarArray* vars, std::vector<int>& out) {
  IisStatus(Data(), Tarq::VarsOf(vars), out, "variable", TARQ_GetColLowerIIS, "Fail to get IIS status of variables");
}

void TarqModel::GetColUpperIIS(const Tarq::IVarArray* vars, std::vector<int>& out) {
  IisStatus(Data(), Tarq::VarsOf(vars), out, "variable", TARQ_GetColUpperIIS, "Fail to get IIS status of variables");
}

void TarqModel::GetRowLowerIIS(const Tarq::IConstrArray* constrs, std::vector<int>& out) {
  IisStatus(Data(), Tarq::ConstrsOf(constrs), out, "constraint", TARQ_GetRowLowerIIS,
            "Fail to get IIS status of constraints");
}

void TarqModel::GetRowUpperIIS(const Tarq::IConstrArray* constrs, std::vector<int>& out) {
  IisStatus(Data(), Tarq::ConstrsOf(constrs), out, "constraint", TARQ_GetRowUpperIIS,
            "Fail to get IIS status of constraints");
}
