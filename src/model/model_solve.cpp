// MIP starts, solving and its variants, resets and log destinations.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"
#include "scalar/var.h"

using Tarq::detail::Kind;
using Tarq::detail::ModelData;
using Tarq::detail::RecordRef;

namespace {

void Remember(ModelData& m, const RecordRef& var, double value) {
  if (var->index < 0) return;
  m.record->startMap[var.Get()] = {var, value};
}

void Run(ModelData& m, int (*call)(tarq_prob*), const char* failure) {
  if (!m.Flush()) return;
  Checked(m.status, call(m.Problem()), "%s", failure);
}

// Relays the solver's log lines to the caller's sink.
void RelayLog(const char* text, void* sink) {
  if (sink != nullptr) static_cast<Tarq::ILogCallback*>(sink)->Display(text);
}

}  // namespace

void TarqModel::SetMipStart(int count, const double* values) {
  ModelData& m = Data();
  if (values == nullptr) return;
  int k = 0;
  for (const Tarq::detail::ListEntry& var : m.record->List(Kind::kCol)) {
    if (k >= count) break;
    if (var->index < 0) continue;
    Remember(m, var, values[k++]);
  }
}

// Start values go to this model's variables only: a variable of another model is refused with
// nothing stored (removed and failed ones are skipped).
void TarqModel::SetMipStart(const Tarq::IVar* var, double value) {
  ModelData& m = Data();
  const Tarq::Var& v = Tarq::VarOf(var);
  if (v.Index() >= 0 && !m.Owns(v)) {
    Record(m.status, TARQ_RETCODE_INVALID, "The variable belongs to another model");
    return;
  }
  Remember(m, v.record, value);
}

void TarqModel::SetMipStart(const Tarq::IVarArray* vars, const double* values) {
  ModelData& m = Data();
  if (values == nullptr) return;
  const Tarq::VarArray& vs = Tarq::VarsOf(vars);
  for (std::size_t k = 0; k < vs.size(); ++k) {
    if (vs[k].Index() >= 0 && !m.Owns(vs[k])) {
      Record(m.status, TARQ_RETCODE_INVALID, "The %zu-th variable belongs to another model", k);
      return;
    }
  }
  for (std::size_t k = 0; k < vs.size(); ++k) Remember(m, vs[k].record, values[k]);
}

void TarqModel::LoadMipStart() {
  ModelData& m = Data();
  if (!m.Flush()) return;
  auto& starts = m.record->startMap;
  std::vector<int> idx;
  std::vector<double> val;
  idx.reserve(starts.size());
  val.reserve(starts.size());
  for (const auto& [record, entry] : starts) {
    if (entry.first->index < 0) continue;
    idx.push_back(entry.first->index);
    val.push_back(entry.second);
  }
  starts.clear();
  if (idx.empty()) return;
  Checked(m.status, TARQ_AddMipStart(m.Problem(), static_cast<int>(idx.size()), idx.data(), val.data()),
          "Fail to add MIP start information");
}

void TarqModel::Solve() { Run(Data(), TARQ_Solve, "Fail to solve problem"); }
void TarqModel::SolveLp() { Run(Data(), TARQ_SolveLp, "Fail to solve as LP problem"); }
void TarqModel::ComputeIIS() { Run(Data(), TARQ_ComputeIIS, "Fail to compute IIS"); }

void TarqModel::FeasRelax(const Tarq::IVarArray* vars, const std::vector<double>& colLowPen,
                          const std::vector<double>& colUppPen, const Tarq::IConstrArray* constrs,
                          const std::vector<double>& rowBndPen, const std::vector<double>& rowUppPen) {
  ModelData& m = Data();
  const Tarq::VarArray empty;
  const Tarq::ConstrArray none;
  const Tarq::VarArray& vs = vars != nullptr ? Tarq::VarsOf(vars) : empty;
  const Tarq::ConstrArray& cs = constrs != nullptr ? Tarq::ConstrsOf(constrs) : none;
  if (vs.empty() && cs.empty()) return;
  if (!m.Flush()) return;
  double inf = TARQ_INFINITY;
  if (!Checked(m.status, TARQ_GetDblParam(m.Problem(), "InfBound", &inf), "Fail to call FeasRelax")) return;
  const std::pair<const std::vector<double>*, const char*> checks[] = {{&colLowPen, "colLowPen has invalid size"},
                                                                       {&colUppPen, "colUppPen has invalid size"},
                                                                       {&rowBndPen, "rowBndPen has invalid size"},
                                                                       {&rowUppPen, "rowUppPen has invalid size"}};
  for (int k = 0; k < 4; ++k) {
    const std::size_t n = checks[k].first->size(), objects = k < 2 ? vs.size() : cs.size();
    if (n != 0 && n != 1 && n != objects) {
      Record(m.status, TARQ_RETCODE_INVALID, "%s", checks[k].second);
      return;
    }
  }
  std::vector<double> low(static_cast<std::size_t>(m.Count(Kind::kCol)), inf), upp(low);
  std::vector<double> bnd(static_cast<std::size_t>(m.Count(Kind::kRow)), inf), rup(bnd);
  // Writes each live object's penalty (entry i, or the single entry) at its index.
  auto spread = [](const auto& objects, const std::vector<double>& pen, std::vector<double>& full) {
    if (pen.empty()) return;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const int at = objects[i].Index();
      if (at >= 0 && static_cast<std::size_t>(at) < full.size()) full[at] = pen.size() == 1 ? pen[0] : pen[i];
    }
  };
  spread(vs, colLowPen, low);
  spread(vs, colUppPen, upp);
  spread(cs, rowBndPen, bnd);
  spread(cs, rowUppPen, rup);
  Checked(m.status, TARQ_FeasRelax(m.Problem(), low.data(), upp.data(), bnd.data(), rup.data()),
          "Fail to call FeasRelax");
}

void TarqModel::FeasRelax(int relaxVars, int relaxConstrs) {
  ModelData& m = Data();
  if (relaxVars == 0 && relaxConstrs == 0) return;
  if (!m.Flush()) return;
  std::vector<double> colPen, rowPen;
  if (relaxVars != 0) colPen.assign(static_cast<std::size_t>(m.Count(Kind::kCol)), 1.0);
  if (relaxConstrs != 0) rowPen.assign(static_cast<std::size_t>(m.Count(Kind::kRow)), 1.0);
  const double* cols = relaxVars != 0 ? colPen.data() : nullptr;
  Checked(m.status, TARQ_FeasRelax(m.Problem(), cols, cols, relaxConstrs != 0 ? rowPen.data() : nullptr, nullptr),
          "Fail to call FeasRelax");
}

void TarqModel::Tune() { Run(Data(), TARQ_Tune, "Fail to tune model"); }

void TarqModel::LoadTuneParam(int index) {
  ModelData& m = Data();
  if (!m.Flush()) return;
  Checked(m.status, TARQ_LoadTuneParam(m.Problem(), index), "Fail to load tuned parameters to model");
}

// Runs on another thread than the solve it stops, which records into the model's status
// meanwhile: a successful call leaves the status alone instead of storing code 0 into it from a
// second thread. TARQ_Interrupt fails only without a problem, which a model always has.
void TarqModel::Interrupt() {
  ModelData& m = Data();
  const int rc = TARQ_Interrupt(m.Problem());
  if (rc != 0) Checked(m.status, rc, "Fail to call interrupt");
}

void TarqModel::ResetAll() {
  ModelData& m = Data();
  Checked(m.status, TARQ_Reset(m.Problem(), 1), "Fail to reset solution and additional information");
}

void TarqModel::Reset() {
  ModelData& m = Data();
  Checked(m.status, TARQ_Reset(m.Problem(), 0), "Fail to reset solution");
}

int TarqModel::SetLogFile(const char* path) { return TARQ_SetLogFile(Data().Problem(), path); }

int TarqModel::SetLogCallback(Tarq::ILogCallback* sink) {
  return TARQ_SetLogCallback(Data().Problem(), RelayLog, sink);
}
