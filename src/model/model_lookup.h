// Finding a model's objects by position and by name, listing the live ones and naming them:
// the get-and-naming operations of every kind are built from these.
#pragma once

#include <string>
#include <vector>

#include "model/model_templates.h"

namespace Tarq::detail {

// The list entry at position idx, or a failed record after recording why.
inline RecordRef ByIndex(ModelData& m, Kind kind, int idx, const char* invalid, const char* internal) {
  if (idx < 0 || idx >= m.Count(kind)) {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", invalid);
    return FailedRecord();
  }
  const ListEntry entry = m.record->List(kind)[idx];
  if (entry->index != idx && idx + entry->index != -3) {
    Record(m.status, TARQ_RETCODE_INTERNAL, "%s", internal);
    return FailedRecord();
  }
  m.status.ClearCode();
  return entry;
}

// The position the solver gives a normalised name, or -1 after recording the failure.
inline int ByName(ModelData& m, int (*find)(tarq_prob*, const char*, int*), const char* name, const char* failure) {
  const std::string normalised = NormaliseName(name);
  int idx = -1;
  if (!Checked(m.status, find(m.Problem(), normalised.c_str(), &idx), "%s", failure)) return -1;
  return idx;
}

template <class V>
LongVector<V> Live(ModelData& m, Kind kind) {
  LongVector<V> out;
  for (const ListEntry& r : m.record->List(kind)) {
    if (r->index >= 0) out.emplace_back(RecordRef(r));
  }
  return out;
}

// Gives each object its name from a packed buffer, through the solver and in the cached names.
template <class V, class A>
void SetNames(ModelData& m, const std::vector<V, A>& objects, const char* names, std::size_t size, const char* what,
              int (*set)(tarq_prob*, int, const int*, const char* const*), const char* failure) {
  if (!m.Indices(objects, what)) return;
  BatchNames packed;
  if (!packed.FromPacked(names, size, static_cast<int>(objects.size()))) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid size of input names");
    return;
  }
  const int n = static_cast<int>(objects.size());
  if (!Checked(m.status, set(m.Problem(), n, m.idx_.data(), packed.Pointers()), "%s", failure)) return;
  for (int k = 0; k < n; ++k) objects[k].record->name = packed.At(k);
}

// IIS membership of the listed objects, one entry per object; empty after a failure.
template <class V, class A>
void IisStatus(ModelData& m, const std::vector<V, A>& objects, std::vector<int>& out, const char* what,
               int (*get)(tarq_prob*, int, const int*, int*), const char* failure) {
  out.clear();
  if (!m.Indices(objects, what)) return;
  out.resize(objects.size());
  if (!Checked(m.status, get(m.Problem(), static_cast<int>(objects.size()), m.idx_.data(), out.data()), "%s",
               failure)) {
    out.clear();
  }
}

}  // namespace Tarq::detail
