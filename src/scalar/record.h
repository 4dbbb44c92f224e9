// The record behind every modeling object of a model (variable, constraint, ...): shared by the
// model's list of its kind and by every caller-held copy, so renumbering is seen everywhere.
#pragma once

#include <string>

#include "frame/handle.h"
#include "model/problem_holder.h"

namespace Tarq::detail {

// Index conventions: >= 0 position among its kind; -2 failed add or lookup; -3 - k removed from
// position k (kept for good, so messages can name the old position).
constexpr int kFailedIndex = -2;
inline int RemovedIndex(int pos) { return -3 - pos; }
inline int FormerPosition(int index) { return -3 - index; }

struct ObjectRecord {
  BlockRef<ProblemHolder> problem;  // keeps the solver problem alive
  std::string name;                 // normalised name, or the name fetched from the solver
  int index = kFailedIndex;
};

using RecordRef = BlockRef<ObjectRecord>;

// A record standing for nothing (index -2), as returned after a failed add or lookup.
inline RecordRef FailedRecord() { return RecordRef::Make(); }

}  // namespace Tarq::detail
