// Tarq::Var and Tarq::Constraint: a shared object record plus a status of their own. Copies
// share the record (and so the index the model renumbers) but not the status.
#pragma once

#include <cstdint>

#include "frame/status.h"
#include "scalar/record.h"
#include "scalar/scalar_kind.h"

namespace Tarq::detail {

// A shared record alone (eight bytes): the elements of variable lists, and the values of handles
// without a status (cones). Shaped like ScalarValue where the model's list helpers and the
// expressions read it; it remembers no index, so a term made from it reads the record.
class RecordValue {
 public:
  RecordValue() : record(FailedRecord()) {}
  explicit RecordValue(RecordRef r) : record(std::move(r)) {}

  int Index() const { return record->index; }
  int CachedIndex(std::uint32_t& epoch) const {
    const ProblemHolder* h = Holder();
    epoch = h != nullptr ? h->epoch : 0;
    return record->index;
  }
  tarq_prob* Problem() const { return record->Problem()->problem; }
  const ProblemHolder* Holder() const { return record->Problem(); }
  void Remove() const { MarkRecordRemoved(*record); }
  // The index for a term of an expression whose holders are pinned in pins, with the holder's
  // epoch; pins the holder (none for the failed record).
  int TermIndex(HolderPins& pins, std::uint32_t& epoch) const {
    HolderBlock* h = record.Holder();
    if (h == nullptr) {
      epoch = 0;
      return kFailedIndex;
    }
    pins.Pin(h);
    epoch = h->object->epoch;
    return record->index;
  }

  RecordRef record;
};

class ScalarValue {
 public:
  ScalarValue() : record(FailedRecord()) {}
  explicit ScalarValue(RecordRef r) : record(std::move(r)) {}

  int Index() const { return record->index; }
  // The index without reading the record while the index remembered from an earlier read is
  // still current; epoch receives the holder's epoch (0 for the failed record).
  int CachedIndex(std::uint32_t& epoch) const {
    const HolderBlock* h = record.Holder();
    if (h == nullptr) {
      epoch = 0;
      return kFailedIndex;
    }
    epoch = h->object->epoch;
    if (epoch == 0 || cache_.epoch != epoch) cache_ = IndexCache{record->index, epoch};
    return cache_.index;
  }
  // The index remembered from an earlier read, if it is still current in the holder whose epoch
  // the caller passes (epochs name one holder each, see NextEpoch, so a match also says that the
  // object belongs to that holder): one read of the value, the record is not touched. False: ask
  // CachedIndex.
  bool CurrentIndexIn(std::uint32_t holderEpoch, int& index) const noexcept {
    const IndexCache c = cache_;
    index = c.index;
    return c.epoch == holderEpoch && holderEpoch != 0;
  }
  // The index for a term of an expression whose holders are pinned in pins, with the epoch it
  // belongs to; pins the object's holder when it is not the first one pinned. The holder is
  // found without reading the record when the remembered epoch is the one this thread last saw
  // on a holder (see LastHolder).
  int TermIndex(HolderPins& pins, std::uint32_t& epoch) const {
    const IndexCache c = cache_;
    if (const HolderBlock* first = pins.FirstHolder()) {
      epoch = first->object->epoch;
      if (c.epoch == epoch && epoch != 0) return c.index;
    }
    LastHolder& last = lastHolder;
    HolderBlock* h = nullptr;
    if (c.epoch != 0 && c.epoch == last.epoch) {
      h = last.holder;
    } else {
      h = record.Holder();
      if (h == nullptr) {
        epoch = 0;
        return kFailedIndex;
      }
      last = LastHolder{h, h->object->epoch};
    }
    pins.Pin(h);
    epoch = h->object->epoch;
    if (epoch != 0 && c.epoch == epoch) return c.index;
    cache_ = IndexCache{record->index, epoch};
    return cache_.index;
  }
  // Remembers the index now. Lists that make handles for all their elements call it while they
  // walk the records in order, so that handles later used in random order (one expression term
  // each) do not each miss the cache on their record as well.
  void RememberIndex() const {
    std::uint32_t epoch = 0;
    CachedIndex(epoch);
  }
  tarq_prob* Problem() const { return record->Problem()->problem; }
  const ProblemHolder* Holder() const { return record->Problem(); }

  // The cached name; fetched from the solver library while the cache is empty and the index
  // valid. Return codes are not recorded.
  const char* Name(const ScalarKind& kind);
  void SetName(const ScalarKind& kind, const char* name);
  int Basis(const ScalarKind& kind);
  int LowerIIS(const ScalarKind& kind) { return Iis(kind, kind.lowerIIS); }
  int UpperIIS(const ScalarKind& kind) { return Iis(kind, kind.upperIIS); }
  double Get(const ScalarKind& kind, const char* info);
  void Set(const ScalarKind& kind, const char* info, double value);
  // Marks the object removed (once) and tells the model that a deletion is pending.
  void Remove() const;

  // The record and the remembered index come first: they are what expressions read.
  RecordRef record;

 private:
  // The index and the holder's epoch when it was read (0, never a holder's epoch: nothing
  // remembered yet), together so that one load reads both.
  struct IndexCache {
    int index = kFailedIndex;
    std::uint32_t epoch = 0;
  };
  mutable IndexCache cache_;

 public:
  Status status;

 private:
  int Iis(const ScalarKind& kind, ListIntOutFn call);
};

}  // namespace Tarq::detail

namespace Tarq {

class Var : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
  // 0 for an invalid or removed variable; the solver's return code is ignored.
  char Type();
  void SetType(char type);
};

class Constraint : public detail::ScalarValue {
 public:
  using ScalarValue::ScalarValue;
};

}  // namespace Tarq
