// The model: its shared record of every object (one count and one list per kind), the internal
// model that operations run on, and the implementation class TarqModel.
//
// Memory model: TarqModel -> ModelData (status, scratch) -> ModelRecord (environment holder,
// problem holder, per-kind lists). Each list entry is an object record that caller-held objects
// share; every record holds the problem holder, so the solver problem outlives the model object
// while any object of the model is held.
#pragma once

#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/handle.h"
#include "frame/huge_alloc.h"
#include "frame/long_list.h"
#include "frame/status.h"
#include "model/envr.h"
#include "model/names.h"
#include "model/problem_holder.h"
#include "scalar/record.h"
#include "scalar/scalar_value.h"
#include "scalar/terms.h"
#include "tarq.h"

namespace Tarq {
struct LinExpr;
struct VarRef;
struct QuadExpr;
struct Column;
}  // namespace Tarq

namespace Tarq::detail {

// Object kinds, in the order of the model's counts.
enum class Kind : int {
  kCol, kRow, kSos, kGenConstr, kCone, kExpCone, kAffineCone, kQConstr, kNlConstr, kPsdConstr, kPsdVar,
  kLmiConstr, kSymMat, kCount
};
constexpr int kKinds = static_cast<int>(Kind::kCount);

// An entry of a model's list: the record alone, eight bytes. The model's own reference on the
// holder keeps every record it lists alive, so an entry counts nothing; a value handed out from
// an entry takes a counted reference of its own (the conversion to RecordRef).
struct ListEntry {
  ObjectRecord* rec;
  ObjectRecord* Get() const noexcept { return rec; }
  ObjectRecord* operator->() const noexcept { return rec; }
  operator RecordRef() const noexcept { return RecordRef(rec); }  // NOLINT: entries stand for their record
};

// A model's list of the records of one kind, in index order; long lists live on huge pages and
// grow without copying.
using RecordList = LongList<ListEntry>;

struct ModelRecord {
  BlockRef<EnvHolder> env;
  BlockRef<ProblemHolder> problem;
  std::string name;
  std::array<int, kKinds> counts{};
  std::array<RecordList, kKinds> lists;
  // MIP start values until they are loaded, by variable; the entry keeps the record alive.
  std::unordered_map<const ObjectRecord*, std::pair<RecordRef, double>> startMap;

  int& Count(Kind k) { return counts[static_cast<int>(k)]; }
  RecordList& List(Kind k) { return lists[static_cast<int>(k)]; }
};

class ModelData {
 public:
  BlockRef<ModelRecord> record;
  Status status;

  tarq_prob* Problem() const { return record->problem->problem; }
  const ProblemHolder* Holder() const { return record->problem.Get(); }
  int Count(Kind k) const { return record->counts[static_cast<int>(k)]; }

  // Deletes every object marked removed, kind by kind, and renumbers the rest. False (with the
  // failure recorded) when a deletion failed; the marks then stay for the next attempt.
  bool Flush();

  // Appends count new records of a kind, numbered from the current count, with the given names
  // (null for none); returns them as values of type V.
  template <class V>
  LongVector<V> Append(Kind kind, int count, const char* const* names);
  // One new record, returned as a value of type V (no list allocated for it).
  template <class V>
  V AppendOne(Kind kind, const char* name);
  void AppendRecords(Kind kind, int count, const char* const* names);

  // Checks that every object belongs to this model and is live; records "The %d-th <what> has
  // been removed" (or the foreign-object message) and returns false otherwise. Fills idx_.
  template <class V, class A>
  bool Indices(const std::vector<V, A>& objects, const char* what);
  template <class V>
  bool Owns(const V& v) const { return v.Holder() == Holder(); }

  // Merges a term list by column (row) in place, with the model's dense scratch for long lists,
  // after checking that every term's object belongs to this model; the merged indices go to idx_,
  // the merged coefficients stay in the list. False (status recorded) for an object of another
  // model.
  bool GatherExpr(LinExpr& expr);
  // As GatherExpr, for terms held outside an expression; `mixed` says whether they may refer to
  // variables of another model (their holders are not all this model's).
  bool GatherTerms(SmallVector<double>& coefs, SmallVector<VarRef>& vars, bool mixed);
  // The same for a run of terms inside a longer list (a builder of a packed builder list),
  // merged where it lies.
  bool GatherTerms(TermRun<double>& coefs, TermRun<VarRef>& vars, bool mixed);
  // Copies the quadratic terms of expr, as they are, into qrow_/qcol_/qval_ after the same owner
  // check (the linear part is left alone). Removed variables keep their negative index, which
  // the solver library refuses.
  bool GatherQuad(const QuadExpr& expr);
  // Appends the terms staged in qrow_/qcol_/qval_ (as read from the solver library) to expr as
  // terms over the model's variables.
  void ScatterQuad(QuadExpr& expr);
  // After the whole problem was replaced (read from a file, loaded from arrays): rebuilds the
  // lists from the solver's counts; objects held from before stand for nothing (index -2).
  void Resync();
  bool GatherColumn(Column& col);
  // Takes every object out of the lists (their records stay valid for whoever holds them).
  void RetireAll();
  // Recycles the records of objects no longer listed when nothing outside the model refers to
  // any record of it.
  void RecycleRecords();

  // Scratch reused by successive operations.
  std::vector<int> idx_;
  std::vector<double> val_;
  std::vector<int> beg_;
  LongVector<double> lower_;
  LongVector<double> upper_;
  LongVector<char> sense_;
  // Quadratic terms staged for the solver library: row index, column index, coefficient.
  std::vector<int> qrow_;
  std::vector<int> qcol_;
  std::vector<double> qval_;

 private:
  template <class Coefs, class Vars>
  bool GatherVarTerms(Coefs& coefs, Vars& vars, bool mixed);
  template <class Coefs, class Objs, class IndexOf>
  bool Gather(Coefs& coefs, Objs& objs, Kind kind, bool checkOwner, const char* foreign,
              IndexOf indexOf);
  // Dense scratch of the long-list merge, one entry per object of a kind: values are written
  // before they are read and marks are clear between merges, so neither is filled when it grows,
  // and only the entries a merge touches take memory.
  struct MergeScratch {
    struct Free {
      void operator()(void* p) const noexcept { std::free(p); }
    };
    std::size_t size = 0;
    std::unique_ptr<double[], Free> values;
    std::unique_ptr<unsigned char[], Free> marks;
    void Ensure(std::size_t n);
  };
  MergeScratch scratch_;
};

// Creates a model in the environment held by env (which may be empty): records code 1
// "Critical: fail to create problem" when no problem could be made.
BlockRef<ModelData> MakeModel(const BlockRef<EnvHolder>& env, const char* name);

}  // namespace Tarq::detail
