// The objectives of a multi-objective problem. Objective k lives in slot k; a slot is created by
// the first change of index k and emptied by deleting it, so indices never shift. Coefficients
// are dense and may be shorter than the column count (missing entries are 0), so adding columns
// costs nothing here; deleting columns erases their entries (O(slots x columns)).
#pragma once

#include <vector>

#include "params/param_set.h"
#include "store/results.h"

namespace tarq_solver {

struct MultiObjective {
  std::vector<double> coef;
  int sense = 1;
  double constant = 0;
  int priority = 0;
  double weight = 1;
  double absTol = 0;
  double relTol = 0;
  ParamSet params;   // the objective's own solver parameters
  SolveAttrs attrs;  // what the last multi-objective solve found for this objective

  double Coef(int j) const { return j < static_cast<int>(coef.size()) ? coef[j] : 0.0; }
  void ResetObjParams() {
    priority = 0;
    weight = 1;
    absTol = 0;
    relTol = 0;
  }
};

class MultiObjTable {
 public:
  // Number of objectives that exist.
  int Count() const;
  // Number of slots (highest index that ever existed + 1, trailing empty slots trimmed).
  int Slots() const { return static_cast<int>(slots_.size()); }
  bool Exists(int index) const { return index >= 0 && index < Slots() && slots_[static_cast<size_t>(index)].present; }
  const MultiObjective* Find(int index) const { return Exists(index) ? &slots_[index].obj : nullptr; }
  MultiObjective* Find(int index) { return Exists(index) ? &slots_[index].obj : nullptr; }
  // The objective at index, created (with params as its solver parameters) when missing.
  MultiObjective& Ensure(int index, const ParamSet& params);
  void Erase(int index);
  void EraseColumns(const std::vector<char>& drop);
  void Clear() { slots_.clear(); }

 private:
  struct Slot {
    bool present = false;
    MultiObjective obj;
  };
  std::vector<Slot> slots_;
};

}  // namespace tarq_solver
