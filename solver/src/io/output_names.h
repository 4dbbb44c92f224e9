// Names as a text format writes them. Each object keeps its own name when the format can hold it
// and no earlier object holds it already; any other object gets the name the store reports for
// unnamed objects ("C12", "R3"), with "_1", "_2", ... appended until it is unique. So every name
// in a written file is valid and unique, and objects whose names were fine read back under them.
// Costs O(objects) time and a hash set of views; views stay valid while the table is unchanged.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "store/name_table.h"

namespace tarq_solver {

class OutputNames {
 public:
  using Valid = bool (*)(std::string_view name);
  OutputNames(const NameTable& table, char prefix, Valid valid);

  std::string_view operator[](int pos) const { return names_[static_cast<size_t>(pos)]; }
  int Size() const { return static_cast<int>(names_.size()); }
  bool Contains(std::string_view name) const { return used_.count(name) != 0; }
  // base, or base with "_1", "_2", ... appended: the first that no object of this table uses.
  std::string Unused(std::string_view base) const;

 private:
  std::vector<std::string_view> names_;
  std::deque<std::string> generated_;
  std::unordered_set<std::string_view> used_;
};

}  // namespace tarq_solver
