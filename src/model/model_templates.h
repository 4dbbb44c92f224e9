// Template members of ModelData, used by the model_*.cpp files.
#pragma once

#include "frame/grow.h"
#include "model/model.h"

namespace Tarq::detail {

template <class V>
LongVector<V> ModelData::Append(Kind kind, int count, const char* const* names) {
  AppendRecords(kind, count, names);
  const RecordList& list = record->List(kind);
  LongVector<V> out;
  out.reserve(static_cast<std::size_t>(count));
  std::uint32_t epoch = 0;
  HolderBlock* holder = record->problem.Block();
  if (count > 0) holder->Retain(static_cast<std::uint32_t>(count));  // one per returned object
  for (std::size_t k = list.size() - static_cast<std::size_t>(count); k < list.size(); ++k) {
    out.emplace_back(RecordRef(list[k].Get(), RecordRef::Adopt{}));
    out.back().CachedIndex(epoch);  // remembered while the records are at hand
  }
  return out;
}

template <class V>
V ModelData::AppendOne(Kind kind, const char* name) {
  AppendRecords(kind, 1, &name);
  HolderBlock* holder = record->problem.Block();
  holder->Retain(1);  // the returned object's reference
  V out(RecordRef(record->List(kind).back().Get(), RecordRef::Adopt{}));
  std::uint32_t epoch = 0;
  out.CachedIndex(epoch);
  return out;
}

template <class V, class A>
bool ModelData::Indices(const std::vector<V, A>& objects, const char* what) {
  idx_.resize(objects.size());
  for (std::size_t k = 0; k < objects.size(); ++k) {
    const V& v = objects[k];
    // A null pointer or the result of a failed add or lookup stands for nothing (index -2, and no
    // model); only an object that has a model can belong to another one.
    if (v.Index() == kFailedIndex || v.Holder() == nullptr) {
      if (objects.size() == 1) {
        Record(status, TARQ_RETCODE_INVALID, "Invalid %s", what);
      } else {
        Record(status, TARQ_RETCODE_INVALID, "The %zu-th %s is invalid", k, what);
      }
      return false;
    }
    if (!Owns(v)) {
      Record(status, TARQ_RETCODE_INVALID, "The %zu-th %s belongs to another model", k, what);
      return false;
    }
    if (v.Index() < 0) {
      Record(status, TARQ_RETCODE_INVALID, "The %d-th %s has been removed", FormerPosition(v.Index()), what);
      return false;
    }
    idx_[k] = v.Index();
  }
  return true;
}

// Marks every member removed after checking that all of them belong to this model.
template <class V, class A>
void MarkRemoved(ModelData& m, const std::vector<V, A>& objects, const char* foreign) {
  for (const V& v : objects) {
    if (v.Index() >= 0 && !m.Owns(v)) {
      Record(m.status, TARQ_RETCODE_INVALID, "%s", foreign);
      return;
    }
  }
  for (const V& v : objects) v.Remove();
}

}  // namespace Tarq::detail
