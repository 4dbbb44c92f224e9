// Special ordered sets and indicator rows in the MIP engine's data. Sets are handed to the engine
// as sets (it branches on them); each indicator row becomes internal rows, and where needed
// internal columns and sets, appended after the problem's own, so the problem's columns and rows
// keep their positions and results are read from the first nCol values and nRow activities.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solve/lp_data.h"
#include "store/sos_cone_table.h"

namespace tarq_solver {

// Which SOS, indicator and cone constraints a build takes: a null list takes every one, otherwise entry k is 1
// for a constraint taken and 0 for one left out.
struct SosConeSelection {
  const std::vector<char>* sos = nullptr;
  const std::vector<char>* indicators = nullptr;
};

// Where each SOS, indicator or cone constraint went: the data's set of SOS k (-1 when left out) and the
// internal rows of indicator k, the added rows [first, last) of indicatorRows[k] (row nRow + r of
// the data for added row r; rows shared between indicators, such as a complement row, are not
// among them). Lifting an indicator's rows' bounds removes the indicator.
struct SosConeMap {
  std::vector<int> sets;
  std::vector<std::pair<int, int>> indicatorRows;
};

// Bigger coefficients than this make a linearised indicator row numerically doubtful; rows whose
// activity range is wider use the slack form instead.
constexpr double kMaxBigM = 1e6;

// Appends the selected sets and indicator rows to data (after its columns and rows).
// O(members + indicator entries); map may be null.
void AddSosConeConstraints(const SosConeStore& sosCones, LpData& data, const SosConeSelection& select,
                           SosConeMap* map);

// The special ordered sets of an engine's data: set k has type type[k] (1 or 2) and the members
// [start[k], start[k + 1]) of index / weight.
struct SetList {
  int count = 0;
  const int* type = nullptr;
  const std::int64_t* start = nullptr;
  const int* index = nullptr;
  const double* weight = nullptr;
};

// True when x meets every set within tol: in weight order, the members more than tol in
// magnitude are at most one (type 1) or two adjacent ones (type 2). O(members log members).
bool MeetsSets(const SetList& sets, const double* x, double tol);
bool MeetsSets(const LpData& data, const double* x, double tol);

}  // namespace tarq_solver
