// The model's own bookkeeping: deferred deletion, merging terms through the dense scratch.
#include <cstdlib>
#include <new>

#include "frame/grow.h"
#include "model/model.h"
#include "scalar/column.h"
#include "scalar/lin_expr.h"
#include "scalar/quad_expr.h"
#include "scalar/terms.h"

namespace Tarq::detail {
namespace {

using DeleteFn = int (*)(tarq_prob*, int, const int*);

struct KindDeletion {
  Kind kind;
  DeleteFn call;  // null for kinds whose objects cannot be added yet
  const char* failure;
};

// The fixed order in which pending deletions are carried out.
const KindDeletion kDeletionOrder[] = {
    {Kind::kCol, TARQ_DelCols, "Fail to del cols"},
    {Kind::kRow, TARQ_DelRows, "Fail to del rows"},
    {Kind::kSos, TARQ_DelSOSs, "Fail to del SOSs"},
    {Kind::kGenConstr, TARQ_DelIndicators, "Fail to del GenConstrs"},
    {Kind::kCone, TARQ_DelCones, "Fail to del cones"},
    {Kind::kExpCone, TARQ_DelExpCones, "Fail to del exponential cones"},
    {Kind::kAffineCone, nullptr, "Fail to delete affine cones"},
    {Kind::kQConstr, TARQ_DelQConstrs, "Fail to del quatratic constraints"},
    {Kind::kNlConstr, TARQ_DelNLConstrs, "Fail to del nonlinear constraints"},
    {Kind::kPsdVar, TARQ_DelPSDCols, "Fail to delete PSD vars"},
    {Kind::kPsdConstr, TARQ_DelPSDConstrs, "Fail to del PSD constraints"},
    {Kind::kLmiConstr, TARQ_DelLMIConstrs, "Fail to del LMI constraints"},
};

// The objects of one SOS and cone kind that the solver library deletes together with some columns.
struct Dependent {
  Kind kind;
  std::vector<char> dropped;  // by position
};

// Whether every member of each object is a deleted column (beg/cnt/idx as the getters give them).
std::vector<char> AllMembersGone(const std::vector<int>& beg, const std::vector<int>& cnt, const std::vector<int>& idx,
                                 const std::vector<char>& goneCol) {
  std::vector<char> dropped(beg.size(), 1);
  for (std::size_t k = 0; k < beg.size(); ++k) {
    for (int p = beg[k]; p < beg[k] + cnt[k]; ++p) {
      if (!goneCol[static_cast<std::size_t>(idx[static_cast<std::size_t>(p)])]) {
        dropped[k] = 0;
        break;
      }
    }
  }
  return dropped;
}

// Deleting columns also deletes, inside the solver library, every SOS and cone left without a
// member, every exponential cone that loses one and every indicator on a deleted indicator
// column. Reads the members of each kind that has objects (O(members)) and says which go.
bool DroppedWithColumns(ModelData& m, const std::vector<char>& goneCol, std::vector<Dependent>& out) {
  tarq_prob* p = m.Problem();
  if (const int n = m.Count(Kind::kSos); n > 0) {
    int req = 0;
    if (TARQ_GetSOSs(p, n, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &req) != 0) return false;
    std::vector<int> beg(n), cnt(n), idx(static_cast<std::size_t>(req));
    std::vector<double> weights(static_cast<std::size_t>(req));
    if (TARQ_GetSOSs(p, n, nullptr, nullptr, beg.data(), cnt.data(), idx.data(), weights.data(), req, &req) != 0) {
      return false;
    }
    out.push_back({Kind::kSos, AllMembersGone(beg, cnt, idx, goneCol)});
  }
  if (const int n = m.Count(Kind::kGenConstr); n > 0) {
    std::vector<int> binCols(n);
    int req = 0;
    if (TARQ_GetIndicators(p, n, nullptr, nullptr, binCols.data(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, 0, &req) != 0) {
      return false;
    }
    std::vector<char> dropped(binCols.size());
    for (std::size_t k = 0; k < binCols.size(); ++k) dropped[k] = goneCol[static_cast<std::size_t>(binCols[k])];
    out.push_back({Kind::kGenConstr, std::move(dropped)});
  }
  if (const int n = m.Count(Kind::kCone); n > 0) {
    int req = 0;
    if (TARQ_GetCones(p, n, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &req) != 0) return false;
    std::vector<int> beg(n), cnt(n), idx(static_cast<std::size_t>(req));
    if (TARQ_GetCones(p, n, nullptr, nullptr, beg.data(), cnt.data(), idx.data(), req, &req) != 0) return false;
    out.push_back({Kind::kCone, AllMembersGone(beg, cnt, idx, goneCol)});
  }
  if (const int n = m.Count(Kind::kExpCone); n > 0) {
    std::vector<int> idx(3 * static_cast<std::size_t>(n));
    int req = 0;
    if (TARQ_GetExpCones(p, n, nullptr, nullptr, idx.data(), 3 * n, &req) != 0) return false;
    std::vector<char> dropped(static_cast<std::size_t>(n), 0);
    for (std::size_t q = 0; q < idx.size(); ++q) {
      if (goneCol[static_cast<std::size_t>(idx[q])]) dropped[q / 3] = 1;
    }
    out.push_back({Kind::kExpCone, std::move(dropped)});
  }
  return true;
}

// Takes the objects the solver library deleted along with columns out of a kind's list: they
// count as removed from their position. The others are renumbered; one still marked removed
// keeps its mark at its new position, for the deletion of its own kind later in the flush.
void ForgetDropped(ModelRecord& r, const Dependent& d) {
  RecordList& list = r.List(d.kind);
  RecordList kept;
  kept.reserve(list.size());
  int pos = 0;
  for (std::size_t p = 0; p < list.size(); ++p) {
    ListEntry rec = list[p];
    if (d.dropped[p]) {
      if (rec->index >= 0) rec->index = RemovedIndex(rec->index);
      r.problem->records.Retire(rec.Get());
      continue;
    }
    rec->index = rec->index >= 0 ? pos : RemovedIndex(pos);
    ++pos;
    kept.push_back(rec);
  }
  list = std::move(kept);
  r.Count(d.kind) = pos;
}

}  // namespace

bool ModelData::Flush() {
  ModelRecord& r = *record;
  if (!r.problem->pending) return true;
  for (const KindDeletion& d : kDeletionOrder) {
    RecordList& list = r.List(d.kind);
    std::vector<int> gone;
    for (const ListEntry& rec : list) {
      if (rec->index <= -3) gone.push_back(FormerPosition(rec->index));
    }
    if (gone.empty()) continue;
    if (d.call == nullptr) {
      Record(status, TARQ_RETCODE_INTERNAL, "%s", d.failure);
      return false;
    }
    std::vector<Dependent> dependents;
    if (d.kind == Kind::kCol) {
      std::vector<char> goneCol(list.size(), 0);
      for (int j : gone) goneCol[static_cast<std::size_t>(j)] = 1;
      if (!DroppedWithColumns(*this, goneCol, dependents)) {
        Record(status, TARQ_RETCODE_INTERNAL, "%s", d.failure);
        return false;
      }
    }
    if (!Checked(status, d.call(Problem(), static_cast<int>(gone.size()), gone.data()), "%s", d.failure)) {
      return false;
    }
    for (const Dependent& dep : dependents) ForgetDropped(r, dep);
    RecordList kept;
    kept.reserve(list.size() - gone.size());
    for (const ListEntry& rec : list) {
      if (rec->index >= 0) {
        rec->index = static_cast<int>(kept.size());
        kept.push_back(rec);
      } else {
        r.problem->records.Retire(rec.Get());
      }
    }
    list = std::move(kept);
    r.Count(d.kind) = static_cast<int>(list.size());
  }
  r.problem->pending = false;
  r.problem->epoch = NextEpoch();
  RecycleRecords();
  return true;
}

void ModelData::RetireAll() {
  ModelRecord& r = *record;
  r.problem->epoch = NextEpoch();
  for (auto& list : r.lists) {
    for (const ListEntry& rec : list) r.problem->records.Retire(rec.Get());
    list.clear();
  }
}

void ModelData::RecycleRecords() {
  ModelRecord& r = *record;
  if (r.problem->records.Retired() == 0) return;
  // The model's own references: its record and its start map (list entries count none). Any other
  // reference is held outside (a variable, constraint or expression) and may still name a retired
  // record.
  const std::size_t own = 1 + r.startMap.size();
  if (r.problem.Block()->refs.load(std::memory_order_acquire) == own) r.problem->records.RecycleRetired();
}

void ModelData::AppendRecords(Kind kind, int count, const char* const* names) {
  ModelRecord& r = *record;
  RecordList& list = r.List(kind);
  GrowAhead(list, static_cast<std::size_t>(count));
  int& n = r.Count(kind);
  RecordStore& store = r.problem->records;
  HolderBlock* holder = r.problem.Block();
  // Records come in runs of neighbours (the rest of a page), written one after the other.
  for (int k = 0; k < count;) {
    std::size_t got = 0;
    ObjectRecord* rec = store.NewRun(holder, static_cast<std::size_t>(count - k), got);
    for (ObjectRecord* end = rec + got; rec != end; ++rec, ++k) {
      if (names != nullptr && names[k] != nullptr) rec->name = names[k];
      rec->index = n++;
      list.push_back(ListEntry{rec});
    }
  }
}

void ModelData::Resync() {
  ModelRecord& r = *record;
  for (auto& list : r.lists) {
    for (auto& rec : list) {
      if (rec->index >= 0) rec->index = kFailedIndex;  // removed ones keep their former position
    }
  }
  RetireAll();
  r.counts.fill(0);
  r.startMap.clear();
  r.problem->pending = false;
  RecycleRecords();
  // Each kind the solver library can hold, with the attribute that counts it.
  static constexpr std::pair<Kind, const char*> kCounted[] = {
      {Kind::kCol, "Cols"},             {Kind::kRow, "Rows"},
      {Kind::kQConstr, "QConstrs"},     {Kind::kNlConstr, "NLConstrs"},
      {Kind::kPsdVar, "PSDCols"},       {Kind::kPsdConstr, "PSDConstrs"},
      {Kind::kLmiConstr, "LMIConstrs"}, {Kind::kSymMat, "SymMats"},
      {Kind::kSos, "Soss"},             {Kind::kGenConstr, "Indicators"},
      {Kind::kCone, "Cones"},           {Kind::kExpCone, "ExpCones"}};
  for (const auto& [kind, attr] : kCounted) {
    int n = 0;
    if (!Checked(status, TARQ_GetIntAttr(Problem(), attr, &n), "Failed to get int attribute")) return;
    AppendRecords(kind, n, nullptr);
  }
}

void ModelData::MergeScratch::Ensure(std::size_t n) {
  if (n <= size) return;
  // Fresh zeroed marks (the old ones are all clear, so nothing is carried over).
  auto* v = static_cast<double*>(std::malloc(n * sizeof(double)));
  auto* m = static_cast<unsigned char*>(std::calloc(n, 1));
  if (v == nullptr || m == nullptr) {
    std::free(v);
    std::free(m);
    throw std::bad_alloc();
  }
  values.reset(v);
  marks.reset(m);
  size = n;
}

template <class Coefs, class Objs, class IndexOf>
bool ModelData::Gather(Coefs& coefs, Objs& objs, Kind kind, bool checkOwner,
                       const char* foreign, IndexOf indexOf) {
  // Written by push_back after one reserve: resize would first zero what the loop overwrites.
  idx_.clear();
  idx_.reserve(objs.size());
  for (std::size_t i = 0; i < objs.size(); ++i) idx_.push_back(indexOf(objs[i]));
  if (checkOwner) {
    for (std::size_t i = 0; i < objs.size(); ++i) {
      if (objs[i].Holder() != Holder() && idx_[i] >= 0) {
        Record(status, TARQ_RETCODE_INVALID, "%s", foreign);
        return false;
      }
    }
  }
  if (objs.size() <= kSmallMerge) {
    MergeTermsSmall(coefs, objs, idx_);
  } else {
    const std::size_t n = static_cast<std::size_t>(Count(kind));
    scratch_.Ensure(n);
    MergeTermsDense(coefs, objs, idx_, scratch_.values.get(), scratch_.marks.get());
  }
  return true;
}

bool ModelData::GatherExpr(LinExpr& expr) {
  // Terms of another model can only be there when the expression pins another holder.
  return GatherTerms(expr.coefs, expr.vars, !expr.pins.OnlyHolder(record->problem.Block()));
}

template <class Coefs, class Vars>
bool ModelData::GatherVarTerms(Coefs& coefs, Vars& vars, bool mixed) {
  const std::uint32_t epoch = record->problem->epoch;
  return Gather(coefs, vars, Kind::kCol, mixed, "Variable of another model in expression",
                [epoch](const VarRef& v) { return v.IndexAt(epoch); });
}

bool ModelData::GatherTerms(SmallVector<double>& coefs, SmallVector<VarRef>& vars, bool mixed) {
  return GatherVarTerms(coefs, vars, mixed);
}

bool ModelData::GatherTerms(TermRun<double>& coefs, TermRun<VarRef>& vars, bool mixed) {
  return GatherVarTerms(coefs, vars, mixed);
}

bool ModelData::GatherQuad(const QuadExpr& expr) {
  const std::size_t n = expr.coefs.size();
  const std::uint32_t epoch = record->problem->epoch;
  qrow_.resize(n);
  qcol_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    qrow_[k] = expr.vars1[k].IndexAt(epoch);
    qcol_[k] = expr.vars2[k].IndexAt(epoch);
  }
  if (!expr.pins.OnlyHolder(record->problem.Block())) {
    for (std::size_t k = 0; k < n; ++k) {
      if ((qrow_[k] >= 0 && expr.vars1[k].Holder() != Holder()) || (qcol_[k] >= 0 && expr.vars2[k].Holder() != Holder())) {
        Record(status, TARQ_RETCODE_INVALID, "Variable of another model in expression");
        return false;
      }
    }
  }
  qval_.assign(expr.coefs.begin(), expr.coefs.end());
  return true;
}

void ModelData::ScatterQuad(QuadExpr& expr) {
  const auto& vars = record->List(Kind::kCol);
  expr.Reserve(expr.coefs.size() + qval_.size());
  for (std::size_t k = 0; k < qval_.size(); ++k) {
    expr.AddQuadRef(VarRef{vars[qrow_[k]].Get()}, VarRef{vars[qcol_[k]].Get()}, qval_[k]);
  }
  if (!qval_.empty()) expr.pins.Pin(record->problem.Block());
}

bool ModelData::GatherColumn(Column& col) {
  return Gather(col.coefs, col.constrs, Kind::kRow, true, "Constraint of another model in column",
                [](const Constraint& c) { return c.Index(); });
}

BlockRef<ModelData> MakeModel(const BlockRef<EnvHolder>& env, const char* name) {
  auto data = BlockRef<ModelData>::Make();
  data->record = BlockRef<ModelRecord>::Make();
  ModelRecord& record = *data->record;
  record.env = env;
  record.problem = BlockRef<ProblemHolder>::Make();
  if (env && env->handle != nullptr) {
    TARQ_CreateProb(env->handle, &record.problem->problem);  // a null problem is checked below
  }
  if (name != nullptr) record.name = name;
  if (record.problem->problem == nullptr) {
    Record(data->status, TARQ_RETCODE_MEMORY, "Critical: fail to create problem");
  }
  return data;
}

}  // namespace Tarq::detail
