// Removal, clearing and cloning.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "psdnl/lmi.h"
#include "psdnl/psd_expr.h"
#include "psdnl/nlconstraint.h"
#include "scalar/constraint.h"
#include "scalar/qconstraint.h"
#include "scalar/var.h"

using Tarq::detail::BlockRef;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::ModelRecord;

using Tarq::detail::MarkRemoved;

void TarqModel::Remove(const Tarq::IVarArray* vars) {
  MarkRemoved(Data(), Tarq::VarsOf(vars), "Variable of another model");
}

void TarqModel::Remove(const Tarq::IConstrArray* constrs) {
  MarkRemoved(Data(), Tarq::ConstrsOf(constrs), "Constraint of another model");
}

void TarqModel::Remove(const Tarq::INlConstrArray* constrs) {
  MarkRemoved(Data(), Tarq::NlConstrsOf(constrs), "Nonlinear constraint of another model");
}

void TarqModel::Remove(const Tarq::IQConstrArray* constrs) {
  MarkRemoved(Data(), Tarq::QConstrsOf(constrs), "Quadratic constraint of another model");
}

void TarqModel::Remove(const Tarq::IPsdVarArray* vars) {
  MarkRemoved(Data(), Tarq::PsdVarsOf(vars), "PSD variable of another model");
}

void TarqModel::Remove(const Tarq::IPsdConstrArray* constrs) {
  MarkRemoved(Data(), Tarq::PsdConstrsOf(constrs), "PSD constraint of another model");
}

void TarqModel::Remove(const Tarq::ILmiConstrArray* constrs) {
  MarkRemoved(Data(), Tarq::LmiConstrsOf(constrs), "LMI constraint of another model");
}

void TarqModel::Clear() {
  ModelData& m = Data();
  if (!Checked(m.status, TARQ_Reset(m.Problem(), 1), "Fail to reset solution and additional information")) return;
  if (!Checked(m.status, TARQ_ResetParam(m.Problem()), "Fail to reset parameter settings")) return;
  if (!Checked(m.status, TARQ_ClearProb(m.Problem()), "Fail to clear problem")) return;
  ModelRecord& r = *m.record;
  m.RetireAll();
  r.counts.fill(0);
  r.startMap.clear();
  r.problem->pending = false;
  m.RecycleRecords();
}

Tarq::IModel* TarqModel::Clone() {
  ModelData& m = Data();
  if (!m.Flush()) return new TarqModel(Tarq::detail::MakeModel(BlockRef<Tarq::detail::EnvHolder>(), nullptr));
  auto copy = BlockRef<ModelData>::Make();
  copy->record = BlockRef<ModelRecord>::Make();
  ModelRecord& src = *m.record;
  ModelRecord& dst = *copy->record;
  dst.env = src.env;
  dst.problem = BlockRef<Tarq::detail::ProblemHolder>::Make();
  dst.name = src.name + "_copy";
  if (m.Problem() != nullptr) TARQ_CreateCopy(m.Problem(), &dst.problem->problem);
  if (dst.problem->problem == nullptr) {
    Record(m.status, TARQ_RETCODE_MEMORY, "Critical: fail to clone problem");
    Record(copy->status, TARQ_RETCODE_MEMORY, "Critical: fail to clone problem");
    return new TarqModel(std::move(copy));
  }
  for (int k = 0; k < Tarq::detail::kKinds; ++k) {
    copy->AppendRecords(static_cast<Kind>(k), src.counts[k], nullptr);
  }
  return new TarqModel(std::move(copy));
}
