// The SOS, indicator and cone constraints of a problem: special ordered sets, indicator rows, second-order cones
// and exponential cones (conventions of tarq_sos_cone.h).
//
// Each kind is stored back to back in compressed form: object k owns the members
// [begin[k], begin[k + 1]) of the member arrays. Memory: 12 bytes per SOS member, 4 per cone
// member, 12 per indicator entry, a few words per object plus indicator names. Appending is
// amortised O(members); deleting objects or columns is O(objects + members).
#pragma once

#include <cstdint>
#include <vector>

#include "store/name_table.h"

namespace tarq_solver {

struct SosTable {
  std::vector<int> type;  // 1 or 2
  std::vector<std::int64_t> begin{0};
  std::vector<int> col;
  std::vector<double> weight;

  int Size() const { return static_cast<int>(type.size()); }
  std::int64_t Begin(int k) const { return begin[static_cast<size_t>(k)]; }
  std::int64_t End(int k) const { return begin[static_cast<size_t>(k) + 1]; }
  void Erase(const std::vector<char>& drop);
};

// Indicator row k: when column binCol[k] equals binVal[k], the linear row over the entries
// [begin[k], begin[k + 1]) of col/val must satisfy sense[k] ('L', 'G', 'E') bound[k].
struct IndicatorTable {
  std::vector<int> type;
  std::vector<int> binCol;
  std::vector<int> binVal;  // 0 or 1
  std::vector<std::int64_t> begin{0};
  std::vector<int> col;
  std::vector<double> val;
  std::vector<char> sense;
  std::vector<double> bound;
  NameTable names{'G'};

  int Size() const { return static_cast<int>(type.size()); }
  std::int64_t Begin(int k) const { return begin[static_cast<size_t>(k)]; }
  std::int64_t End(int k) const { return begin[static_cast<size_t>(k) + 1]; }
  void Erase(const std::vector<char>& drop);
};

// Second-order cones (TARQ_CONE_QUAD, TARQ_CONE_RQUAD) over the columns [begin[k], begin[k + 1]).
struct ConeTable {
  std::vector<int> type;
  std::vector<std::int64_t> begin{0};
  std::vector<int> col;

  int Size() const { return static_cast<int>(type.size()); }
  std::int64_t Begin(int k) const { return begin[static_cast<size_t>(k)]; }
  std::int64_t End(int k) const { return begin[static_cast<size_t>(k) + 1]; }
  void Erase(const std::vector<char>& drop);
};

// Exponential cones (TARQ_EXPCONE_PRIMAL, TARQ_EXPCONE_DUAL): cone k is over col[3k .. 3k + 2].
struct ExpConeTable {
  std::vector<int> type;
  std::vector<int> col;

  int Size() const { return static_cast<int>(type.size()); }
  void Erase(const std::vector<char>& drop);
};

struct SosConeStore {
  SosTable sos;
  IndicatorTable indicators;
  ConeTable cones;
  ExpConeTable expCones;

  bool Empty() const {
    return sos.Size() == 0 && indicators.Size() == 0 && cones.Size() == 0 && expCones.Size() == 0;
  }
  // Drops every member on a column whose drop flag is set and renumbers the other columns (see
  // tarq_sos_cone.h for which objects go with their columns). O(objects + members).
  void EraseColumns(const std::vector<char>& drop);
};

}  // namespace tarq_solver
