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
  // others (may be null): names of another table written to the same file, which this one must
  // not use either (quadratic rows beside linear rows); the others' own others count too.
  OutputNames(const NameTable& table, char prefix, Valid valid, const OutputNames* others = nullptr);

  std::string_view operator[](int pos) const { return names_[static_cast<size_t>(pos)]; }
  int Size() const { return static_cast<int>(names_.size()); }
  // Whether this table or the tables it avoids use name.
  bool Contains(std::string_view name) const {
    return used_.count(name) != 0 || (others_ != nullptr && others_->Contains(name));
  }
  // base, or base with "_1", "_2", ... appended: the first that no object of this table uses.
  std::string Unused(std::string_view base) const;
  // The same, avoiding the names of others too (null: none).
  std::string Unused(std::string_view base, const OutputNames* others) const;

 private:
  std::vector<std::string_view> names_;
  std::deque<std::string> generated_;
  std::unordered_set<std::string_view> used_;
  const OutputNames* others_ = nullptr;

  bool Taken(std::string_view name) const { return Contains(name); }
};

}  // namespace tarq_solver
