#include "store/multi_objs.h"

#include <algorithm>

#include "store/tables.h"

namespace tarq_solver {

int MultiObjTable::Count() const {
  return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.present; }));
}

MultiObjective& MultiObjTable::Ensure(int index, const ParamSet& params) {
  if (index >= Slots()) slots_.resize(static_cast<size_t>(index) + 1);
  Slot& slot = slots_[static_cast<size_t>(index)];
  if (!slot.present) {
    slot.obj = MultiObjective();
    slot.obj.params = params;
    slot.present = true;
  }
  return slot.obj;
}

void MultiObjTable::Erase(int index) {
  if (!Exists(index)) return;
  slots_[static_cast<size_t>(index)] = Slot();
  while (!slots_.empty() && !slots_.back().present) slots_.pop_back();
}

void MultiObjTable::EraseColumns(const std::vector<char>& drop) {
  for (Slot& s : slots_) {
    if (s.obj.coef.size() > drop.size()) s.obj.coef.resize(drop.size());
    EraseFlagged(s.obj.coef, drop);
  }
}

}  // namespace tarq_solver
