// The parameter values of one problem: the current value and the default of every integer and
// double parameter of the table, held in flat arrays indexed by id (about 4.6 KB per problem).
// A ParamSet is a plain value: copying a problem copies its parameters, and the copy is
// independent of its source. Reads are an array access, cheap enough for engine inner loops.
#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

#include "params/param_table.h"

namespace tarq_solver {

class Logger;

class ParamSet {
 public:
  // Every parameter at the default of the table.
  ParamSet();

  int Int(IntParam id) const { return Get(id); }
  double Dbl(DblParam id) const { return Get(id); }

  template <class Id>
  ValueOf<Id> Get(Id id) const {
    return ArrayOf<Id>(current_)[Index(id)];
  }
  // The value Reset returns to: the table's default unless SetDefault changed it.
  template <class Id>
  ValueOf<Id> Default(Id id) const {
    return ArrayOf<Id>(defaults_)[Index(id)];
  }

  // Sets one parameter. Returns 0, or 3 and changes nothing when the value is NaN or outside the
  // table's [min, max].
  template <class Id>
  int Set(Id id, ValueOf<Id> value) {
    if (!Accepts(id, value)) return 3;
    ArrayOf<Id>(current_)[Index(id)] = value;
    return 0;
  }

  // Makes value both the default and the current value of one parameter of this set (for
  // settings a problem inherits from its environment). Returns 0, or 3 like Set.
  template <class Id>
  int SetDefault(Id id, ValueOf<Id> value) {
    if (!Accepts(id, value)) return 3;
    ArrayOf<Id>(defaults_)[Index(id)] = value;
    ArrayOf<Id>(current_)[Index(id)] = value;
    return 0;
  }

  // True when value is a valid setting of the parameter (not NaN, within [min, max]).
  template <class Id>
  static bool Accepts(Id id, ValueOf<Id> value) {
    const auto& info = Info(id);
    return value >= info.min && value <= info.max;  // false for NaN
  }

  // Every parameter back to its default.
  void ResetAll() { current_ = defaults_; }

 private:
  struct Values {
    std::array<double, kNumDblParams> dbls;
    std::array<int, kNumIntParams> ints;
  };

  template <class Id>
  static std::size_t Index(Id id) {
    return static_cast<std::size_t>(id);
  }
  template <class Id, class V>
  static auto& ArrayOf(V& values) {
    static_assert(std::is_same_v<Id, DblParam> || std::is_same_v<Id, IntParam>, "parameters only");
    if constexpr (std::is_same_v<Id, DblParam>) {
      return values.dbls;
    } else {
      return values.ints;
    }
  }

  Values current_;
  Values defaults_;
};

// Brings a logger in line with the "Logging" and "LogToConsole" parameters of a set. Called
// whenever parameters change, so those two take effect at once.
void ApplyLogParams(const ParamSet& params, Logger& log);

}  // namespace tarq_solver
